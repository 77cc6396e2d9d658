#include "edit/histogram.h"

#include "core/progress.h"
#include "core/surface.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <tuple>
#include <utility>

namespace korvel {
namespace {

constexpr float Inf = std::numeric_limits<float>::infinity();
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
const bool NoTimes = false;
// The NaN sample counts nowhere; without bins all under lo is below, the rest above. A sample
// equal to hi (10.0 in 0..10) closes the last bin rather than counting as above.
TEST(HistogramTest, CountsBinsBelowAndAboveAndCancels) {
    test::RecordingHost host;
    Progress progress{host, NoTimes};
    Surface s;
    ASSERT_EQ(s.Resize(4, 4, 0), 0);
    const float samples[16] = {-0.5f, 0.0f, 1.99f, 2.0f, 5.0f, 9.99f, 10.0f,  100.0f,
                               -100,  7.0f, 3.0f,  Inf,  -Inf, 1e30f, -1e30f, NaN};
    std::copy(samples, samples + 16, s.Rows[0]);
    const std::tuple<double, double, int32_t, std::vector<int64_t>, int64_t, int64_t, bool>
        cases[] = {
            {0.0, 10.0, 5, {2, 2, 1, 1, 2}, 4, 3, true}, {-1.0, 11.0, 3, {4, 2, 3}, 3, 3, true},
            {-1.0, 11.0, 3, {4, 2, 3}, -1, -1, false},   {5.0, 5.0, 3, {0, 0, 0}, 8, 7, true},
            {10.0, 0.0, 2, {0, 0}, 11, 4, true},         {0.0, 10.0, -4, {}, 4, 11, true},
        };
    progress.CancelFlag = CancelKey; // a key left from before must not stop a new histogram
    for (const auto& [lo, hi, count, want, wantBelow, wantAbove, outputs] : cases) {
        SCOPED_TRACE(testing::Message() << lo << ".." << hi << " in " << count);
        std::vector<int64_t> bins(3, 99);
        int64_t below = -1, above = -1;
        EXPECT_EQ(ComputeHistogram(s, progress, bins, count, lo, hi, outputs ? &below : nullptr,
                                   outputs ? &above : nullptr),
                  0);
        EXPECT_EQ(bins, want);
        EXPECT_EQ(std::pair(below, above), std::pair(wantBelow, wantAbove));
    }
    host.OnPump = test::CancelAtPump(progress, host.Pumps + 1);
    std::vector<int64_t> bins;
    EXPECT_EQ(ComputeHistogram(s, progress, bins, 5, 0.0, 10.0, nullptr, nullptr), -1); // Escape
}

} // namespace
} // namespace korvel
