#include "core/dialog_fields.h"
#include "geo/angles.h"
#include "geo/ellipsoids.h"
#include "geo/geoid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace korvel {
namespace {

struct DatumCase {
    const char* name;
    int32_t index;
    double a;
    double inverseFlattening; // as the datum defines it
};

// a and 1/f as published with each datum (Clarke 1866 is defined by a and b; its 1/f is
// a / (a - b) = 294.9786982).
TEST(Ellipsoids, AxesMatchThePublishedDefinitions) {
    const DatumCase cases[] = {
        {"Clarke 1866", 0, 6378206.4, 294.9786982},
        {"Bessel 1841", 1, 6377397.155, 299.1528128},
        {"International 1924", 2, 6378388.0, 297.0},
        {"WGS 60", 3, 6378165.0, 298.3},
        {"WGS 66", 4, 6378145.0, 298.25},
        {"WGS 72", 5, 6378135.0, 298.26},
        {"GRS 80", 6, 6378137.0, 298.257222101},
        {"NAD 83 on GRS 80", 7, 6378137.0, 298.257222101},
        {"WGS 84", 8, 6378137.0, 298.257223563},
    };
    for (const auto& c : cases) {
        EllipsoidAxes axes;
        ASSERT_EQ(LookUpEllipsoid(c.index, axes), 0) << c.name;
        EXPECT_EQ(axes.A, c.a) << c.name;
        EXPECT_NEAR(axes.A / (axes.A - axes.B), c.inverseFlattening, 1e-6) << c.name;
    }
}

TEST(Ellipsoids, Wgs84EccentricitiesFromItsAxes) {
    EllipsoidAxes axes;
    ASSERT_EQ(LookUpEllipsoid(Wgs84Ellipsoid, axes), 0);
    EXPECT_NEAR(axes.E1Squared, 0.00669437999014133, 1e-16);
    EXPECT_NEAR(axes.E2Squared, 0.006739496742276252, 1e-16);
}

TEST(Ellipsoids, Nad83IsGrs80) {
    EllipsoidAxes nad, grs;
    LookUpEllipsoid(7, nad);
    LookUpEllipsoid(6, grs);
    EXPECT_EQ(nad.A, grs.A);
    EXPECT_EQ(nad.B, grs.B);
}

TEST(Ellipsoids, IndicesOutsideTheTableGiveNoAxes) {
    for (int32_t index : {-1, UserEllipsoid, 10, std::numeric_limits<int32_t>::max()}) {
        EllipsoidAxes axes{1.0, 1.0, 1.0, 1.0};
        EXPECT_EQ(LookUpEllipsoid(index, axes), -1) << index;
        EXPECT_EQ(axes.A, 0.0) << index;
        EXPECT_EQ(axes.B, 0.0) << index;
    }
}

TEST(Ellipsoids, Names) {
    EXPECT_EQ(EllipsoidName(0), "NAD-27/Clarke 1866");
    EXPECT_EQ(EllipsoidName(8), "WGS-84");
    EXPECT_EQ(EllipsoidName(9), "User Model");
    EXPECT_EQ(EllipsoidName(12), "Unknown: 12");
    EXPECT_EQ(EllipsoidName(-3), "Unknown: -3");
}

struct UserAxesCase {
    const char* name;
    double a;
    double b;
    bool accepted;
};

TEST(Geoid, UserModelRefusesAxesThatAreNotLengths) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const UserAxesCase cases[] = {
        {"a sphere", 6371000.0, 6371000.0, true},  {"flattened", 6400000.0, 6300000.0, true},
        {"zero a", 0.0, 6300000.0, false},         {"negative b", 6400000.0, -1.0, false},
        {"infinite a", inf, 6300000.0, false},     {"NaN b", 6400000.0, nan, false},
        {"ratio overflows", 1e300, 1e-300, false},
    };
    for (const auto& c : cases) {
        Geoid g;
        const int32_t code = g.SetUser(c.a, c.b);
        EXPECT_EQ(code == 0, c.accepted) << c.name;
        if (c.accepted) {
            EXPECT_EQ(g.Model(), UserEllipsoid) << c.name;
            EXPECT_NEAR(g.Axes().E1Squared, 1.0 - (c.b / c.a) * (c.b / c.a), 1e-15) << c.name;
            EXPECT_NEAR(g.Axes().E2Squared, (c.a / c.b) * (c.a / c.b) - 1.0, 1e-15) << c.name;
        } else {
            // Unchanged: still WGS-84.
            EXPECT_EQ(g.Model(), Wgs84Ellipsoid) << c.name;
            EXPECT_EQ(g.Axes().A, 6378137.0) << c.name;
        }
    }
}

