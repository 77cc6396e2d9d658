#pragma once
// "&Export BMP": the Map Projection view written straight into a 24-bit BMP file at a chosen
// size, row by row, without holding the picture.

#include "core/projection_fields.h"
#include "core/status.h"

#include <cstdint>
#include <string>

namespace korvel {

class Image;
class Progress;
class Surface;

enum ProjectedBmpStatus : int32_t {
    ProjectedBmpDone = 0,
    ProjectedBmpCancelled = -1, // the previous file, if any, is left as it was
    ProjectedBmpRefused = -2,   // a size or a projection that cannot be drawn
    ProjectedBmpWriteFailed = -3,
};
extern const StatusTable ProjectedBmpTexts;

// Each side in 4..32768 pixels: the largest picture's 3.2 GB still fit the header's 32-bit sizes.
constexpr int32_t MinProjectedSide = 4;
constexpr int32_t MaxProjectedSide = 32768;

// The bytes of one BMP row of width pixels: 3 each, padded to a multiple of 4.
int64_t ProjectedRowBytes(int32_t width);

// Writes view.Width x view.Height pixels of the view (its projection, centre, parallels and
// zoom) to path through a temporary file; pixels without a place are black. reason says why on
// failure, naming the file or value.
int32_t ExportProjectionBmp(const std::string& path, const MapProjectionFields& view,
                            const Image& texture, const Surface& map, Progress& progress,
                            std::string& reason);

} // namespace korvel
