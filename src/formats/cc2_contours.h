#pragma once
// The "CC2 Contour Map": a FastCAD for Windows 5.14 drawing (.fcw) for Campaign Cartographer 2,
// a fixed header block followed by one polyline entity per traced contour line.

#include "core/progress.h"
#include "core/status.h"
#include "core/surface.h"
#include "formats/contour_levels.h"

#include <cstdint>
#include <string>

namespace korvel {

struct Cc2Options {
    // The drawing's coordinates of sample (0, 0) and of (XSize, YSize).
    double UpperLeftX = 0.0, UpperLeftY = 0.0;
    double LowerRightX = 0.0, LowerRightY = 0.0;
    ContourLevels Levels;
    int32_t Smoothing = 0; // 0 none, 1 B-spline, 2 parabolic blend
    int32_t Resolution = 8;
};

enum Cc2Status : int32_t {
    Cc2Cancelled = -1,
    Cc2CannotCreate = -2,
    Cc2WriteFailed = -3,
    Cc2NoGrid = -4,
};
extern const StatusTable Cc2Texts;

constexpr size_t Cc2HeaderBytes = 32653;
constexpr uint32_t Cc2FirstEntity = 6827;
constexpr size_t Cc2EntityHeaderBytes = 38;

// 0 written; otherwise the code with reason set and the file at path as it was.
int32_t WriteCc2File(const std::string& path, const Surface& s, const Cc2Options& options,
                     Progress& progress, std::string* reason = nullptr);

} // namespace korvel
