#pragma once
// The ESRI ASCII grid: a header of ncols, nrows, the lower-left corner (xllcorner/yllcorner for
// the outline, xllcenter/yllcenter for the sample), cellsize (or dx and dy) and an optional
// NODATA_value, then the heights as text, northern row first.

#include "core/status.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace korvel {

class Workspace;

// Reading codes; 0 read. Every refusal leaves the Surface untouched.
enum AsciiGridReadStatus : int32_t {
    AsciiGridCannotOpen = -2,
    AsciiGridCannotMap = -3,
    AsciiGridNotGrid = -5,   // the header is missing a field or has one it does not know
    AsciiGridTruncated = -7, // fewer heights than ncols x nrows
    AsciiGridBadSize = -8,   // a size the Surface cannot take
    AsciiGridOutOfMemory = -9,
    AsciiGridBadValue = -10, // a height or a header value that is not a number
};
extern const StatusTable AsciiGridReadTexts;
// Notes (a cut width, no-data samples) go to ws.FileNotes.
int32_t ReadAsciiGridFile(const std::string& path, Workspace& ws, std::string* reason = nullptr);
int32_t ReadAsciiGridBuffer(const uint8_t* data, size_t size, Workspace& ws,
                            const std::string& name = std::string(), std::string* reason = nullptr);

// Writing codes; on any non-zero code the file at path is left as it was.
enum AsciiGridWriteStatus : int32_t {
    AsciiGridWriteCancelled = -1,
    AsciiGridCannotCreate = -2,
    AsciiGridWriteFailed = -3,
    AsciiGridNoGrid = -5,
};
extern const StatusTable AsciiGridWriteTexts;
// Heights as the shortest text that reads back to the same float; NaN as NODATA_value -9999.
int32_t WriteAsciiGridFile(const std::string& path, Workspace& ws, std::string* reason = nullptr);

} // namespace korvel
