#include "edit/convolution.h"

#include "core/extremes.h"
#include "core/grid.h"
#include "core/kernel.h"
#include "core/progress.h"
#include "core/selection_mask.h"
#include "core/surface.h"

#include <algorithm>
#include <cstring>

namespace korvel {

namespace {

int32_t Clamp(int32_t v, int32_t last) {
    return v < 0 ? 0 : (v > last ? last : v);
}

using Float8 = float __attribute__((vector_size(32)));

// One row of the kernel over a run of samples whose neighbours all lie inside the source:
// acc[c] += src[c + j] * weights[j] for j = 0, 1, ..., each sum kept in a register across the
// taps. No fused multiply-add in either clone, so both give the same bits as the scalar loop.
[[gnu::target_clones("avx2", "default")]] void AddKernelRow(float* __restrict acc,
                                                            const float* __restrict src,
                                                            const float* weights, int32_t taps,
                                                            int32_t count) {
    constexpr int32_t Lanes = 8;
    int32_t c = 0;
    for (; c + 2 * Lanes <= count; c += 2 * Lanes) {
        Float8 a0;
        Float8 a1;
        std::memcpy(&a0, acc + c, sizeof a0);
        std::memcpy(&a1, acc + c + Lanes, sizeof a1);
        for (int32_t j = 0; j < taps; ++j) {
            const Float8 w = Float8{} + weights[j];
            Float8 s0;
            Float8 s1;
            std::memcpy(&s0, src + c + j, sizeof s0);
            std::memcpy(&s1, src + c + j + Lanes, sizeof s1);
            a0 += s0 * w;
            a1 += s1 * w;
        }
        std::memcpy(acc + c, &a0, sizeof a0);
        std::memcpy(acc + c + Lanes, &a1, sizeof a1);
    }
    for (; c < count; ++c) {
        float a = acc[c];
        for (int32_t j = 0; j < taps; ++j)
            a += src[c + j] * weights[j];
        acc[c] = a;
    }
}

[[gnu::target_clones("avx2", "default")]] void ScaleRow(float* row, float scale, int32_t count) {
    for (int32_t c = 0; c < count; ++c)
        row[c] *= scale;
}

// Where the window's columns need no clamping: [Lo, Hi).
struct Interior {
    int32_t Lo;
    int32_t Hi;
};

// One destination row, summed into place tap by tap in the same order for every column, so the
// clamped border columns and the straight interior give what the direct sum gives.
void ConvolveRow(const Kernel& kernel, const ConvolutionSource& source, int32_t x0, int32_t y,
                 int32_t width, Interior in, float* out) {
    const int32_t size = kernel.Size();
    const int32_t half = size / 2;
    const int32_t lastX = source.Width - 1;
    std::fill_n(out, width, 0.0f);
    for (int32_t i = 0; i < size; ++i) {
        const float* row = source.Rows[Clamp(y + i - half, source.Height - 1)];
        const float* weights = kernel.BlockRow(i);
        // Left border, interior, right border: each column still takes its taps in order.
        for (int32_t j = 0; j < size; ++j)
            for (int32_t c = 0; c < in.Lo; ++c)
                out[c] += row[Clamp(c + x0 + j - half, lastX)] * weights[j];
        if (in.Hi > in.Lo)
            AddKernelRow(out + in.Lo, row + x0 + in.Lo - half, weights, size, in.Hi - in.Lo);
        for (int32_t j = 0; j < size; ++j)
            for (int32_t c = in.Hi; c < width; ++c)
                out[c] += row[Clamp(c + x0 + j - half, lastX)] * weights[j];
    }
    ScaleRow(out, kernel.Scale, width);
}

// h + (m/255)(v - h) where the mask byte m is not 0; a mask smaller than the Surface selects
// nothing beyond its edges.
void BlendMasked(Surface& s, float* const* work) {
    const int32_t width = std::min(s.XSize, s.Mask.Width());
    const int32_t height = std::min(s.YSize, s.Mask.Height());
    for (int32_t y = 0; y < height; ++y) {
        float* row = s.Rows[y];
        const float* v = work[y];
        const uint8_t* mask = s.Mask.RowPointer(0, y);
        for (int32_t x = 0; x < width; ++x) {
            if (mask[x] == 0)
                continue;
            const float h = row[x];
            row[x] = h + (static_cast<float>(mask[x]) * SelectionMask::WeightUnit) * (v[x] - h);
        }
    }
}

constexpr StatusText ConvolveTextList[] = {
    {ConvolveCancelled, "cancelled"},
    {ConvolveNoWorkGrid, "out of memory for the work grid"},
};

} // namespace

const StatusTable ConvolveTexts{"convolution", ConvolveTextList};

int32_t KernelApply(const Kernel& kernel, int32_t x0, int32_t y0, int32_t width, int32_t height,
                    const ConvolutionSource& source, float* const* destination, Progress& progress,
                    const std::string& text, bool showProgress) {
    if (width <= 0 || height <= 0)
        return 0;
    if (!source.Rows || !destination || x0 < 0 || y0 < 0 || width > source.Width - x0 ||
        height > source.Height - y0)
        return -1;
    const int32_t half = kernel.Size() / 2;
    Interior in;
    in.Lo = std::min(width, std::max(0, half - x0));
    in.Hi = std::max(in.Lo, std::min(width, source.Width - half - x0));
    if (showProgress)
        progress.ProgressBegin(text.empty() ? "Convolving with user-defined kernel" : text, 3);
    for (int32_t r = 0; r < height; ++r) {
        ConvolveRow(kernel, source, x0, y0 + r, width, in, destination[r]);
        if (r % 4 == 0) {
            progress.ProgressUpdate(r, height);
            progress.PumpPendingMessage();
            if (progress.CancelRequested())
                break;
        }
    }
    if (showProgress)
        progress.ProgressEnd();
    return progress.ConsumeCancel() ? -1 : 0;
}

int32_t ConvolveSurface(Surface& s, Progress& progress, const Kernel& kernel,
                        const std::string& text) {
    if (!s.Rows || s.XSize <= 0 || s.YSize <= 0)
        return 0;
    float** work = GridAllocOf<float>(s.XSize, s.YSize);
    if (!work)
        return ConvolveNoWorkGrid;
    const ConvolutionSource source{s.Rows, s.XSize, s.YSize};
    if (KernelApply(kernel, 0, 0, s.XSize, s.YSize, source, work, progress, text, true) != 0) {
        GridFreeOf(work);
        return ConvolveCancelled;
    }
    if ((s.Flags & Surface::SurfaceHasSelection) != 0 && s.Mask.Exists()) {
        BlendMasked(s, work);
        GridFreeOf(work);
    } else {
        GridFreeOf(s.Rows);
        s.Rows = work;
    }
    // Sharpening reaches beyond the old extremes, and writers scale by them.
    Extremes e;
    for (int32_t y = 0; y < s.YSize; ++y)
        e.AddRow(s.Rows[y], s.XSize);
    e.StoreIn(s);
    return 0;
}

} // namespace korvel
