#include "hydro/flow_accumulation.h"

#include "core/progress.h"
#include "core/surface.h"
#include "hydro/hydro_test_grids.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

namespace korvel {
namespace {

const bool NoTimes = false;

class FlowAccumulationTest : public ::testing::Test {
protected:
    FlowGrid Flow(FlowMethod method) {
        FlowGrid flow;
        EXPECT_EQ(AccumulateFlow(s, progress, method, flow), 0);
        EXPECT_EQ(flow.Width, s.XSize);
        EXPECT_EQ(flow.Height, s.YSize);
        return flow;
    }

    test::RecordingHost host;
    Progress progress{host, NoTimes};
    Surface s;
};

struct HandCase {
    std::string Name;
    int32_t Width;
    int32_t Height;
    std::vector<float> Heights; // row 0 first
    FlowMethod Method;
    std::vector<float> Expected;
};

// Worked by hand. The 4 x 2 slope: (1, 0) takes (0, 0) and the diagonal (0, 1), whose drop of 2
// over sqrt 2 beats 1 straight down; (2, 0) takes (1, 0) and (1, 1) by the same rule; the
// corner (3, 0) takes everything. A single row leaves no choice, so both methods agree.
TEST_F(FlowAccumulationTest, HandWorkedGrids) {
    const std::vector<float> slope{4, 3, 2, 1, 5, 4, 3, 2};
    const HandCase cases[] = {
        {"D8 slope", 4, 2, slope, FlowD8, {1, 3, 5, 8, 1, 1, 1, 1}},
        {"D8 single row", 4, 1, {4, 3, 2, 1}, FlowD8, {1, 2, 3, 4}},
        {"multiple single row", 4, 1, {4, 3, 2, 1}, FlowMultiple, {1, 2, 3, 4}},
        {"D8 two valleys", 4, 1, {1, 3, 3, 1}, FlowD8, {2, 1, 1, 2}},
        {"level ground", 4, 2, {2, 2, 2, 2, 2, 2, 2, 2}, FlowD8, std::vector<float>(8, 1.0f)},
    };
    for (const HandCase& k : cases) {
        test::FillSurface(s, k.Width, k.Height,
                          [&](int32_t x, int32_t y) { return k.Heights[y * k.Width + x]; });
        EXPECT_EQ(Flow(k.Method).Values, k.Expected) << k.Name;
    }
}

// A grid kept from an earlier run is written over: the same number of samples in another shape,
// or another number, gives the hand-worked slope and its size.
TEST_F(FlowAccumulationTest, EarlierGridsAreReplaced) {
    struct Case {
        std::string Name;
        FlowGrid Earlier;
    };
    const Case cases[] = {
        {"same count, other shape", {2, 4, std::vector<float>(8, 7.0f)}},
        {"other count", {3, 1, std::vector<float>(3, 7.0f)}},
        {"empty", {}},
    };
    const std::vector<float> slope{4, 3, 2, 1, 5, 4, 3, 2};
    test::FillSurface(s, 4, 2, [&](int32_t x, int32_t y) { return slope[y * 4 + x]; });
    for (const Case& c : cases) {
        FlowGrid flow = c.Earlier;
        ASSERT_EQ(AccumulateFlow(s, progress, FlowD8, flow), 0) << c.Name;
        EXPECT_EQ(flow.Width, 4) << c.Name;
        EXPECT_EQ(flow.Height, 2) << c.Name;
        EXPECT_EQ(flow.Values, (std::vector<float>{1, 3, 5, 8, 1, 1, 1, 1})) << c.Name;
    }
}

// The D8 flow of each outlet counts the samples whose steepest way down ends there, followed
// sample by sample here.
TEST_F(FlowAccumulationTest, D8OutletsCollectEverySampleDrainingToThem) {
    for (const uint32_t seed : {1u, 2u, 3u}) {
        test::RandomSurface(s, 40, 30, seed, 0.0f, 100.0f);
        const FlowGrid flow = Flow(FlowD8);
        const auto next = [&](int32_t i) {
            const int32_t x = i % 40, y = i / 40;
            int32_t best = -1;
            double steepest = 0.0;
            for (int32_t dy = -1; dy <= 1; ++dy)
                for (int32_t dx = -1; dx <= 1; ++dx) {
                    if ((dx == 0 && dy == 0) || x + dx < 0 || x + dx >= 40 || y + dy < 0 ||
                        y + dy >= 30)
                        continue;
                    const double slope = (s.Rows[y][x] - s.Rows[y + dy][x + dx]) /
                                         std::hypot(static_cast<double>(dx), dy);
                    if (slope > steepest)
                        steepest = slope, best = (y + dy) * 40 + x + dx;
                }
            return best;
        };
        std::map<int32_t, int32_t> drained;
        for (int32_t i = 0; i < 40 * 30; ++i) {
            int32_t c = i;
            while (next(c) >= 0)
                c = next(c);
            ++drained[c];
        }
        double total = 0.0;
        for (const auto& [outlet, count] : drained) {
            EXPECT_EQ(flow.Values[outlet], static_cast<float>(count)) << "seed " << seed;
            total += flow.Values[outlet];
        }
        EXPECT_EQ(total, 40.0 * 30.0);
    }
}

// With shares every outlet still receives, in all, one sample's worth from each sample.
TEST_F(FlowAccumulationTest, MultipleDirectionsConserveTheWater) {
    test::RandomSurface(s, 48, 36, 9, 0.0f, 100.0f);
    const FlowGrid flow = Flow(FlowMultiple);
    double atOutlets = 0.0;
    for (int32_t y = 0; y < s.YSize; ++y)
        for (int32_t x = 0; x < s.XSize; ++x) {
            bool lowerNeighbour = false;
            for (int32_t dy = -1; dy <= 1; ++dy)
                for (int32_t dx = -1; dx <= 1; ++dx)
                    if (x + dx >= 0 && x + dx < s.XSize && y + dy >= 0 && y + dy < s.YSize &&
                        s.Rows[y + dy][x + dx] < s.Rows[y][x])
                        lowerNeighbour = true;
            const float f = flow.Values[static_cast<size_t>(y) * s.XSize + x];
            EXPECT_GE(f, 1.0f);
            if (!lowerNeighbour)
                atOutlets += f;
        }
    EXPECT_NEAR(atOutlets, 48.0 * 36.0, 1e-3);
}

TEST_F(FlowAccumulationTest, SelectingWhereFlowExceedsAThreshold) {
    test::FillSurface(
        s, 4, 1, [](int32_t x, int32_t) { return 4.0f - static_cast<float>(x); },
        Surface::SurfaceHasSelection);
    const FlowGrid flow = Flow(FlowD8); // 1 2 3 4
    struct Case {
        std::string Name;
        double Threshold;
        int32_t Operation;
        std::vector<uint8_t> Start;
        std::vector<uint8_t> Expected;
    };
    const Case cases[] = {
        {"replace", 2.5, SelectionReplace, {255, 255, 0, 0}, {0, 0, 255, 255}},
        {"add", 3.5, SelectionAdd, {255, 0, 0, 0}, {255, 0, 0, 255}},
        {"subtract", 1.5, SelectionSubtract, {255, 255, 255, 255}, {255, 0, 0, 0}},
    };
    for (const Case& k : cases) {
        std::copy(k.Start.begin(), k.Start.end(), s.Mask.RowPointer(0, 0));
        ASSERT_EQ(SelectWhereFlowExceeds(s, flow, k.Threshold, k.Operation), 0) << k.Name;
        EXPECT_EQ(std::vector<uint8_t>(s.Mask.RowPointer(0, 0), s.Mask.RowPointer(4, 0)),
                  k.Expected)
            << k.Name;
    }
    FlowGrid other = flow;
    other.Width = 8;
    EXPECT_EQ(SelectWhereFlowExceeds(s, other, 1.0, SelectionReplace), -1);
}

} // namespace
} // namespace korvel
