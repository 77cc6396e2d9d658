#pragma once
// The TerrainBase fill: samples of the Surface in a chosen range are replaced by the elevation of
// a global grid (4320 x 2160 16-bit samples, 12 per degree, row 0 at latitude 90, column 0 at
// longitude -180, little-endian as the PC files are) at their latitude and longitude.

#include "core/status.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace korvel {

class Workspace;
struct BackfillFields;

enum BackfillMode : int32_t {
    BackfillBelow = 0,   // v <= Value1
    BackfillAbove = 1,   // v >= Value1
    BackfillBetween = 2, // Value1 <= v <= Value2
};

enum TerrainBaseStatus : int32_t {
    TerrainBaseCancelled = -1,
    TerrainBaseCannotOpen = -2,
    TerrainBaseCannotMap = -3,
    TerrainBaseBadLength = -4, // not exactly 4320 x 2160 x 2 bytes
    TerrainBaseNoGrid = -5,
};
extern const StatusTable TerrainBaseTexts;

constexpr int32_t TerrainBaseColumns = 4320;
constexpr int32_t TerrainBaseRows = 2160;

// The grid's elevation at (lat, lon), bilinear between the four posts around it; rows stop at
// the poles, longitudes wrap around the world. data holds the whole grid.
double TerrainBaseAt(const uint8_t* data, double lat, double lon);

// Replaces every sample the mode selects (and every NaN, a sample no file gave) by the grid's
// elevation clamped to ClipLow..ClipHigh; Min and Max are found again. A cancel keeps the rows
// already filled.
int32_t TerrainBaseFillBuffer(const uint8_t* data, size_t size, const BackfillFields& fill,
                              Workspace& ws, std::string* reason = nullptr);
int32_t TerrainBaseFill(const std::string& path, const BackfillFields& fill, Workspace& ws,
                        std::string* reason = nullptr);

} // namespace korvel
