#pragma once
// MUSE DTED files (".dte"): a 1024-byte little-endian header (map record, extremes, size, a
// section directory at 512), then the rows, southern first, as signed 16-bit elevations.

#include "core/status.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace korvel {

class Workspace;
struct MuseSettings;

constexpr size_t MuseHeaderBytes = 1024;

// Reading codes; 0 read. Every refusal leaves the Surface untouched. The texts begin with the
// documented step names.
enum MuseReadStatus : int32_t {
    MuseCancelled = -1,
    MuseCannotOpen = -2,
    MuseCannotMap = -3,
    MuseShortHeader = -4, // READ HEADER
    MuseBadSize = -5,     // SIZE PROBLEM
    MuseShortRows = -6,   // READ: fewer rows than the header promises
    MuseOutOfMemory = -9, // LINE ALLOC
};
extern const StatusTable MuseReadTexts;

// The window: "SkipX" columns and "SkipY" rows skipped, "XSize" by "YSize" read (0: the rest),
// clamped to the file's grid.
int32_t ReadMuseDtedBuffer(const uint8_t* data, size_t size, const MuseSettings& window,
                           Workspace& ws, const std::string& name = std::string(),
                           std::string* reason = nullptr);
int32_t ReadMuseDtedFile(const std::string& path, Workspace& ws, std::string* reason = nullptr);

// Writing codes; on any non-zero code the file at path is left as it was.
enum MuseWriteStatus : int32_t {
    MuseWriteCancelled = -1,
    MuseCannotCreate = -2, // OPEN
    MuseHeaderFailed = -3, // WRITE HEADER
    MuseLineFailed = -4,   // WRITE LINE
    MuseNoGrid = -5,
    MuseTooLarge = -6, // a size the header cannot hold
};
extern const StatusTable MuseWriteTexts;
// The documented name of the step that failed ("WRITE LINE"), for the Save As message.
const char* MuseWriteStep(int32_t code);

// Samples truncated toward zero and clamped to -32768..32767; NaN is written as 0.
int32_t WriteMuseDtedFile(const std::string& path, Workspace& ws, std::string* reason = nullptr);

// The header report: one "Field:\tvalue\r\n" line per field, codes with their names.
std::string DescribeMuseHeader(const uint8_t* header);

} // namespace korvel
