#pragma once
// World Builder maps: a surface map and a climate map, both bitmaps laying the globe out as a
// diamond (the near hemisphere) with the far hemisphere folded into the four corners, turned into
// a whole-world equirectangular Surface and TextureMap.

#include "core/image.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace korvel {

class Workspace;

// The working picture: Width x Height packed values, row 0 at the top; reads outside give 0.
struct WorkingImage {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<PackedColor> Pixels;

    PackedColor At(int32_t x, int32_t y) const {
        if (x < 0 || y < 0 || x >= Width || y >= Height)
            return 0;
        return Pixels[static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)];
    }
};

// Fills work as a picture of 2 x height by height, its width rounded down to a multiple of 4 as
// every picture's is; each pixel the source's (row 0 of the source at the top) that the diamond
// puts at its longitude and latitude: the packed colour of a 24-bit source, the palette index of an
// 8-bit one.
void ResampleDiamond(const Image& source, int32_t height, WorkingImage& work);

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
