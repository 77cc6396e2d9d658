#pragma once
// The TextureMap rearranged into the unfolded net of an icosahedron, ready to print and fold into
// a globe: five triangles on top, ten in the middle band, five at the bottom, over eleven units
// of width.

#include "core/image.h"

#include <cstdint>

namespace korvel {

class Progress;

// Rewrites the first width x height pixels of picture in place (rows from the top of the picture
// down; everything outside the net becomes background, index 0 in an 8-bit picture). 0 done, -1
// cancelled: the rows not yet reached keep their pixels.
int32_t IcosahedralResample(Image& picture, int32_t width, int32_t height, PackedColor background,
                            Progress& progress);

} // namespace korvel
