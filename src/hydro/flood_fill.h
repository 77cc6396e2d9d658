#pragma once
// "&Flood Fill...": every sample of the 4-connected region within [Low, High] that holds the
// start sample takes one new value.

#include "core/status.h"

#include <cstdint>

namespace korvel {

class Surface;

enum FloodFillStatus : int32_t {
    FloodFillDone = 0,
    FloodFillOutside = -1, // the start is not a sample of the Surface
    FloodFillNoMemory = -2,
};
extern const StatusTable FloodFillTexts;

// The sample a start position names: a column and row (byLonLat false, truncated) or a
// longitude and latitude. False when it lies outside the Surface (a column of -0.5 too, though
// it truncates to 0) or is not a number.
bool FloodFillStart(const Surface& s, double x, double y, bool byLonLat, int32_t& column,
                    int32_t& row);

// Fills the region span by span with a visited bitmap, so a new value inside [low, high] cannot
// make the search revisit what it filled; Min and Max are taken again afterwards. filled, when
// given, receives the number of samples set. A start outside [low, high] (or low > high) sets
// nothing and counts as done.
int32_t FloodFill(Surface& s, int32_t column, int32_t row, float low, float high, float newValue,
                  int64_t* filled = nullptr);

} // namespace korvel
