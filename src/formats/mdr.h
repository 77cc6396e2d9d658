#pragma once
// The native MDR surface file: a 1024-byte little-endian header carrying the whole map record,
// then the rows of the Surface as 32-bit floats or as 16-bit or 8-bit values quantised between
// Min and Max.

#include <cstddef>
#include <cstdint>
#include <string>

namespace korvel {

class Workspace;

constexpr size_t MdrHeaderSize = 1024;

// Reading codes.
//   0 read (also after a cancel: the rows read so far, the others 0)
//  -2 cannot open, -3 cannot map
//  -5 the magic is not "KRVL" or the header size word is not 1024
//  -6 scan type, compression or data type not supported
//  -7 truncated: shorter than the header, or than the samples the header promises
//  -8 width or height the Surface cannot take (<= 0, >= 150000, or a width below 4)
//  -9 out of memory for the Surface (it is then empty, 0 x 0)
// Every refusal but -9 leaves the Surface untouched.
int32_t ReadMdrFile(const std::string& path, Workspace& ws);
// The same from bytes in memory; name only completes the progress text.
int32_t ReadMdrBuffer(const uint8_t* data, size_t size, Workspace& ws,
                      const std::string& name = std::string());

// Writing codes; on any non-zero code the file at path is left as it was.
//   0 written
//  -1 the options dialog was cancelled, or the row loop was cancelled
//  -2 the file cannot be created
//  -3 a write failed (disk full, I/O error) or the file could not be put in place
//  -4 the save options name something this writer cannot produce (data type other than 0..2,
//     or a non-zero scan type, compression or coding)
//  -5 the Surface has no grid to write
int32_t WriteMdrFile(const std::string& path, Workspace& ws);

} // namespace korvel
