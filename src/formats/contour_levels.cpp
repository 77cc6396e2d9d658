#include "formats/contour_levels.h"

#include <cmath>
#include <cstdio>

namespace korvel {

namespace {

std::string Number(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%.10g", v);
    return text;
}

int32_t CheckValue(double value, std::string& message) {
    if (std::isnan(value) || value < 0.0) {
        message = "Value must be greater than or equal to 0";
        return ContourNegativeValue;
    }
    // A spacing of 0 would never leave its first level.
    if (value == 0.0) {
        message = "Value must be greater than 0: a spacing or count of 0 gives no contours";
        return ContourZeroValue;
    }
    return 0;
}

int32_t CheckCount(double count, ContourLevels& levels, std::string& message) {
    if (!(count <= static_cast<double>(MaxContourLevels))) {
        message = "Too many contour levels: " + Number(std::floor(count)) + " (at most " +
                  std::to_string(MaxContourLevels) + ")";
        return ContourTooManyLevels;
    }
    levels.Count = static_cast<int64_t>(count);
    return 0;
}

int32_t CheckRange(double min, double max, std::string& message) {
    if (!(max > min)) {
        message = "The surface has no contour information (completely flat)";
        return ContourFlatSurface;
    }
    return 0;
}

} // namespace

int32_t LevelsByCount(double min, double max, double count, ContourLevels& levels,
                      std::string& message) {
    if (const int32_t code = CheckValue(count, message); code != 0)
        return code;
    if (const int32_t code = CheckRange(min, max, message); code != 0)
        return code;
    levels.First = min;
    levels.Spacing = (max - min) / count;
    // The count is the value itself: (max - min) / spacing can round to one less.
    return CheckCount(std::trunc(count), levels, message);
}

int32_t LevelsBySpacing(double min, double max, double spacing, ContourLevels& levels,
                        std::string& message) {
    if (const int32_t code = CheckValue(spacing, message); code != 0)
        return code;
    if (const int32_t code = CheckRange(min, max, message); code != 0)
        return code;
    levels.First = min - std::fmod(min, spacing);
    levels.Spacing = spacing;
    return CheckCount(std::trunc((max - min) / spacing), levels, message);
}

int32_t LevelsFromTo(double minimum, double maximum, double interval, ContourLevels& levels,
                     std::string& message) {
    if (const int32_t code = CheckValue(interval, message); code != 0)
        return code;
    levels.First = minimum;
    levels.Spacing = interval;
    if (!(maximum >= minimum)) {
        levels.Count = 0;
        return 0;
    }
    return CheckCount(std::floor((maximum - minimum) / interval) + 1.0, levels, message);
}

} // namespace korvel
