#include "geo/projected_bmp.h"

#include "core/atomic_file.h"
#include "core/progress.h"
#include "geo/projection_view.h"

#include <array>
#include <cstring>
#include <vector>

namespace korvel {

namespace {

const StatusText Texts[] = {
    {ProjectedBmpCancelled, "cancelled"},
    {ProjectedBmpRefused, "the picture size or the projection cannot be drawn"},
    {ProjectedBmpWriteFailed, "the file could not be written"},
};

constexpr int32_t HeaderBytes = 54;

void Put16(uint8_t* at, uint32_t v) {
    at[0] = static_cast<uint8_t>(v);
    at[1] = static_cast<uint8_t>(v >> 8);
}

void Put32(uint8_t* at, uint32_t v) {
    Put16(at, v);
    Put16(at + 2, v >> 16);
}

// The file header and a 40-byte information header of an uncompressed 24-bit picture stored
// bottom-up (positive height).
std::array<uint8_t, HeaderBytes> Header(int32_t width, int32_t height) {
    std::array<uint8_t, HeaderBytes> h{};
    const auto pixels = static_cast<uint32_t>(ProjectedRowBytes(width) * height);
    h[0] = 'B';
    h[1] = 'M';
    Put32(&h[2], HeaderBytes + pixels);
    Put32(&h[10], HeaderBytes);
    Put32(&h[14], 40);
    Put32(&h[18], static_cast<uint32_t>(width));
    Put32(&h[22], static_cast<uint32_t>(height));
    Put16(&h[26], 1);
    Put16(&h[28], 24);
    Put32(&h[34], pixels);
    // 72 dots per inch.
    Put32(&h[38], 2835);
    Put32(&h[42], 2835);
    return h;
}

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

} // namespace

const StatusTable ProjectedBmpTexts{"Projected BMP export", Texts};

int64_t ProjectedRowBytes(int32_t width) {
    return (3 * static_cast<int64_t>(width) + 3) / 4 * 4;
}

int32_t ExportProjectionBmp(const std::string& path, const MapProjectionFields& view,
                            const Image& texture, const Surface& map, Progress& progress,
                            std::string& reason) {
    const int32_t w = view.Width;
    const int32_t h = view.Height;
    if (w < MinProjectedSide || h < MinProjectedSide || w > MaxProjectedSide ||
        h > MaxProjectedSide) {
        reason = "The picture size " + std::to_string(w) + " x " + std::to_string(h) +
                 " is outside " + std::to_string(MinProjectedSide) + ".." +
                 std::to_string(MaxProjectedSide) + " pixels a side (nothing written to " +
                 Quoted(path) + ")";
        return ProjectedBmpRefused;
    }
    const std::unique_ptr<Projection> projection = ProjectionForView(view, reason);
    if (!projection) {
        reason += " (nothing written to " + Quoted(path) + ")";
        return ProjectedBmpRefused;
    }
    AtomicFile file(path);
    if (!file.Open()) {
        reason = "Error opening file " + Quoted(path) + ": " + ErrnoText(file.Error());
        return ProjectedBmpWriteFailed;
    }
    const std::array<uint8_t, HeaderBytes> header = Header(w, h);
    file.Write(header.data(), header.size());
    const TextureSampler sampler(texture, map);
    const PlaneFrame frame(w, h, view.Zoom);
    std::vector<uint8_t> row(static_cast<size_t>(ProjectedRowBytes(w)));
    progress.ProgressBegin("Writing Spherical BMP file", 5);
    // The first row stored is the bottom of the picture: the plane's south.
    for (int32_t y = 0; y < h; ++y) {
        std::memset(row.data(), 0, row.size());
        ProjectRow(*projection, frame, sampler, y, 1, row.data());
        if (!file.Write(row.data(), row.size()))
            break;
        progress.ProgressUpdate(y + 1, h);
        progress.PumpPendingMessage();
        if (progress.ConsumeCancel()) {
            progress.ProgressEnd();
            file.Abandon();
            reason = "Writing " + Quoted(path) + " was cancelled; the file was left as it was";
            return ProjectedBmpCancelled;
        }
    }
    progress.ProgressEnd();
    if (!file.Commit()) {
        reason = "Error writing file " + Quoted(path) + ": " + ErrnoText(file.Error());
        return ProjectedBmpWriteFailed;
    }
    return ProjectedBmpDone;
}

} // namespace korvel
