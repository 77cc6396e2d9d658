#include "formats/bmp.h"

#include "formats/format_support.h"

#include "core/atomic_file.h"
#include "core/file_map.h"
#include "core/host.h"
#include "core/workspace.h"
#include "formats/bmp_header.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace korvel {

namespace {

constexpr int32_t ImageProgressStep = 10;
constexpr int32_t SurfaceProgressStep = 7;
constexpr int32_t ImageProgressRows = 16;
constexpr int32_t SurfaceWriteProgressRows = 4;
constexpr int32_t SurfaceReadProgressRows = 8;
constexpr int32_t SurfaceMinSize = 4;
constexpr int32_t SurfaceMaxSize = 100000;

const char* const TooSmallText = "File width or height too small (minimum 4 pixels)";
const char* const TooLargeText = "File width or height too large (maximum 100000 pixels)";
const char* const UnsupportedText = "Only 8-bit uncompressed BMP files supported";
const char* const TruncatedText = "The BMP file is truncated";

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

// Every row goes through here so a cancel or a failed write ends the loop at the same place.
template <typename WriteRow>
int32_t WriteRows(AtomicFile& file, const std::vector<uint8_t>& header, int32_t rows, int32_t every,
                  Progress& progress, WriteRow writeRow) {
    bool ok = file.Write(header.data(), header.size());
    for (int32_t y = 0; ok && y < rows && !progress.CancelRequested(); ++y) {
        ok = writeRow(y);
        if (y % every == 0) {
            progress.ProgressUpdate(y, rows);
            progress.PumpPendingMessage();
        }
    }
    progress.ProgressEnd();
    // A cancelled file is incomplete: the temporary goes, the old file stays.
    if (progress.ConsumeCancel())
        return -3;
    return ok && file.Commit() ? 0 : -2;
}

// Grey index of a height between min and min + 255 / scale. Out-of-range heights (stale
// extremes) and NaN would wrap or be undefined as a byte; they are held to 0..255.
uint8_t GreyIndex(float sample, double min, float scale) {
    const double v = std::trunc((sample - min) * static_cast<double>(scale));
    if (!(v > 0.0))
        return 0;
    return static_cast<uint8_t>(std::min(v, 255.0));
}

} // namespace

int32_t WriteBmpImage(const std::string& path, const Image& image, Progress& progress) {
    std::vector<uint8_t> header;
    if (image.IsEmpty() ||
        !MakeBmpHeader(static_cast<uint32_t>(image.Width()), static_cast<uint32_t>(image.Height()),
                       static_cast<uint32_t>(image.BitsPerPixel()), image.Palette, header))
        return -4;
    AtomicFile file(path);
    if (!file.Open())
        return -1;
    progress.CancelFlag = 0;
    progress.ProgressBegin("Writing BMP image", ImageProgressStep);
    // The picture keeps its rows bottom-up and unpadded (its width is a multiple of 4), exactly
    // as the file stores them.
    const auto stride = static_cast<size_t>(image.Stride());
    return WriteRows(file, header, image.Height(), ImageProgressRows, progress,
                     [&](int32_t y) { return file.Write(image.Row(y), stride); });
}

int32_t ReadBmpImageBuffer(const uint8_t* data, size_t size, Image& image, Progress& progress) {
    BmpHeader h;
    switch (ParseBmpHeader(data, size, h)) {
    case BmpStatus::Ok:
        break;
    case BmpStatus::Truncated:
        return -5;
    case BmpStatus::NotBmp:
    case BmpStatus::Unsupported:
        return -3;
    }
    if ((h.Bits != 8 && h.Bits != 24) || h.Compression != 0 || !h.HasShape())
        return -3;
    uint32_t colours = 0;
    if (h.Bits == 8 && CountBmpPalette(h, colours) != BmpStatus::Ok)
        return -3;
    if (CheckBmpPixels(h, size) != BmpStatus::Ok)
        return -5;
    // The picture's width must be a multiple of 4; the columns past it are dropped.
    const int32_t width = h.Width & ~3;
    const int64_t rows = h.Rows();
    if (width == 0 || width >= Surface::SizeLimit || rows >= Surface::SizeLimit)
        return -4;
    const auto height = static_cast<int32_t>(rows);
    const auto bits = static_cast<int32_t>(h.Bits);
    if (image.Create(width, height, bits) != 0)
        return -4;
    if (bits == 8) {
        // Entries past a short palette are black.
        image.Palette.fill(0);
        for (uint32_t i = 0; i < colours; ++i) {
            const uint8_t* entry = data + h.PaletteAt() + 4 * i; // blue, green, red, 0
            image.Palette[i] = PackColor(entry[2], entry[1], entry[0]);
        }
    }

    progress.ProgressBegin("Reading BMP image", ImageProgressStep);
    const auto stride = static_cast<size_t>(image.Stride());
    for (int32_t y = 0; y < height && !progress.CancelRequested(); ++y) {
        std::copy_n(BmpRow(data, h, y), stride, image.Row(y));
        if (y % ImageProgressRows == 0) {
            progress.ProgressUpdate(y, height);
            progress.PumpPendingMessage();
        }
    }
    progress.ProgressEnd();
    progress.ConsumeCancel();
    return 0;
}

