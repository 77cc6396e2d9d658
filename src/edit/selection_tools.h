#pragma once
// What the selection tools of the view do to the mask: a dragged rectangle, a lasso outline and
// the connected samples near a clicked elevation (the magic wand). Each replaces the selection,
// adds to it or subtracts from it (SelectionOperation of dialog_fields.h).

#include <cstdint>
#include <vector>

namespace korvel {

class Surface;

// Samples x0..x1, y0..y1 (inclusive, any order, clipped to the Surface). -1 without a mask or
// grid, or with an unknown operation.
int32_t SelectRectangle(Surface& s, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                        int32_t operation);

// A point of a lasso outline: sample (i, j) covers x in [i, i + 1) and y in [j, j + 1).
struct OutlinePoint {
    double X = 0.0;
    double Y = 0.0;
};

// The samples whose centres lie inside the closed outline (even-odd rule). An outline of fewer
// than 3 points encloses nothing. -1 as for SelectRectangle.
int32_t SelectLasso(Surface& s, const std::vector<OutlinePoint>& outline, int32_t operation);

// The samples connected to (x, y) through edge neighbours whose elevation lies within tolerance
// of the elevation at (x, y). -1 as for SelectRectangle, or when (x, y) is off the Surface or
// its elevation is not a number.
int32_t SelectConnected(Surface& s, int32_t x, int32_t y, double tolerance, int32_t operation);

} // namespace korvel
