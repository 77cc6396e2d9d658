#include "generate/procedural.h"

#include "commands/command.h"
#include "commands/command_runner.h"
#include "core/settings_store.h"
#include "core/workspace.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>

namespace korvel {
namespace {

constexpr float Untouched = 7.0f;
constexpr double Rad = 3.14159265358979323846 / 180.0;

struct Session {
    explicit Session(int32_t x, int32_t y) {
        EXPECT_EQ(ws.TheSurface.Resize(x, y, 0), 0);
        for (int32_t r = 0; r < y; ++r)
            std::fill_n(ws.TheSurface.Rows[r], x, Untouched);
    }
    std::vector<float> Grid() const {
        const Surface& s = ws.TheSurface;
        return {s.Rows[0], s.Rows[0] + int64_t{s.XSize} * s.YSize};
    }
    test::RecordingHost host;
    Workspace ws{host};
};

FracParms Params(int32_t type, bool sphere, int32_t seed = 42,
                 const char* func = "sin(x*3)*cos(y*2)") {
    FracParms fp;
    fp.Type = type, fp.TexSphere = sphere, fp.Seed = seed, fp.Func = func;
    return fp;
}

// The type's function on tables from a fresh stream with the same seed.
double Reference(int32_t seed, const FracParms& f, double x, double y, double z) {
    RandomStream random;
    random.SeedRandom(seed);
    NoiseBasis n(random);
    const double h = f.H, l = f.lacunarity, o = f.octaves;
    return f.Type == 2   ? n.Fbm(x, y, z, h, l, o)
           : f.Type == 3 ? n.Multifractal(x, y, z, h, l, o, f.offset, f.fgain)
           : f.Type == 4 ? n.HeteroTerrain(x, y, z, h, l, o, f.offset)
           : f.Type == 5 ? n.HybridMultifractal(x, y, z, h, l, o, f.offset)
                         : n.RidgedMultifractal(x, y, z, h, l, o, f.offset, f.fgain);
}

// Steps of 1/256 and 1/8 are exact, so x = xpos + c * sx equals the accumulated x.
TEST(Procedural, FlatSamplesAreTheTypesFunctionOnTheWindow) {
    for (int32_t type = 2; type <= 6; ++type) {
        Session s(512, 8);
        FracParms fp = Params(type, false, 7);
        fp.xpos = -1.0, fp.xrange = 2.0, fp.ypos = 0.5, fp.yrange = 1.0, fp.zpos = 0.3;
        ASSERT_EQ(GenerateProcedural(s.ws, fp, false), 0);
        for (auto [r, c] : {std::pair{0, 0}, {0, 511}, {7, 257}})
            EXPECT_EQ(s.ws.TheSurface.Rows[r][c],
                      static_cast<float>(Reference(7, fp, -1.0 + c / 256.0, 0.5 + r / 8.0, 0.3)))
                << type;
    }
}

TEST(Procedural, SphericalSampleLiesOnTheEllipsoidFromBottomUp) {
    Session s(16, 8);
    FracParms fp = Params(6, true, 9);
    fp.Top = 60, fp.Left = -90, fp.Right = 90, fp.Bottom = -30;
    fp.xpos = 1, fp.ypos = 2, fp.zpos = 3, fp.xrange = 2, fp.yrange = 3, fp.zrange = 4;
    ASSERT_EQ(GenerateProcedural(s.ws, fp, false), 0);
    for (auto [r, c] : {std::pair{0, 0}, {7, 15}, {2, 9}, {5, 4}}) {
        const double lat = (-30.0 + r * 90.0 / 8) * Rad, lon = (-90.0 + c * 180.0 / 16) * Rad;
        const double x = std::cos(lat) * std::cos(lon) * 2 + 1, z = std::sin(lat) * 4 + 3;
        EXPECT_NEAR(s.ws.TheSurface.Rows[r][c],
                    Reference(9, fp, x, std::cos(lat) * std::sin(lon) * 3 + 2, z), 1e-5);
    }
}

TEST(Procedural, MapRecordAfterGeneration) {
    // Type, sphere, edges: defaults span the globe; math is flat; plasma keeps what it finds.
    const double cases[][6] = {
        {6, 1, 90, -180, 180, -90}, {1, 1, -8, -10, -8, -10}, {0, 0, 50, 0, 100, 0}};
    for (const auto& k : cases) {
        Session s(64, 32);
        s.ws.TheSurface.SetEdges(0, 100, 50, 0);
        s.ws.MapScale = {2, 100.0, 0.0, -100.0};
        ASSERT_EQ(GenerateSurface(s.ws, Params(static_cast<int32_t>(k[0]), k[1] != 0), false), 0);
        const Surface& g = s.ws.TheSurface;
        EXPECT_EQ(
            std::vector<double>({g.Top, g.Left, g.Right, g.Bottom, g.XRes, g.YRes}),
            std::vector<double>({k[2], k[3], k[4], k[5], (k[4] - k[3]) / 64, (k[2] - k[5]) / 32}))
            << k[0];
        EXPECT_NEAR(std::ranges::min(s.Grid()), -100.0, 1e-3) << k[0]; // scaled to [-100, 100]
    }
}

TEST(Procedural, ExpressionHistory) {
    // Twenty stored; choosing the 19th keeps it and the first 16 behind it.
    std::vector<std::string> twenty, kept{"h18"};
    for (int i = 0; i < 20; ++i)
        twenty.push_back("h" + std::to_string(i));
    kept.insert(kept.end(), twenty.begin(), twenty.begin() + 16);
    const std::tuple<std::vector<std::string>, std::vector<std::string>, std::string> cases[] = {
        {{"a", "B"}, {"b", "a", "B"}, "b"},
        {twenty, kept, "h18"},
        {{"a", "b"}, {"a", "b"}, ""}, // an empty key would cut the list off
    };
    for (const auto& [history, stored, chosen] : cases) {
        MemorySettingsStore store; // stale keys beyond the new list must go
        for (size_t i = 0; i < history.size(); ++i)
            store.Write("Expressions", "expr0" + std::string(i < 10 ? "0" : "") + std::to_string(i),
                        history[i]);
        WriteExpressionHistory(store, history, chosen);
        EXPECT_EQ(ReadExpressionHistory(store), stored) << chosen;
    }
    MemorySettingsStore empty;
    EXPECT_EQ(ReadExpressionHistory(empty), std::vector<std::string>{"sinc(r)"});
}

TEST(Procedural, RefusedGenerationShowsWhyAndChangesNothing) {
    const char* const unknownType =
        "Surface/Type: 9 is not a surface type (0 plasma, 1 expression, 2 to 6 fractals)";
    const std::tuple<int32_t, bool, const char*, std::string> cases[] = {
        {1, false, ")(",
         "Surface/Func: expression \")(\" has \")\" at position 0 where a value was expected"},
        {1, false, "sin(x*", // would once have run as sin(x)
         "Surface/Func: expression \"sin(x*\" ends at position 6 where a value was expected"},
        {9, true, "", unknownType},
        {-1, false, "",
         "Surface/Type: -1 is not a surface type (0 plasma, 1 expression, 2 to 6 "
         "fractals)"}, // would once have given a flat surface
    };
    for (const auto& [type, sphere, func, message] : cases) {
        SCOPED_TRACE(message);
        Session s(16, 8);
        EXPECT_NE(GenerateSurface(s.ws, Params(type, sphere, 42, func), true), 0);
        EXPECT_EQ(s.host.Messages.at(0), message);
        EXPECT_EQ(s.Grid(), std::vector<float>(16 * 8, Untouched));
    }
}

TEST(Procedural, ProgressTextsAndQuietRunsAgree) {
    const std::tuple<int32_t, bool, const char*> cases[] = {
        {1, true, "Generating \"sin(x*3)*cos(y*2)\" procedural surface"},
        {5, true, "Generating spherical hybrid multifractal procedural surface"},
        {0, false, "Generating plasma surface 42"},
    };
    for (const auto& [type, sphere, text] : cases) {
        Session s(8, 13), quiet(8, 13);
        EXPECT_EQ(GenerateSurface(s.ws, Params(type, sphere), true), 0);
        EXPECT_EQ(s.host.ProgressTexts.front(), text);
        ASSERT_EQ(GenerateSurface(quiet.ws, Params(type, sphere), false), 0);
        EXPECT_EQ(s.Grid(), quiet.Grid());
    }
}

// curval is the sample's old value, cenr its distance from the origin, z the window's zpos.
TEST(Procedural, EvaluationContextOfAFlatExpression) {
    Session s(8, 4);
    s.ws.TheSurface.Rows[3][5] = 300.0f;
    FracParms fp = Params(1, false, 42, "curval+cenr*1000+z");
    fp.zpos = 0.25;
    ASSERT_EQ(GenerateProcedural(s.ws, fp, false), 0);
    EXPECT_FLOAT_EQ(s.ws.TheSurface.Rows[3][5],
                    static_cast<float>(300 + std::hypot(3, 5) * 1000 + 0.25));
}

TEST(Procedural, CancelKeepsTheRowsNotReachedAndSkipsTheScaling) {
    // Flat pumps after every row, spherical after rows 0, 4, 8: the third pump stops both.
    for (auto [sphere, computed] : {std::pair{false, 3}, {true, 9}}) {
        Session s(8, 16);
        s.host.OnPump = test::CancelAtPump(s.ws.TheProgress, 3);
        EXPECT_EQ(GenerateProcedural(s.ws, Params(2, sphere), true), ProceduralCancelled);
        const auto grid = s.Grid();
        const auto split = grid.begin() + 8 * computed;
        EXPECT_EQ(std::count(grid.begin(), grid.end(), Untouched), grid.end() - split);
        EXPECT_EQ(std::count(split, grid.end(), Untouched), grid.end() - split);
        s.ws.MapScale.Hi = 2.0;
        s.ws.TheSurface.Generation = Params(2, sphere);
        s.host.Pumps = 0;
        EXPECT_EQ(RunCommand(*FindCommandByName("calculate"), s.ws).Status, RunStatus::Failed);
        EXPECT_EQ(s.ws.TheSurface.Rows[15][0], Untouched);
        EXPECT_EQ(CurrentMenuText(*FindCommandByName("undo"), s.ws), "Undo Calculate\tCtrl+Z");
    }
}

} // namespace
} // namespace korvel
