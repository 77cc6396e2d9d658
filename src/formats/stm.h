#pragma once
// The STM surface file: a one-line text header "STM <width> <height> " ending in the bytes
// 4, 3, 2, 1 and a line feed, then the rows of the Surface as signed 16-bit little-endian values,
// row 0 first.

#include "core/status.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace korvel {

class Workspace;

// Reading codes; 0 read, Min and Max set to the extremes of the values.
enum StmReadStatus : int32_t {
    StmCannotOpen = -2,
    StmCannotMap = -3,
    StmNotStm = -5,       // the file does not begin with "STM "
    StmBadHeader = -6,    // width and height missing or outside 0..100000, or no line feed ends
                          // the header within its first 127 bytes
    StmTruncated = -7,    // fewer samples than the header promises
    StmBadSize = -8,      // a width or height the Surface cannot take (0, or a width below 4)
    StmCancelled = -9,    // the rows read so far, the others 0; Min and Max untouched
    StmOutOfMemory = -10, // the Surface is then empty, 0 x 0
};
extern const StatusTable StmReadTexts;
// Every refusal from StmCannotOpen to StmBadSize leaves the Surface untouched. The four bytes
// before the line feed are not checked. reason, when given, receives why a read failed.
int32_t ReadStmFile(const std::string& path, Workspace& ws, std::string* reason = nullptr);
// The same from bytes in memory; name only completes the progress text.
int32_t ReadStmBuffer(const uint8_t* data, size_t size, Workspace& ws,
                      const std::string& name = std::string(), std::string* reason = nullptr);

// Writes each sample truncated toward zero: scaled, as (sample - Min) / (Max - Min) x 32767, so
// the file holds 0..32767 (as sample - Min when Max and Min are within 0.00001); unscaled, as it
// is. Values beyond the 16-bit range are clamped to it, NaN is written as 0. Codes; on any
// non-zero code the file at path is left as it was.
enum StmWriteStatus : int32_t {
    StmWriteCancelled = -1, // between rows
    StmCannotCreate = -2,
    StmWriteFailed =
        -3, // a write failed (disk full, I/O error) or the file could not be put in place
    StmNoGrid = -5,
};
extern const StatusTable StmWriteTexts;
int32_t WriteStmFile(const std::string& path, Workspace& ws, bool scaled = true,
                     std::string* reason = nullptr);

} // namespace korvel
