#pragma once
// The reference ellipsoids of the "Model:" lists: the standard datums by index, and the user's
// own model at UserEllipsoid, which has no row of its own.

#include <cstdint>
#include <string>

namespace korvel {

inline constexpr int32_t EllipsoidCount = 9; // the datums 0 .. 8
inline constexpr int32_t UserEllipsoid = 9;
inline constexpr int32_t Wgs84Ellipsoid = 8;

// The axes in metres and the two squared eccentricities derived from them.
struct EllipsoidAxes {
    double A = 0.0;
    double B = 0.0;
    double E1Squared = 0.0; // 1 - (b/a)^2
    double E2Squared = 0.0; // (a/b)^2 - 1
};

// The axes of datum index: 0, or -1 (axes all 0) for an index outside 0 .. 8.
int32_t LookUpEllipsoid(int32_t index, EllipsoidAxes& axes);

// The eccentricities of the axes a and b: 0, or -1 (axes all 0) when a or b is not a finite
// positive number or their ratio overflows.
int32_t EllipsoidFromAxes(double a, double b, EllipsoidAxes& axes);

// "WGS-84", "User Model", "Unknown: 12".
std::string EllipsoidName(int32_t index);

} // namespace korvel
