#include "core/histogram.h"

#include "core/progress.h"
#include "core/surface.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <limits>

namespace korvel {
namespace {

constexpr float Inf = std::numeric_limits<float>::infinity();
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();

Progress* Running = nullptr;
void PressEscape(int) {
    Running->CancelFlag = CancelKey;
}

struct HistogramTest : testing::Test {
    void SetUp() override {
        ASSERT_EQ(s.Resize(4, 4, 0), 0);
        const float samples[16] = {-0.5f, 0.0f, 1.99f, 2.0f, 5.0f, 9.99f, 10.0f,  100.0f,
                                   -100,  7.0f, 3.0f,  Inf,  -Inf, 1e30f, -1e30f, NaN};
        for (int i = 0; i < 16; ++i)
            s.Rows[i / 4][i % 4] = samples[i];
    }
    test::RecordingHost host;
    bool showTime = false;
    Progress progress{host, showTime};
    Surface s;
};

// The NaN sample is counted nowhere; without bins everything under lo is below, the rest above.
TEST_F(HistogramTest, CountsBinsBelowAndAbove) {
    const struct {
        double Lo, Hi;
        int32_t Count;
        std::vector<int64_t> Bins;
        int64_t Below, Above;
        bool Outputs;
    } cases[] = {
        {0.0, 10.0, 5, {2, 2, 1, 1, 1}, 4, 4, true}, {-1.0, 11.0, 3, {4, 2, 3}, 3, 3, true},
        {-1.0, 11.0, 3, {4, 2, 3}, -1, -1, false},   {5.0, 5.0, 3, {0, 0, 0}, 8, 7, true},
        {10.0, 0.0, 2, {0, 0}, 11, 4, true},         {0.0, 10.0, -4, {}, 4, 11, true},
    };
    progress.CancelFlag = CancelKey; // a key left from before must not stop a new histogram
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Lo << ".." << c.Hi << " in " << c.Count);
        std::vector<int64_t> bins(3, 99);
        int64_t below = -1, above = -1;
        EXPECT_EQ(ComputeHistogram(s, progress, bins, c.Count, c.Lo, c.Hi,
                                   c.Outputs ? &below : nullptr, c.Outputs ? &above : nullptr),
                  0);
        EXPECT_EQ(bins, c.Bins);
        EXPECT_EQ(below, c.Below);
        EXPECT_EQ(above, c.Above);
    }
    EXPECT_EQ(host.ProgressTexts.at(0), "Calculating histogram with 5 bins");
}

TEST_F(HistogramTest, EscapeCancels) {
    Running = &progress;
    host.OnPump = PressEscape;
    std::vector<int64_t> bins;
    int64_t below = -1;
    EXPECT_EQ(ComputeHistogram(s, progress, bins, 5, 0.0, 10.0, &below, nullptr), -1);
    EXPECT_EQ(below, -1);
    EXPECT_EQ(progress.CancelFlag.load(), 0);
}

} // namespace
} // namespace korvel
