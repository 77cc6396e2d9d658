#pragma once
// A device-independent picture: 8 bits (palette index) or 24 bits (B, G, R bytes) per pixel,
// width a multiple of 4, rows bottom-up (row 0 is the bottom line and comes first in memory).

#include "core/zero_buffer.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace korvel {

// Red in the low byte, then green, then blue.
using PackedColor = uint32_t;
constexpr PackedColor PackColor(uint8_t r, uint8_t g, uint8_t b) {
    return static_cast<PackedColor>(r) | (static_cast<PackedColor>(g) << 8) |
           (static_cast<PackedColor>(b) << 16);
}

// A colour as a 24-bit pixel and a BMP or TGA file store it: blue, green, red.
inline void PutBgr(uint8_t* at, PackedColor c) {
    at[0] = static_cast<uint8_t>(c >> 16);
    at[1] = static_cast<uint8_t>(c >> 8);
    at[2] = static_cast<uint8_t>(c);
}

class Image {
public:
    // 0 created (width rounded up to a multiple of 4), -1 bad shape or depth, -2 out of memory.
    int32_t Create(int32_t width, int32_t height, int32_t bitsPerPixel);
    void Release();

    bool IsEmpty() const { return Pixels.empty(); }
    int32_t Width() const { return W; }
    int32_t Height() const { return H; }
    int32_t BitsPerPixel() const { return Bits; }
    int32_t Stride() const { return W * (Bits / 8); }

    uint8_t* Row(int32_t y) { return Pixels.data() + static_cast<size_t>(y) * Stride(); }
    const uint8_t* Row(int32_t y) const {
        return Pixels.data() + static_cast<size_t>(y) * Stride();
    }
    uint8_t* Data() { return Pixels.data(); }
    const uint8_t* Data() const { return Pixels.data(); }
    size_t ByteCount() const { return Pixels.size(); }

    // Outside the picture: reads give 0, writes are dropped.
    PackedColor GetPixel(int32_t x, int32_t y) const;
    void SetPixel(int32_t x, int32_t y, PackedColor color);

    // Palette index writes: an 8-bit picture stores the index, a 24-bit one the palette colour
    // of its low 8 bits. Clipped like SetPixel.
    void SetIndex(int32_t x, int32_t y, int32_t index);
    void SetIndices(int32_t y, int32_t x0, const uint8_t* indices, int32_t n);
    // Colours into a 24-bit picture; an 8-bit picture is left alone.
    void SetColors(int32_t y, int32_t x0, const PackedColor* colors, int32_t n);

    // Copies the pixels of an image of the same shape; false (and nothing copied) otherwise.
    bool CopyPixelsFrom(const Image& other);

    // The display zoom numerator : denominator, reduced and limited to 16 : 1 .. 1 : 16.
    void SetZoom(int32_t numerator, int32_t denominator);
    int32_t ZoomNumerator() const { return ZoomNum; }
    int32_t ZoomDenominator() const { return ZoomDen; }
    double ZoomFactor() const { return static_cast<double>(ZoomNum) / ZoomDen; }

    std::array<PackedColor, 256> Palette{};

private:
    bool Inside(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < W && y < H; }

    int32_t W = 0;
    int32_t H = 0;
    int32_t Bits = 24;
    int32_t ZoomNum = 1;
    int32_t ZoomDen = 1;
    ZeroBuffer Pixels;
};

} // namespace korvel
