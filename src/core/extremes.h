#pragma once
// The running lowest and highest sample, kept as 32-bit floats like the samples they describe.
// NaN never becomes an extreme: it fails both comparisons.

#include "core/surface.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace korvel {

struct Extremes {
    // Far outside any elevation, so the first sample replaces both. Readers whose documented
    // start differs (MAT: 1e20) give their own.
    float Lo = 1e25f;
    float Hi = -1e25f;

    void Add(float v) {
        Lo = v < Lo ? v : Lo;
        Hi = v > Hi ? v : Hi;
    }
    // Sample by sample, in order: of a +0 and a -0 the first one seen stays.
    void AddEach(const float* row, int32_t width) {
        for (int32_t x = 0; x < width; ++x)
            Add(row[x]);
    }
    // Only finite samples: NaN and the infinities say nothing about the range of a terrain.
    void AddFinite(float v) {
        if (std::fabs(v) <= std::numeric_limits<float>::max())
            Add(v);
    }
    void AddFinite(const float* row, int32_t width) {
        for (int32_t x = 0; x < width; ++x)
            AddFinite(row[x]);
    }
    // The same extremes in vector lanes (GCC and Clang will not vectorise a float min/max
    // reduction unless NaN and signed-zero rules are relaxed); of equal zeros either may stay.
    void AddRow(const float* row, int32_t width) {
        // 16-byte vectors: the baseline x86-64 has them, and wider ones without AVX are split
        // through the stack.
        using Float4 = float __attribute__((vector_size(16)));
        constexpr int32_t Ways = 4; // enough compares in flight to hide their latency
        constexpr int32_t Lanes = 4;
        Float4 lo[Ways];
        Float4 hi[Ways];
        for (int32_t k = 0; k < Ways; ++k) {
            lo[k] = Float4{} + Lo;
            hi[k] = Float4{} + Hi;
        }
        int32_t x = 0;
        for (; x + Lanes * Ways <= width; x += Lanes * Ways) {
            for (int32_t k = 0; k < Ways; ++k) {
                Float4 v;
                std::memcpy(&v, row + x + Lanes * k, sizeof v);
                lo[k] = v < lo[k] ? v : lo[k];
                hi[k] = v > hi[k] ? v : hi[k];
            }
        }
        for (int32_t k = 0; k < Ways; ++k) {
            for (int32_t i = 0; i < Lanes; ++i) {
                Lo = lo[k][i] < Lo ? lo[k][i] : Lo;
                Hi = hi[k][i] > Hi ? hi[k][i] : Hi;
            }
        }
        for (; x < width; ++x)
            Add(row[x]);
    }
    // False while nothing has been added (or only NaN).
    bool Any() const { return Lo <= Hi; }
    // Nothing added (a cancel before the first sample) leaves the old record standing.
    void StoreIn(Surface& s) const {
        if (Any()) {
            s.Min = Lo;
            s.Max = Hi;
        }
    }
};

} // namespace korvel
