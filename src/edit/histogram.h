#pragma once
// Counts of elevations in equal bins between lo and hi.

#include "core/dialog_fields.h"

#include <cstdint>
#include <vector>

namespace korvel {

class Surface;
class Progress;

// bins gets count entries. 0, -1 when cancelled, -2 when the bins cannot be allocated; below
// and above may be null.
int32_t ComputeHistogram(const Surface& s, Progress& p, std::vector<int64_t>& bins, int32_t count,
                         double lo, double hi, int64_t* below, int64_t* above);

} // namespace korvel
