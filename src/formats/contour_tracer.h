#pragma once
// Follows the contour lines of one level through the grid as polylines, cell to cell across
// the edges the level crosses (the CC2 export).

#include "core/surface.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace korvel {

struct TracePoint {
    float X; // column
    float Y; // row
};

constexpr size_t MaxTracePoints = 23500;

// Hands every polyline of level to write with whether it closed on itself; a negative answer
// of write stops the tracing and is returned. 0 when every line was handed over.
int32_t TraceContours(const Surface& s, double level,
                      const std::function<int32_t(const std::vector<TracePoint>&, bool)>& write);

} // namespace korvel
