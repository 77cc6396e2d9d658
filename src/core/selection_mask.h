#pragma once
// Per-sample 8-bit selection weights: 0 untouched, 255 fully processed.

#include "core/zero_buffer.h"

#include <cstddef>
#include <cstdint>

namespace korvel {

class SelectionMask {
public:
    static constexpr int32_t SizeLimit = 25000;

    // 0 created (all bytes 0), -1 negative size, -2 too large or out of memory.
    // Both sizes are rounded up to a multiple of 4.
    int32_t Create(int32_t width, int32_t height);
    int32_t Release();

    // Whole-mask changes; each -1 without a bitmap, else 0.
    int32_t SelectNone();
    int32_t SelectAll();
    int32_t SelectInverse();

    int32_t Width() const { return Bits.empty() ? -1 : W; }
    int32_t Height() const { return Bits.empty() ? -1 : H; }
    bool Exists() const { return !Bits.empty(); }

    uint8_t* RowPointer(int32_t x, int32_t y) {
        return Bits.data() + static_cast<size_t>(y) * W + x;
    }
    const uint8_t* RowPointer(int32_t x, int32_t y) const {
        return Bits.data() + static_cast<size_t>(y) * W + x;
    }
    uint8_t IsSelected(int32_t x, int32_t y) const { return *RowPointer(x, y); }
    // 1/255 as the 32-bit float that every masked blend uses.
    static constexpr float WeightUnit = 0.003921569f;
    double Weight(int32_t x, int32_t y) const { return IsSelected(x, y) * WeightUnit; }

private:
    int32_t W = 0;
    int32_t H = 0;
    ZeroBuffer Bits;
};

} // namespace korvel
