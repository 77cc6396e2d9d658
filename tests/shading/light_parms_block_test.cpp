#include "core/workspace.h"
#include "generate/evaluator.h"
#include "generate/token_reader.h"
#include "shading/color_list_block.h"
#include "shading/light_parms_block.h"
#include "shading/lighting_definition_file.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

struct LightParmsBlockTest : ::testing::Test {
    int32_t Read(const std::string& text, LightParms& record) {
        reader.Close();
        test::WriteFileText(dir.File("block.lgt"), text);
        EXPECT_EQ(reader.Open(dir.File("block.lgt")), 0);
        return ReadLightParms(record, reader, constants);
    }

    test::TempDir dir;
    test::RecordingHost host;
    Workspace ws{host};
    TokenReader reader;
    Evaluator constants{ws.TheSurface, ws.Noise, ws.Random, ws.TheSurface.Generation};
};

using L = LightParms;
// clang-format off
const std::vector<int32_t L::*> IntFields = {&L::Type, &L::BitDepth, &L::Colors, &L::Levels,
    &L::SeaEqual, &L::SeaFloat, &L::Unit, &L::AbsColor, &L::IceColor, &L::BlendLat, &L::BlendAlt,
    &L::BlendSlope, &L::BlendFacing, &L::FacingRelate};
const std::vector<double L::*> RealFields = {
    &L::Ambient, &L::Gamma, &L::SeaLevel, &L::SeaLowest, &L::SeaSatMin, &L::SeaSatMax,
    &L::SeaOpacity, &L::Corner, &L::VertExag, &L::Az, &L::El, &L::LandOpacity, &L::AbsMax,
    &L::AbsMin, &L::IceNorth, &L::IceSouth, &L::IceOpacity, &L::FbmStrength, &L::BlendLatVal,
    &L::BlendAltVal, &L::BlendSlopeVal, &L::BlendFacingVal, &L::BlendFacingNDir,
    &L::BlendFacingNVal, &L::BlendFacingSDir, &L::BlendFacingSVal};
const std::vector<ColorList L::*> ListFields = {
    &L::AltColor, &L::SeaColor, &L::LatColor, &L::NorthColor, &L::SouthColor, &L::SlopeColor};
// clang-format on

TEST_F(LightParmsBlockTest, EveryFieldReadsBackToFiveDecimals) {
    LightParms w, r;
    int32_t n = 0;
    for (auto f : IntFields)
        w.*f = 1000 + ++n;
    for (auto f : RealFields)
        w.*f = -0.123456 * ++n;
    for (auto f : ListFields) // Gamma 0.5 + n shows in five decimals exactly
        (w.*f).Entries = {PackColor(1, 2, uint8_t(++n)), PackColor(255, 0, 128)},
        (w.*f).Mode = n & 3, (w.*f).Gamma = 0.5 + n;
    w.FbmParms.Seed = 99;
    ASSERT_EQ(Read(FormatLightParms(w) + "trailing", r), 0);
    EXPECT_EQ(reader.Text(), "trailing");
    for (auto f : IntFields)
        EXPECT_EQ(r.*f, w.*f);
    for (auto f : RealFields)
        EXPECT_NEAR(r.*f, w.*f, 5e-6);
    for (auto f : ListFields)
        EXPECT_EQ(FormatColorList(r.*f), FormatColorList(w.*f));
    EXPECT_EQ(r.FbmParms.Seed, 99);
}

TEST_F(LightParmsBlockTest, RoundTripDigitsRestoreEveryRealExactly) {
    // The shortest texts that read back as the same double, worked out by hand from the binary
    // values; five decimals lose all but the plain ones.
    const struct {
        const char* Name;
        double Value;
        const char* RoundTrip;
        const char* Five;
    } cases[] = {
        {"two thirds", 2.0 / 3.0, "0.6666666666666666", "0.66667"},
        {"a tenth", 0.1, "0.1", "0.10000"},
        {"below five decimals", -1e-7, "-0.0000001", "-0.00000"},
        {"many digits", 123456.78901234567, "123456.78901234567", "123456.78901"},
        {"whole", 315.0, "315", "315.00000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RealText(c.Value, RealDigits::RoundTrip), c.RoundTrip) << c.Name;
        EXPECT_EQ(RealText(c.Value, RealDigits::Five), c.Five) << c.Name;
        LightParms w, r;
        for (auto f : RealFields)
            w.*f = c.Value;
        for (auto f : ListFields)
            (w.*f).Gamma = c.Value;
        w.FbmParms.H = w.FbmParms.xpos = w.FbmParms.Bottom = c.Value;
        ASSERT_EQ(Read(FormatLightParms(w, RealDigits::RoundTrip), r), 0) << c.Name;
        for (auto f : RealFields)
            EXPECT_EQ(r.*f, c.Value) << c.Name;
        for (auto f : ListFields)
            EXPECT_EQ((r.*f).Gamma, c.Value) << c.Name;
        EXPECT_EQ(std::tuple(r.FbmParms.H, r.FbmParms.xpos, r.FbmParms.Bottom),
                  std::tuple(c.Value, c.Value, c.Value))
            << c.Name;
    }
    // The smallest subnormal needs every one of its 324 decimals.
    LightParms w, r;
    w.Gamma = 4.9406564584124654e-324;
    ASSERT_EQ(Read(FormatLightParms(w, RealDigits::RoundTrip), r), 0);
    EXPECT_EQ(r.Gamma, w.Gamma);
}

TEST_F(LightParmsBlockTest, ReadingKeepsMissingFieldsAndDefinitionFilesSkipOtherBlocks) {
    LightParms lp;
    ASSERT_EQ(Read("lightparms bogus 3 LEVELS 18/2 ambient 0.25 LightParmsEnd", lp), 0);
    EXPECT_EQ(std::tuple(lp.Levels, lp.Ambient, lp.Colors), std::tuple(9, 0.25, 15));
    // Mode keeps its low two bits, colour channels their low eight; the block never ends.
    const char* list =
        "LightParms AltColor ColorList Mode 6 Gamma 2.5 Data 256, -1, 3 10,20,30, 40 "
        "ColorListEnd Colors 7";
    EXPECT_EQ(Read(list, lp), -1);
    EXPECT_EQ(std::pair(lp.Colors, lp.AltColor.Mode), std::pair(7, 2));
    EXPECT_EQ(FormatColorList(lp.AltColor),
              "ColorList\nGamma 2.50000\nMode 2\nData\n   0, 255,   3,\n"
              "  10,  20,  30,\nColorListEnd\n");
    const std::string path = dir.File("light.lgt");
    test::WriteFileText(path, "FracParms Type 2 Colors 3 FracParmsEnd LightParms Levels 4 "
                              "LightParmsEnd LightParms Levels 5");
    std::string message;
    EXPECT_EQ(ReadLightingDefinitionFile(path, ws, message), -105);
    EXPECT_EQ(std::pair(ws.TheSurface.Lighting.Colors, ws.TheSurface.Lighting.Levels),
              std::pair(15, 5));
}

} // namespace
} // namespace korvel
