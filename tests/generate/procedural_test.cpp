#include "generate/procedural.h"

#include "commands/command.h"
#include "commands/command_runner.h"
#include "core/settings_store.h"
#include "core/workspace.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

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

FracParms Params(int32_t type, bool sphere, int32_t seed = 42) {
    FracParms fp;
    fp.Type = type;
    fp.TexSphere = sphere;
    fp.Seed = seed;
    fp.Func = "sin(x*3)*cos(y*2)";
    return fp;
}

// The function of a type, evaluated on tables drawn from a fresh stream with the same seed.
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
        SCOPED_TRACE(type);
        Session s(512, 8);
        FracParms fp = Params(type, false, 7);
        fp.xpos = -1.0, fp.xrange = 2.0, fp.ypos = 0.5, fp.yrange = 1.0, fp.zpos = 0.3;
        ASSERT_EQ(GenerateProcedural(s.ws, fp, false), 0);
        const Surface& g = s.ws.TheSurface;
        for (auto [r, c] : {std::pair{0, 0}, {0, 511}, {7, 257}})
            EXPECT_EQ(g.Rows[r][c],
                      static_cast<float>(Reference(7, fp, -1.0 + c / 256.0, 0.5 + r / 8.0, 0.3)));
        EXPECT_EQ(g.Min, std::ranges::min(s.Grid()));
        EXPECT_EQ(g.Max, std::ranges::max(s.Grid()));
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
        const double x = std::cos(lat) * std::cos(lon) * 2 + 1;
        const double y = std::cos(lat) * std::sin(lon) * 3 + 2;
        const double z = std::sin(lat) * 4 + 3;
        EXPECT_NEAR(s.ws.TheSurface.Rows[r][c], Reference(9, fp, x, y, z), 1e-5) << r << "," << c;
    }
}

TEST(Procedural, MapRecordAfterGeneration) {
    struct Case {
        int32_t Type;
        bool Sphere;
        double Top, Left, Right, Bottom;
    } cases[] = {
        {6, true, 90, -180, 180, -90}, // the defaults span the globe
        {1, true, -8, -10, -8, -10},   // flat (a math function always is): the window
        {0, false, 50, 0, 100, 0},     // plasma keeps the edges it finds
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.Type);
        Session s(64, 32);
        s.ws.TheSurface.SetEdges(0, 100, 50, 0);
        s.ws.MapScale = {2, 100.0, 0.0, -100.0};
        ASSERT_EQ(GenerateSurface(s.ws, Params(k.Type, k.Sphere), false), 0);
        const Surface& g = s.ws.TheSurface;
        EXPECT_EQ(std::vector<double>({g.Top, g.Left, g.Right, g.Bottom, g.XRes, g.YRes}),
                  std::vector<double>({k.Top, k.Left, k.Right, k.Bottom, (k.Right - k.Left) / 64,
                                       (k.Top - k.Bottom) / 32}));
        // Scaled to [-100, 100] from the generated extremes.
        const auto grid = s.Grid();
        EXPECT_NEAR(*std::ranges::min_element(grid), -100.0, 1e-3);
        EXPECT_NEAR(*std::ranges::max_element(grid), 100.0, 1e-3);
    }
}

TEST(Procedural, BandLimitOctaves) {
    const struct {
        int32_t X, Y;
        double Octaves;
    } cases[] = {{512, 256, 7.0}, {6, 3, 0.5849}, {100, 1000, 7.9657}, {0, 0, 0.5}};
    for (const auto& k : cases)
        EXPECT_NEAR(BandLimitOctaves(k.X, k.Y), k.Octaves, 1e-12) << k.X << "x" << k.Y;
}

TEST(Procedural, ExpressionHistory) {
    // Twenty stored; choosing the 19th keeps it and the first 16 behind it.
    std::vector<std::string> twenty, kept{"h18"};
    for (int i = 0; i < 20; ++i)
        twenty.push_back("h" + std::to_string(i));
    kept.insert(kept.end(), twenty.begin(), twenty.begin() + 16);
    const struct {
        std::vector<std::string> History;
        std::string Chosen;
        std::vector<std::string> Stored;
    } cases[] = {
        {{"a", "B"}, "b", {"b", "a", "B"}},
        {twenty, "h18", kept},
        {{"a", "b"}, "", {"a", "b"}}, // an empty key would cut the list off
    };
    for (const auto& k : cases) {
        MemorySettingsStore store;
        for (size_t i = 0; i < k.History.size(); ++i)
            store.Write("Expressions",
                        "expr" + std::string(i < 10 ? "00" : "0") + std::to_string(i),
                        k.History[i]);
        EXPECT_EQ(ReadExpressionHistory(store), k.History);
        WriteExpressionHistory(store, k.History, k.Chosen);
        EXPECT_EQ(ReadExpressionHistory(store), k.Stored) << k.Chosen;
    }
    MemorySettingsStore gap;
    EXPECT_EQ(ReadExpressionHistory(gap), std::vector<std::string>{"sinc(r)"});
    for (const char* key : {"expr000", "expr001", "expr003"})
        gap.Write("Expressions", key, key);
    EXPECT_EQ(ReadExpressionHistory(gap), (std::vector<std::string>{"expr000", "expr001"}));
}

