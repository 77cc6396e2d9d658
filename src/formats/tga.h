#pragma once
// Targa pictures, uncompressed 24-bit true colour: the TextureMap as a picture, one colour channel
// of a picture read into the TextureMap, and Fractint's 16-bit height fields (height = red * 256 +
// green).

#include <cstddef>
#include <cstdint>
#include <string>

namespace korvel {

class Image;
class Progress;
class Workspace;

// Writing codes; on any non-zero code the file at path is left as it was. Files have no
// identification field and their rows run from the top.
//   0 written
//  -1 the file cannot be created
//  -2 a write failed or the file could not be put in place
//  -3 the row loop was cancelled
//  -4 the picture is empty (the Surface has no grid), or it is wider or higher than the header's
//     16-bit fields (65535)
//  -5 (WriteTgaTexture8 only) the picture has 24-bit pixels and so no palette
// The 8-bit writer stores each index's palette colour; the 24-bit one each pixel's colour (also
// through the palette for an 8-bit picture).
int32_t WriteTgaTexture8(const std::string& path, const Image& image, Progress& progress);
int32_t WriteTgaTexture24(const std::string& path, const Image& image, Progress& progress);
// Heights truncated toward zero, written as green = h % 256 and red = h / 256 (low bytes), blue 0.
int32_t WriteFractintTga(const std::string& path, Workspace& ws);

// Reading codes (image type 2, 24 bits per pixel; the identification field and a colour map are
// skipped, the origin bits of the descriptor honoured). Refusals change nothing.
//   0 read
//  -1 not an uncompressed 24-bit true-colour TGA, or channel outside 0..2
//  -2 cannot open or map
//  -3 truncated: shorter than the header, or than the pixels it promises
//  -4 the width (cut to a multiple of 4) or the height is one the Surface cannot take
//  -5 out of memory for the Surface (it is then empty)
//  -6 cancelled: rows not read are 0 (heights) or as Resize left them (TextureMap)
// ReadTgaChannel resizes the Surface and sets each TextureMap pixel to the palette index given by
// one byte of the file's pixel: channel 0 red, 1 green, 2 blue.
int32_t ReadTgaChannel(const std::string& path, int32_t channel, Workspace& ws);
int32_t ReadTgaChannelBuffer(const uint8_t* data, size_t size, int32_t channel, Workspace& ws);
// Heights red * 256 + green (blue ignored); Min and Max are the extremes afterwards.
int32_t ReadFractintTga(const std::string& path, Workspace& ws);
int32_t ReadFractintTgaBuffer(const uint8_t* data, size_t size, Workspace& ws);

} // namespace korvel
