#pragma once
// The hex and rectangular grid overlays: every line drawn twice, first with the contrast pen, then
// with the edges pen on top, so that a thin line shows with an outline.

#include "core/workspace.h"
#include "shading/image_drawing.h"

#include <cstdint>
#include <string>

namespace korvel {

enum GridUnits : int32_t { GridPixels = 0, GridDegrees = 1 };

struct MapEdges {
    double Left = 0.0;
    double Right = 0.0;
    double Top = 0.0;
    double Bottom = 0.0;
};

// Spacings in degrees become pixels of the drawing at the map's scale; positions in degrees count
// from the bottom edge, so that grid lines sit on whole multiples of the spacing (plus the
// offset) from latitude 0 and longitude 0. Offsets larger than one spacing are reduced to it, so
// the grid always covers the whole picture.
// 0 when drawn (or nothing to draw on); -1 when the spacing is under one pixel of the drawing,
// with message saying so: nothing is drawn rather than millions of shapes.
int32_t DrawHexGrid(ImageDrawing& canvas, const HexGridSettings& hex, GridUnits units,
                    const MapEdges& edges, std::string& message);
int32_t DrawRectangularGrid(ImageDrawing& canvas, const RectGridSettings& grid,
                            const MapEdges& edges, std::string& message);

} // namespace korvel