TEST(Procedural, RefusedGenerationShowsWhyAndChangesNothing) {
    const struct {
        int32_t Type;
        bool Sphere;
        const char* Func;
        const char* Message;
    } cases[] = {{1, false, ")(", "Unable to parse expression\n\n\")(\""},
                 {9, true, "", "Type 9 surface not supported in spherical mode"}};
    for (const auto& k : cases) {
        Session s(16, 8);
        Surface& g = s.ws.TheSurface;
        g.SetEdges(1, 2, 3, 4);
        g.Min = -5, g.Max = 5;
        FracParms fp = Params(k.Type, k.Sphere);
        fp.Func = k.Func;
        EXPECT_NE(GenerateSurface(s.ws, fp, true), 0);
        EXPECT_EQ(s.host.Messages, std::vector<std::string>{k.Message});
        EXPECT_TRUE(s.host.ProgressTexts.empty());
        EXPECT_EQ(s.Grid(), std::vector<float>(16 * 8, Untouched));
        EXPECT_EQ(std::vector<double>({g.Left, g.Bottom, g.YRes, g.Max}),
                  std::vector<double>({1, 4, 1.0 / -7, 5}));
    }
}

// The pumps per row are pinned by the cancel test below.
TEST(Procedural, ProgressTextsAndQuietRunsAgree) {
    const struct {
        int32_t Type;
        bool Sphere;
        const char* Text;
    } cases[] = {
        {1, true, "Generating \"sin(x*3)*cos(y*2)\" procedural surface"},
        {5, true, "Generating spherical hybrid multifractal procedural surface"},
        {0, false, "Generating plasma surface 42"},
    };
    for (const auto& k : cases) {
        Session s(8, 13), quiet(8, 13);
        EXPECT_EQ(GenerateSurface(s.ws, Params(k.Type, k.Sphere), true), 0);
        EXPECT_EQ(s.host.ProgressTexts.front(), k.Text);
        // The progress display must not change a single bit.
        ASSERT_EQ(GenerateSurface(quiet.ws, Params(k.Type, k.Sphere), false), 0);
        EXPECT_EQ(std::memcmp(s.Grid().data(), quiet.Grid().data(), 8 * 13 * sizeof(float)), 0);
    }
}

// curval is the sample's old value, cenr its distance from the origin, z the window's zpos.
TEST(Procedural, EvaluationContextOfAFlatExpression) {
    Session s(8, 4);
    s.ws.TheSurface.Rows[3][5] = 300.0f;
    FracParms fp = Params(1, false);
    fp.Func = "curval+cenr*1000+z";
    fp.zpos = 0.25;
    ASSERT_EQ(GenerateProcedural(s.ws, fp, false), 0);
    EXPECT_FLOAT_EQ(s.ws.TheSurface.Rows[3][5],
                    static_cast<float>(300 + std::hypot(3, 5) * 1000 + 0.25));
    EXPECT_FLOAT_EQ(s.ws.TheSurface.Rows[0][7], Untouched + 7000.25f);
}

Workspace* Cancelling = nullptr;
int CancelAtPump = 0;

TEST(Procedural, CancelKeepsTheRowsNotReachedAndSkipsTheScaling) {
    // Flat pumps after every row, spherical after rows 0, 4, 8: the third pump stops both.
    for (auto [sphere, computed] : {std::pair{false, 3}, {true, 9}}) {
        Session s(8, 16);
        Cancelling = &s.ws;
        CancelAtPump = 3;
        s.host.OnPump = [](int n) {
            if (n == CancelAtPump)
                Cancelling->TheProgress.CancelFlag = CancelKey;
        };
        EXPECT_EQ(GenerateProcedural(s.ws, Params(2, sphere), true), ProceduralCancelled);
        const auto grid = s.Grid();
        const auto split = grid.begin() + 8 * computed;
        EXPECT_EQ(std::count(grid.begin(), grid.end(), Untouched), grid.end() - split);
        EXPECT_EQ(std::count(split, grid.end(), Untouched), grid.end() - split);
        EXPECT_EQ(s.ws.TheSurface.Min, *std::min_element(grid.begin(), split));
        EXPECT_EQ(s.ws.TheSurface.Max, *std::max_element(grid.begin(), split));

        // Through the command: the scaling by 2 does not run, and the flag ends cleared.
        s.ws.MapScale.Hi = 2.0;
        s.ws.TheSurface.Generation = Params(2, sphere);
        s.host.Pumps = 0;
        const RunResult result = RunCommand(*FindCommandByName("calculate"), s.ws);
        EXPECT_EQ(result.Status, RunStatus::Failed);
        EXPECT_EQ(s.ws.TheSurface.Rows[15][0], Untouched);
        EXPECT_EQ(s.ws.TheProgress.CancelFlag, 0);
        EXPECT_EQ(CurrentMenuText(*FindCommandByName("undo"), s.ws), "Undo Calculate\tCtrl+Z");
    }
}

} // namespace
} // namespace korvel
