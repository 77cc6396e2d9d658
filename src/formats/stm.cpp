#include "formats/stm.h"

#include "formats/format_support.h"
#include "formats/height_raster.h"

#include "core/atomic_file.h"
#include "core/extremes.h"
#include "core/workspace.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace korvel {

namespace {

constexpr char Magic[4] = {'S', 'T', 'M', ' '};
constexpr uint8_t Marker[4] = {4, 3, 2, 1};
constexpr size_t HeaderWindow = 127; // the line feed must come within these bytes
constexpr int32_t MaxDimension = 100000;
constexpr int32_t ProgressStepPercent = 7;
constexpr int32_t ReadUpdateRows = 8;
constexpr int32_t WriteUpdateRows = 4;

bool IsBlank(uint8_t c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// One "%d" from text[at..end): blanks, an optional sign, digits. False when no digit follows or
// the value leaves 0..MaxDimension (checked as the digits come, so no overflow).
bool ParseDimension(const uint8_t* text, size_t end, size_t& at, int32_t& value) {
    while (at < end && IsBlank(text[at]))
        ++at;
    bool negative = false;
    if (at < end && (text[at] == '+' || text[at] == '-'))
        negative = text[at++] == '-';
    const size_t first = at;
    int64_t v = 0;
    while (at < end && text[at] >= '0' && text[at] <= '9') {
        v = v * 10 + (text[at++] - '0');
        if (v > MaxDimension)
            return false;
    }
    if (at == first || (negative && v != 0))
        return false;
    value = static_cast<int32_t>(v);
    return true;
}

bool SizeAccepted(int32_t width, int32_t height) {
    return height > 0 && (width & ~3) > 0; // the upper limit is already below the Surface's
}

// Truncation toward zero into the 16-bit range; the clamp keeps stale extremes or large unscaled
// values from an undefined conversion.
int16_t ToSample(double v) {
    if (std::isnan(v))
        return 0;
    return static_cast<int16_t>(std::clamp(std::trunc(v), -32768.0, 32767.0));
}

constexpr StatusText ReadTexts[] = {
    {StmCannotOpen, "STM file cannot be opened"},
    {StmCannotMap, "STM file cannot be mapped"},
    {StmNotStm, "not an STM file (it does not begin with \"STM \")"},
    {StmBadHeader, "STM file header has no width and height of 0 to 100000 ended by a line feed"},
    {StmTruncated, "STM file is shorter than its header promises"},
    {StmBadSize, "STM file has a size the Surface cannot take"},
    {StmCancelled, "cancelled"},
    {StmOutOfMemory, "out of memory for the Surface of the STM file"},
};
constexpr StatusText WriteTexts[] = {
    {StmWriteCancelled, "cancelled"},
    {StmCannotCreate, "the STM file cannot be created"},
    {StmWriteFailed, "the STM file cannot be written"},
    {StmNoGrid, "the Surface has no grid to write"},
};

} // namespace

const StatusTable StmReadTexts{"STM reading", ReadTexts};
const StatusTable StmWriteTexts{"STM writing", WriteTexts};

int32_t ReadStmBuffer(const uint8_t* data, size_t size, Workspace& ws, const std::string& name,
                      std::string* reason) {
    if (!data || size < sizeof Magic || std::memcmp(data, Magic, sizeof Magic) != 0)
        return Refuse(reason, StmReadTexts, StmNotStm);
    const size_t window = std::min(size, HeaderWindow);
    size_t at = sizeof Magic;
    int32_t width = 0;
    int32_t height = 0;
    if (!ParseDimension(data, window, at, width) || !ParseDimension(data, window, at, height))
        return Refuse(reason, StmReadTexts, StmBadHeader);
    // Searched after the numbers: the blanks "%d" skips may include a line feed of their own.
    const auto* feed = static_cast<const uint8_t*>(std::memchr(data + at, '\n', window - at));
    if (!feed)
        return Refuse(reason, StmReadTexts, StmBadHeader);
    if (!SizeAccepted(width, height))
        return Refuse(reason, StmReadTexts, StmBadSize, SizeText(width, height));
    const size_t start = static_cast<size_t>(feed - data) + 1;
    const size_t stride = static_cast<size_t>(width) * 2;
    if (size - start < stride * static_cast<size_t>(height))
        return Refuse(reason, StmReadTexts, StmTruncated,
                      BytesText(size, start + stride * static_cast<size_t>(height)));

    Surface& s = ws.TheSurface;
    Progress& progress = ws.TheProgress;
    progress.ProgressBegin("Reading STM Surface " + name, ProgressStepPercent);
    if (s.Resize(width, height, -1) != 0) {
        progress.ProgressEnd();
        return Refuse(reason, StmReadTexts, StmOutOfMemory);
    }
    Extremes e;
    int32_t y = 0;
    for (; y < s.YSize && !progress.CancelRequested(); ++y) {
        const uint8_t* in = data + start + static_cast<size_t>(y) * stride;
        for (int32_t x = 0; x < s.XSize; ++x, in += 2) {
            const auto v = static_cast<float>(GetI16(in));
            s.Rows[y][x] = v;
            e.Add(v);
        }
        if (y % ReadUpdateRows == 0) {
            progress.ProgressUpdate(y, s.YSize);
            progress.PumpPendingMessage();
        }
    }
    progress.ProgressEnd();
    if (progress.ConsumeCancel()) {
        ZeroRowsFrom(s, y);
        return Refuse(reason, StmReadTexts, StmCancelled);
    }
    // Every row was read, so at least one sample: the extremes are real.
    s.Min = e.Lo;
    s.Max = e.Hi;
    return 0;
}

int32_t ReadStmFile(const std::string& path, Workspace& ws, std::string* reason) {
    return ReadMappedFile(path, reason, [&](const uint8_t* data, size_t size) {
        return ReadStmBuffer(data, size, ws, path, reason);
    });
}

int32_t WriteStmFile(const std::string& path, Workspace& ws, bool scaled, std::string* reason) {
    const Surface& s = ws.TheSurface;
    if (!s.HasGrid())
        return Refuse(reason, StmWriteTexts, StmNoGrid);
    AtomicFile file(path);
    if (!file.Open())
        return FileFailure(file, StmCannotCreate, reason);

    // (sample - o) / range x 32767 rather than x (32767 / range): a sample equal to Max then
    // gives exactly 32767, where the product of the rounded quotient often falls just short.
    double range = 1.0;
    double levels = 1.0;
    double offset = 0.0;
    if (scaled) {
        offset = s.Min;
        if (std::abs(s.Max - s.Min) >= 0.00001) {
            range = s.Max - s.Min;
            levels = 32767.0;
        }
    }
    char text[48];
    const int length = std::snprintf(text, sizeof text, "STM %d %d ", s.XSize, s.YSize);
    std::vector<uint8_t> header(text, text + length);
    header.insert(header.end(), Marker, Marker + sizeof Marker);
    header.push_back('\n');

    Progress& progress = ws.TheProgress;
    // A cancel left over from an earlier operation must not stop this one.
    progress.CancelFlag = 0;
    progress.ProgressBegin("Writing STM surface " + path, ProgressStepPercent);
    bool ok = file.Write(header.data(), header.size());
    std::vector<uint8_t> row(static_cast<size_t>(s.XSize) * 2);
    RoundingTally tally;
    for (int32_t y = 0; ok && y < s.YSize && !progress.CancelRequested(); ++y) {
        for (int32_t x = 0; x < s.XSize; ++x) {
            const double t = (s.Rows[y][x] - offset) / range * levels;
            const int16_t v = ToSample(t);
            if (!(t > -32769.0 && t < 32768.0))
                ++tally.Clipped;
            else
                tally.Add(s.Rows[y][x], offset + v * range / levels);
            PutU16(row.data() + 2 * static_cast<size_t>(x), static_cast<uint16_t>(v));
        }
        ok = file.Write(row.data(), row.size());
        if (y % WriteUpdateRows == 0) {
            progress.ProgressUpdate(y, s.YSize);
            progress.PumpPendingMessage();
        }
    }
    const int32_t code = FinishWrite(file, ok, progress, StmWriteCancelled, StmWriteFailed, reason);
    if (code == 0)
        ws.FileNotes.push_back(tally.Report(path, 16, range / levels));
    return code;
}

} // namespace korvel
