#include "formats/terrainbase.h"

#include "core/dialog_fields.h"
#include "core/workspace.h"
#include "formats/format_support.h"

#include <cmath>

namespace korvel {

namespace {

constexpr int32_t ProgressStepPercent = 3;
constexpr double PostsPerDegree = 12.0;
constexpr size_t GridBytes = size_t(TerrainBaseColumns) * TerrainBaseRows * 2;

constexpr StatusText Texts[] = {
    {TerrainBaseCancelled, "cancelled"},
    {TerrainBaseCannotOpen, "Can't open Terrainbase file"},
    {TerrainBaseCannotMap, "Can't create file mapping"},
    {TerrainBaseBadLength, "TerrainBase file is not 4320 x 2160 16-bit samples (18,662,400 bytes)"},
    {TerrainBaseNoGrid, "the Surface has no grid to fill"},
};

double Post(const uint8_t* data, int32_t row, int32_t column) {
    return GetI16(data + (size_t(row) * TerrainBaseColumns + size_t(column)) * 2);
}

bool Selected(float v, const BackfillFields& f) {
    if (std::isnan(v))
        return true;
    switch (f.Mode) {
    case BackfillBelow:
        return v <= f.Value1;
    case BackfillAbove:
        return v >= f.Value1;
    default:
        return f.Value1 <= v && v <= f.Value2;
    }
}

} // namespace

const StatusTable TerrainBaseTexts{"TerrainBase fill", Texts};

double TerrainBaseAt(const uint8_t* data, double lat, double lon) {
    const double r = std::clamp((90.0 - lat) * PostsPerDegree, 0.0, TerrainBaseRows - 1.0);
    const auto ri = static_cast<int32_t>(r);
    const int32_t ri1 = std::min(ri + 1, TerrainBaseRows - 1);
    double c = std::fmod((lon + 180.0) * PostsPerDegree, double(TerrainBaseColumns));
    if (c < 0)
        c += TerrainBaseColumns;
    const int32_t ci = std::min(static_cast<int32_t>(c), TerrainBaseColumns - 1);
    const int32_t ci1 = (ci + 1) % TerrainBaseColumns;
    const double fr = r - ri;
    const double fc = c - ci;
    const double north = Post(data, ri, ci) * (1 - fc) + Post(data, ri, ci1) * fc;
    const double south = Post(data, ri1, ci) * (1 - fc) + Post(data, ri1, ci1) * fc;
    return north * (1 - fr) + south * fr;
}

int32_t TerrainBaseFillBuffer(const uint8_t* data, size_t size, const BackfillFields& f,
                              Workspace& ws, std::string* reason) {
    if (!data || size != GridBytes)
        return Refuse(reason, TerrainBaseTexts, TerrainBaseBadLength,
                      GroupedNumber(data ? size : 0) + " bytes");
    Surface& s = ws.TheSurface;
    if (!s.HasGrid())
        return Refuse(reason, TerrainBaseTexts, TerrainBaseNoGrid);
    Progress& progress = ws.TheProgress;
    progress.ProgressBegin("Filling in with TerrainBase data", ProgressStepPercent);
    for (int32_t y = 0; y < s.YSize && !progress.CancelRequested(); ++y) {
        const double lat = s.Bottom + (s.Top - s.Bottom) * y / s.YSize;
        float* row = s.Rows[y];
        for (int32_t x = 0; x < s.XSize; ++x) {
            if (!Selected(row[x], f))
                continue;
            const double lon = s.Left + (s.Right - s.Left) * x / s.XSize;
            if (!std::isfinite(lat) || !std::isfinite(lon))
                continue;
            const double v = TerrainBaseAt(data, lat, lon);
            row[x] = static_cast<float>(std::min(std::max(v, f.ClipLow), f.ClipHigh));
        }
        if (y % 4 == 0) {
            progress.ProgressUpdate(y, s.YSize);
            progress.PumpPendingMessage();
        }
    }
    progress.ProgressEnd();
    const bool cancelled = progress.ConsumeCancel();
    progress.ProgressSuppressNext();
    s.FindMinMax(s.Min, s.Max, progress);
    return cancelled ? Refuse(reason, TerrainBaseTexts, TerrainBaseCancelled) : 0;
}

int32_t TerrainBaseFill(const std::string& path, const BackfillFields& fill, Workspace& ws,
                        std::string* reason) {
    const int32_t code = ReadMappedFile(
        path, reason,
        [&](const uint8_t* data, size_t size) {
            return TerrainBaseFillBuffer(data, size, fill, ws, reason);
        },
        TerrainBaseCannotOpen, TerrainBaseCannotMap);
    if (code == TerrainBaseCannotOpen && reason)
        *reason = "Can't open Terrainbase file " + path + ": " + *reason;
    else if (code == TerrainBaseCannotMap && reason)
        *reason = "Can't create file mapping of " + path + ": " + *reason;
    return code;
}

} // namespace korvel
