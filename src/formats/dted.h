#pragma once
// DTED cells (level 0, 1 and 2 alike): an 80-byte user header label, the data set and accuracy
// records up to byte 3428, then one record per longitude line, west to east: 8 bytes of record
// header, the latitude points south to north as big-endian signed-magnitude 16-bit values, a
// 4-byte checksum.

#include "core/status.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace korvel {

class Workspace;
struct MuseSettings;

struct DtedHeader {
    double OriginLon = 0.0; // degrees, the south-western post
    double OriginLat = 0.0;
    int32_t LonInterval = 0; // tenths of arc-seconds
    int32_t LatInterval = 0;
    int32_t Lines = 0;  // longitude lines (records)
    int32_t Points = 0; // latitude points per record
    std::string Security;

    size_t RecordBytes() const { return 12 + 2 * size_t(Points); }
};

constexpr size_t DtedFirstRecord = 3428;

// Reading codes; 0 read. Every refusal leaves the Surface untouched.
enum DtedReadStatus : int32_t {
    DtedCancelled = -1,
    DtedCannotOpen = -2,
    DtedCannotMap = -3,
    DtedShort = -4,     // shorter than the header or than the records it promises
    DtedBadHeader = -5, // no user header label, or a field that is not a number
    DtedBadSize = -6,   // lines or points outside 2..65536, or a window outside the cell
    DtedOutOfMemory = -9,
};
extern const StatusTable DtedReadTexts;

// The user header label, checked against the file's length.
int32_t ReadDtedHeader(const uint8_t* data, size_t size, DtedHeader& header,
                       std::string* reason = nullptr);
// The post of record line at latitude point, converted from signed magnitude.
inline float DtedPost(const uint8_t* data, const DtedHeader& h, int64_t line, int64_t point) {
    const uint8_t* at = data + DtedFirstRecord + size_t(line) * h.RecordBytes() + 8 + 2 * point;
    const int32_t bits = (at[0] << 8) | at[1];
    return static_cast<float>((bits & 0x8000) ? -(bits & 0x7FFF) : bits);
}

// The window: "SkipX" records and "SkipY" points skipped, "XSize" by "YSize" read (0: to the
// cell's last line and point but one), clamped to the cell.
int32_t ReadDtedCellBuffer(const uint8_t* data, size_t size, const MuseSettings& window,
                           Workspace& ws, const std::string& name = std::string(),
                           std::string* reason = nullptr);
int32_t ReadDtedCellFile(const std::string& path, Workspace& ws, std::string* reason = nullptr);

} // namespace korvel
