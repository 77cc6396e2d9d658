#include "core/color_list.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace korvel {
namespace {

ColorList MakeList(std::vector<PackedColor> entries, int32_t mode, double gamma = 1.0) {
    ColorList list;
    list.Entries = std::move(entries);
    list.Mode = mode;
    list.Gamma = gamma;
    return list;
}

TEST(ColorListTest, ColorAtCases) {
    constexpr PackedColor white = 0xFFFFFF;
    const PackedColor red = PackColor(255, 0, 0), blue = PackColor(0, 0, 255);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        ColorList List;
        float T;
        PackedColor Expected;
    };
    const Case cases[] = {
        {MakeList({}, 2), 0.5f, 0},
        {MakeList({red}, 2), 0.7f, red},
        {MakeList({red}, 1), 0.3f, red},
        {MakeList({red, blue}, 0), 0.49f, red},
        {MakeList({red, blue}, 0), 0.5f, blue},
        {MakeList({0, white}, 1), 0.5f, PackColor(127, 127, 127)},
        // t = 0.5 looks up 0.25: 255 * 0.25 = 63.75.
        {MakeList({0, white}, 1, 2.0), 0.5f, PackColor(63, 63, 63)},
        {MakeList({red, blue}, 1), nan, red},
        {MakeList({red, blue}, 1), 1.5f, blue},
        // Catmull-Rom halfway between entries 1 and 2, weights -1/16, 9/16, 9/16, -1/16:
        // red 0.5625 * 300 - 0.0625 * 50 = 165.6; blue 0.5625 * 510 = 286.9, held at 255.
        {MakeList({0, PackColor(100, 0, 255), PackColor(200, 0, 255), PackColor(50, 0, 0)}, 2),
         0.5f, PackColor(165, 0, 255)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.List.ColorAt(c.T), c.Expected) << "t " << c.T << " mode " << c.List.Mode;
}

TEST(ColorListTest, TerrainRampEnds) {
    // t = 0: u = -0.25, w = 1.25, a = 0, k = 1 - 0.5 sqrt(1.25):
    // r = (1 + 5/6 sin 165°) k, g = (1 + 0.625 sin -75°) k, b = (1 + 1.25 sin 45°) k.
    ColorList list;
    list.FillTerrainRamp(0.0, 1.0, 2);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Entry(0), PackColor(136, 44, 211));
    EXPECT_EQ(list.Entry(1), PackColor(255, 255, 255));
    list.FillTerrainRamp(1.0, 0.0, 1);
    EXPECT_EQ(list.Entries, std::vector<PackedColor>{PackColor(255, 255, 255)});
}

TEST(ColorListTest, CopyClampsGamma) {
    const ColorList highSource = MakeList({1, 2}, 1, 1e9), lowSource = MakeList({}, 0, 0.0);
    const ColorList high(highSource), low(lowSource);
    EXPECT_EQ(high.Gamma, ColorList::GammaHigh);
    EXPECT_EQ(low.Gamma, ColorList::GammaLow);
    EXPECT_EQ(high.Entries, (std::vector<PackedColor>{1, 2}));
}

} // namespace
} // namespace korvel
