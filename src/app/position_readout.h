#pragma once
// The "POSN" pane of the status bar: where the mouse is over the Surface and the elevation there.

#include <cstdint>
#include <string>

namespace korvel {

class Surface;

// A point of the Surface under the mouse: x, y in samples (rows count up from the bottom) and
// the map position.
struct SurfacePoint {
    double X = 0.0;
    double Y = 0.0;
    double Lat = 0.0;
    double Lon = 0.0;
};

// The point under client pixel (px, py) with the view scrolled by (scrollX, scrollY) at zoom.
SurfacePoint ClientToSurface(const Surface& s, double zoom, int scrollX, int scrollY, int px,
                             int py);

// The readout in the format of dispPosn (0 none, 1 decimal degrees, 2 degrees, minutes and
// seconds, 3 pixel position); empty when the point lies off the Surface or dispPosn is 0.
std::string PositionReadout(int32_t dispPosn, const SurfacePoint& p, int32_t xsize, int32_t ysize,
                            float elevation);

} // namespace korvel
