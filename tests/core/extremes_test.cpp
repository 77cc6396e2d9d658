#include "core/extremes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace korvel {
namespace {

// Rows long enough to run through the vector lanes and the scalar tail.
TEST(Extremes, LanesAndSamplesAgree) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        const char* Name;
        std::vector<float> Row;
        float Lo;
        float Hi;
    } cases[] = {
        {"lowest in the tail",
         {5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, -3},
         -3,
         20},
        {"highest in the second vector",
         {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 42, 0, 0, 0, 0},
         0,
         42},
        {"NaN is passed over",
         {nan, 2, nan, 1, nan, nan, nan, nan, nan, nan, nan, nan, nan, nan, nan, nan, nan, 4},
         1,
         4},
        {"infinities count", {1, -INFINITY, 2, INFINITY}, -INFINITY, INFINITY},
    };
    for (const auto& c : cases) {
        const auto width = static_cast<int32_t>(c.Row.size());
        Extremes lanes;
        lanes.AddRow(c.Row.data(), width);
        Extremes each;
        each.AddEach(c.Row.data(), width);
        EXPECT_EQ(lanes.Lo, c.Lo) << c.Name;
        EXPECT_EQ(lanes.Hi, c.Hi) << c.Name;
        EXPECT_EQ(each.Lo, c.Lo) << c.Name;
        EXPECT_EQ(each.Hi, c.Hi) << c.Name;
    }
}

TEST(Extremes, NothingAddedLeavesTheRecordStanding) {
    Surface s;
    s.Min = -5;
    s.Max = 5;
    Extremes e;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    e.AddEach(&nan, 1);
    EXPECT_FALSE(e.Any());
    e.StoreIn(s);
    EXPECT_EQ(s.Min, -5);
    EXPECT_EQ(s.Max, 5);
    e.Add(2.5f);
    e.StoreIn(s);
    EXPECT_EQ(s.Min, 2.5);
    EXPECT_EQ(s.Max, 2.5);
}

} // namespace
} // namespace korvel
