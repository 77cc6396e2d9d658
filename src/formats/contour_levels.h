#pragma once
// The contour levels of a dialog's value: a count of levels from Min, or a spacing in metres
// from the multiple of it at or below Min. Refused when no level or too many would come out.

#include <cstdint>
#include <string>

namespace korvel {

struct ContourLevels {
    double First = 0.0;
    double Spacing = 0.0;
    int64_t Count = 0;

    double Level(int64_t k) const { return First + static_cast<double>(k) * Spacing; }
};

// More levels than this would take longer than anyone waits, or never end.
constexpr int64_t MaxContourLevels = 100000;

enum ContourLevelStatus : int32_t {
    ContourNegativeValue = -4,
    ContourZeroValue = -5,
    ContourTooManyLevels = -6,
    ContourFlatSurface = -7,
};

// 0 with levels set, or a code with message set to what the person is told.
int32_t LevelsByCount(double min, double max, double count, ContourLevels& levels,
                      std::string& message);
int32_t LevelsBySpacing(double min, double max, double spacing, ContourLevels& levels,
                        std::string& message);
// From Minimum in steps of Interval while not above Maximum (the CC2 dialog).
int32_t LevelsFromTo(double minimum, double maximum, double interval, ContourLevels& levels,
                     std::string& message);

} // namespace korvel