TEST(Geoid, UnknownModelLeavesTheRecord) {
    Geoid g;
    ASSERT_EQ(g.SetModel(1), 0);
    EXPECT_EQ(g.SetModel(10), -1);
    EXPECT_EQ(g.SetModel(-1), -1);
    EXPECT_EQ(g.Model(), 1);
    EXPECT_EQ(g.Axes().A, 6377397.155);
}

TEST(Geoid, FieldsChooseTheModel) {
    Geoid g;
    GeoidFields user{UserEllipsoid, 6371000.0, 6371000.0};
    ASSERT_EQ(ApplyGeoidModel(user, g), 0);
    EXPECT_EQ(g.Axes().E1Squared, 0.0);
    GeoidFields bad{UserEllipsoid, -5.0, 6371000.0};
    EXPECT_EQ(ApplyGeoidModel(bad, g), -1);
    EXPECT_EQ(g.Axes().A, 6371000.0);
    EXPECT_NE(DescribeGeoidRefusal(bad).find("a = -5"), std::string::npos);
}

struct LocalCase {
    const char* name;
    int32_t model;
    double lat0, lon0, h0; // the reference point, degrees and metres
    double lat, lon, h;
    double east, north, up;
};

// East-north-up from PROJ:
//   echo LON LAT H | cct -d 6 +proj=pipeline +step +proj=cart +ellps=E
//       +step +proj=topocentric +ellps=E +lon_0=LON0 +lat_0=LAT0 +h_0=H0
TEST(Geoid, LocalFrameMatchesProjTopocentric) {
    const LocalCase cases[] = {
        {"WGS-84 north-east", 8, 45, 10, 0, 45.2, 10.5, 0, 39285.525880, 22347.910987, -160.002970},
        {"WGS-84 reference itself", 8, 45, 10, 0, 45, 10, 0, 0, 0, 0},
        {"WGS-84 both above the ellipsoid", 8, 45, 10, 20, 46, 11, 500, 77465.428114, 111622.657693,
         -967.998717},
        {"GRS-80 south-west", 6, -33.9, 151.2, 0, -35, 150, 0, -109537.795057, -122655.911631,
         -2123.464649},
        {"Clarke 1866", 0, 40, -100, 0, 41, -99, 0, 84133.177870, 111508.707626, -1531.475955},
        {"Bessel 1841", 1, 52, 13, 0, 52.5, 13.25, 0, 16975.427806, 55658.144684, -265.532945},
        {"International", 2, 52, 13, 0, 51.5, 12, 0, -69440.327869, -55155.127207, -615.830069},
    };
    for (const auto& c : cases) {
        Geoid g;
        ASSERT_EQ(g.SetModel(c.model), 0) << c.name;
        g.SetReference(c.lat0 * DegreesToRadians, c.lon0 * DegreesToRadians, c.h0);
        const EastNorthUp local =
            g.ToLocal(g.ToCartesian(c.lat * DegreesToRadians, c.lon * DegreesToRadians, c.h));
        EXPECT_NEAR(local.East, c.east, 1e-6) << c.name;
        EXPECT_NEAR(local.North, c.north, 1e-6) << c.name;
        EXPECT_NEAR(local.Up, c.up, 1e-6) << c.name;
    }
}

} // namespace
} // namespace korvel
