#pragma once
// The two geometric pieces shared by the shaded picture and the gray maps: the light direction
// and the neighbour normal of a cell.

#include "core/surface.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace korvel {

// Azimuth and elevation in degrees; x points toward increasing column, y toward increasing row.
inline std::array<float, 3> LightVectorFor(double az, double el) {
    const double a = (90.0 - az) * std::numbers::pi / 180.0;
    const double e = el * std::numbers::pi / 180.0;
    return {static_cast<float>(std::cos(a) * std::cos(e)),
            static_cast<float>(std::sin(a) * std::cos(e)), static_cast<float>(std::sin(e))};
}

// 1 / max(|Max|, |Min|) when the Surface is not flat, else 1.
inline double NeighbourHeightScale(double min, double max) {
    if (std::fabs(max - min) > 0.0001)
        return 1.0 / std::max(std::fabs(max), std::fabs(min));
    return 1.0;
}

struct Normal {
    double X = 0.0;
    double Y = 0.0;
    double Z = 1.0;
};

// Full-weight corners, rows and columns clamped to the Surface, (nx, ny, 1) normalised.
inline Normal NeighbourNormal(const Surface& s, int32_t x, int32_t y, double heightScale) {
    const int32_t xm = std::max(x - 1, 0), xp = std::min(x + 1, s.XSize - 1);
    const int32_t ym = std::max(y - 1, 0), yp = std::min(y + 1, s.YSize - 1);
    const float* below = s.Rows[ym];
    const float* row = s.Rows[y];
    const float* above = s.Rows[yp];
    const double nx =
        (static_cast<double>(below[xm]) + row[xm] + above[xm] - below[xp] - row[xp] - above[xp]) *
        heightScale;
    const double ny =
        (static_cast<double>(above[xm]) + above[x] + above[xp] - below[xm] - below[x] - below[xp]) *
        heightScale;
    const double length = std::sqrt(nx * nx + ny * ny + 1.0);
    return {nx / length, ny / length, 1.0 / length};
}

} // namespace korvel
