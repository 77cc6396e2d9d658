#pragma once
// Small deterministic terrains for the water tests.

#include "core/surface.h"

#include <cmath>
#include <cstdint>

namespace korvel::test {

// Hills and hollows with a slope, so water both pools and runs off.
inline void FillBumpy(Surface& s, float scale = 10.0f) {
    for (int32_t y = 0; y < s.YSize; ++y)
        for (int32_t x = 0; x < s.XSize; ++x) {
            const float fx = static_cast<float>(x), fy = static_cast<float>(y);
            s.Rows[y][x] = scale * (std::sin(0.9f * fx) * std::cos(0.7f * fy) + 0.05f * fx) +
                           0.37f * static_cast<float>((x * 7 + y * 13) % 5);
        }
}

} // namespace korvel::test
