#pragma once
// USGS DEM exchange files: a 1024-byte type A record (corners, extremes, resolution, number of
// profiles), then one type B profile per column, south to north, each padded to whole 1024-byte
// records. Fields sit in fixed columns: real files pack them together ("3.000000D+003.0D+00").

#include "core/status.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace korvel {

class Workspace;

// The fields of the type A record this reader uses or reports.
struct DemHeader {
    std::string MapLabel;
    int32_t Level = 0;
    int32_t Pattern = 0;
    int32_t GroundSystem = 0; // 0 geographic (arc-seconds), 1 UTM, 2 state plane
    int32_t GroundZone = 0;
    double Projection[15] = {};
    int32_t PlaneUnits = 0; // 3: arc-seconds
    int32_t ElevationUnits = 0;
    int32_t Sides = 0;
    double Corners[4][2] = {}; // SW, NW, NE, SE as x, y
    double MinElevation = 0.0;
    double MaxElevation = 0.0;
    int32_t Accuracy = 0;
    double Resolution[3] = {}; // x, y, z
    int32_t ProfileRows = 0;
    int32_t Profiles = 0;
};

// Reading codes; 0 read. Every refusal leaves the Surface untouched.
enum DemReadStatus : int32_t {
    DemCancelled = -1,
    DemCannotOpen = -2,
    DemCannotMap = -3,
    DemShort = -4,         // shorter than the type A record or than its grid
    DemBadField = -5,      // a field of the type A record is not a number
    DemBadResolution = -6, // not positive or not finite
    DemBadCorners = -7,    // not finite
    DemBadSize = -8,       // a size the Surface cannot take
    DemOutOfMemory = -9,
};
extern const StatusTable DemReadTexts;

// The type A record at the start of data.
int32_t ReadDemHeader(const uint8_t* data, size_t size, DemHeader& header,
                      std::string* reason = nullptr);
// One line per field, as the header report shows it.
std::string DescribeDemHeader(const DemHeader& header);

// Columns not reached before the end of the file hold -32767, with a note in ws.FileNotes.
int32_t ReadUsgsDemBuffer(const uint8_t* data, size_t size, Workspace& ws,
                          const std::string& name = std::string(), std::string* reason = nullptr);
int32_t ReadUsgsDemFile(const std::string& path, Workspace& ws, std::string* reason = nullptr);

} // namespace korvel
