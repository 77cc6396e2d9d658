#pragma once
// The STM surface file: a one-line text header "STM <width> <height> " ending in the bytes
// 4, 3, 2, 1 and a line feed, then the rows of the Surface as signed 16-bit little-endian values,
// row 0 first.

#include <cstddef>
#include <cstdint>
#include <string>

namespace korvel {

class Workspace;

// Reading codes.
//   0 read, Min and Max set to the extremes of the values
//  -2 cannot open, -3 cannot map
//  -5 the file does not begin with "STM "
//  -6 the width and height are missing or outside 0..100000, or no line feed ends the header
//     within its first 127 bytes
//  -7 truncated: fewer samples than the header promises
//  -8 a width or height the Surface cannot take (0, or a width below 4)
//  -9 cancelled (the rows read so far, the others 0; Min and Max untouched)
//  -10 out of memory for the Surface (it is then empty, 0 x 0)
// Every refusal from -2 to -8 leaves the Surface untouched. The four bytes before the line feed
// are not checked.
int32_t ReadStmFile(const std::string& path, Workspace& ws);
// The same from bytes in memory; name only completes the progress text.
int32_t ReadStmBuffer(const uint8_t* data, size_t size, Workspace& ws,
                      const std::string& name = std::string());

// Writes each sample truncated toward zero: scaled, as (sample - Min) / (Max - Min) x 32767, so
// the file holds 0..32767 (as sample - Min when Max and Min are within 0.00001); unscaled, as it
// is. Values beyond the 16-bit range are clamped to it, NaN is written as 0. Codes; on any
// non-zero code the file at path is left as it was.
//   0 written
//  -1 cancelled between rows
//  -2 the file cannot be created
//  -3 a write failed (disk full, I/O error) or the file could not be put in place
//  -5 the Surface has no grid to write
int32_t WriteStmFile(const std::string& path, Workspace& ws, bool scaled = true);

} // namespace korvel
