#include "core/image.h"

#include "core/huge_pages.h"

#include <cstring>

namespace korvel {

int32_t Image::Create(int32_t width, int32_t height, int32_t bitsPerPixel) {
    if (width <= 0 || height <= 0 || (bitsPerPixel != 8 && bitsPerPixel != 24))
        return -1;
    const int32_t roundedWidth = (width + 3) & ~3;
    if (roundedWidth <= 0)
        return -1;
    Release();
    if (!Pixels.Allocate(static_cast<size_t>(roundedWidth) * static_cast<size_t>(height) *
                         static_cast<size_t>(bitsPerPixel / 8)))
        return -2;
    // Pictures are drawn into soon after they are made.
    AdviseHugePages(Pixels.data(), Pixels.size());
    W = roundedWidth;
    H = height;
    Bits = bitsPerPixel;
    ZoomNum = ZoomDen = 1;
    return 0;
}

void Image::Release() {
    Pixels.Release();
    W = H = 0;
}

PackedColor Image::GetPixel(int32_t x, int32_t y) const {
    if (!Inside(x, y))
        return 0;
    const uint8_t* p = Row(y);
    if (Bits == 8)
        return p[x];
    p += 3 * x;
    return PackColor(p[2], p[1], p[0]);
}

void Image::SetPixel(int32_t x, int32_t y, PackedColor color) {
    if (!Inside(x, y))
        return;
    uint8_t* p = Row(y);
    if (Bits == 8) {
        p[x] = static_cast<uint8_t>(color);
        return;
    }
    PutBgr(p + 3 * x, color);
}

void Image::SetIndex(int32_t x, int32_t y, int32_t index) {
    const auto low = static_cast<uint8_t>(index);
    SetPixel(x, y, Bits == 8 ? low : Palette[low]);
}

void Image::SetIndices(int32_t y, int32_t x0, const uint8_t* indices, int32_t n) {
    if (y < 0 || y >= H)
        return;
    const int32_t first = x0 < 0 ? -x0 : 0;
    const int32_t last = x0 + n > W ? W - x0 : n;
    uint8_t* row = Row(y);
    for (int32_t i = first; i < last; ++i) {
        if (Bits == 8) {
            row[x0 + i] = indices[i];
            continue;
        }
        PutBgr(row + 3 * (x0 + i), Palette[indices[i]]);
    }
}

void Image::SetColors(int32_t y, int32_t x0, const PackedColor* colors, int32_t n) {
    if (Bits != 24 || y < 0 || y >= H)
        return;
    const int32_t first = x0 < 0 ? -x0 : 0;
    const int32_t last = x0 + n > W ? W - x0 : n;
    uint8_t* row = Row(y);
    for (int32_t i = first; i < last; ++i)
        PutBgr(row + 3 * (x0 + i), colors[i]);
}

void Image::SetZoom(int32_t numerator, int32_t denominator) {
    int32_t n = numerator < 1 ? 1 : numerator;
    int32_t d = denominator < 1 ? 1 : denominator;
    while (n % 2 == 0 && d % 2 == 0) {
        n /= 2;
        d /= 2;
    }
    if (n % d == 0) {
        n /= d;
        d = 1;
    } else if (d % n == 0) {
        d /= n;
        n = 1;
    }
    if (n / d > 16) {
        n = 16;
        d = 1;
    } else if (d / n >= 17) {
        n = 1;
        d = 16;
    }
    ZoomNum = n;
    ZoomDen = d;
}

bool Image::CopyPixelsFrom(const Image& other) {
    if (other.W != W || other.H != H || other.Bits != Bits)
        return false;
    if (!Pixels.empty())
        std::memcpy(Pixels.data(), other.Pixels.data(), Pixels.size());
    Palette = other.Palette;
    return true;
}

} // namespace korvel