int32_t ReadBmpImage(const std::string& path, Image& image, Progress& progress) {
    return ReadMappedFile(path, [&](const uint8_t* data, size_t size) {
        return ReadBmpImageBuffer(data, size, image, progress);
    });
}

int32_t WriteBmpSurface(const std::string& path, Workspace& ws) {
    const Surface& s = ws.TheSurface;
    std::vector<uint8_t> header;
    if (!s.HasGrid() || !MakeBmpHeader(static_cast<uint32_t>(s.XSize),
                                       static_cast<uint32_t>(s.YSize), 8, GreyPalette(), header))
        return -4;
    const std::string failed = "Error writing to " + Quoted(path);
    AtomicFile file(path);
    if (!file.Open()) {
        ws.TheHost.ShowMessage(failed);
        return -1;
    }
    const double range = s.Max - s.Min;
    const float scale = std::fabs(range) >= 0.00001 ? static_cast<float>(255.0 / range) : 1.0f;
    Progress& progress = ws.TheProgress;
    progress.CancelFlag = 0;
    progress.ProgressBegin("Writing 8-bit BMP surface " + path, SurfaceProgressStep);
    // Surface row 0 goes first, which a bottom-up file shows as its bottom line.
    std::vector<uint8_t> row(static_cast<size_t>(s.XSize));
    const int32_t code =
        WriteRows(file, header, s.YSize, SurfaceWriteProgressRows, progress, [&](int32_t y) {
            std::transform(s.Rows[y], s.Rows[y] + s.XSize, row.begin(),
                           [&](float sample) { return GreyIndex(sample, s.Min, scale); });
            return file.Write(row.data(), row.size());
        });
    if (code == -2)
        ws.TheHost.ShowMessage(failed);
    return code;
}

int32_t ReadBmpSurfaceBuffer(const uint8_t* data, size_t size, Workspace& ws,
                             const std::string& name) {
    Host& host = ws.TheHost;
    const auto fail = [&](const std::string& text, int32_t code) {
        host.ShowMessage(text);
        return code;
    };
    BmpHeader h;
    switch (ParseBmpHeader(data, size, h)) {
    case BmpStatus::Ok:
        break;
    case BmpStatus::NotBmp:
        return fail(name + " appears not to be a BMP file", -3);
    case BmpStatus::Unsupported:
        return fail(UnsupportedText, -4);
    case BmpStatus::Truncated:
        return fail(TruncatedText, -6);
    }
    if (h.Bits != 8 || h.Compression != 0)
        return fail(UnsupportedText, -4);
    // The Surface's width is a multiple of 4; up to 3 columns of the file are dropped.
    const int32_t width = h.Width & ~3;
    const int64_t rows = h.Rows();
    if (width < SurfaceMinSize || rows < SurfaceMinSize)
        return fail(TooSmallText, -5);
    if (width > SurfaceMaxSize || rows > SurfaceMaxSize)
        return fail(TooLargeText, -5);
    if (CheckBmpPixels(h, size) != BmpStatus::Ok)
        return fail(TruncatedText, -6);

    Surface& s = ws.TheSurface;
    Progress& progress = ws.TheProgress;
    progress.ProgressBegin("Reading 8-bit BMP Surface " + name, SurfaceProgressStep);
    // The size was checked above, so the only failure left is memory.
    if (s.Resize(width, static_cast<int32_t>(rows), -1) != 0) {
        progress.ProgressEnd();
        return -7;
    }
    // The palette is ignored: the index itself is the height.
    constexpr float unit = 1.0f / 255.0f;
    float lo = 1e25f;
    float hi = -1e25f;
    int32_t y = 0;
    for (; y < s.YSize && !progress.CancelRequested(); ++y) {
        const uint8_t* in = BmpRow(data, h, y);
        for (int32_t x = 0; x < s.XSize; ++x) {
            const float v = static_cast<float>(in[x]) * unit;
            s.Rows[y][x] = v;
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
        if (y % SurfaceReadProgressRows == 0) {
            progress.ProgressUpdate(y, s.YSize);
            progress.PumpPendingMessage();
        }
    }
    // Resize keeps the old samples when the size is unchanged; rows a cancel left unread must
    // not show the previous surface, and the extremes must cover the zeros put there.
    if (y < s.YSize) {
        for (int32_t rest = y; rest < s.YSize; ++rest)
            std::fill_n(s.Rows[rest], s.XSize, 0.0f);
        lo = std::min(lo, 0.0f);
        hi = std::max(hi, 0.0f);
    }
    s.Min = lo;
    s.Max = hi;
    progress.ProgressEnd();
    progress.ConsumeCancel();
    return 0;
}

int32_t ReadBmpSurface(const std::string& path, Workspace& ws) {
    MappedFile file;
    if (file.Open(path) != MappedFile::Status::Ok) {
        ws.TheHost.ShowMessage("Error reading from " + Quoted(path));
        return -1;
    }
    return ReadBmpSurfaceBuffer(file.Data(), file.Size(), ws, path);
}

} // namespace korvel
