#pragma once
// The Matlab MAT file, version 4 layout: one little-endian real matrix of YSize rows and XSize
// columns, stored column by column, under the name "AAA".

#include "core/status.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace korvel {

class Workspace;

constexpr size_t MatHeaderSize = 20;

// Reading codes; 0 read (also after a cancel between columns: the columns read so far, the
// others 0).
enum MatReadStatus : int32_t {
    MatCannotOpen = -2,
    MatCannotMap = -3,
    MatUnsupported = -5, // the type word is neither 0 (doubles) nor 10 (floats)
    MatTruncated = -7,   // shorter than the header, the name, or the elements the header promises
    MatBadSize = -8,     // rows or columns the Surface cannot take (<= 0, >= 150000, fewer than
                         // 4 columns), or a negative name length
    MatOutOfMemory = -9, // the Surface is then empty, 0 x 0
};
extern const StatusTable MatReadTexts;
// Every refusal but MatOutOfMemory leaves the Surface untouched. A non-zero imaginary flag is
// accepted: the real part comes first and is the one read. reason, when given, receives why a
// read failed.
int32_t ReadMatFile(const std::string& path, Workspace& ws, std::string* reason = nullptr);
// The same from bytes in memory; name only completes the progress text.
int32_t ReadMatBuffer(const uint8_t* data, size_t size, Workspace& ws,
                      const std::string& name = std::string(), std::string* reason = nullptr);

// Writing codes, always single precision; on any non-zero code the file at path is left as it
// was.
enum MatWriteStatus : int32_t {
    MatWriteCancelled = -1, // between columns
    MatCannotCreate = -2,
    MatWriteFailed =
        -3, // a write failed (disk full, I/O error) or the file could not be put in place
    MatNoGrid = -5,
};
extern const StatusTable MatWriteTexts;
int32_t WriteMatFile(const std::string& path, Workspace& ws, std::string* reason = nullptr);

} // namespace korvel
