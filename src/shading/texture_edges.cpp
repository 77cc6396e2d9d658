#include "shading/texture_edges.h"

#include <algorithm>

namespace korvel {

namespace {

// Calls paint(x, y) for every border pixel, each once.
template <class Paint> void ForEachBorderPixel(const Image& image, Paint paint) {
    const int32_t w = image.Width();
    const int32_t h = image.Height();
    if (image.IsEmpty())
        return;
    for (int32_t x = 0; x < w; ++x) {
        paint(x, 0);
        if (h > 1)
            paint(x, h - 1);
    }
    for (int32_t y = 1; y < h - 1; ++y) {
        paint(0, y);
        if (w > 1)
            paint(w - 1, y);
    }
}

// The index one step towards the inside, or i itself when the side has no inside.
int32_t Inward(int32_t i, int32_t length) {
    return length >= 3 ? std::clamp(i, 1, length - 2) : i;
}

} // namespace

void TextureEdgeClear(Image& image, PackedColor color) {
    ForEachBorderPixel(image, [&](int32_t x, int32_t y) { image.SetPixel(x, y, color); });
}

void TextureEdgeFluff(Image& image) {
    const int32_t w = image.Width();
    const int32_t h = image.Height();
    // With both sides 3 or longer every source is an inside pixel, so the order does not matter;
    // otherwise sources along the short side are the pixels themselves.
    ForEachBorderPixel(image, [&](int32_t x, int32_t y) {
        image.SetPixel(x, y, image.GetPixel(Inward(x, w), Inward(y, h)));
    });
}

} // namespace korvel
