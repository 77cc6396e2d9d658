#include "formats/stm.h"

#include "formats/format_support.h"

#include "core/atomic_file.h"
#include "core/file_map.h"
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

} // namespace

int32_t ReadStmBuffer(const uint8_t* data, size_t size, Workspace& ws, const std::string& name) {
    if (!data || size < sizeof Magic || std::memcmp(data, Magic, sizeof Magic) != 0)
        return -5;
    const size_t window = std::min(size, HeaderWindow);
    size_t at = sizeof Magic;
    int32_t width = 0;
    int32_t height = 0;
    if (!ParseDimension(data, window, at, width) || !ParseDimension(data, window, at, height))
        return -6;
    // Searched after the numbers: the blanks "%d" skips may include a line feed of their own.
    const auto* feed = static_cast<const uint8_t*>(std::memchr(data + at, '\n', window - at));
    if (!feed)
        return -6;
    if (!SizeAccepted(width, height))
        return -8;
    const size_t start = static_cast<size_t>(feed - data) + 1;
    const size_t stride = static_cast<size_t>(width) * 2;
    if (size - start < stride * static_cast<size_t>(height))
        return -7;

    Surface& s = ws.TheSurface;
    Progress& progress = ws.TheProgress;
    progress.ProgressBegin("Reading STM Surface " + name, ProgressStepPercent);
    if (s.Resize(width, height, -1) != 0) {
        progress.ProgressEnd();
        return -10;
    }
    float lo = 1e20f;
    float hi = -1e20f;
    int32_t y = 0;
    for (; y < s.YSize && !progress.CancelRequested(); ++y) {
        const uint8_t* in = data + start + static_cast<size_t>(y) * stride;
        for (int32_t x = 0; x < s.XSize; ++x, in += 2) {
            const auto v = static_cast<float>(static_cast<int16_t>(in[0] | (in[1] << 8)));
            s.Rows[y][x] = v;
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
        if (y % ReadUpdateRows == 0) {
            progress.ProgressUpdate(y, s.YSize);
            progress.PumpPendingMessage();
        }
    }
    progress.ProgressEnd();
    if (progress.ConsumeCancel()) {
        // Resize keeps the old samples when the size is unchanged; they must not show through.
        for (; y < s.YSize; ++y)
            std::fill_n(s.Rows[y], s.XSize, 0.0f);
        return -9;
    }
    s.Min = lo;
    s.Max = hi;
    return 0;
}

int32_t ReadStmFile(const std::string& path, Workspace& ws) {
    return ReadMappedFile(path, [&](const uint8_t* data, size_t size) {
        return ReadStmBuffer(data, size, ws, path);
    });
}

int32_t WriteStmFile(const std::string& path, Workspace& ws, bool scaled) {
    const Surface& s = ws.TheSurface;
    if (!s.HasGrid())
        return -5;
    AtomicFile file(path);
    if (!file.Open())
        return -2;

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
    for (int32_t y = 0; ok && y < s.YSize && !progress.CancelRequested(); ++y) {
        for (int32_t x = 0; x < s.XSize; ++x) {
            const auto v =
                static_cast<uint16_t>(ToSample((s.Rows[y][x] - offset) / range * levels));
            row[2 * static_cast<size_t>(x)] = static_cast<uint8_t>(v);
            row[2 * static_cast<size_t>(x) + 1] = static_cast<uint8_t>(v >> 8);
        }
        ok = file.Write(row.data(), row.size());
        if (y % WriteUpdateRows == 0) {
            progress.ProgressUpdate(y, s.YSize);
            progress.PumpPendingMessage();
        }
    }
    progress.ProgressEnd();
    // A cancelled file is incomplete: the temporary goes, the old file stays.
    if (progress.ConsumeCancel())
        return -1;
    if (!ok || !file.Commit())
        return -3;
    return 0;
}

} // namespace korvel
