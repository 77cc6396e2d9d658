#include "geo/angles.h"
#include "geo/projection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace korvel {
namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

std::unique_ptr<Projection> Make(int32_t index, double lat0 = 0.0, double lon0 = 0.0,
                                 double lat1 = 30.0, double lat2 = 60.0) {
    auto p = CreateProjection(index);
    p->Init(lat0 * DegreesToRadians, lon0 * DegreesToRadians, 0.0, 0.0, 1.0, 1.0,
            lat1 * DegreesToRadians, lat2 * DegreesToRadians);
    return p;
}

struct PlaneCase {
    const char* Name;
    int32_t Index;
    double X;
    double Y;
    int32_t Expected;
};

// The outlines worked out from each projection's published extent on the unit sphere.
TEST(ProjectionInverse, OutlinesAndFarSides) {
    const PlaneCase cases[] = {
        {"Mollweide beyond the equator's end (2 sqrt 2)", 10, 2.9, 0.0, ProjectionOutside},
        {"Mollweide inside the equator's end", 10, 2.8, 0.0, ProjectionInside},
        {"Mollweide above the pole (sqrt 2)", 10, 0.0, 1.42, ProjectionOutside},
        {"Hammer beyond its ellipse x^2/8 + y^2/2 = 1", 5, 2.9, 0.0, ProjectionOutside},
        {"Hammer inside its ellipse", 5, 2.8, 0.0, ProjectionInside},
        {"Van der Grinten beyond its circle of radius pi", 15, 2.5, 2.0, ProjectionOutside},
        {"Van der Grinten inside its circle", 15, 2.0, 2.0, ProjectionInside},
        {"Azimuthal Equidistant beyond the antipode (pi)", 1, 0.0, 3.15, ProjectionOutside},
        {"Azimuthal Equidistant short of the antipode", 1, 0.0, 3.1, ProjectionInside},
        {"Lambert Azimuthal beyond radius 2", 6, 1.5, 1.5, ProjectionOutside},
        {"Orthographic beyond the disc", 11, 0.8, 0.61, ProjectionOutside},
        {"Orthographic on the rim's rounding", 11, 1.0 + 1e-8, 0.0, ProjectionInside},
        {"Equirectangular above the pole", 3, 0.0, 1.6, ProjectionOutside},
        {"Equirectangular beyond half a turn", 3, 3.2, 0.0, ProjectionOutside},
        {"Sinusoidal above the pole", 13, 0.0, 1.6, ProjectionOutside},
        {"Sinusoidal beyond the curved edge (x = pi cos y)", 13, 1.8, 1.0, ProjectionOutside},
        {"Sinusoidal inside the curved edge", 13, 1.6, 1.0, ProjectionInside},
        {"Miller above the pole (1.25 ln tan 0.45 pi)", 9, 0.0, 2.31, ProjectionOutside},
        {"Wagner VII beyond its lens", 17, 2.7, 0.0, ProjectionOutside},
        {"Wagner IV beyond its pole line", 16, 0.0, 1.4, ProjectionOutside},
        {"Albers in the cone's gap above the apex", 0, 0.0, 100.0, ProjectionOutside},
        {"Lambert Conformal in the cone's gap", 7, 0.0, 100.0, ProjectionOutside},
        {"Equidistant Conic beyond the south pole's arc", 2, 0.0, -5.0, ProjectionOutside},
        {"NaN x", 10, NaN, 0.0, ProjectionOutside},
        {"infinite y", 4, 0.0, Inf, ProjectionOutside},
        {"Gnomonic far out is still the near hemisphere", 4, 1e6, 1e6, ProjectionInside},
    };
    for (const PlaneCase& c : cases) {
        const auto p = Make(c.Index);
        double lat = 7.0;
        double lon = 7.0;
        EXPECT_EQ(p->Inverse(c.X, c.Y, lat, lon), c.Expected) << c.Name;
        if (c.Expected == ProjectionOutside) {
            EXPECT_EQ(lat, 7.0) << c.Name << ": outputs written for a point outside";
            EXPECT_EQ(lon, 7.0) << c.Name;
        }
    }
}

struct SphereCase {
    const char* Name;
    int32_t Index;
    double Lat0;
    double Lat; // degrees; the centre longitude is 0
    double Lon;
    int32_t Expected;
};

