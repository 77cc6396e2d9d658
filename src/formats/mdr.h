#pragma once
// The native MDR surface file: a 1024-byte little-endian header carrying the whole map record,
// then the rows of the Surface as 32-bit floats or as 16-bit or 8-bit values quantised between
// Min and Max.

#include "core/status.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace korvel {

class Workspace;

constexpr size_t MdrHeaderSize = 1024;

// Reading codes; 0 read (also after a cancel: the rows read so far, the others 0).
enum MdrReadStatus : int32_t {
    MdrCannotOpen = -2,
    MdrCannotMap = -3,
    MdrNotMdr = -5,      // the magic is not "KRVL" or the header size word is not 1024
    MdrUnsupported = -6, // scan type, compression or data type not supported
    MdrTruncated = -7,   // shorter than the header, or than the samples the header promises
    MdrBadSize = -8,     // width or height the Surface cannot take (<= 0, >= 150000, width < 4)
    MdrOutOfMemory = -9, // the Surface is then empty, 0 x 0
};
extern const StatusTable MdrReadTexts;
// Every refusal but MdrOutOfMemory leaves the Surface untouched. reason, when given, receives
// why a read failed.
int32_t ReadMdrFile(const std::string& path, Workspace& ws, std::string* reason = nullptr);
// The same from bytes in memory; name only completes the progress text.
int32_t ReadMdrBuffer(const uint8_t* data, size_t size, Workspace& ws,
                      const std::string& name = std::string(), std::string* reason = nullptr);

// Writing codes; on any non-zero code the file at path is left as it was.
enum MdrWriteStatus : int32_t {
    MdrWriteCancelled = -1, // the options dialog or the row loop
    MdrCannotCreate = -2,
    MdrWriteFailed =
        -3, // a write failed (disk full, I/O error) or the file could not be put in place
    MdrBadOptions = -4, // data type other than 0..2, or a non-zero scan type, compression or coding
    MdrNoGrid = -5,
};
extern const StatusTable MdrWriteTexts;
int32_t WriteMdrFile(const std::string& path, Workspace& ws, std::string* reason = nullptr);

} // namespace korvel
