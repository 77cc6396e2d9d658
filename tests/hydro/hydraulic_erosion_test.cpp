#include "hydro/hydraulic_erosion.h"

#include "core/progress.h"
#include "core/surface.h"
#include "hydro/hydro_test_grids.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace korvel {
namespace {

const bool NoTimes = false;

// A cone whose peak stands at (70, 128) on the western wall of a straight V valley with its
// level floor along x = 190.
float ConeAndValley(int32_t x, int32_t y) {
    const double cone = std::max(0.0, 50.0 - 0.6 * std::hypot(x - 70.0, y - 128.0));
    return static_cast<float>(0.25 * std::fabs(x - 190.0) + cone);
}

// Rolling hills with no two samples alike.
float Hills(int32_t x, int32_t y) {
    return static_cast<float>(20.0 * std::sin(x * 0.05) * std::cos(y * 0.07) + 0.01 * x);
}

class HydraulicErosionTest : public ::testing::Test {
protected:
    std::vector<float> Eroded(int32_t threads, int32_t seed) {
        test::FillSurface(s, 300, 260, Hills);
        HydraulicFields params;
        params.Droplets = 30000;
        params.Seed = seed;
        EXPECT_EQ(HydraulicErode(s, progress, params, threads), 0);
        return test::Heights(s);
    }

    test::RecordingHost host;
    Progress progress{host, NoTimes};
    Surface s;
};

TEST_F(HydraulicErosionTest, AFixedSeedGivesTheSameBitsForAnyNumberOfThreads) {
    const std::vector<float> first = Eroded(1, 7);
    struct Case {
        std::string Name;
        int32_t Threads;
    };
    for (const Case& k :
         {Case{"one thread again", 1}, Case{"two threads", 2}, Case{"three threads", 3}}) {
        const std::vector<float> again = Eroded(k.Threads, 7);
        ASSERT_EQ(again.size(), first.size());
        EXPECT_EQ(std::memcmp(again.data(), first.data(), first.size() * sizeof(float)), 0)
            << k.Name;
    }
    test::FillSurface(s, 300, 260, Hills);
    EXPECT_NE(Eroded(2, 8), first) << "another seed";
    EXPECT_NE(first, test::Heights(s)) << "nothing eroded";
}

TEST_F(HydraulicErosionTest, LowersTheConeAndFillsTheValley) {
    test::FillSurface(s, 256, 256, ConeAndValley);
    const std::vector<float> before = test::Heights(s);
    HydraulicFields params;
    params.Droplets = 60000;
    ASSERT_EQ(HydraulicErode(s, progress, params), 0);
    const std::vector<float> after = test::Heights(s);
    // The mean change near the summit, and along the valley floor away from the map's edges.
    const auto meanChange = [&](auto inside) {
        double sum = 0.0;
        int32_t n = 0;
        for (int32_t y = 0; y < 256; ++y)
            for (int32_t x = 0; x < 256; ++x)
                if (inside(x, y)) {
                    const size_t i = static_cast<size_t>(y) * 256 + x;
                    sum += after[i] - before[i];
                    ++n;
                }
        return sum / n;
    };
    const double summit =
        meanChange([](int32_t x, int32_t y) { return std::hypot(x - 80.0, y - 128.0) < 40.0; });
    const double floor = meanChange(
        [](int32_t x, int32_t y) { return std::abs(x - 190) <= 2 && y > 20 && y < 236; });
    EXPECT_LT(summit, -0.01);
    EXPECT_GT(floor, 0.01);
    EXPECT_LT(s.Rows[128][70], before[128 * 256 + 70]); // the very top wore down too
}

TEST_F(HydraulicErosionTest, RefusesBadParametersAndLeavesLevelGroundAlone) {
    test::FillSurface(s, 64, 64, Hills);
    const std::vector<float> before = test::Heights(s);
    struct Case {
        std::string Name;
        HydraulicFields Params;
    };
    std::vector<Case> cases(4);
    cases[0] = {"radius 0", {}};
    cases[0].Params.Radius = 0;
    cases[1] = {"radius 17", {}};
    cases[1].Params.Radius = 17;
    cases[2] = {"inertia above 1", {}};
    cases[2].Params.Inertia = 1.5;
    cases[3] = {"negative drops", {}};
    cases[3].Params.Droplets = -1;
    for (const Case& k : cases)
        EXPECT_EQ(HydraulicErode(s, progress, k.Params), HydraulicBadParameters) << k.Name;
    EXPECT_EQ(test::Heights(s), before);
    test::FillSurface(s, 64, 64, [](int32_t, int32_t) { return 3.0f; });
    EXPECT_EQ(HydraulicErode(s, progress, {}), 0);
    EXPECT_EQ(test::Heights(s), std::vector<float>(64 * 64, 3.0f));
}

} // namespace
} // namespace korvel
