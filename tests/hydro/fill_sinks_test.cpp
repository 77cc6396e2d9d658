#include "hydro/fill_sinks.h"

#include "core/progress.h"
#include "core/surface.h"
#include "hydro/hydro_test_grids.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <queue>
#include <string>
#include <utility>
#include <vector>

namespace korvel {
namespace {

const bool NoTimes = false;

// The plain Priority-Flood: a binary heap seeded with the border, each sample raised to the
// sample it was reached from when lower.
std::vector<float> PlainPriorityFlood(std::vector<float> h, int32_t w, int32_t rows) {
    using Item = std::pair<float, int32_t>;
    std::priority_queue<Item, std::vector<Item>, std::greater<>> open;
    std::vector<bool> done(h.size(), false);
    for (int32_t y = 0; y < rows; ++y)
        for (int32_t x = 0; x < w; ++x)
            if (x == 0 || y == 0 || x == w - 1 || y == rows - 1) {
                done[y * w + x] = true;
                open.push({h[y * w + x], y * w + x});
            }
    while (!open.empty()) {
        const int32_t c = open.top().second;
        open.pop();
        for (int32_t dy = -1; dy <= 1; ++dy)
            for (int32_t dx = -1; dx <= 1; ++dx) {
                const int32_t x = c % w + dx, y = c / w + dy;
                if (x < 0 || y < 0 || x >= w || y >= rows || done[y * w + x])
                    continue;
                done[y * w + x] = true;
                h[y * w + x] = std::max(h[y * w + x], h[c]);
                open.push({h[y * w + x], y * w + x});
            }
    }
    return h;
}

// Every interior sample has a neighbour no higher (strictly lower when strict).
bool EveryInteriorSampleDrains(const Surface& s, bool strict) {
    for (int32_t y = 1; y + 1 < s.YSize; ++y)
        for (int32_t x = 1; x + 1 < s.XSize; ++x) {
            bool drains = false;
            for (int32_t dy = -1; dy <= 1; ++dy)
                for (int32_t dx = -1; dx <= 1; ++dx) {
                    const float n = s.Rows[y + dy][x + dx];
                    if ((dx != 0 || dy != 0) && (strict ? n < s.Rows[y][x] : n <= s.Rows[y][x]))
                        drains = true;
                }
            if (!drains)
                return false;
        }
    return true;
}

class FillSinksTest : public ::testing::Test {
protected:
    test::RecordingHost host;
    Progress progress{host, NoTimes};
    Surface s;
};

// A pit of 2 ringed by 8 inside a rim of 10 broken by one outlet of 6: the pit fills to the
// ring (its lowest way out), the ring stays since it spills through the outlet.
TEST_F(FillSinksTest, APitFillsToItsSpillHeight) {
    const std::vector<float> start{
        10, 10, 10, 10, //
        10, 8,  8,  10, //
        10, 2,  8,  6,  //
        10, 8,  8,  10, //
        10, 10, 10, 10,
    };
    test::FillSurface(s, 4, 5, [&](int32_t x, int32_t y) { return start[y * 4 + x]; });
    ASSERT_EQ(FillSinks(s, progress, {}), 0);
    std::vector<float> expected = start;
    expected[9] = 8;
    EXPECT_EQ(test::Heights(s), expected);
    EXPECT_EQ(s.Min, 6.0);
}

TEST_F(FillSinksTest, RandomGridsMatchAPlainPriorityFlood) {
    struct Case {
        std::string Name;
        int32_t Width;
        int32_t Height;
        uint32_t Seed;
    };
    const Case cases[] = {
        {"4 x 4", 4, 4, 1},     {"8 x 3", 8, 3, 2},       {"20 x 17", 20, 17, 3},
        {"64 x 64", 64, 64, 4}, {"128 x 40", 128, 40, 5},
    };
    for (const Case& k : cases) {
        test::RandomSurface(s, k.Width, k.Height, k.Seed, -5.0f, 5.0f);
        const std::vector<float> before = test::Heights(s);
        const std::vector<float> expected = PlainPriorityFlood(before, k.Width, k.Height);
        ASSERT_EQ(FillSinks(s, progress, {}), 0) << k.Name;
        const std::vector<float> after = test::Heights(s);
        EXPECT_EQ(after, expected) << k.Name;
        for (size_t i = 0; i < after.size(); ++i)
            ASSERT_GE(after[i], before[i]) << k.Name << " sample " << i;
        EXPECT_TRUE(EveryInteriorSampleDrains(s, false)) << k.Name;

        test::RandomSurface(s, k.Width, k.Height, k.Seed, -5.0f, 5.0f);
        ASSERT_EQ(FillSinks(s, progress, {true}), 0) << k.Name;
        EXPECT_TRUE(EveryInteriorSampleDrains(s, true)) << k.Name << " draining flats";
        const std::vector<float> drained = test::Heights(s);
        for (size_t i = 0; i < drained.size(); ++i)
            ASSERT_GE(drained[i], expected[i]) << k.Name << " sample " << i;
    }
}

TEST_F(FillSinksTest, GroundThatAlreadyDrainsIsUntouched) {
    struct Case {
        std::string Name;
        float (*H)(int32_t, int32_t);
    };
    const Case cases[] = {
        {"tilted plane",
         [](int32_t x, int32_t y) {
             return 0.5f * static_cast<float>(x) + 0.25f * static_cast<float>(y);
         }},
        {"bowl open at its rim",
         [](int32_t x, int32_t y) {
             return -static_cast<float>((x - 8) * (x - 8) + (y - 6) * (y - 6));
         }},
        {"valley to the edge",
         [](int32_t x, int32_t y) { return static_cast<float>(std::abs(x - 7) * 3 + y); }},
    };
    for (const Case& k : cases) {
        for (const bool drainFlats : {false, true}) {
            test::FillSurface(s, 16, 12, k.H);
            const std::vector<float> before = test::Heights(s);
            ASSERT_EQ(FillSinks(s, progress, {drainFlats}), 0) << k.Name;
            EXPECT_EQ(test::Heights(s), before) << k.Name << (drainFlats ? " draining flats" : "");
        }
    }
}

TEST_F(FillSinksTest, TheMaskWeightsTheFill) {
    // A pit of 0 in a plateau of 4 at (1, 1) and (2, 1): one fully selected, one half.
    test::FillSurface(
        s, 4, 3, [](int32_t x, int32_t y) { return y == 1 && (x == 1 || x == 2) ? 0.f : 4.f; },
        Surface::SurfaceHasSelection);
    *s.Mask.RowPointer(1, 1) = 255;
    *s.Mask.RowPointer(2, 1) = 128;
    ASSERT_EQ(FillSinks(s, progress, {}), 0);
    EXPECT_EQ(s.Rows[1][1], 4.0f);
    EXPECT_NEAR(s.Rows[1][2], 4.0 * 128 / 255, 1e-5);
}

} // namespace
} // namespace korvel
