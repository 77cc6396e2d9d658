#include "geo/angles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace korvel {
namespace {

struct WrapCase {
    const char* name;
    double degrees;
    double expected;
};

TEST(WrapLongitudeDegrees, LandsInOneTurn) {
    const WrapCase cases[] = {
        {"inside", 45.0, 45.0},
        {"one turn east", 370.0, 10.0},
        {"one turn west", -370.0, -10.0},
        {"many turns", 360.0 * 1e6 + 30.0, 30.0},
        {"just past the antimeridian", 181.0, -179.0},
        {"just before the antimeridian west", -181.0, 179.0},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(WrapLongitudeDegrees(c.degrees), c.expected, 1e-9) << c.name;
    }
}

TEST(WrapLongitude, RadiansAgreeWithDegrees) {
    for (double d : {-725.0, -180.5, 0.0, 179.5, 540.25}) {
        EXPECT_NEAR(WrapLongitude(d * DegreesToRadians), WrapLongitudeDegrees(d) * DegreesToRadians,
                    1e-12)
            << d;
    }
}

TEST(WrapLongitude, NotFiniteGivesNaN) {
    EXPECT_TRUE(std::isnan(WrapLongitude(std::numeric_limits<double>::infinity())));
    EXPECT_TRUE(std::isnan(WrapLongitude(std::numeric_limits<double>::quiet_NaN())));
}

} // namespace
} // namespace korvel
