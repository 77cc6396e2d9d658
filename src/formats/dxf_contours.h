#pragma once
// The "2D DXF Contour Map": CONREC segments of every level go to a raw file beside the output
// (path + ".$RV", 24-byte records), which is then translated into DXF LINE entities and removed.

#include "core/progress.h"
#include "core/status.h"
#include "core/surface.h"
#include "formats/contour_levels.h"

#include <cstdint>
#include <string>

namespace korvel {

struct DxfContourOptions {
    ContourLevels Levels;
    bool Merge = false;      // segments joined end to end into POLYLINE entities
    bool Elevations = false; // 30 and 31 groups with the level
};

enum DxfContourStatus : int32_t {
    DxfContourCancelled = -1,
    DxfContourCannotCreate = -2,
    DxfContourWriteFailed = -3,
    DxfContourRawFailed = -8, // the raw segment file could not be created, written or read
};
extern const StatusTable DxfContourTexts;

constexpr size_t RawSegmentBytes = 24;

// 0 with lines set to the LINE (or, merged, POLYLINE) entities written; otherwise the code with
// reason set, no raw file left and the file at path as it was.
int32_t WriteDxfContourFile(const std::string& path, const Surface& s,
                            const DxfContourOptions& options, Progress& progress, int64_t& lines,
                            std::string* reason = nullptr);

} // namespace korvel
