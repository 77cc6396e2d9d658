#include "edit/point_operations.h"

#include "core/progress.h"
#include "core/surface.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <functional>
#include <utility>

namespace korvel {
namespace {

using Samples = std::array<float, 4>;

struct Trial {
    test::RecordingHost Host;
    bool ShowTime = false;
    Progress P{Host, ShowTime};
    Surface S;

    // One row of four samples with their extremes; a mask of maskByte when not -1.
    Trial(const Samples& samples, int32_t maskByte = -1) {
        const int32_t flags = maskByte < 0 ? 0 : Surface::SurfaceHasSelection;
        EXPECT_EQ(S.Resize(4, 1, flags), 0);
        std::copy(samples.begin(), samples.end(), S.Rows[0]);
        const auto [lo, hi] = std::ranges::minmax(samples);
        S.Min = lo, S.Max = hi;
        for (int32_t x = 0; maskByte >= 0 && x < 4; ++x)
            *S.Mask.RowPointer(x, 0) = static_cast<uint8_t>(maskByte);
    }
};

struct Case {
    Samples In;
    std::function<int32_t(Surface&, Progress&)> Op;
    Samples Out;
    int32_t Code = 0;
    bool Quiet = false; // returns early, without a progress window
};

#define OP(call) [](Surface& s, Progress& p) { return call; }

TEST(PointOperationsTest, NewValuesAndExtremes) {
    const float r = std::sqrt(0.5f), sea = 1 - 4 * std::sqrt(0.75f);
    const Case cases[] = {
        {{-5, 0.5f, 7, 0}, OP(ClipHeights(s, p, -1, 1)), {-1, 0.5f, 1, 0}},
        {{-5, 0.5f, 7, 0}, OP(ClipHeights(s, p, 2, 1)), {1, 1, 1, 1}},
        {{14.9f, 15, -15, -4}, OP(ThresholdHeights(s, p, 10)), {10, 20, -20, 0}},
        {{0, 10, 3, 6}, OP(ThresholdLevels(s, p, 4)), {0, 10, 2.5f, 5}},
        {{-3, 1.5f, 4, 0.5f}, OP(ScaleHeightsBroken(s, p, 2, 3, 1, true)), {-9, 3, 8, 1.5f}},
        {{2, 4, 6, 3}, OP(ApplyMapScale(s, p, 2, 10, 9, 0, true)), {0, 5, 10, 2.5f}},
        {{2, 4, 6, 3}, OP(ApplyMapScale(s, p, 7, 2, 9, 9, false)), {4, 8, 12, 6}, 0, true},
        {{94.9f, 95, 105, 105.1f}, OP(ReplaceHeights(s, p, 100, -5, 0)), {94.9f, 0, 0, 105.1f}},
        {{3, -4, 0.00005f, -0.5f}, OP(RaiseHeights(s, p, 2, 0.5, false, 0)), {9, -2, 0.00005f, -r}},
        // Sea level 1 between Min -3 and Max 5: both sides span 4.
        {{5, -3, 3, -2}, OP(RaiseHeights(s, p, 2, 0.5, true, 1)), {5, -3, 2, sea}},
        // Sea level at an out-of-date Min of -3: no sea to normalise, so -4 stays.
        {{-4, 5, 1, -3}, OP((s.Min = -3, RaiseHeights(s, p, 2, 0.5, true, -3))), {-4, 5, -1, -3}},
        // Sea level at Max: no land to normalise, so the samples there stay.
        {{-3, 5, 1, 5}, OP(RaiseHeights(s, p, 2, 0.5, true, 5)), {-3, 5, 5 - 8 * r, 5}},
        {{1, 2, 3, 4}, OP(OffsetHeights(s, p, 5e-7)), {1, 2, 3, 4}, 0, true},
        {{1, 2, 3, 4}, OP(ThresholdHeights(s, p, HUGE_VAL)), {1, 2, 3, 4}, 0, true},
        {{1, 2, 3, 4}, OP(ThresholdLevels(s, p, 0)), {1, 2, 3, 4}, -3, true},
        {{1, 2, 3, 4}, OP(ScaleHeightsBroken(s, p, 1.0000005, 1, 3, true)), {1, 2, 3, 4}, 0, true},
        {{2, 2, 2, 2}, OP(ScaleHeightsToRange(s, p, 0, 1, true)), {2, 2, 2, 2}, -2, true},
    };
    for (const Case& c : cases)
        for (const int32_t mask : {-1, 255}) { // a full mask gives the plain result
            SCOPED_TRACE(testing::Message() << "case " << &c - cases << " mask " << mask);
            Trial run(c.In, mask);
            EXPECT_EQ(c.Op(run.S, run.P), c.Code);
            for (int32_t x = 0; x < 4; ++x)
                EXPECT_FLOAT_EQ(run.S.Rows[0][x], c.Out[x]) << x;
            const auto [lo, hi] = std::ranges::minmax(c.Out);
            EXPECT_EQ(std::pair(run.S.Min, run.S.Max), std::pair(double{lo}, double{hi}));
            EXPECT_EQ(run.Host.ProgressTexts.empty(), c.Quiet);
        }
}

TEST(PointOperationsTest, MaskBlendsAndCountsSelectedSamplesOnly) {
    Trial run({1, 2, 3, 4}, 0);
    ASSERT_EQ(run.S.ResizeKeep(8, 6, -1), 0); // the mask stays 4 x 4
    run.S.Rows[0][0] = std::bit_cast<float>(0x7fc01234u);
    run.S.Rows[5][5] = -50;
    const uint8_t bytes[] = {0, 128, 255, 255};
    std::copy_n(bytes, 4, run.S.Mask.RowPointer(0, 0));
    EXPECT_EQ(OffsetHeights(run.S, run.P, 10), 0);
    EXPECT_EQ(std::bit_cast<uint32_t>(run.S.Rows[0][0]), 0x7fc01234u);
    const float half = run.S.Rows[0][1];
    EXPECT_NEAR(half, 2.0 + 10.0 * 128 / 255, 1e-5);
    EXPECT_EQ(run.S.Rows[5][5], -50.0f); // beyond the mask: not selected
    EXPECT_EQ(std::pair(run.S.Min, run.S.Max), std::pair(double{half}, 14.0));
}

// Escape stops after the first row; the extremes stay those of the unchanged samples.
TEST(PointOperationsTest, EscapeKeepsFinishedRowsAndExtremes) {
    Trial run({2, 2, 2, 2});
    ASSERT_EQ(run.S.ResizeKeep(4, 20, -1), 0);
    std::fill_n(run.S.Rows[0], 80, 2.0f);
    run.Host.OnPump = test::CancelAtPump(run.P, run.Host.Pumps + 1);
    EXPECT_EQ(OffsetHeights(run.S, run.P, 2), -1);
    for (int32_t y = 0; y < 20; ++y)
        EXPECT_EQ(run.S.Rows[y][3], y < 1 ? 4.0f : 2.0f) << y;
    EXPECT_EQ(run.S.Max, 2.0);
}

} // namespace
} // namespace korvel
