#pragma once
// The Matlab MAT file, version 4 layout: one little-endian real matrix of YSize rows and XSize
// columns, stored column by column, under the name "AAA".

#include <cstddef>
#include <cstdint>
#include <string>

namespace korvel {

class Workspace;

constexpr size_t MatHeaderSize = 20;

// Reading codes.
//   0 read (also after a cancel between columns: the columns read so far, the others 0)
//  -2 cannot open, -3 cannot map
//  -5 the type word is neither 0 (doubles) nor 10 (floats)
//  -7 truncated: shorter than the header, the name, or the elements the header promises
//  -8 rows or columns the Surface cannot take (<= 0, >= 150000, or fewer than 4 columns), or a
//     negative name length
//  -9 out of memory for the Surface (it is then empty, 0 x 0)
// Every refusal but -9 leaves the Surface untouched. A non-zero imaginary flag is accepted: the
// real part comes first and is the one read.
int32_t ReadMatFile(const std::string& path, Workspace& ws);
// The same from bytes in memory; name only completes the progress text.
int32_t ReadMatBuffer(const uint8_t* data, size_t size, Workspace& ws,
                      const std::string& name = std::string());

// Writing codes, always single precision; on any non-zero code the file at path is left as it
// was.
//   0 written
//  -1 cancelled between columns
//  -2 the file cannot be created
//  -3 a write failed (disk full, I/O error) or the file could not be put in place
//  -5 the Surface has no grid to write
int32_t WriteMatFile(const std::string& path, Workspace& ws);

} // namespace korvel
