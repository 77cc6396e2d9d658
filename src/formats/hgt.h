#pragma once
// SRTM HGT tiles: 1201 x 1201 (3 arc-seconds) or 3601 x 3601 (1 arc-second) big-endian 16-bit
// signed heights, northern row first, voids as -32768; the file's name ("N45W120.hgt") gives the
// south-western sample's latitude and longitude.

#include "core/status.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace korvel {

class Workspace;

// Reading codes; 0 read. Every refusal leaves the Surface untouched.
enum HgtReadStatus : int32_t {
    HgtCannotOpen = -2,
    HgtCannotMap = -3,
    HgtBadName = -5,   // the name does not give the corner
    HgtBadLength = -7, // neither 1201 nor 3601 samples square
    HgtOutOfMemory = -9,
};
extern const StatusTable HgtReadTexts;
// Voids become NaN and are counted in ws.FileNotes, as is the width cut to 1200 or 3600.
int32_t ReadHgtBuffer(const uint8_t* data, size_t size, Workspace& ws, const std::string& name,
                      std::string* reason = nullptr);
int32_t ReadHgtFile(const std::string& path, Workspace& ws, std::string* reason = nullptr);

// The corner the tile's name gives: "N45W120.hgt" is latitude 45, longitude -120. False when the
// name (without its folders) does not begin that way.
bool HgtCornerFromName(const std::string& path, int32_t& latitude, int32_t& longitude);

} // namespace korvel
