#pragma once
// Convolution of float rows with a Kernel: the whole Surface (blur, sharpen, the general kernel)
// or a window of it (the convolving brush).

#include "core/status.h"

#include <cstdint>
#include <string>

namespace korvel {

class Kernel;
class Progress;
class Surface;

// Rows to convolve from, Width x Height samples; neighbours beyond the edges repeat the edge.
struct ConvolutionSource {
    const float* const* Rows = nullptr;
    int32_t Width = 0;
    int32_t Height = 0;
};

// For every sample (x0 + c, y0 + r) of the window of width x height samples, which must lie
// inside the source: destination[r][c] = Scale x the sum over the block of
// source[y0 + r + i - half][x0 + c + j - half] x Weight(i, j), indices clamped into the source,
// summed row i by row i and within a row column j by column j. Destination must not overlap the
// source. With showProgress the progress window shows text ("Convolving with user-defined
// kernel" when empty). Every 4 rows: progress, pumping and the cancel test. 0 done, -1 cancelled
// (rows done stay written) or a window outside the source.
int32_t KernelApply(const Kernel& kernel, int32_t x0, int32_t y0, int32_t width, int32_t height,
                    const ConvolutionSource& source, float* const* destination, Progress& progress,
                    const std::string& text, bool showProgress);

enum ConvolveStatus : int32_t {
    ConvolveCancelled = -1,  // the Surface unchanged
    ConvolveNoWorkGrid = -2, // the Surface unchanged
};
extern const StatusTable ConvolveTexts;
// Convolves the whole Surface through a work grid; with a selection mask the result is blended
// in by the mask weights. Min/Max are set to the new extremes. 0 done (also without a grid).
int32_t ConvolveSurface(Surface& s, Progress& progress, const Kernel& kernel,
                        const std::string& text);

} // namespace korvel
