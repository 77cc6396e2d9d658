#pragma once
// Headerless height files as game engines and renderers move them: 16-bit unsigned (".r16",
// ".raw") or 32-bit float (".r32") samples, little- or big-endian, rows from north or from south.
// The size is given, or taken from the file's length when the file holds a square.

#include "core/dialog_fields.h"
#include "core/status.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace korvel {

class Workspace;

// Reading codes; 0 read. Every refusal leaves the Surface untouched.
enum RawReadStatus : int32_t {
    RawCannotOpen = -2,
    RawCannotMap = -3,
    RawSizeUnknown = -5, // no size given and the length is not that of a square
    RawWrongLength = -7, // the length is not that of the size given
    RawBadSize = -8,     // a size the Surface cannot take
    RawOutOfMemory = -9,
    RawCancelled = -1, // the parameters dialog
};
extern const StatusTable RawReadTexts;

// sampleBytes: 2 (unsigned integers, scaled into range when it has High != Low) or 4 (floats).
int32_t ReadRawBuffer(const uint8_t* data, size_t size, int32_t sampleBytes,
                      const RawFields& layout, const GreyRangeFields& range, Workspace& ws,
                      const std::string& name = std::string(), std::string* reason = nullptr);
// Asks for the "raw" and "range" fields first.
int32_t ReadRawFile(const std::string& path, int32_t sampleBytes, Workspace& ws,
                    std::string* reason = nullptr);

// Writing codes; on any non-zero code the file at path is left as it was.
enum RawWriteStatus : int32_t {
    RawWriteCancelled = -1,
    RawCannotCreate = -2,
    RawWriteFailed = -3,
    RawNoGrid = -5,
};
extern const StatusTable RawWriteTexts;
// 16-bit samples span Min..Max; the rounding is reported in ws.FileNotes.
int32_t WriteRawFile(const std::string& path, int32_t sampleBytes, Workspace& ws,
                     std::string* reason = nullptr);

} // namespace korvel
