#include "hydro/thermal_erosion.h"

#include "core/progress.h"
#include "core/surface.h"
#include "hydro/hydro_test_grids.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace korvel {
namespace {

const bool NoTimes = false;

class ThermalErosionTest : public ::testing::Test {
protected:
    test::RecordingHost host;
    Progress progress{host, NoTimes};
    Surface s;
};

// A 4 x 3 grid (the width is always a multiple of 4) with one peak of 10 at (1, 1), talus 1 and
// the whole excess allowed: a pair trades 1/16 of its excess over the talus, sqrt(2) for a
// diagonal pair. Worked by hand:
// peak: 10 - (4 (10 - 1) + 4 (10 - sqrt 2)) / 16 = 5.6035534; its edge neighbours 9/16 = 0.5625,
// its corner neighbours (10 - sqrt 2) / 16 = 0.5366117.
// With draining edges every border sample passes on what it gets, since the drop from the peak
// continues past it; (2, 1) is inside the map and keeps its share.
TEST_F(ThermalErosionTest, OneIterationOfAPeakWorkedByHand) {
    struct Case {
        std::string Name;
        bool Drain;
        std::vector<float> Expected; // row 0 first
    };
    const float e = 0.5625f, c = 0.53661165f;
    const Case cases[] = {
        {"closed edges", false, {c, e, c, 0, e, 5.6035534f, e, 0, c, e, c, 0}},
        {"draining edges", true, {0, 0, 0, 0, 0, 5.6035534f, e, 0, 0, 0, 0, 0}},
    };
    for (const Case& k : cases) {
        test::FillSurface(s, 4, 3,
                          [](int32_t x, int32_t y) { return x == 1 && y == 1 ? 10.f : 0.f; });
        ThermalErosionParams params;
        params.Iterations = 1;
        params.Talus = 1.0;
        params.Amount = 1.0;
        params.EdgesDrain = k.Drain;
        ASSERT_EQ(ThermalErode(s, progress, params), 0) << k.Name;
        const std::vector<float> got = test::Heights(s);
        for (size_t i = 0; i < got.size(); ++i)
            EXPECT_NEAR(got[i], k.Expected[i], 1e-6) << k.Name << " sample " << i;
    }
}

struct RestCase {
    std::string Name;
    int32_t Width;
    int32_t Height;
    uint32_t Seed;
    double Talus;
    double Amount;
};

// Closed edges keep the total through a few hundred iterations (the float rounding of each
// sample wanders on); after enough iterations no drop exceeds the talus.
TEST_F(ThermalErosionTest, ClosedEdgesKeepTheTotalAndTheSlopesComeToRest) {
    const RestCase cases[] = {
        {"rough 8 x 8", 8, 8, 1, 2.0, 1.0},
        {"rough 16 x 12, half steps", 16, 12, 2, 5.0, 0.5},
        {"wide 32 x 4", 32, 4, 3, 1.0, 0.8},
    };
    for (const RestCase& k : cases) {
        test::RandomSurface(s, k.Width, k.Height, k.Seed, 100.0f, 200.0f);
        const double before = test::Total(s);
        ThermalErosionParams params;
        params.Iterations = 300;
        params.Talus = k.Talus;
        params.Amount = k.Amount;
        ASSERT_EQ(ThermalErode(s, progress, params), 0) << k.Name;
        EXPECT_NEAR(test::Total(s), before, 1e-6 * before) << k.Name;
        params.Iterations = 20000;
        ASSERT_EQ(ThermalErode(s, progress, params), 0) << k.Name;
        double worst = 0.0; // the largest excess over the talus left anywhere
        for (int32_t y = 0; y < s.YSize; ++y)
            for (int32_t x = 0; x < s.XSize; ++x)
                for (int32_t dy = 0; dy <= 1; ++dy)
                    for (int32_t dx = -1; dx <= 1; ++dx) {
                        if ((dy == 0 && dx <= 0) || x + dx < 0 || x + dx >= s.XSize ||
                            y + dy >= s.YSize)
                            continue;
                        const double talus =
                            dx != 0 && dy != 0 ? k.Talus * std::sqrt(2.0) : k.Talus;
                        const double drop = std::fabs(s.Rows[y][x] - s.Rows[y + dy][x + dx]);
                        worst = std::max(worst, drop - talus);
                    }
        // Where the last fluxes into and out of a sample nearly cancel, float rounding of
        // heights near 200 stops the sample a few units in the last place short.
        EXPECT_LT(worst, 5e-3) << k.Name;
    }
}

TEST_F(ThermalErosionTest, DrainingEdgesLoseMaterialAndTheMaskLimitsTheChange) {
    // A ridge running out to the left and right edges.
    test::FillSurface(
        s, 16, 9,
        [](int32_t, int32_t y) { return 50.0f - 10.0f * static_cast<float>(std::abs(y - 4)); },
        Surface::SurfaceHasSelection);
    for (int32_t y = 0; y < s.YSize; ++y)
        std::fill_n(s.Mask.RowPointer(0, y), 8, uint8_t{255}); // the left half only
    const std::vector<float> before = test::Heights(s);
    ThermalErosionParams params;
    params.Iterations = 200;
    params.Talus = 2.0;
    params.EdgesDrain = true;
    ASSERT_EQ(ThermalErode(s, progress, params), 0);
    const std::vector<float> after = test::Heights(s);
    double lost = 0.0;
    for (size_t i = 0; i < after.size(); ++i) {
        if (i % 16 >= 8) {
            EXPECT_EQ(after[i], before[i]) << "unselected sample " << i;
        }
        lost += before[i] - after[i];
    }
    EXPECT_GT(lost, 1.0);
    EXPECT_LT(s.Rows[4][2], 50.0f); // the crest has come down
}

TEST_F(ThermalErosionTest, RefusesBadParametersAndStopsOnCancel) {
    test::RandomSurface(s, 8, 8, 4, 0.0f, 10.0f);
    const std::vector<float> before = test::Heights(s);
    ThermalErosionParams bad;
    bad.Amount = 1.5;
    EXPECT_EQ(ThermalErode(s, progress, bad), ThermalBadParameters);
    bad = {};
    bad.Talus = -1.0;
    EXPECT_EQ(ThermalErode(s, progress, bad), ThermalBadParameters);
    EXPECT_EQ(test::Heights(s), before);
    ThermalErosionParams one;
    one.Iterations = 1;
    ASSERT_EQ(ThermalErode(s, progress, one), 0);
    const std::vector<float> afterOne = test::Heights(s);
    test::RandomSurface(s, 8, 8, 4, 0.0f, 10.0f);
    host.OnPump = [this](int) { progress.CancelFlag = CancelKey; };
    EXPECT_EQ(ThermalErode(s, progress, {}), -1);
    EXPECT_EQ(test::Heights(s), afterOne); // cancelled after the first iteration
    EXPECT_EQ(progress.CancelFlag.load(), 0);
}

} // namespace
} // namespace korvel
