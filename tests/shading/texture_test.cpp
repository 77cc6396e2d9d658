#include "shading/texture.h"

#include "core/noise.h"
#include "core/progress.h"
#include "core/random.h"
#include "core/surface.h"
#include "shading/palette.h"
#include "shading/shading_context.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace korvel {
namespace {

constexpr int32_t Side = 8;
constexpr double Pi = std::numbers::pi;
constexpr PackedColor Land = PackColor(200, 100, 50);
constexpr PackedColor Sea = PackColor(20, 40, 160);
constexpr PackedColor Marker = PackColor(1, 2, 3);

class TextureTest : public ::testing::Test {
protected:
    TextureTest() {
        s.Resize(Side, Side, 0);
        s.Lighting.AltColor.Entries = {Land};
        s.Lighting.SeaColor.Entries = {Sea};
        Plane(0.0, 0.0);
    }

    // With Unit lighting the inner normal is (-2a S, -2b S, 0.1).
    void Plane(double a, double b) {
        for (int32_t y = 0; y < Side; ++y)
            for (int32_t x = 0; x < Side; ++x)
                s.Rows[y][x] = static_cast<float>(100.0 + a * x + b * y);
        s.Min = 100.0 + std::min(0.0, a) * 7 + std::min(0.0, b) * 7;
        s.Max = 100.0 + std::max(0.0, a) * 7 + std::max(0.0, b) * 7;
    }
    static int32_t Ch(PackedColor c, int32_t k) { return static_cast<int32_t>(c >> 8 * k) & 255; }
    static PackedColor Scaled(PackedColor c, double v) {
        const auto f = [&](int32_t k) { return static_cast<uint8_t>(Ch(c, k) * v); };
        return PackColor(f(0), f(1), f(2));
    }
    double Scale() const { return 1.0 / std::max(std::fabs(s.Max), std::fabs(s.Min)); }
    static double Lit(double nx, double ny, double az, double el) {
        const double ar = (90 - az) * Pi / 180, er = el * Pi / 180;
        const double d =
            (nx * std::cos(ar) + ny * std::sin(ar)) * std::cos(er) + 0.1 * std::sin(er);
        return std::max(d / std::sqrt(nx * nx + ny * ny + 0.01), 0.0);
    }
    void Mark() {
        for (int32_t i = 0; i < Side * Side; ++i)
            s.Texture.AsIs().SetPixel(i % Side, i / Side, Marker);
    }
    int32_t Compute(int32_t x0 = 0, int32_t y0 = 0, int32_t x1 = Side - 1, int32_t y1 = Side - 1) {
        return ComputeTexture(s, x0, y0, x1, y1, true, in);
    }
    PackedColor At(int32_t x, int32_t y) const { return s.Texture.AsIs().GetPixel(x, y); }

