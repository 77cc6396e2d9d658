#pragma once
// OpenEXR height files: one channel ("Y", else "Z", "R" or the only one) of 32-bit floats, or of
// half floats or unsigned integers on reading; written as one 32-bit float channel "Y", northern
// row first, ZIP-compressed. The map record is not stored: reading keeps the edges.

#include "core/status.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace korvel {

class Workspace;

// Reading codes; 0 read. Every refusal leaves the Surface untouched.
enum ExrReadStatus : int32_t {
    ExrCannotOpen = -2,
    ExrCannotMap = -3,
    ExrNotExr = -5,      // no OpenEXR magic number
    ExrUnsupported = -6, // no channel to read heights from, or a deep or multi-part file
    ExrTruncated = -7,   // OpenEXR refuses the header or pixels (the reason is its own), or the
                         // size cannot fit the bytes
    ExrBadSize = -8,     // a size the Surface cannot take
    ExrOutOfMemory = -9,
};
extern const StatusTable ExrReadTexts;
int32_t ReadExrBuffer(const uint8_t* data, size_t size, Workspace& ws,
                      const std::string& name = std::string(), std::string* reason = nullptr);
int32_t ReadExrFile(const std::string& path, Workspace& ws, std::string* reason = nullptr);

// Writing codes; on any non-zero code the file at path is left as it was.
enum ExrWriteStatus : int32_t {
    ExrCannotCreate = -2,
    ExrWriteFailed = -3,
    ExrNoGrid = -5,
    ExrEncodeFailed = -6, // OpenEXR refused (the reason is its own)
};
extern const StatusTable ExrWriteTexts;
int32_t WriteExrFile(const std::string& path, Workspace& ws, std::string* reason = nullptr);

} // namespace korvel
