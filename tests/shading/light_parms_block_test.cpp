#include "core/light_parms.h"
#include "core/workspace.h"
#include "generate/evaluator.h"
#include "generate/token_reader.h"
#include "shading/color_list_block.h"
#include "shading/light_parms_block.h"
#include "shading/lighting_definition_file.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <vector>

namespace korvel {
namespace {

class LightParmsBlockTest : public ::testing::Test {
protected:
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
const std::vector<int32_t L::*> IntFields = {
    &L::Type,     &L::BitDepth,   &L::Colors,      &L::Levels,      &L::SeaEqual,
    &L::SeaFloat, &L::Unit,       &L::AbsColor,    &L::IceColor,    &L::BlendLat,
    &L::BlendAlt, &L::BlendSlope, &L::BlendFacing, &L::FacingRelate};
// clang-format off
const std::vector<double L::*> RealFields = {
    &L::Ambient, &L::Gamma, &L::SeaLevel, &L::SeaLowest, &L::SeaSatMin, &L::SeaSatMax,
    &L::SeaOpacity, &L::Corner, &L::VertExag, &L::Az, &L::El, &L::LandOpacity, &L::AbsMax,
    &L::AbsMin, &L::IceNorth, &L::IceSouth, &L::IceOpacity, &L::FbmStrength, &L::BlendLatVal,
    &L::BlendAltVal, &L::BlendSlopeVal, &L::BlendFacingVal, &L::BlendFacingNDir,
    &L::BlendFacingNVal, &L::BlendFacingSDir, &L::BlendFacingSVal};
// clang-format on
const std::vector<ColorList L::*> ListFields = {&L::AltColor,   &L::SeaColor,   &L::LatColor,
                                                &L::NorthColor, &L::SouthColor, &L::SlopeColor};

TEST_F(LightParmsBlockTest, EveryFieldReadsBackToFiveDecimals) {
    LightParms w;
    int32_t n = 0;
    for (auto f : IntFields)
        w.*f = 1000 + ++n;
    for (auto f : RealFields)
        w.*f = -0.123456 * ++n;
    for (auto f : ListFields) {
        ++n;
        (w.*f).Entries = {PackColor(1, 2, static_cast<uint8_t>(n)), PackColor(255, 0, 128)};
        (w.*f).Mode = n & 3;
        (w.*f).Gamma = 0.5 + n;
    }
    w.FbmParms.Seed = 99;

    const std::string text = FormatLightParms(w);
    LightParms r;
    ASSERT_EQ(Read(text + "trailing", r), 0);
    EXPECT_EQ(reader.Text(), "trailing");
    for (auto f : IntFields)
        EXPECT_EQ(r.*f, w.*f);
    for (auto f : RealFields)
        EXPECT_NEAR(r.*f, w.*f, 5e-6);
    for (auto f : ListFields) {
        EXPECT_EQ((r.*f).Entries, (w.*f).Entries);
        EXPECT_EQ((r.*f).Mode, (w.*f).Mode);
        EXPECT_EQ((r.*f).Gamma, (w.*f).Gamma);
    }
    EXPECT_EQ(r.FbmParms.Seed, 99);
    for (const char* once : {"AbsMin ", "AbsMax "})
        EXPECT_EQ(text.find(once), text.rfind(once)) << once;
}

TEST_F(LightParmsBlockTest, ReadingKeepsMissingFieldsAndStopsAtTheEnd) {
    LightParms lp;
    ASSERT_EQ(Read("lightparms bogus 3 LEVELS 18/2 ambient 0.25 LightParmsEnd", lp), 0);
    EXPECT_EQ(lp.Levels, 9);
    EXPECT_EQ(lp.Ambient, 0.25);
    EXPECT_EQ(lp.Colors, 15);
    // Mode keeps its low two bits, colour channels their low eight; the block never ends.
    EXPECT_EQ(Read("LightParms AltColor ColorList Mode 6 Gamma 2.5 Data 256, -1, 3 10,20,30, 40 "
                   "ColorListEnd Colors 7",
                   lp),
              -1);
    EXPECT_EQ(lp.Colors, 7);
    EXPECT_EQ(lp.AltColor.Mode, 2);
    EXPECT_EQ(lp.AltColor.Entries,
              (std::vector<PackedColor>{PackColor(0, 255, 3), PackColor(10, 20, 30)}));
    lp.AltColor.Entries = {PackColor(5, 60, 255)};
    EXPECT_EQ(FormatColorList(lp.AltColor),
              "ColorList\nGamma 2.50000\nMode 2\nData\n   5,  60, 255,\nColorListEnd\n");
}

TEST_F(LightParmsBlockTest, DefinitionFileSkipsOtherBlocksAndReportsFailure) {
    const std::string path = dir.File("light.lgt");
    test::WriteFileText(path, "FracParms Type 2 Colors 3 FracParmsEnd LightParms Levels 4 "
                              "LightParmsEnd LightParms Levels 5");
    std::string message;
    EXPECT_EQ(ReadLightingDefinitionFile(path, ws, message), -105);
    EXPECT_EQ(message, "Error reading definition file \"" + path + "\".");
    EXPECT_EQ(ws.TheSurface.Lighting.Colors, 15);
    EXPECT_EQ(ws.TheSurface.Lighting.Levels, 5);

    ws.TheSurface.Lighting.Levels = 11;
    ASSERT_EQ(WriteLightingDefinitionFile(path, ws, message), 0);
    ws.TheSurface.Lighting = {};
    EXPECT_EQ(ReadLightingDefinitionFile(path, ws, message), 0);
    EXPECT_EQ(ws.TheSurface.Lighting.Levels, 11);
}

} // namespace
} // namespace korvel
