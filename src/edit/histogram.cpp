#include "edit/histogram.h"

#include "core/progress.h"
#include "core/surface.h"

#include <cmath>
#include <cstdio>
#include <new>

namespace korvel {

int32_t ComputeHistogram(const Surface& s, Progress& p, std::vector<int64_t>& bins, int32_t count,
                         double lo, double hi, int64_t* below, int64_t* above) {
    p.CancelFlag = 0;
    if (count < 0)
        count = 0;
    try {
        bins.assign(static_cast<size_t>(count), 0);
    } catch (const std::bad_alloc&) {
        bins.clear();
        return -2;
    }
    char text[64];
    std::snprintf(text, sizeof text, "Calculating histogram with %d bins", count);
    p.ProgressBegin(text, 9);
    // An empty or inverted range has no bins: what lies under lo is below, the rest above.
    const bool hasBins = hi > lo && count > 0;
    int64_t under = 0;
    int64_t over = 0;
    for (int32_t y = 0; y < s.YSize && s.Rows && !p.CancelRequested(); ++y) {
        const float* row = s.Rows[y];
        for (int32_t x = 0; x < s.XSize; ++x) {
            const double h = row[x];
            if (std::isnan(h))
                continue; // no bin, no side
            // floor, not truncation toward zero: a sample just under lo is below the range, not
            // in bin 0. Kept as a double so that huge or infinite values never overflow the index.
            double i = hasBins ? std::floor((h - lo) * count / (hi - lo)) : -1.0;
            // The top of the range closes the last bin: a range set to Min..Max counts every
            // sample.
            if (hasBins && h == hi)
                i = count - 1;
            if (hasBins && i >= 0.0 && i < count)
                ++bins[static_cast<size_t>(i)];
            else
                ++(h < lo ? under : over);
        }
        if (y % 8 == 0) {
            p.ProgressUpdate(y, s.YSize);
            p.PumpPendingMessage();
        }
    }
    p.ProgressEnd();
    if (p.ConsumeCancel())
        return -1;
    if (below)
        *below = under;
    if (above)
        *above = over;
    return 0;
}

} // namespace korvel
