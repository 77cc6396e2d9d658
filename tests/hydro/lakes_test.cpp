#include "hydro/lakes.h"

#include "core/workspace.h"
#include "hydro_test_terrain.h"
#include "shading/texture.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace korvel {
namespace {

// The relaxation as the rules read, cell by cell, from a copy of the previous grid.
bool LiteralRelax(const Surface& s, std::vector<float>& p, float delta, bool spherical,
                  float& largest) {
    const int32_t w = s.XSize, h = s.YSize;
    std::vector<float> n = p;
    const auto at = [w](int32_t x, int32_t y) { return static_cast<size_t>(y * w + x); };
    largest = 0.0f;
    bool moved = false;
    const int32_t dxs[8] = {-1, 0, 1, -1, 1, -1, 0, 1};
    const int32_t dys[8] = {-1, -1, -1, 0, 0, 1, 1, 1};
    for (int32_t y = spherical ? 0 : 1; y <= (spherical ? h - 1 : h - 2); ++y)
        for (int32_t x = spherical ? 0 : 1; x <= (spherical ? w - 1 : w - 2); ++x) {
            if (!(p[at(x, y)] > 0.0f))
                continue;
            largest = std::max(largest, p[at(x, y)]);
            const float level = s.Rows[y][x] + p[at(x, y)];
            float d[8] = {};
            int32_t nxs[8] = {}, nys[8] = {};
            float sum = 0.0f;
            for (int32_t k = 0; k < 8; ++k) {
                const int32_t ny = y + dys[k];
                if (ny < 0 || ny >= h)
                    continue;
                const int32_t nx = (x + dxs[k] + w) % w;
                nxs[k] = nx;
                nys[k] = ny;
                d[k] = level - (s.Rows[ny][nx] + p[at(nx, ny)]);
                if (d[k] > 0.0f)
                    sum += d[k];
            }
            if (sum > 0.0f) {
                n[at(x, y)] = n[at(x, y)] - delta;
                for (int32_t k = 0; k < 8; ++k)
                    if (d[k] > 0.0f)
                        n[at(nxs[k], nys[k])] = n[at(nxs[k], nys[k])] + delta * d[k] / sum;
                moved = true;
            }
        }
    p = n;
    return moved;
}

TEST(Lakes, RelaxationIsTheRulesBitForBit) {
    struct Case {
        const char* Name;
        bool Sheet;
        float Level;
        bool Spherical;
        bool Sinks;
    };
    const Case cases[] = {
        {"sheet, all edges sink", true, 10.0f, false, true},
        {"depth to a level, no sinks", false, 4.0f, false, false},
        {"spherical, sinks", true, 3.0f, true, true},
        {"spherical, closed", false, 6.0f, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Surface s;
        ASSERT_EQ(s.Resize(20, 13, 0), 0);
        test::FillBumpy(s);
        LakeFields f;
        f.Sheet = c.Sheet;
        f.InitialLevel = c.Level;
        f.Spherical = c.Spherical;
        f.WaterDelta = 0.7f;
        f.SinkTop = f.SinkLeft = f.SinkRight = f.SinkBottom = c.Sinks;
        LakeRelaxation lakes;
        ASSERT_TRUE(lakes.Start(s, f));
        std::vector<float> literal = lakes.Water();
        for (int32_t i = 0; i < 40; ++i) {
            float largest = -1.0f, literalLargest = -2.0f;
            const bool moved = lakes.Relax(largest);
            ASSERT_EQ(moved, LiteralRelax(s, literal, f.WaterDelta, c.Spherical, literalLargest));
            ASSERT_EQ(largest, literalLargest);
            ASSERT_EQ(lakes.Water(), literal) << "iteration " << i;
        }
    }
}

TEST(Lakes, BlocksAndThreadsGiveTheRulesBitForBit) {
    // Rows are handed out in blocks of 128: a block of one row, seams between blocks and dry
    // rows (water only in the hollows) must all give the rules' grid on one thread or two.
    struct Case {
        const char* Name;
        int32_t Width, Height;
        bool Sheet;
        float Level;
        int32_t Threads;
    };
    const Case cases[] = {
        {"one block, two threads", 12, 128, true, 10.0f, 2},
        {"last block one row, one thread", 8, 129, true, 10.0f, 1},
        {"last block one row, two threads", 8, 129, true, 10.0f, 2},
        {"three blocks, hollows only, two threads", 20, 301, false, 2.0f, 2},
        {"three rows, one interior", 16, 3, true, 5.0f, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Surface s;
        ASSERT_EQ(s.Resize(c.Width, c.Height, 0), 0);
        test::FillBumpy(s);
        LakeFields f;
        f.Sheet = c.Sheet;
        f.InitialLevel = c.Level;
        f.WaterDelta = 0.3f;
        f.SinkTop = f.SinkRight = true;
        LakeRelaxation lakes;
        lakes.SetThreads(c.Threads);
        ASSERT_TRUE(lakes.Start(s, f));
        std::vector<float> literal = lakes.Water();
        for (int32_t i = 0; i < 6; ++i) {
            float largest = -1.0f, literalLargest = -2.0f;
            const bool moved = lakes.Relax(largest);
            ASSERT_EQ(moved, LiteralRelax(s, literal, f.WaterDelta, false, literalLargest));
            ASSERT_EQ(largest, literalLargest);
            ASSERT_EQ(lakes.Water(), literal) << "iteration " << i;
        }
    }
}

TEST(Lakes, WaterPictureIndices) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    // At k = 236 the grey index is the depth itself, clamped to 10..235; k <= 0 draws 235 at or
    // above the threshold 1.5, else 0.
    const std::vector<float> water = {5.7f, 100.2f, 300.0f, LakeSinkWater, nan, 1.5f, 1.4f, 0.0f};
    struct Case {
        const char* Name;
        float K;
        std::vector<uint8_t> Indices;
        uint32_t Entry200;
    };
    const Case cases[] = {
        {"grey ramp", 236.0f, {10, 100, 235, 10, 10, 10, 10, 10}, 0xC8C8C8u},
        {"black and white", 0.0f, {235, 235, 235, 0, 0, 235, 0, 0}, 0xFFFFFFu},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Image picture;
        ASSERT_EQ(picture.Create(8, 1, 8), 0);
        DrawLakeWater(picture, water, 8, 1, c.K, 1.5f);
        for (int32_t x = 0; x < 8; ++x)
            EXPECT_EQ(picture.GetPixel(x, 0), c.Indices[static_cast<size_t>(x)]) << x;
        EXPECT_EQ(picture.Palette[200], c.Entry200);
        EXPECT_EQ(picture.Palette[100], c.K > 0 ? 0x646464u : 0u);
    }
}

struct LakeSession {
    test::RecordingHost Host;
    Workspace Ws{Host};
    Surface& S = Ws.TheSurface;
    LakeSession() {
        EXPECT_EQ(S.Resize(24, 16, 0), 0);
        test::FillBumpy(S);
        S.FindMinMax(S.Min, S.Max, Ws.TheProgress);
        S.Lighting.BitDepth = 8;
    }
};

TEST(Lakes, CommandKeepsTheElevationsAndMarksOnRequest) {
    for (const bool mark : {false, true}) {
        SCOPED_TRACE(mark ? "marked" : "water picture");
        LakeSession t;
        const std::vector<float> before(t.S.Rows[0], t.S.Rows[0] + 24 * 16);
        t.Host.Answers = {mark};
        LakeFields f;
        f.MaxIterations = 30;
        ASSERT_EQ(FindLakes(t.Ws, f), LakesDone);
        EXPECT_TRUE(std::equal(before.begin(), before.end(), t.S.Rows[0]));
        EXPECT_EQ(t.Host.Questions, std::vector<std::string>{"Add mask to texture map?"});
        EXPECT_FALSE(t.S.Texture.Stale());

        // The same water again, to know which cells hold the display threshold.
        LakeRelaxation lakes;
        ASSERT_TRUE(lakes.Start(t.S, f));
        float largest = 0.0f;
        for (int32_t i = 0; i < 30 && lakes.Relax(largest); ++i) {
        }
        const Image& picture = t.S.Texture.AsIs();
        int32_t deep = 0;
        for (int32_t y = 0; y < 16; ++y)
            for (int32_t x = 0; x < 24; ++x) {
                const float w = lakes.Water()[static_cast<size_t>(y * 24 + x)];
                const uint32_t index = picture.GetPixel(x, y);
                if (mark && w >= f.DisplayThreshold) {
                    ++deep;
                    ASSERT_EQ(index, 0u);
                }
                if (!mark) {
                    ASSERT_GE(index, 10u); // the grey ramp starts at 10
                }
            }
        if (mark) {
            EXPECT_GT(deep, 0);
        }
    }
}

TEST(Lakes, NoWaterDrawsOnePictureAndStops) {
    LakeSession t;
    t.Host.Answers = {false};
    LakeFields f;
    f.Sheet = false;
    f.InitialLevel = static_cast<float>(t.S.Min) - 1.0f;
    ASSERT_EQ(FindLakes(t.Ws, f), LakesDone);
    const Image& picture = t.S.Texture.AsIs();
    for (int32_t i = 0; i < 24 * 16; ++i)
        ASSERT_EQ(picture.GetPixel(i % 24, i / 24), 0u);
    EXPECT_EQ(picture.Palette[235], 0xFFFFFFu);
    EXPECT_EQ(t.Host.Invalidations, 1);
}

TEST(Lakes, LowerBoundsAreApplied) {
    LakeSession t;
    t.Host.Answers = {false};
    LakeFields f;
    f.MaxIterations = -5;
    f.WaterDelta = 0.0f;
    f.DisplayEvery = 0;
    f.DisplayThreshold = -1.0f;
    ASSERT_EQ(FindLakes(t.Ws, f), LakesDone);
    EXPECT_EQ(f.MaxIterations, 1);
    EXPECT_EQ(f.WaterDelta, 0.01f);
    EXPECT_EQ(f.DisplayEvery, 1);
    EXPECT_EQ(f.DisplayThreshold, 0.01f);
}

} // namespace
} // namespace korvel
