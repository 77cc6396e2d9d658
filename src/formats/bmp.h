#pragma once
// Windows bitmaps: the TextureMap as an 8-bit palette or 24-bit picture, and the Surface as an
// 8-bit grey picture whose pixel values are the heights.

#include <cstddef>
#include <cstdint>
#include <string>

namespace korvel {

class Image;
class Progress;
class Workspace;

// Picture writing codes; on any non-zero code the file at path is left as it was.
//   0 written
//  -1 the file cannot be created
//  -2 a write failed or the file could not be put in place
//  -3 the row loop was cancelled
//  -4 the picture is empty or too large for the headers' 32-bit sizes
int32_t WriteBmpImage(const std::string& path, const Image& image, Progress& progress);

// Picture reading codes (8 or 24 bits, rows bottom-up or top-down, padded rows).
//   0 read (also after a cancel: the rows not read are black)
//  -2 cannot open
//  -3 cannot map, not a BMP, not 8 or 24 bits, or compressed; for 8 bits also more than 256
//     palette entries or rows that start inside the palette
//  -4 the picture cannot be created: width below 4 (it is cut to a multiple of 4), width or
//     height the Surface cannot take (150000 or more), or out of memory (the picture is then empty)
//  -5 truncated: shorter than the headers, the palette or the rows they promise
// Every refusal but the out-of-memory one leaves the picture untouched.
int32_t ReadBmpImage(const std::string& path, Image& image, Progress& progress);
int32_t ReadBmpImageBuffer(const uint8_t* data, size_t size, Image& image, Progress& progress);

// Surface writing codes; the failures of -1 and -2 are shown as "Error writing to " and the path
// in quotation marks. The file at path is left as it was on any non-zero code.
//   0 written
//  -1 the file cannot be created
//  -2 a write failed or the file could not be put in place
//  -3 the row loop was cancelled
//  -4 the Surface has no grid, or is too large for the headers' 32-bit sizes
int32_t WriteBmpSurface(const std::string& path, Workspace& ws);

// Surface reading codes; each failure shows its message.
//   0 read (also after a cancel: the rows not read are 0); heights are pixel / 255
//  -1 cannot open or map
//  -3 not a BMP (the signature is not "BM")
//  -4 not 8 bits or compressed
//  -5 width (cut to a multiple of 4) or height below 4 or above 100000
//  -6 truncated
//  -7 out of memory for the Surface (it is then empty, 0 x 0)
// Every refusal but -7 leaves the Surface untouched.
int32_t ReadBmpSurface(const std::string& path, Workspace& ws);
// The same from bytes in memory; name stands for the path in the texts.
int32_t ReadBmpSurfaceBuffer(const uint8_t* data, size_t size, Workspace& ws,
                             const std::string& name = std::string());

} // namespace korvel