TEST(ProjectionForward, PointsWithoutAPlace) {
    const SphereCase cases[] = {
        {"Orthographic far hemisphere", 11, 0.0, 0.0, 100.0, ProjectionOutside},
        {"Orthographic near hemisphere", 11, 0.0, 0.0, 80.0, ProjectionInside},
        {"Gnomonic horizon", 4, 0.0, 0.0, 90.0, ProjectionOutside},
        {"Gnomonic far hemisphere", 4, 0.0, -10.0, 120.0, ProjectionOutside},
        {"Stereographic antipode", 14, 0.0, 0.0, 180.0, ProjectionOutside},
        {"Lambert Azimuthal antipode", 6, 0.0, 0.0, 180.0, ProjectionOutside},
        {"Azimuthal Equidistant antipode", 1, 30.0, -30.0, 180.0, ProjectionOutside},
        {"Mercator pole", 8, 0.0, 90.0, 0.0, ProjectionOutside},
        {"Polar Stereographic north: south pole", 12, 45.0, -90.0, 10.0, ProjectionOutside},
        {"Polar Stereographic south: north pole", 12, -45.0, 90.0, 10.0, ProjectionOutside},
        {"Lambert Conformal north: south pole", 7, 0.0, -90.0, 0.0, ProjectionOutside},
        {"Lambert Conformal north: north pole is the apex", 7, 0.0, 90.0, 0.0, ProjectionInside},
        {"Hammer antipode lies on the rim", 5, 0.0, 0.0, 180.0, ProjectionInside},
        {"latitude beyond the pole", 3, 0.0, 100.0, 0.0, ProjectionOutside},
        {"NaN latitude", 10, 0.0, NaN, 0.0, ProjectionOutside},
        {"NaN longitude", 10, 0.0, 0.0, NaN, ProjectionOutside},
        {"infinite longitude", 13, 0.0, 0.0, Inf, ProjectionOutside},
    };
    for (const SphereCase& c : cases) {
        const auto p = Make(c.Index, c.Lat0);
        double x = 7.0;
        double y = 7.0;
        EXPECT_EQ(p->Forward(c.Lat * DegreesToRadians, c.Lon * DegreesToRadians, x, y), c.Expected)
            << c.Name;
        if (c.Expected == ProjectionInside) {
            EXPECT_TRUE(std::isfinite(x) && std::isfinite(y)) << c.Name;
        } else {
            EXPECT_EQ(x, 7.0) << c.Name << ": outputs written for a point outside";
            EXPECT_EQ(y, 7.0) << c.Name;
        }
    }
}

struct InitCase {
    const char* Name;
    int32_t Index;
    double Lat0; // degrees
    double Radius;
    double Lat1;
    double Lat2;
    const char* Reason; // part of the refusal; nullptr: accepted
};

TEST(ProjectionInit, RefusesWhatWouldDivideByZero) {
    const InitCase cases[] = {
        {"Albers mirror parallels", 0, 0.0, 1.0, 30.0, -30.0, "equal and opposite"},
        {"Equidistant Conic mirror parallels", 2, 0.0, 1.0, -45.0, 45.0, "equal and opposite"},
        {"Lambert Conformal mirror parallels", 7, 0.0, 1.0, 20.0, -20.0, "equal and opposite"},
        {"Lambert Conformal parallel at a pole", 7, 0.0, 1.0, 90.0, 45.0, "between the poles"},
        {"Albers parallel at a pole", 0, 0.0, 1.0, 30.0, -90.0, "between the poles"},
        {"Equidistant Conic NaN parallel", 2, 0.0, 1.0, NaN, 45.0, "must be numbers"},
        {"Lambert Conformal centre at the infinite pole", 7, -90.0, 1.0, 30.0, 60.0,
         "infinite end"},
        {"Mercator centre at a pole", 8, 90.0, 1.0, 0.0, 0.0, "has no place"},
        {"zero radius", 10, 0.0, 0.0, 0.0, 0.0, "radius"},
        {"NaN centre", 4, NaN, 1.0, 0.0, 0.0, "centre"},
        {"Albers equal parallels: a tangent cone", 0, 0.0, 1.0, 45.0, 45.0, nullptr},
        {"Lambert Conformal one-sided south", 7, -30.0, 1.0, -20.0, -50.0, nullptr},
        {"Mollweide ignores the parallels", 10, 0.0, 1.0, 30.0, -30.0, nullptr},
    };
    for (const InitCase& c : cases) {
        auto p = CreateProjection(c.Index);
        const int32_t code = p->Init(c.Lat0 * DegreesToRadians, 0.0, 0.0, 0.0, c.Radius, c.Radius,
                                     c.Lat1 * DegreesToRadians, c.Lat2 * DegreesToRadians);
        if (!c.Reason) {
            EXPECT_EQ(code, ProjectionReady) << c.Name << ": " << p->Refusal();
            continue;
        }
        EXPECT_EQ(code, ProjectionRefused) << c.Name;
        EXPECT_NE(p->Refusal().find(c.Reason), std::string::npos) << c.Name << ": " << p->Refusal();
        EXPECT_NE(p->Refusal().find(p->Name()), std::string::npos) << c.Name;
        double lat = 0.0;
        double lon = 0.0;
        EXPECT_EQ(p->Inverse(0.1, 0.1, lat, lon), ProjectionOutside) << c.Name;
    }
}

