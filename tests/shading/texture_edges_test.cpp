#include "shading/texture_edges.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace korvel {
namespace {

// Every pixel a colour of its own: red = x, green = y.
PackedColor Tag(int32_t x, int32_t y) {
    return PackColor(static_cast<uint8_t>(x), static_cast<uint8_t>(y), 9);
}

Image Numbered(int32_t w, int32_t h, int32_t bits = 24) {
    Image image;
    EXPECT_EQ(image.Create(w, h, bits), 0);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x)
            image.SetPixel(x, y, Tag(x, y));
    return image;
}

TEST(TextureEdgesTest, ClearPaintsOnlyTheBorder) {
    Image image = Numbered(8, 4);
    TextureEdgeClear(image, PackColor(255, 0, 0));
    // Stored blue, green, red.
    EXPECT_EQ(image.Row(3)[3 * 7 + 2], 255);
    EXPECT_EQ(image.Row(3)[3 * 7], 0);
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 8; ++x) {
            const bool border = x == 0 || x == 7 || y == 0 || y == 3;
            EXPECT_EQ(image.GetPixel(x, y), border ? PackColor(255, 0, 0) : Tag(x, y))
                << x << ", " << y;
        }
}

TEST(TextureEdgesTest, FluffCopiesFromOneStepInside) {
    Image image = Numbered(8, 4);
    TextureEdgeFluff(image);
    const struct {
        int32_t X, Y, FromX, FromY;
    } cases[] = {{0, 0, 1, 1}, {7, 0, 6, 1}, {0, 3, 1, 2}, {7, 3, 6, 2}, {3, 0, 3, 1},
                 {5, 3, 5, 2}, {0, 2, 1, 2}, {7, 1, 6, 1}, {3, 2, 3, 2}, {6, 1, 6, 1}};
    for (const auto& c : cases)
        EXPECT_EQ(image.GetPixel(c.X, c.Y), Tag(c.FromX, c.FromY)) << c.X << ", " << c.Y;
}

// One row has no inside: only the columns move. 8-bit pictures hold palette indices.
TEST(TextureEdgesTest, ThinAndPaletteImages) {
    Image thin = Numbered(4, 1);
    TextureEdgeFluff(thin);
    EXPECT_EQ(thin.GetPixel(0, 0), Tag(1, 0));
    EXPECT_EQ(thin.GetPixel(2, 0), Tag(2, 0));
    EXPECT_EQ(thin.GetPixel(3, 0), Tag(2, 0));

    Image indexed = Numbered(4, 3, 8);
    TextureEdgeClear(indexed, 200);
    EXPECT_EQ(indexed.GetPixel(0, 1), 200u);
    EXPECT_EQ(indexed.GetPixel(1, 1), 1u);
}

} // namespace
} // namespace korvel
