#pragma once
// Windows bitmaps: the TextureMap as an 8-bit palette or 24-bit picture, and the Surface as an
// 8-bit grey picture whose pixel values are the heights.

#include "core/image.h"
#include "core/status.h"

#include <array>

#include <cstddef>
#include <cstdint>
#include <string>

namespace korvel {

class Image;
class Progress;
class Workspace;

// Picture writing codes; on any non-zero code the file at path is left as it was.
enum BmpImageWriteStatus : int32_t {
    BmpImageCannotCreate = -1,
    BmpImageWriteFailed = -2, // a write failed or the file could not be put in place
    BmpImageWriteCancelled = -3,
    BmpImageWriteBadSize = -4, // the picture is empty or too large for the headers' 32-bit sizes
};
extern const StatusTable BmpImageWriteTexts;
int32_t WriteBmpImage(const std::string& path, const Image& image, Progress& progress,
                      std::string* reason = nullptr);

// Picture reading codes (8 or 24 bits, rows bottom-up or top-down, padded rows); 0 read (also
// after a cancel: the rows not read are black).
enum BmpImageReadStatus : int32_t {
    BmpImageCannotOpen = -2,
    // cannot map, not a BMP, not 8 or 24 bits, or compressed; for 8 bits also more than 256
    // palette entries or rows that start inside the palette
    BmpImageUnsupported = -3,
    // width below 4 (it is cut to a multiple of 4), width or height the Surface cannot take
    // (150000 or more), or out of memory (the picture is then empty)
    BmpImageNoPicture = -4,
    BmpImageTruncated = -5, // shorter than the headers, the palette or the rows they promise
};
extern const StatusTable BmpImageReadTexts;
// Every refusal but the out-of-memory one leaves the picture untouched. reason, when given,
// receives why a read failed.
int32_t ReadBmpImage(const std::string& path, Image& image, Progress& progress,
                     std::string* reason = nullptr);
int32_t ReadBmpImageBuffer(const uint8_t* data, size_t size, Image& image, Progress& progress,
                           std::string* reason = nullptr);

// A picture BMP used where it lies, for readers that only sample it: the checks of
// ReadBmpImageBuffer, without the copy.
struct BmpPixels {
    int32_t Width = 0; // cut to a multiple of 4, as a picture's
    int32_t Height = 0;
    int32_t Bits = 0;
    std::array<PackedColor, 256> Palette{}; // 8 bits; entries past a short palette are black
    const uint8_t* First = nullptr;         // the row an Image's Row(0) would hold
    ptrdiff_t Step = 0;                     // from one such row to the next

    const uint8_t* Row(int32_t y) const { return First + Step * y; }
};
// 0, or the BmpImageReadStatus ReadBmpImageBuffer gives (never BmpImageNoPicture for memory).
int32_t ViewBmpPixels(const uint8_t* data, size_t size, BmpPixels& pixels,
                      std::string* reason = nullptr);

// Surface writing codes; the file at path is left as it was on any non-zero code.
enum BmpSurfaceWriteStatus : int32_t {
    BmpSurfaceCannotCreate = -1,
    BmpSurfaceWriteFailed = -2, // a write failed or the file could not be put in place
    BmpSurfaceWriteCancelled = -3,
    BmpSurfaceWriteBadSize = -4, // no grid, or too large for the headers' 32-bit sizes
};
extern const StatusTable BmpSurfaceWriteTexts;
// Without reason the failures of BmpSurfaceCannotCreate and BmpSurfaceWriteFailed are shown as
// "Error writing to " and the path in quotation marks; with it they go there instead.
int32_t WriteBmpSurface(const std::string& path, Workspace& ws, std::string* reason = nullptr);

// Surface reading codes; 0 read (also after a cancel: the rows not read are 0), heights are
// pixel / 255.
enum BmpSurfaceReadStatus : int32_t {
    BmpSurfaceCannotOpen = -1,  // cannot open or map
    BmpSurfaceNotBmp = -3,      // the signature is not "BM"
    BmpSurfaceUnsupported = -4, // not 8 bits or compressed
    BmpSurfaceBadSize = -5,     // width (cut to a multiple of 4) or height below 4 or above 100000
    BmpSurfaceTruncated = -6,
    BmpSurfaceOutOfMemory = -7, // the Surface is then empty, 0 x 0
};
extern const StatusTable BmpSurfaceReadTexts;
// Every refusal but BmpSurfaceOutOfMemory leaves the Surface untouched. Without reason each
// failure shows its message; with it the message goes there instead.
int32_t ReadBmpSurface(const std::string& path, Workspace& ws, std::string* reason = nullptr);
// The same from bytes in memory; name stands for the path in the texts.
int32_t ReadBmpSurfaceBuffer(const uint8_t* data, size_t size, Workspace& ws,
                             const std::string& name = std::string(),
                             std::string* reason = nullptr);

} // namespace korvel
