#pragma once
// The row loop shared by every operation that gives each sample a new value from that sample
// alone: progress report, cancel poll, selection-mask blending and the new Min/Max.

#include "core/extremes.h"
#include "core/progress.h"
#include "core/selection_mask.h"
#include "core/surface.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <type_traits>

namespace korvel {

namespace point_loop_detail {

template <class F>
constexpr bool MaySkip = std::is_same_v<std::invoke_result_t<F&, float>, std::optional<float>>;

// Without a mask and without skipping: a plain map the compiler vectorises, then the extremes
// over the row while it is still in the cache. The AVX2 clone, picked at load time where the
// processor has it, doubles the width of the float/double conversions most operations need.
// Clang cannot multiversion templates; there the loop is built for the baseline only.
#if defined(__clang__)
#define KORVEL_TEMPLATE_AVX2_CLONES
#else
#define KORVEL_TEMPLATE_AVX2_CLONES [[gnu::target_clones("avx2", "default")]]
#endif
template <class F>
KORVEL_TEMPLATE_AVX2_CLONES Extremes PlainRow(float* row, int32_t width, Extremes e, F newValue) {
    for (int32_t x = 0; x < width; ++x)
        row[x] = newValue(row[x]);
    e.AddRow(row, width);
    return e;
}

template <class F> Extremes SkippingRow(float* row, int32_t width, Extremes e, F newValue) {
    for (int32_t x = 0; x < width; ++x) {
        const std::optional<float> v = newValue(row[x]);
        if (!v)
            continue;
        row[x] = *v;
        e.Add(*v);
    }
    return e;
}

// Kept out of line: inlined beside the plain path, GCC spills the running pair to the stack.
template <class F>
[[gnu::noinline]] Extremes MaskedRow(float* row, const uint8_t* mask, int32_t width, Extremes e,
                                     F newValue) {
    for (int32_t x = 0; x < width; ++x) {
        const uint8_t m = mask[x];
        if (m == 0)
            continue;
        const float h = row[x];
        float v;
        if constexpr (MaySkip<F>) {
            const std::optional<float> n = newValue(h);
            if (!n)
                continue;
            v = *n;
        } else {
            v = newValue(h);
        }
        const float stored = h + (static_cast<float>(m) * SelectionMask::WeightUnit) * (v - h);
        row[x] = stored;
        e.Add(stored);
    }
    return e;
}

} // namespace point_loop_detail

// newValue(float h) returns the new value, or std::optional<float> where an empty answer means
// "leave this sample alone and do not count it". Progress is updated after rows that are a
// multiple of progressEveryRows (1: every row). 0 with Min/Max set to the extremes of the
// stored samples, -1 when cancelled (Min/Max untouched, finished rows stay written).
template <class F>
int32_t ForEachSample(Surface& s, Progress& p, const std::string& text, bool showProgress,
                      int32_t progressEveryRows, F newValue) {
    using namespace point_loop_detail;
    if (showProgress)
        p.ProgressBegin(text, 9);
    const bool masked = (s.Flags & Surface::SurfaceHasSelection) != 0 && s.Mask.Exists();
    // A mask left smaller by a size change selects nothing beyond its edges.
    const int32_t maskWidth = masked ? std::min(s.XSize, s.Mask.Width()) : 0;
    const int32_t maskHeight = masked ? s.Mask.Height() : 0;
    Extremes e;
    for (int32_t y = 0; y < s.YSize && s.Rows && !p.CancelRequested(); ++y) {
        float* row = s.Rows[y];
        if (masked) {
            if (y < maskHeight)
                e = MaskedRow(row, s.Mask.RowPointer(0, y), maskWidth, e, newValue);
        } else if constexpr (MaySkip<F>) {
            e = SkippingRow(row, s.XSize, e, newValue);
        } else {
            e = PlainRow(row, s.XSize, e, newValue);
        }
        if (progressEveryRows <= 1 || y % progressEveryRows == 0) {
            p.ProgressUpdate(y, s.YSize);
            p.PumpPendingMessage();
        }
    }
    if (showProgress)
        p.ProgressEnd();
    if (p.ConsumeCancel())
        return -1;
    // Nothing stored (empty selection, every sample skipped): the old extremes still hold.
    if (e.Lo <= e.Hi) {
        s.Min = e.Lo;
        s.Max = e.Hi;
    }
    return 0;
}

} // namespace korvel
