#include "core/image.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

TEST(Image, ZoomRatiosAreReducedAndLimited) {
    const struct {
        int32_t N, D, WantN, WantD;
    } cases[] = {{6, 4, 3, 2},  {8, 4, 2, 1}, {64, 2, 16, 1}, {1, 20, 1, 16},
                 {0, -3, 1, 1}, {3, 9, 1, 3}, {33, 2, 33, 2}, {2, 34, 1, 16}};
    Image image;
    for (const auto& c : cases) {
        image.SetZoom(c.N, c.D);
        EXPECT_EQ(image.ZoomNumerator(), c.WantN) << c.N << ":" << c.D;
        EXPECT_EQ(image.ZoomDenominator(), c.WantD) << c.N << ":" << c.D;
    }
    // "In" five times from 1 : 1 stops at 16 : 1; a new picture starts again at 1 : 1.
    image.SetZoom(1, 1);
    for (int i = 0; i < 5; ++i)
        image.SetZoom(2 * image.ZoomNumerator(), image.ZoomDenominator());
    EXPECT_EQ(image.ZoomFactor(), 16.0);
    ASSERT_EQ(image.Create(4, 1, 8), 0);
    EXPECT_EQ(image.ZoomFactor(), 1.0);
}

TEST(Image, IndexWritesGoThroughThePaletteOnColourPicturesAndAreClipped) {
    for (const int32_t bits : {8, 24}) {
        Image image;
        ASSERT_EQ(image.Create(4, 2, bits), 0);
        image.Palette[7] = PackColor(1, 2, 3);
        const uint8_t indices[] = {7, 7, 7};
        image.SetIndices(1, 2, indices, 3); // the last one falls off the right edge
        image.SetIndices(2, 0, indices, 3); // a row that does not exist
        image.SetIndex(-1, 0, 7);
        image.SetIndex(0, 0, 256 + 7); // the low 8 bits count
        const PackedColor seven = bits == 8 ? 7 : PackColor(1, 2, 3);
        EXPECT_EQ(image.GetPixel(0, 0), seven) << bits;
        EXPECT_EQ(image.GetPixel(1, 1), 0u) << bits;
        EXPECT_EQ(image.GetPixel(2, 1), seven) << bits;
        EXPECT_EQ(image.GetPixel(3, 1), seven) << bits;
        const PackedColor colors[] = {PackColor(9, 8, 7), PackColor(6, 5, 4)};
        image.SetColors(0, -1, colors, 2);
        EXPECT_EQ(image.GetPixel(0, 0), bits == 8 ? seven : PackColor(6, 5, 4)) << bits;
    }
}

} // namespace
} // namespace korvel
