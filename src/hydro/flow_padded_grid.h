#pragma once
// The elevations with a one-sample frame round them, for the sink filling and the flow
// accumulation: every sample of the map then has eight neighbours at fixed offsets, and the
// frame stands for "off the map".

#include "core/huge_pages.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvel {

class Surface;

struct FlowPaddedGrid {
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t Stride = 0; // Width + 2
    // Row-major (Width + 2) x (Height + 2); the frame holds Frame.
    HugePageVector<float> H;
    // From a sample to its eight neighbours: the four edge neighbours first (left, right, below,
    // above), then the corners (below left, below right, above left, above right).
    std::array<ptrdiff_t, 8> Offsets{};

    // Throws std::bad_alloc when the copy cannot be had.
    FlowPaddedGrid(const Surface& s, float frame);

    size_t Index(int32_t x, int32_t y) const {
        return static_cast<size_t>(y + 1) * static_cast<size_t>(Stride) + static_cast<size_t>(x) +
               1;
    }
    bool OnFrame(size_t i) const {
        const size_t x = i % static_cast<size_t>(Stride);
        const size_t y = i / static_cast<size_t>(Stride);
        return x == 0 || y == 0 || x == static_cast<size_t>(Width) + 1 ||
               y == static_cast<size_t>(Height) + 1;
    }
    static bool IsDiagonal(int32_t k) { return k >= 4; }
    static constexpr float Diagonal = static_cast<float>(1.4142135623730951);
};

// Offsets[Opposite[k]] == -Offsets[k].
inline constexpr std::array<uint8_t, 8> Opposite{1, 0, 3, 2, 7, 6, 5, 4};

} // namespace korvel
