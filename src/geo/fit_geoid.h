#pragma once
// "&Fit Geoid...": bends a flat height field onto the ellipsoid by the height of the ellipsoid
// above or below the tangent plane at a reference point.

#include <cstdint>

namespace korvel {

class Geoid;
class Progress;
class Surface;

// The "Relative to:" choices: where in the evaluation area the reference point lies, or typed.
enum FitGeoidPlace : int32_t {
    PlaceLowerLeft = 0,
    PlaceLowerCenter = 1,
    PlaceLowerRight = 2,
    PlaceLeftCenter = 3,
    PlaceCenter = 4,
    PlaceRightCenter = 5,
    PlaceUpperLeft = 6,
    PlaceTopCenter = 7,
    PlaceUpperRight = 8,
    PlaceAbsolute = 9,
};

struct LatLon {
    double Lat = 0.0;
    double Lon = 0.0;
};

// The reference point (degrees) of place within the area; false for PlaceAbsolute and any other
// value, which leave the typed point.
bool ReferencePointOf(int32_t place, double top, double left, double right, double bottom,
                      LatLon& point);

// Adds to every sample the up coordinate, in geoid's frame, of the ellipsoid point under it (row
// r at latitude Bottom + (Top - Bottom) r / YSize, column c at Left + (Right - Left) c / XSize);
// subtracts it when add is false. 0, or -1 when cancelled (rows not reached stay as they were).
int32_t FitGeoid(Surface& s, Progress& p, const Geoid& geoid, bool add);

} // namespace korvel
