#pragma once
// The two "Edge" commands: they touch the one-pixel border of a picture (the TextureMap), not
// the elevations.

#include "core/image.h"

namespace korvel {

// Paints the border (first and last column, first and last row) in colour; of 8-bit pictures
// the low byte is the palette index.
void TextureEdgeClear(Image& image, PackedColor color);
// Gives each border pixel the colour of the pixel one step inside it, corners that of their
// diagonal neighbour. Along a side shorter than 3 pixels there is no inside and nothing moves.
void TextureEdgeFluff(Image& image);

} // namespace korvel
