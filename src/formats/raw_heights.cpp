#include "formats/raw_heights.h"

#include "core/host.h"
#include "core/workspace.h"
#include "formats/format_support.h"
#include "formats/height_raster.h"

#include <cmath>
#include <vector>

namespace korvel {

namespace {

constexpr int32_t ProgressStepPercent = 10;

constexpr StatusText ReadTexts[] = {
    {RawCancelled, "cancelled"},
    {RawCannotOpen, "RAW file cannot be opened"},
    {RawCannotMap, "RAW file cannot be mapped"},
    {RawSizeUnknown, "RAW file's size is not given and its length is not that of a square"},
    {RawWrongLength, "RAW file's length does not match the size given"},
    {RawBadSize, "RAW file has a size the Surface cannot take"},
    {RawOutOfMemory, "out of memory for the Surface of the RAW file"},
};
constexpr StatusText WriteTexts[] = {
    {RawWriteCancelled, "cancelled"},
    {RawCannotCreate, "the RAW file cannot be created"},
    {RawWriteFailed, "the RAW file cannot be written"},
    {RawNoGrid, "the Surface has no grid to write"},
};

uint64_t GetSample(const uint8_t* at, int32_t bytes, bool bigEndian) {
    if (!bigEndian)
        return GetLE(at, bytes);
    uint64_t bits = 0;
    for (int32_t i = 0; i < bytes; ++i)
        bits = (bits << 8) | at[i];
    return bits;
}
void PutSample(uint8_t* at, uint64_t bits, int32_t bytes, bool bigEndian) {
    for (int32_t i = 0; i < bytes; ++i)
        at[bigEndian ? bytes - 1 - i : i] = static_cast<uint8_t>(bits >> (8 * i));
}

// The size from the fields, or from the length; 0 or a refusal.
int32_t FindSize(size_t size, int32_t bytes, const RawFields& layout, int64_t& width,
                 int64_t& height, std::string* reason) {
    const uint64_t samples = size / static_cast<uint64_t>(bytes);
    width = layout.Width;
    height = layout.Height;
    if (width <= 0 && height <= 0) {
        width = height = static_cast<int64_t>(std::llround(std::sqrt(double(samples))));
        if (size % bytes != 0 || uint64_t(width * height) != samples)
            return Refuse(reason, RawReadTexts, RawSizeUnknown,
                          GroupedNumber(size) + " bytes; give raw.Width and raw.Height");
    } else if (width <= 0 || height <= 0) {
        const int64_t known = std::max(width, height);
        const int64_t other = static_cast<int64_t>(samples / uint64_t(known));
        (width <= 0 ? width : height) = other;
    }
    if (!SurfaceAcceptsSize(static_cast<int32_t>(std::min<int64_t>(width, INT32_MAX)),
                            static_cast<int32_t>(std::min<int64_t>(height, INT32_MAX))))
        return Refuse(reason, RawReadTexts, RawBadSize, SizeText(width, height));
    const uint64_t need = uint64_t(width) * uint64_t(height) * uint64_t(bytes);
    if (need != size)
        return Refuse(reason, RawReadTexts, RawWrongLength,
                      GroupedNumber(size) + " bytes where " + SizeText(width, height) + " takes " +
                          GroupedNumber(need));
    return 0;
}

} // namespace

const StatusTable RawReadTexts{"RAW reading", ReadTexts};
const StatusTable RawWriteTexts{"RAW writing", WriteTexts};

int32_t ReadRawBuffer(const uint8_t* data, size_t size, int32_t sampleBytes,
                      const RawFields& layout, const GreyRangeFields& range, Workspace& ws,
                      const std::string& name, std::string* reason) {
    int64_t width = 0;
    int64_t height = 0;
    if (const int32_t code = FindSize(data ? size : 0, sampleBytes, layout, width, height, reason);
        code != 0)
        return code;
    Surface& s = ws.TheSurface;
    if (s.Resize(static_cast<int32_t>(width), static_cast<int32_t>(height), -1) != 0)
        return Refuse(reason, RawReadTexts, RawOutOfMemory);
    const bool bigEndian = layout.ByteOrder != 0;
    const bool scaled = sampleBytes == 2 && range.High != range.Low;
    const double step = scaled ? (range.High - range.Low) / 65535.0 : 1.0;
    const double base = scaled ? range.Low : 0.0;
    const size_t stride = static_cast<size_t>(width) * sampleBytes;
    for (int32_t row = 0; row < s.YSize; ++row) {
        const uint8_t* in = data + row * stride;
        float* out = RowOfFileRow(s, row, layout.SouthUp != 0);
        for (int32_t x = 0; x < s.XSize; ++x, in += sampleBytes) {
            const uint64_t bits = GetSample(in, sampleBytes, bigEndian);
            out[x] = sampleBytes == 4 ? std::bit_cast<float>(static_cast<uint32_t>(bits))
                                      : static_cast<float>(base + static_cast<double>(bits) * step);
        }
    }
    NoteWidthCut(ws.FileNotes, name, static_cast<int32_t>(width));
    FinishHeights(s, ws.TheProgress, ws.FileNotes, name);
    return 0;
}

int32_t ReadRawFile(const std::string& path, int32_t sampleBytes, Workspace& ws,
                    std::string* reason) {
    if (!ws.TheHost.EditParameters("raw", "RAW File Layout", ws))
        return Refuse(reason, RawReadTexts, RawCancelled);
    return ReadMappedFile(
        path, reason,
        [&](const uint8_t* data, size_t size) {
            return ReadRawBuffer(data, size, sampleBytes, ws.Raw, ws.GreyRange, ws, path, reason);
        },
        RawCannotOpen, RawCannotMap);
}

int32_t WriteRawFile(const std::string& path, int32_t sampleBytes, Workspace& ws,
                     std::string* reason) {
    const Surface& s = ws.TheSurface;
    if (!s.HasGrid())
        return Refuse(reason, RawWriteTexts, RawNoGrid);
    if (!ws.TheHost.EditParameters("raw", "RAW File Layout", ws))
        return Refuse(reason, RawWriteTexts, RawWriteCancelled);
    AtomicFile file(path);
    if (!file.Open())
        return FileFailure(file, RawCannotCreate, reason);
    const bool bigEndian = ws.Raw.ByteOrder != 0;
    Quantizer quantizer(s.Min, s.Max, 65535, 16);
    StoredGrid grid(s, ws.Raw.EngineSize);
    std::vector<uint8_t> line(static_cast<size_t>(grid.Width) * sampleBytes);
    Progress& progress = ws.TheProgress;
    progress.ProgressBegin("Writing RAW file " + path, ProgressStepPercent);
    bool ok = true;
    for (int32_t row = 0; ok && row < grid.Height && !progress.CancelRequested(); ++row) {
        const float* heights = grid.Row(row, ws.Raw.SouthUp != 0);
        for (int32_t x = 0; x < grid.Width; ++x) {
            const uint64_t bits = sampleBytes == 4 ? std::bit_cast<uint32_t>(heights[x])
                                                   : quantizer.Encode(heights[x]);
            PutSample(line.data() + size_t(x) * sampleBytes, bits, sampleBytes, bigEndian);
        }
        ok = file.Write(line.data(), line.size());
        progress.ProgressUpdate(row, grid.Height);
        progress.PumpPendingMessage();
    }
    const int32_t code = FinishWrite(file, ok, progress, RawWriteCancelled, RawWriteFailed, reason);
    if (const std::string note = grid.Note(path); code == 0 && !note.empty())
        ws.FileNotes.push_back(note);
    if (code == 0 && sampleBytes == 2)
        ws.FileNotes.push_back(quantizer.Report(path));
    return code;
}

} // namespace korvel
