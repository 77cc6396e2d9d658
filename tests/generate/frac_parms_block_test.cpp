#include "commands/file_dispatch.h"
#include "core/workspace.h"
#include "generate/evaluator.h"
#include "generate/frac_parms_block.h"
#include "generate/token_reader.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <tuple>

namespace korvel {
namespace {

struct FracParmsBlockTest : ::testing::Test {
    int32_t Read(const std::string& text, FracParms& record) {
        test::WriteFileText(dir.File("block.srf"), text);
        TokenReader reader;
        EXPECT_EQ(reader.Open(dir.File("block.srf")), 0);
        Evaluator constants(ws.TheSurface, ws.Noise, ws.Random, record);
        return ReadFracParms(record, reader, constants);
    }

    test::TempDir dir;
    test::RecordingHost host;
    Workspace ws{host};
};

TEST_F(FracParmsBlockTest, DefaultRecordIsWrittenLineByLine) {
    EXPECT_EQ(FormatFracParms(FracParms{}),
              "FracParms\nType 6\nSeed 12345\nFunc \"sinc(r)\"\nPlasma 125.00000, 4.00000\n"
              "Procedural 1.00000, 2.00000, 5.00000, 1.00000, 2.00000, 1\n"
              "Position -10.00000, -10.00000, -10.00000\nRange 2.00000, 2.00000, 2.00000\n"
              "Bounds 90.00000, -180.00000, 180.00000, -90.00000\nFracParmsEnd\n");
}

TEST_F(FracParmsBlockTest, WrittenBlockReadsBackToFiveDecimals) {
    FracParms written, read;
    written.Type = 3, written.Seed = -77, written.Func = "ridged(x, y, z)", written.fgain = 3.3;
    written.irf = 2.123456789, written.lacunarity = 2.0000049, written.TexSphere = false;
    written.xpos = -1e-6, written.zrange = 123.456789, written.Bottom = -12.000004;
    ASSERT_EQ(Read(FormatFracParms(written), read), 0);
    EXPECT_EQ(std::tuple(read.Type, read.Seed, read.Func, read.TexSphere),
              std::tuple(3, -77, std::string("ridged(x, y, z)"), false));
    // Each rounded to five decimals by hand.
    const std::pair<double, double> pairs[] = {{read.irf, 2.12346},      {read.lacunarity, 2.0},
                                               {read.fgain, 3.3},        {read.xpos, -0.0},
                                               {read.zrange, 123.45679}, {read.Bottom, -12.0}};
    for (const auto& [got, want] : pairs)
        EXPECT_NEAR(got, want, 1e-9) << want;
}

TEST_F(FracParmsBlockTest, SpellingsAndSeparators) {
    const std::tuple<const char*, double, double, double, double, double, const char*> cases[] = {
        {"FracParms\nBounds 45d30m, -10, 10, -45d30m\nFracParmsEnd", 45.5, -45.5, -10, -10, -10,
         "sinc(r)"},
        // A number where the string belongs is passed over, Func kept.
        {"FracParms Func 42 Position 1/2 (* a comment *) 2 3 FracParmsEnd", 90, -90, 0.5, 2, 3,
         "sinc(r)"},
        {"FracParms Func 'x+y' Unknown ; tokens , here FracParmsEnd", 90, -90, -10, -10, -10,
         "x+y"},
    };
    for (const auto& [text, top, bottom, x, y, z, func] : cases) {
        FracParms f;
        ASSERT_EQ(Read(text, f), 0) << text;
        EXPECT_EQ(std::tuple(f.Top, f.Bottom, f.xpos, f.ypos, f.zpos, f.Func),
                  std::tuple(top, bottom, x, y, z, std::string(func)))
            << text;
    }
}

TEST_F(FracParmsBlockTest, BlockWithoutEndKeepsWhatWasRead) {
    FracParms f;
    EXPECT_EQ(Read("FracParms Type 2 Seed 9 Plasma pi, 3", f), -1); // pi does not fold: 1e20
    EXPECT_EQ(std::tuple(f.Type, f.Seed, f.rf, f.irf), std::tuple(2, 9, 1e20, 3.0));
}

TEST_F(FracParmsBlockTest, SurfaceDefinitionFilesThroughOpenAndSave) {
    ws.TheSurface.Generation.Type = 4, ws.TheSurface.Generation.octaves = 6.25;
    std::string message;
    ASSERT_EQ(WriteFileByType(ws, dir.File("a.srf"), -1, message), 0) << message;
    ws.TheSurface.Generation = {};
    ASSERT_EQ(ReadFileByType(ws, dir.File("a.srf"), false), 0);
    EXPECT_EQ(std::pair(ws.TheSurface.Generation.Type, ws.TheSurface.Generation.octaves),
              std::pair(4, 6.25));
    test::WriteFileText(dir.File("cut.srf"), "FracParms Type 1");
    EXPECT_EQ(ReadFileByType(ws, dir.File("cut.srf"), false), -105);
    EXPECT_EQ(OpenFailureMessage(-105, dir.File("cut.srf")),
              "Error reading definition file \"" + dir.File("cut.srf") + "\".");
    EXPECT_EQ(ReadFileByType(ws, dir.File("missing.srf"), false), -105);
}

} // namespace
} // namespace korvel
