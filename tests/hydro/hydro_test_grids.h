#pragma once
// Small surfaces for the erosion and flow tests.

#include "core/surface.h"

#include <cstdint>
#include <functional>
#include <random>
#include <vector>

namespace korvel::test {

// A width x height Surface (width a multiple of 4) with h(x, y) at every sample.
inline void FillSurface(Surface& s, int32_t width, int32_t height,
                        const std::function<float(int32_t, int32_t)>& h, int32_t flags = 0) {
    s.Resize(width, height, flags);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            s.Rows[y][x] = h(x, y);
}

// Uniform random heights in lo..hi from seed.
inline void RandomSurface(Surface& s, int32_t width, int32_t height, uint32_t seed, float lo,
                          float hi) {
    std::mt19937 engine(seed);
    std::uniform_real_distribution<float> d(lo, hi);
    FillSurface(s, width, height, [&](int32_t, int32_t) { return d(engine); });
}

inline std::vector<float> Heights(const Surface& s) {
    std::vector<float> v;
    for (int32_t y = 0; y < s.YSize; ++y)
        v.insert(v.end(), s.Rows[y], s.Rows[y] + s.XSize);
    return v;
}

inline double Total(const Surface& s) {
    double total = 0.0;
    for (const float h : Heights(s))
        total += h;
    return total;
}

} // namespace korvel::test
