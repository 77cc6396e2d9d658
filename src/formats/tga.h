#pragma once
// Targa pictures, uncompressed 24-bit true colour: the TextureMap as a picture, one colour channel
// of a picture read into the TextureMap, and Fractint's 16-bit height fields (height = red * 256 +
// green).

#include "core/status.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace korvel {

class Image;
class Progress;
class Workspace;

// Writing codes; on any non-zero code the file at path is left as it was. Files have no
// identification field and their rows run from the top.
enum TgaWriteStatus : int32_t {
    TgaCannotCreate = -1,
    TgaWriteFailed = -2, // a write failed or the file could not be put in place
    TgaWriteCancelled = -3,
    TgaWriteBadSize = -4, // the picture is empty (the Surface has no grid), or wider or higher
                          // than the header's 16-bit fields (65535)
    TgaNoPalette = -5,    // (WriteTgaTexture8 only) the picture has 24-bit pixels
};
extern const StatusTable TgaWriteTexts;
// The 8-bit writer stores each index's palette colour; the 24-bit one each pixel's colour (also
// through the palette for an 8-bit picture).
int32_t WriteTgaTexture8(const std::string& path, const Image& image, Progress& progress,
                         std::string* reason = nullptr);
int32_t WriteTgaTexture24(const std::string& path, const Image& image, Progress& progress,
                          std::string* reason = nullptr);
// Heights truncated toward zero, written as green = h % 256 and red = h / 256 (low bytes), blue 0.
int32_t WriteFractintTga(const std::string& path, Workspace& ws, std::string* reason = nullptr);

// Reading codes (image type 2, 24 bits per pixel; the identification field and a colour map are
// skipped, the origin bits of the descriptor honoured); 0 read. Refusals change nothing.
enum TgaReadStatus : int32_t {
    TgaUnsupported = -1,   // not an uncompressed 24-bit true-colour TGA, or channel outside 0..2
    TgaCannotOpen = -2,    // cannot open or map
    TgaTruncated = -3,     // shorter than the header, or than the pixels it promises
    TgaBadReadSize = -4,   // the width (cut to a multiple of 4) or height the Surface cannot take
    TgaOutOfMemory = -5,   // the Surface is then empty
    TgaReadCancelled = -6, // rows not read are 0 (heights) or as Resize left them (TextureMap)
};
extern const StatusTable TgaReadTexts;
// ReadTgaChannel resizes the Surface and sets each TextureMap pixel to the palette index given by
// one byte of the file's pixel: channel 0 red, 1 green, 2 blue. reason, when given, receives why
// a read failed.
int32_t ReadTgaChannel(const std::string& path, int32_t channel, Workspace& ws,
                       std::string* reason = nullptr);
int32_t ReadTgaChannelBuffer(const uint8_t* data, size_t size, int32_t channel, Workspace& ws,
                             std::string* reason = nullptr);
// Heights red * 256 + green (blue ignored); Min and Max are the extremes afterwards.
int32_t ReadFractintTga(const std::string& path, Workspace& ws, std::string* reason = nullptr);
int32_t ReadFractintTgaBuffer(const uint8_t* data, size_t size, Workspace& ws,
                              std::string* reason = nullptr);

} // namespace korvel