TEST(ProjectionInverse, PolesTakeTheCentreLongitude) {
    // Azimuthal Equidistant about (0, 30E): the north pole lies pi/2 straight up.
    const auto aeqd = Make(1, 0.0, 30.0);
    double lat = 0.0;
    double lon = 0.0;
    ASSERT_EQ(aeqd->Inverse(0.0, Pi / 2, lat, lon), ProjectionInside);
    EXPECT_NEAR(lat, Pi / 2, 1e-12);
    EXPECT_NEAR(lon, 30.0 * DegreesToRadians, 1e-12);
    // Sinusoidal: the pole is the point (0, pi/2).
    const auto sinu = Make(13, 0.0, -150.0);
    ASSERT_EQ(sinu->Inverse(0.0, Pi / 2, lat, lon), ProjectionInside);
    EXPECT_NEAR(lon, -150.0 * DegreesToRadians, 1e-12);
}

TEST(ProjectionCatalogue, IndicesOutsideTheListMakeNothing) {
    EXPECT_EQ(CreateProjection(-1), nullptr);
    EXPECT_EQ(CreateProjection(ProjectionCount), nullptr);
    EXPECT_STREQ(ProjectionName(10), "Mollweide");
    EXPECT_STREQ(ProjectionName(0), "Albers Equal-Area Conic");
    EXPECT_STREQ(ProjectionName(17), "Wagner VII");
    EXPECT_STREQ(ProjectionName(18), "");
}

TEST(ProjectionForward, LongitudesManyTurnsAwayLandOnTheSamePoint) {
    const auto p = Make(10, 0.0, 20.0);
    double x0 = 0.0;
    double y0 = 0.0;
    double x1 = 0.0;
    double y1 = 0.0;
    ASSERT_EQ(p->Forward(0.3, 50.0 * DegreesToRadians, x0, y0), ProjectionInside);
    ASSERT_EQ(p->Forward(0.3, 50.0 * DegreesToRadians + 2e6 * Pi, x1, y1), ProjectionInside);
    EXPECT_NEAR(x1, x0, 1e-6);
    EXPECT_NEAR(y1, y0, 1e-9);
}

TEST(ProjectionInit, RadiusAndFalseOriginScaleThePlane) {
    // Sinusoidal on a sphere of radius 2 with false origin (10, 20): the point 60E on the
    // equator (centre meridian 0) lies at 2 * pi/3 + 10, 20.
    auto p = CreateProjection(13);
    ASSERT_EQ(p->Init(0.0, 0.0, 10.0, 20.0, 2.0, 2.0, 0.0, 0.0), ProjectionReady);
    double x = 0.0;
    double y = 0.0;
    ASSERT_EQ(p->Forward(0.0, Pi / 3, x, y), ProjectionInside);
    EXPECT_NEAR(x, 2.0 * Pi / 3 + 10.0, 1e-12);
    EXPECT_NEAR(y, 20.0, 1e-12);
    double lat = 1.0;
    double lon = 0.0;
    ASSERT_EQ(p->Inverse(x, y, lat, lon), ProjectionInside);
    EXPECT_NEAR(lat, 0.0, 1e-12);
    EXPECT_NEAR(lon, Pi / 3, 1e-12);
}

} // namespace
} // namespace korvel
