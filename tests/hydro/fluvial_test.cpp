#include "hydro/fluvial_erosion.h"
#include "hydro/fluvial_model.h"

#include "commands/command.h"
#include "commands/command_runner.h"
#include "core/workspace.h"
#include "hydro_test_terrain.h"
#include "shading/texture.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace korvel {
namespace {

using Grid = std::vector<std::vector<float>>;

// The frames as the rules read: rain, then the sweep into W' and S' (m, the sediment taken from
// a source, starts at 0 and is only ever set to 0), then W = W', S = S'.
struct LiteralFluvial {
    int32_t XSize, YSize;
    Grid E, W, Wn, S, Sn;
    double m = 0.0;

    explicit LiteralFluvial(const Surface& s)
        : XSize(s.XSize), YSize(s.YSize),
          E(static_cast<size_t>(s.YSize), std::vector<float>(static_cast<size_t>(s.XSize))),
          W(E.size(), std::vector<float>(E[0].size(), 0.0f)), Wn(W), S(W), Sn(W) {
        for (int32_t y = 0; y < YSize; ++y)
            for (int32_t x = 0; x < XSize; ++x)
                E[y][x] = s.Rows[y][x];
    }

    void Frame(int32_t frame, int32_t frequency, double amount, double K, double D) {
        if (frame % frequency == 0)
            for (int32_t y = 0; y < YSize; ++y)
                for (int32_t x = 0; x < XSize; ++x)
                    W[y][x] = static_cast<float>(std::max(0.0, W[y][x] + amount));
        for (int32_t y = 1; y <= YSize - 2; ++y)
            for (int32_t x = 1; x <= XSize - 2; ++x)
                for (int32_t dy = -1; dy <= 1; ++dy)
                    for (int32_t dx = -1; dx <= 1; ++dx) {
                        if (dx == 0 && dy == 0)
                            continue;
                        const int32_t nx = x + dx, ny = y + dy;
                        float delta = (E[y][x] + W[y][x]) - (E[ny][nx] + W[ny][nx]);
                        if (W[y][x] < delta)
                            delta = W[y][x];
                        if (delta <= 0) {
                            Sn[y][x] = static_cast<float>(Sn[y][x] - S[y][x] * (1 - D));
                        } else {
                            Wn[y][x] = W[y][x] - delta;
                            Wn[ny][nx] = W[ny][nx] + delta;
                            const double c = K * delta;
                            if (c >= S[y][x]) {
                                Sn[ny][nx] = static_cast<float>(Sn[ny][nx] + c);
                                Sn[y][x] = static_cast<float>(Sn[y][x] - (1 - D) * m);
                            } else {
                                m = 0;
                            }
                        }
                    }
        W = Wn;
        S = Sn;
    }
};

void ExpectClose(const std::vector<float>& got, const Grid& want, const char* what) {
    const size_t w = want[0].size();
    for (size_t i = 0; i < got.size(); ++i) {
        const double expected = want[i / w][i % w];
        ASSERT_LE(std::fabs(got[i] - expected), 1e-5 * std::max(1.0, std::fabs(expected)))
            << what << " at " << i % w << ", " << i / w;
    }
}

struct Session {
    test::RecordingHost Host;
    Workspace Ws{Host};
    Surface& S = Ws.TheSurface;
    Session(int32_t w, int32_t h) { EXPECT_EQ(S.Resize(w, h, 0), 0); }
};

TEST(Fluvial, FiveFramesMatchTheRulesOn24By24) {
    struct Case {
        const char* Name;
        int32_t Frequency;
        double Amount, K, D;
    };
    const Case cases[] = {
        {"rain every other frame", 2, 0.5, 5.0, 0.1},
        {"rain once, heavy", 10, 3.0, 0.2, 0.6},
        {"every frame, low capacity", 1, 0.25, 0.01, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Session t(24, 24);
        test::FillBumpy(t.S, 1.5f);
        LiteralFluvial literal(t.S);
        FluvialModel model;
        ASSERT_EQ(model.Allocate(24, 24), FluvialDone);
        for (int32_t frame = 0; frame < 5; ++frame) {
            if (frame % c.Frequency == 0) {
                ASSERT_TRUE(model.Rain(t.S, c.Amount, false, t.Ws.TheProgress));
            }
            ASSERT_TRUE(model.Step(t.S, {c.K, c.D}, t.Ws.TheProgress));
            literal.Frame(frame, c.Frequency, c.Amount, c.K, c.D);
        }
        ExpectClose(model.Water(), literal.W, "water");
        ExpectClose(model.Sediment(), literal.S, "sediment");
    }
}

std::vector<float> Flattened(const Grid& g) {
    std::vector<float> out;
    for (const std::vector<float>& row : g)
        out.insert(out.end(), row.begin(), row.end());
    return out;
}

TEST(Fluvial, BlocksAndThreadsGiveTheSweepBitForBit) {
    // Rows go to the threads 32 at a time and the step pauses for cancel every 512 rows: seams
    // of both, a last block of one row, and the narrowest grids must give the sweep's grids
    // exactly, on one thread or two.
    struct Case {
        const char* Name;
        int32_t Width, Height, Threads;
    };
    const Case cases[] = {
        {"seams of blocks and chunks, two threads", 16, 545, 2},
        {"seams of blocks and chunks, one thread", 16, 545, 1},
        {"last block of one row", 12, 33, 2},
        {"three rows", 8, 3, 2},
        {"two rows: no interior", 8, 2, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Session t(c.Width, c.Height);
        test::FillBumpy(t.S, 1.5f);
        LiteralFluvial literal(t.S);
        FluvialModel model;
        model.SetThreads(c.Threads);
        ASSERT_EQ(model.Allocate(c.Width, c.Height), FluvialDone);
        for (int32_t frame = 0; frame < 4; ++frame) {
            if (frame % 2 == 0) {
                ASSERT_TRUE(model.Rain(t.S, 0.7, false, t.Ws.TheProgress));
            }
            ASSERT_TRUE(model.Step(t.S, {2.0, 0.3}, t.Ws.TheProgress));
            literal.Frame(frame, 2, 0.7, 2.0, 0.3);
        }
        EXPECT_EQ(model.Water(), Flattened(literal.W));
        EXPECT_EQ(model.Sediment(), Flattened(literal.S));
    }
}

TEST(Fluvial, WaterNeverGoesNegative) {
    struct Case {
        const char* Name;
        double Amount;
        bool Fraction;
    };
    const Case cases[] = {
        {"plain rain", 0.8, false},
        {"drying rain", -0.3, false},
        {"rain by altitude", 0.9, true},
        {"amount clamped to -1", -5.0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Session t(32, 20);
        test::FillBumpy(t.S, 4.0f);
        FluvialModel model;
        ASSERT_EQ(model.Allocate(32, 20), FluvialDone);
        for (int32_t frame = 0; frame < 12; ++frame) {
            ASSERT_TRUE(
                model.Rain(t.S, frame % 3 == 0 ? 1.0 : c.Amount, c.Fraction, t.Ws.TheProgress));
            ASSERT_TRUE(model.Step(t.S, {5.0, 0.1}, t.Ws.TheProgress));
            const auto lowest = std::min_element(model.Water().begin(), model.Water().end());
            ASSERT_GE(*lowest, 0.0f) << "frame " << frame;
        }
    }
}

TEST(Fluvial, PicturesScaleOverFiniteValues) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        const char* Name;
        std::vector<float> Values;
        std::vector<uint8_t> Indices; // trunc(180 * clamp(v / M) + 48)
    };
    const Case cases[] = {
        {"largest 4", {0, 1, 2, 4}, {48, 93, 138, 228}},
        {"not finite at the lowest index", {nan, inf, -inf, 2}, {48, 48, 48, 228}},
        {"all zero: M is 1", {0, 0, 0, 0}, {48, 48, 48, 48}},
        {"below zero clamps", {-3, 0.5f, 0, 0}, {48, 228, 48, 48}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Image picture;
        ASSERT_EQ(picture.Create(4, 1, 8), 0);
        DrawFluvialPicture(picture, c.Values, 4, 1);
        for (int32_t x = 0; x < 4; ++x)
            EXPECT_EQ(picture.GetPixel(x, 0), c.Indices[static_cast<size_t>(x)]) << x;
    }
}

TEST(Fluvial, CommandKeepsElevationsAndItsMarksSurviveTheRefresh) {
    Session t(40, 24);
    test::FillBumpy(t.S, 3.0f);
    t.S.FindMinMax(t.S.Min, t.S.Max, t.Ws.TheProgress);
    t.S.Lighting.BitDepth = 8;
    const std::vector<float> before(t.S.Rows[0], t.S.Rows[0] + 40 * 24);
    ErosionFields& f = t.Ws.Erosion;
    f.Steps = 6;
    f.RainFrequency = 3;
    f.Threshold = 0.4;
    const RunResult result = RunCommand(*FindCommandByName("fluvial"), t.Ws);
    ASSERT_EQ(result.Status, RunStatus::Done);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), t.S.Rows[0]));
    EXPECT_EQ(t.Host.Messages, (std::vector<std::string>{"Water", "Sediment"}));

