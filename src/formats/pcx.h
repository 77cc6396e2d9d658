#pragma once
// ZSoft PCX pictures, run-length coded: the TextureMap as a 256-colour or 24-bit picture, and a
// 256-colour picture read as a texture or as a Surface whose heights are the palette indices.

#include "core/status.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace korvel {

class Image;
class Progress;
class Workspace;

// Writing codes; on any non-zero code the file at path is left as it was.
enum PcxWriteStatus : int32_t {
    PcxCannotCreate = -1,
    PcxWriteFailed = -2, // a write failed or the file could not be put in place
    PcxWriteCancelled = -3,
    PcxBadSize = -4,   // the picture is empty, or wider or higher than 65535
    PcxNoPalette = -5, // (256 colours only) the picture has 24-bit pixels and so no indices
};
extern const StatusTable PcxWriteTexts;
// The 256-colour file ends with the marker 12 and the picture's palette; the 24-bit one writes
// each row as red, green and blue planes (an 8-bit picture's pixels through its palette).
int32_t WritePcx256(const std::string& path, const Image& image, Progress& progress,
                    std::string* reason = nullptr);
int32_t WritePcx24(const std::string& path, const Image& image, Progress& progress,
                   std::string* reason = nullptr);

// Reading codes (8 bits, 1 plane, version 5, run-length coded; the texture reader also takes the
// 3 planes of the 24-bit file); 0 read. Refusals change nothing.
enum PcxReadStatus : int32_t {
    PcxUnsupported = -1,   // not such a PCX, or fewer bytes per line than the width
    PcxCannotOpen = -2,    // cannot open or map
    PcxTruncated = -3,     // shorter than the header, or the rows end before the last is complete
    PcxBadReadSize = -4,   // the width (cut to a multiple of 4) or height the Surface cannot take
    PcxOutOfMemory = -5,   // the picture or the Surface is then empty
    PcxReadCancelled = -6, // the rows not read are 0
};
extern const StatusTable PcxReadTexts;
// Runs never cross a row: a run longer than the rest of its row is cut there. reason, when
// given, receives why a read failed.
//
// As a picture: 8-bit palette indices, rows bottom-up like every Image; the palette is the one
// after the marker 12 at 769 bytes from the end, or grey (i, i, i) when the file has none. A
// 3-plane file gives a 24-bit picture of its red, green and blue planes.
int32_t ReadPcxTexture(const std::string& path, Image& image, Progress& progress,
                       std::string* reason = nullptr);
// The same from bytes in memory; name stands for the path in the texts.
int32_t ReadPcxTextureBuffer(const uint8_t* data, size_t size, Image& image, Progress& progress,
                             const std::string& name = std::string(),
                             std::string* reason = nullptr);
// As a Surface: each index is the height (0..255); Min and Max are the extremes read.
int32_t ReadPcxSurface(const std::string& path, Workspace& ws, std::string* reason = nullptr);
int32_t ReadPcxSurfaceBuffer(const uint8_t* data, size_t size, Workspace& ws,
                             const std::string& name = std::string(),
                             std::string* reason = nullptr);

} // namespace korvel
