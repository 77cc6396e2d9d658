#pragma once
// CONREC contouring (Paul Bourke, 1987): each cell of the grid is split into four triangles
// around its centre, whose value is the mean of the four corners; every triangle a level
// crosses gives one straight segment.

#include "core/progress.h"
#include "core/surface.h"
#include "formats/contour_levels.h"

#include <functional>

namespace korvel {

struct ContourSegment {
    double X1, Y1, X2, Y2, Z;
};

// Contours s at levels, handing each segment (in map coordinates: column i at Left + (Right -
// Left) i / XSize, row j at Bottom + (Top - Bottom) j / YSize) to emit. Cells with a sample that
// is not finite are passed over. False when cancelled; emit returning false stops it too.
bool ContourGrid(const Surface& s, const ContourLevels& levels, Progress& progress,
                 const std::function<bool(const ContourSegment&)>& emit);

} // namespace korvel