    FluvialModel model;
    ASSERT_EQ(model.Allocate(40, 24), FluvialDone);
    for (int32_t frame = 0; frame < f.Steps; ++frame) {
        if (frame % f.RainFrequency == 0)
            model.Rain(t.S, f.RainAmount, false, t.Ws.TheProgress);
        model.Step(t.S, {f.Capacity, f.Deposition}, t.Ws.TheProgress);
    }
    const std::vector<uint8_t> marks = WaterMarks(model, f.Threshold);
    ASSERT_GT(std::count(marks.begin(), marks.end(), 1), 0);
    // What the command drew is what a reader sees: no refresh shaded over it.
    const Image& picture = CurrentTexture(t.Ws);
    for (int32_t i = 0; i < 40 * 24; ++i)
        if (marks[static_cast<size_t>(i)] != 0) {
            ASSERT_EQ(picture.GetPixel(i % 40, i / 40), 0u) << i;
        }
}

TEST(Fluvial, FlatSurfaceShowsUniformPicturesWrittenWhereAsked) {
    Session t(16, 8);
    ErosionFields f;
    f.Steps = 3;
    f.WaterFile = "water.bmp";
    f.SedimentFile = "sediment.bmp";
    std::vector<std::string> written;
    std::vector<std::vector<uint32_t>> pictures;
    const PictureSaver save = [&](const std::string& path, std::string&) {
        written.push_back(path);
        const Image& picture = CurrentTexture(t.Ws);
        std::vector<uint32_t> pixels;
        for (int32_t i = 0; i < 16 * 8; ++i)
            pixels.push_back(picture.GetPixel(i % 16, i / 16));
        pictures.push_back(pixels);
        return 0;
    };
    t.S.Lighting.BitDepth = 24;
    ASSERT_EQ(FluvialErosion(t.Ws, f, save), FluvialDone);
    EXPECT_EQ(written, (std::vector<std::string>{"water.bmp", "sediment.bmp"}));
    const uint32_t index48 = t.S.Texture.AsIs().Palette[48];
    for (const auto& pixels : pictures)
        for (uint32_t p : pixels)
            ASSERT_EQ(p, index48);
}

TEST(Fluvial, FailedPictureWriteIsShownAndReturned) {
    Session t(16, 8);
    ErosionFields f;
    f.WaterFile = "no/such/folder/water.bmp";
    const PictureSaver save = [](const std::string& path, std::string& message) {
        message = "Could not write " + path;
        return -3;
    };
    EXPECT_EQ(FluvialErosion(t.Ws, f, save), FluvialPictureNotSaved);
    EXPECT_EQ(t.Host.Messages, (std::vector<std::string>{"Could not write no/such/folder/water.bmp",
                                                         "Water", "Sediment"}));
}

} // namespace
} // namespace korvel
