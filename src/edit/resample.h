#pragma once
// Resampling the Surface onto a new grid: over a new rectangle of latitudes and longitudes, or
// over an arbitrary quadrilateral of sample positions. Every new sample is exactly the value
// Surface::SampleAt gives at its position clamped into the old grid (the edge samples extend
// outwards), stored as a float.
//
// Both round the width down to a multiple of 4 and return 0 done, -1 refused (a size outside
// 1..Surface::SizeLimit-1 or a grid that cannot be had: the message "Unable to allocate surface
// for resample" has been shown) or cancelled, -2 when the finishing Resize ran out of memory
// (the Surface is then empty). Refused or cancelled, the Surface is unchanged. On success the
// rows are replaced, Min/Max are the extremes of the new samples, and the TextureMap and the
// mask are those a Resize to the new size leaves.

#include <array>
#include <cstdint>

namespace korvel {

class Host;
class Progress;
class Surface;
struct InterpSettings;

// A position in the grid: P is the row (y), Q the column (x), both fractional.
struct QuadPoint {
    double P = 0.0;
    double Q = 0.0;
};

// Row i of the computation (i = 0 .. ysize-1) lies at latitude bottom + i (top - bottom)/ysize
// and becomes row ysize-1-i; column j lies at longitude left + j (right - left)/width. Positions
// go through the old map record (LatLonToXY). The new edges are set with SetEdges.
int32_t Resample(Surface& s, Progress& progress, Host& host, const InterpSettings& interp,
                 double left, double right, double top, double bottom, int32_t xsize,
                 int32_t ysize);

// corners: lower left, upper left, lower right, upper right. Row r of the computation, at
// t = r/ysize between the lower and the upper corners, becomes row ysize-1-r; column k samples
// at s = k/width between the left and the right ends of that row. The edges stay as they were.
int32_t QuadResample(Surface& s, Progress& progress, Host& host, const InterpSettings& interp,
                     const std::array<QuadPoint, 4>& corners, int32_t xsize, int32_t ysize);

} // namespace korvel