    test::RecordingHost host;
    bool showTime = false;
    Progress progress{host, showTime};
    RandomStream random;
    NoiseBasis noise{random};
    Surface s;
    ShadingInputs in{progress, noise};
};

TEST_F(TextureTest, LightFallsOnPlanesAsTheNormalSays) {
    // Flat; rises east lit from the west; rises north lit from the south; faces away.
    const double cases[][4] = {
        {0, 0, 315, 45}, {10, 0, 270, 30}, {0, 10, 180, 30}, {10, 0, 90, 10}};
    for (const auto& c : cases) { // a, b, az, el
        Plane(c[0], c[1]);
        s.Lighting.Az = c[2], s.Lighting.El = c[3];
        ASSERT_EQ(Compute(), TextureDone);
        const double k = s.Max == s.Min ? 1.0 : -2 * Scale();
        const double shade = std::pow(Lit(c[0] * k, c[1] * k, c[2], c[3]), 2.0 / 3) + 0.1;
        EXPECT_EQ(At(3, 4), Scaled(Land, std::min(1.0, shade))) << c[0] << " " << c[2];
    }
    s.Lighting.Az = 315, s.Lighting.El = 90; // a zenith light has no azimuth
    ShadingContext context(s, noise, 111096.0);
    context.PrepareLighting();
    EXPECT_NEAR(std::hypot(context.LightVector[0], context.LightVector[1]), 0.0, 1e-7);
}

TEST_F(TextureTest, OpaqueSeaShowsItsOwnColourEverywhere) {
    Plane(30, 0); // steep, so unshaded sea stands out from shaded land
    for (int32_t y = 0; y < Side; ++y)
        s.Rows[y][0] = s.Rows[y][1] = -500.0f; // sea at the row start and beside land
    s.Min = -500, s.Lighting.SeaOpacity = 1.0, s.Lighting.Az = 90;
    ASSERT_EQ(Compute(), TextureDone);
    EXPECT_EQ(At(0, 0), PackColor(58, 78, 198)); // t 0.5: lightness 0.15 added to Sea
    EXPECT_EQ(At(2, 0), Scaled(Land, 0.1));      // land facing away keeps its own opacity 0
}

TEST_F(TextureTest, SlopeFacingAndIceColours) {
    LightParms& lp = s.Lighting;
    lp.Type = 1; // height code: colours before the light
    lp.BlendAlt = 0;
    for (ColorList* list : {&lp.SlopeColor, &lp.NorthColor, &lp.SouthColor})
        list->Entries = {PackColor(0, 0, 0), PackColor(255, 255, 255)}, list->Mode = 1;
    // Facing: clockwise from north, the way the ground falls.
    const struct { double a, b, facing; } cases[] = {{10, 0, 0.75}, {-10, 0, 0.25}, {0, -10, 0.0}};
    for (const auto& c : cases) {
        Plane(c.a, c.b);
        lp.BlendSlope = 1, lp.BlendSlopeVal = 1.0, lp.BlendFacing = 0, lp.BlendFacingVal = 0.0;
        ASSERT_EQ(Compute(), TextureDone);
        const double slope = 1.0 - std::atan2(1.0, 60.0 * Scale()) / (Pi / 2);
        EXPECT_EQ(Ch(At(3, 3), 0), static_cast<int32_t>(255 * slope)) << c.a << " " << c.b;
        lp.BlendSlope = 0, lp.BlendSlopeVal = 0.0, lp.BlendFacing = 1, lp.BlendFacingVal = 1.0;
        ASSERT_EQ(Compute(), TextureDone);
        EXPECT_EQ(Ch(At(3, 3), 0), static_cast<int32_t>(255 * c.facing)) << c.a << " " << c.b;
    }
    Plane(0, 0); // ice everywhere, but only with latitude blending on
    lp.BlendFacing = 0, lp.BlendAlt = 1, lp.FbmStrength = 0.0;
    lp.IceNorth = lp.IceSouth = -1.0, lp.IceColor = 0x808080;
    ASSERT_EQ(Compute(), TextureDone);
    EXPECT_EQ(At(2, 2), Land);
    lp.BlendLat = 1;
    ASSERT_EQ(Compute(), TextureDone);
    EXPECT_EQ(At(2, 2), PackColor(128, 128, 128));
}

TEST_F(TextureTest, CancelKeepsTheRowsDone) {
    Mark();
    host.OnPump = test::CancelAtPump(progress, host.Pumps + 1);
    EXPECT_EQ(Compute(), TextureCancelled);
    EXPECT_NE(At(4, 0), Marker); // row 0 finished before the pump saw the key
    EXPECT_EQ(At(4, 1), Marker);
}

TEST_F(TextureTest, RectanglesAreOrderedAndClamped) {
    Plane(3, -2);
    Mark();
    ASSERT_EQ(Compute(5, 6, 2, 1), TextureDone);
    EXPECT_EQ(At(1, 3), Marker);
    EXPECT_NE(At(2, 1), Marker);
    ASSERT_EQ(Compute(-50, -50, 900, 900), TextureDone);
    EXPECT_NE(At(Side - 1, Side - 1), Marker);
    Surface empty;
    EXPECT_EQ(ComputeTexture(empty, 0, 0, 5, 5, false, in), TextureEmpty);
}

TEST_F(TextureTest, EightBitPicturesTakeThePaletteIndex) {
    for (int32_t y = 0; y < Side; ++y)
        s.Rows[y][0] = -200.0f; // a sea column beside flat land
    s.Min = -200, s.Lighting.Az = 270;
    ASSERT_EQ(s.Texture.Create(Side, Side, 8), 0);
    ASSERT_EQ(Compute(), TextureDone);
    LightParms copy = s.Lighting;
    const PaletteLayout layout = BuildPalette(copy, s.Min, s.Max);
    const double sea = Lit(-300 * Scale(), 0, 270, 45);
    EXPECT_EQ(s.Texture.AsIs().Row(3)[0], PaletteIndex(copy, layout, sea, s.Rows[3][0]));
    EXPECT_EQ(s.Texture.AsIs().Row(3)[3],
              PaletteIndex(copy, layout, std::sin(Pi / 4), s.Rows[3][3]));
}

TEST_F(TextureTest, LargePassesMatchRowByRowPasses) {
    constexpr int32_t Big = 512; // enough to share rows with a second thread
    s.Resize(Big, Big, 0);
    for (int32_t y = 0; y < Big; ++y)
        for (int32_t x = 0; x < Big; ++x)
            s.Rows[y][x] = static_cast<float>(std::sin(x * 0.05) * std::cos(y * 0.07) * 100.0);
    s.Min = -100, s.Max = 100, s.Lighting.FbmParms.octaves = 3;
    s.Lighting.BlendLat = 1, s.Lighting.BlendLatVal = 0.5, s.Lighting.BlendAltVal = 0.5;
    ASSERT_EQ(Compute(0, 0, Big - 1, Big - 1), TextureDone);
    const std::vector whole(s.Texture.AsIs().Data(),
                            s.Texture.AsIs().Data() + s.Texture.AsIs().ByteCount());
    for (int32_t y = 0; y < Big; ++y)
        ASSERT_EQ(ComputeTexture(s, 0, y, Big - 1, y, false, in), TextureDone);
    EXPECT_TRUE(std::equal(whole.begin(), whole.end(), s.Texture.AsIs().Data()));
}

} // namespace
} // namespace korvel
