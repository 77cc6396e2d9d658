#include "core/image.h"

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
    W = roundedWidth;
    H = height;
    Bits = bitsPerPixel;
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
    p += 3 * x;
    p[0] = static_cast<uint8_t>(color >> 16);
    p[1] = static_cast<uint8_t>(color >> 8);
    p[2] = static_cast<uint8_t>(color);
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
