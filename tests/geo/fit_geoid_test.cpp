#include "core/progress.h"
#include "core/surface.h"
#include "geo/angles.h"
#include "geo/fit_geoid.h"
#include "geo/geoid.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

const bool NoTimes = false;

struct FitCase {
    const char* name;
    int32_t model;
    double lat0, lon0;               // the reference point
    double left, right, bottom, top; // an 8 x 4 Surface
    bool add;
    int32_t column, row; // row counted from the Bottom edge
    double expected;     // metres, the sample starting at 0
};

// The up coordinate of the ellipsoid point under each sample, from PROJ:
//   echo LON LAT 0 | cct -d 6 +proj=pipeline +step +proj=cart +ellps=E
//       +step +proj=topocentric +ellps=E +lon_0=LON0 +lat_0=LAT0 +h_0=0
// with the sample's LON = left + (right - left) column / 8, LAT = bottom + (top - bottom) row / 4.
TEST(FitGeoid, CorrectionMatchesProjTopocentric) {
    const FitCase cases[] = {
        {"WGS-84 centre row", 8, 45, 10, 10, 11, 45, 46, true, 4, 2, -363.035755},
        {"WGS-84 top row", 8, 45, 10, 10, 11, 45, 46, true, 7, 3, -913.163714},
        {"WGS-84 at the reference", 8, 45, 10, 10, 11, 45, 46, true, 0, 0, 0.0},
        {"GRS-80 southern", 6, -33.9, 151.2, 150, 152, -35, -33, true, 6, 1, -408.356276},
        {"GRS-80 bottom left", 6, -33.9, 151.2, 150, 152, -35, -33, true, 0, 0, -2123.464649},
        {"Clarke 1866", 0, 40, -100, -102, -98, 38, 42, true, 6, 3, -1531.475955},
        {"Clarke 1866 west", 0, 40, -100, -102, -98, 38, 42, true, 3, 1, -1113.582570},
        {"Bessel subtracted", 1, 52, 13, 12, 14, 51, 53, false, 5, 3, 265.532945},
        {"International", 2, 52, 13, 12, 14, 51, 53, true, 0, 1, -615.830069},
    };
    for (const auto& c : cases) {
        Surface s;
        ASSERT_EQ(s.Resize(8, 4, 0), 0);
        s.SetEdges(c.left, c.right, c.top, c.bottom);
        Geoid g;
        ASSERT_EQ(g.SetModel(c.model), 0);
        g.SetReference(c.lat0 * DegreesToRadians, c.lon0 * DegreesToRadians, 0.0);
        test::RecordingHost host;
        Progress p{host, NoTimes};
        ASSERT_EQ(FitGeoid(s, p, g, c.add), 0) << c.name;
        EXPECT_NEAR(s.Rows[c.row][c.column], c.expected, 1e-3) << c.name;
    }
}

TEST(FitGeoid, TwiceDoublesAndExtremesFollow) {
    Surface s;
    ASSERT_EQ(s.Resize(8, 4, 0), 0);
    s.SetEdges(10, 11, 46, 45);
    Geoid g;
    g.SetReference(45 * DegreesToRadians, 10 * DegreesToRadians, 0.0);
    test::RecordingHost host;
    Progress p{host, NoTimes};
    ASSERT_EQ(FitGeoid(s, p, g, true), 0);
    ASSERT_EQ(FitGeoid(s, p, g, true), 0);
    EXPECT_NEAR(s.Rows[3][7], 2 * -913.163714, 2e-3);
    // The reference corner stays the highest sample, the far corner the lowest.
    EXPECT_NEAR(s.Max, 0.0, 1e-3);
    EXPECT_FLOAT_EQ(static_cast<float>(s.Min), s.Rows[3][7]);
}

TEST(FitGeoid, CancelLeavesTheRowsNotReached) {
    Surface s;
    ASSERT_EQ(s.Resize(8, 4, 0), 0);
    s.SetEdges(10, 11, 46, 45);
    s.Rows[3][7] = 5.0f;
    Geoid g;
    g.SetReference(45 * DegreesToRadians, 10 * DegreesToRadians, 0.0);
    test::RecordingHost host;
    Progress p{host, NoTimes};
    // Escape typed while the first row's progress is shown.
    host.OnPump = [&](int) { p.CancelFlag = CancelKey; };
    EXPECT_EQ(FitGeoid(s, p, g, true), -1);
    EXPECT_NE(s.Rows[0][7], 0.0f);
    EXPECT_EQ(s.Rows[1][7], 0.0f);
    EXPECT_EQ(s.Rows[3][7], 5.0f);
    EXPECT_EQ(p.CancelFlag, 0);
}

struct PlaceCase {
    const char* name;
    int32_t place;
    bool placed;
    double lat, lon;
};

TEST(FitGeoid, ReferencePlacesFollowTheirNames) {
    // The area: top 46, left 10, right 11, bottom 45.
    const PlaceCase cases[] = {
        {"Lower Left", PlaceLowerLeft, true, 45, 10},
        {"Lower Center", PlaceLowerCenter, true, 45, 10.5},
        {"Lower Right", PlaceLowerRight, true, 45, 11},
        {"Left Center", PlaceLeftCenter, true, 45.5, 10},
        {"Center", PlaceCenter, true, 45.5, 10.5},
        {"Right Center", PlaceRightCenter, true, 45.5, 11},
        {"Upper Left", PlaceUpperLeft, true, 46, 10},
        {"Top Center", PlaceTopCenter, true, 46, 10.5},
        {"Upper Right", PlaceUpperRight, true, 46, 11},
        {"Absolute keeps the typed point", PlaceAbsolute, false, 1, 2},
        {"out of the list", 12, false, 1, 2},
    };
    for (const auto& c : cases) {
        LatLon point{1, 2};
        EXPECT_EQ(ReferencePointOf(c.place, 46, 10, 11, 45, point), c.placed) << c.name;
        EXPECT_DOUBLE_EQ(point.Lat, c.lat) << c.name;
        EXPECT_DOUBLE_EQ(point.Lon, c.lon) << c.name;
    }
}

} // namespace
} // namespace korvel
