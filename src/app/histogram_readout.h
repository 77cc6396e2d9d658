#pragma once
// What the histogram dialog reads out for the bin under the mouse: its range, its count and the
// share of all counted samples that lie below its top.

#include "core/dialog_fields.h"

#include <cstdint>
#include <optional>

namespace korvel {

struct BinReadout {
    int32_t Bin = 0;
    double Low = 0.0;
    double High = 0.0;
    int64_t Count = 0;
    // Percent of every counted sample (below the range, in the bins, above it) that lies below
    // the bin's top: the bins up to this one and everything below the range.
    double Percentile = 0.0;
};

// The bin drawn under column x of a graph width pixels wide, the bins side by side across it;
// none when there are no bins or x lies outside the graph.
std::optional<BinReadout> ReadoutAt(const HistogramResult& histogram, int x, int width);

} // namespace korvel
