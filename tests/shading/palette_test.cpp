#include "shading/altitude_key.h"
#include "shading/lighting_sheet.h"
#include "shading/palette.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace korvel {
namespace {

constexpr PackedColor Grey = PackColor(120, 120, 120);

TEST(PaletteTest, SeaLandAndGreyRangesShadesAndHeightCode) {
    LightParms lp;
    PaletteLayout p = BuildPalette(lp, -500.0, 1000.0);
    for (size_t i : {0, 226, 255})
        EXPECT_EQ(p.Entries[i], Grey) << i;
    // Deepest sea in shadow, sea level fully lit, lowest land in shadow, highest land lit.
    EXPECT_EQ(PaletteIndex(lp, p, 0.0, -1000.0), 1);
    EXPECT_EQ(PaletteIndex(lp, p, 1.0, 0.0), 15);
    EXPECT_EQ(PaletteIndex(lp, p, 0.0, 0.001), 16);
    EXPECT_EQ(PaletteIndex(lp, p, 1.0, 1000.0), 225);
    lp.Levels = 5, lp.SeaColor.Entries = {PackColor(200, 100, 50)};
    p = BuildPalette(lp, 0.0, 800.0);
    EXPECT_EQ(p.Entries[2], PackColor(99, 49, 24)); // level 1 of 5: 0.25^(2/3) + 0.1 = 0.49685
    lp.Type = 1, lp.AltColor.Entries = {PackColor(33, 66, 244)}; // height code
    p = BuildPalette(lp, 0.0, 800.0);
    // Truncated exactly, as the 24-bit shading does: 255 x (33 x 0.00392156862745098) is
    // 32.99999999999999.
    EXPECT_EQ(p.Entries[1], PackColor(32, 65, 243));
    EXPECT_EQ(PaletteIndex(lp, p, 0.3, 200.0), 59); // trunc(233 * 0.25) + 1
    for (int32_t type : {0, 1}) {
        lp.Type = type, lp.SeaOpacity = 1.0;
        EXPECT_EQ(PaletteIndex(lp, BuildPalette(lp, 0.0, 800.0), 1.0, -10.0), 0) << type;
    }
}

TEST(PaletteTest, CountsAreClampedSoEveryIndexFits) {
    // Colors, Levels in and out. 234 / 1 levels would need 469 entries; 255 / 2 fit.
    const std::array<std::array<int32_t, 4>, 3> cases{
        {{2, 300, 2, 127}, {1, 0, 2, 127}, {300, 5, 234, 1}}};
    for (const auto& c : cases) {
        LightParms lp;
        lp.Colors = c[0], lp.Levels = c[1], lp.AltColor.Entries = {PackColor(255, 128, 0)};
        const PaletteLayout p = BuildPalette(lp, 0.0, 100.0);
        EXPECT_EQ(std::pair(lp.Colors, lp.Levels), std::pair(c[2], c[3]));
        EXPECT_EQ(PaletteIndex(lp, p, 1.0, 100.0), lp.Colors * lp.Levels);
        EXPECT_TRUE(lp.Levels != 1 || p.Entries[2] == PackColor(255, 128, 0)); // not black
        lp.Levels = 1000; // changed after the palette was built
        const int32_t odd = PaletteIndex(lp, p, NAN, NAN), high = PaletteIndex(lp, p, 1, 100);
        EXPECT_TRUE(odd >= 0 && odd <= 255 && high >= 0 && high <= 255);
    }
}

TEST(LightingSheetTest, OkRules) {
    // Shown gamma, then the four blend weights before and after.
    const std::array<std::array<double, 9>, 2> cases{{
        {0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0},
        {4.0, -1.0, 1.0, 2.0, 0.0, 0.25, 0.25, 0.5, 0.0},
    }};
    for (const auto& c : cases) {
        LightParms lp;
        lp.BitDepth = 16, lp.BlendLatVal = c[1], lp.BlendAltVal = c[2];
        lp.BlendSlopeVal = c[3], lp.BlendFacingVal = c[4];
        ApplyLightingSheet(lp, c[0], -42.0);
        EXPECT_EQ(lp.Gamma, c[0] == 0.0 ? 0.0 : 0.25);
        EXPECT_EQ((std::array{lp.BlendLatVal, lp.BlendAltVal, lp.BlendSlopeVal, lp.BlendFacingVal}),
                  (std::array{c[5], c[6], c[7], c[8]}));
        EXPECT_EQ(std::pair(lp.BitDepth, lp.SeaLowest), std::pair(8, -42.0));
    }
}

TEST(LightingSheetTest, AltitudeKeyBandAndLabels) {
    LightParms lp;
    lp.Type = 1;
    const PaletteLayout p = BuildPalette(lp, 0.0, 800.0);
    const AltitudeKey key = BuildAltitudeKey(lp, p, 0.0, 800.0, 4);
    // Heights 800, 600, 400, 200: trunc(233 t) + 1.
    EXPECT_EQ(key.Band, (std::vector<int32_t>{234, 175, 117, 59}));
    std::string labels;
    for (int v = 800; v >= 0; v -= 100)
        labels += std::to_string(v) + " m\n\n\n";
    EXPECT_EQ(key.Labels, labels);
    EXPECT_EQ(BuildAltitudeKey(lp, p, 5.0, 5.0, 0).Labels, "5 m\n\n\n");
    lp.AbsColor = 1, lp.AbsMin = 10.0, lp.AbsMax = -10.0;
    EXPECT_EQ(BuildAltitudeKey(lp, p, 0.0, 800.0, 3).Labels, "");
}

} // namespace
} // namespace korvel
