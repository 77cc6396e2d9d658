#pragma once
// World Builder maps: a surface map and a climate map, both bitmaps laying the globe out as a
// diamond (the near hemisphere) with the far hemisphere folded into the four corners, turned into
// a whole-world equirectangular Surface and TextureMap.

#include "core/image.h"

#include <array>
#include <cstdint>
#include <string>

namespace korvel {

class Workspace;

enum WorldBuilderStatus : int32_t {
    WorldBuilderBadHeights = -1, // "Error reading BMP file", or too few rows
    WorldBuilderBadSize = -2,    // a Surface of 2H x H is refused; nothing changed
    WorldBuilderOutOfMemory = -3,
    WorldBuilderBadClimate = -4, // the heights are kept
};

// The display palette an 8-bit TextureMap of the new heights takes.
using DisplayPalette = std::array<PackedColor, 256> (*)(Workspace&);

// Reads the surface map into a whole-world Surface of 2H x H (its width rounded down to a
// multiple of 4 as every Surface's is; edges -180, 180, 90, -90, heights
// 0..255 as read) and, when climatePath is not empty, the climate map into the TextureMap, which
// is then up to date as it is; on an 8-bit TextureMap each colour becomes the nearest entry of
// palette(ws). Messages go to the host; 0 done.
int32_t ImportWorldBuilder(Workspace& ws, const std::string& heightsPath,
                           const std::string& climatePath, DisplayPalette palette);

} // namespace korvel
