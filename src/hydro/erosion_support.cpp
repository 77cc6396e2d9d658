#include "hydro/erosion_support.h"

#include "core/progress.h"
#include "core/selection_mask.h"
#include "core/surface.h"

#include <algorithm>
#include <cstddef>

namespace korvel {

namespace {

bool HasMask(const Surface& s) {
    return (s.GetFlags() & Surface::SurfaceHasSelection) != 0 && s.Mask.Exists();
}

} // namespace

int32_t ErosionThreads(int32_t requested) {
    return WorkerThreads(requested);
}

MaskedChange::MaskedChange(const Surface& s) {
    if (!HasMask(s) || !s.HasGrid())
        return;
    Before.resize(static_cast<size_t>(s.XSize) * static_cast<size_t>(s.YSize));
    for (int32_t y = 0; y < s.YSize; ++y)
        std::copy_n(s.Rows[y], s.XSize, Before.data() + static_cast<size_t>(y) * s.XSize);
}

void MaskedChange::Apply(Surface& s, Progress& p) const {
    if (!Before.empty() && HasMask(s)) {
        const int32_t width = std::min(s.XSize, s.Mask.Width());
        const int32_t height = std::min(s.YSize, s.Mask.Height());
        for (int32_t y = 0; y < s.YSize; ++y) {
            const float* before = Before.data() + static_cast<size_t>(y) * s.XSize;
            float* row = s.Rows[y];
            // Samples outside the mask's extent are unselected.
            const uint8_t* mask = y < height ? s.Mask.RowPointer(0, y) : nullptr;
            for (int32_t x = 0; x < s.XSize; ++x) {
                const uint8_t m = mask != nullptr && x < width ? mask[x] : 0;
                const float h = before[x];
                row[x] = h + (static_cast<float>(m) * SelectionMask::WeightUnit) * (row[x] - h);
            }
        }
    }
    // The new extremes are wanted even when the progress was cancelled.
    const int32_t flag = p.CancelFlag.exchange(0);
    s.FindMinMax(s.Min, s.Max, p);
    p.CancelFlag = flag;
}

} // namespace korvel
