#include "core/dialog_fields.h"
#include "core/image.h"
#include "core/interpolation.h"
#include "core/progress.h"
#include "core/surface.h"
#include "geo/angles.h"
#include "geo/geoid.h"
#include "geo/line_of_sight.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>
#include <vector>

namespace korvel {
namespace {

const bool NoTimes = false;
constexpr double EarthRadius = 6371000.0;
// Degrees of one metre along the equator of the sphere.
constexpr double MetreInDegrees = 1.0 / (EarthRadius * Pi / 180.0);

Geoid Sphere() {
    Geoid g;
    g.SetUser(EarthRadius, EarthRadius);
    return g;
}

// A width x height Surface at the equator with samples `spacing` metres apart; column 0 at
// longitude 0, row 0 (the Bottom edge) at latitude 0.
void Grid(Surface& s, int32_t width, int32_t height, double spacing) {
    ASSERT_EQ(s.Resize(width, height, 0), 0);
    const double step = spacing * MetreInDegrees;
    s.SetEdges(0.0, width * step, height * step, 0.0);
}

struct LosRun {
    Surface S;
    Image Picture;
    test::RecordingHost Host;
    Progress P{Host, NoTimes};
    InterpSettings Interp;
    LosMaskFields F;

    // The observer at a sample position (column, row from the Bottom edge).
    void StandAt(double column, double row) {
        F.Longitude = S.Left + column * S.XRes;
        F.Latitude = S.Bottom + row * S.YRes;
    }
    int32_t Cast(const double* slice = nullptr) {
        if (Picture.IsEmpty())
            Picture.Create(S.XSize, S.YSize, 8);
        return LineOfSight(S, Interp, Sphere(), Picture, P, F, slice);
    }
    std::set<int32_t> MarkedColumns(int32_t row, int32_t mark = LosClearMark) const {
        std::set<int32_t> marked;
        for (int32_t c = 0; c < S.XSize; ++c)
            if (Picture.Row(row)[c] == mark)
                marked.insert(c);
        return marked;
    }
};

// The horizon of an eye h above a sphere of radius R lies sqrt(2 R h) away.
TEST(LineOfSight, FlatSphereSeesToTheHorizon) {
    LosRun run;
    const double spacing = 50.0;
    Grid(run.S, 400, 5, spacing);
    run.StandAt(0, 2);
    run.F.AzimuthStart = run.F.AzimuthEnd = 90.0;
    ASSERT_EQ(run.Cast(), LosDone);
    const std::set<int32_t> marked = run.MarkedColumns(2);
    ASSERT_FALSE(marked.empty());
    const double horizon = std::sqrt(2.0 * EarthRadius * 20.0) / spacing;
    EXPECT_NEAR(*marked.rbegin(), horizon, 1.0);
    EXPECT_EQ(static_cast<double>(marked.size()), std::floor(horizon) + 1) << "a gap before it";
    EXPECT_TRUE(run.MarkedColumns(1).empty());
}

TEST(LineOfSight, FlatSphereSeesADiscInEveryDirection) {
    LosRun run;
    const double spacing = 50.0;
    Grid(run.S, 800, 800, spacing);
    run.StandAt(400, 400);
    ASSERT_EQ(run.Cast(), LosDone);
    const double horizon = std::sqrt(2.0 * EarthRadius * 20.0) / spacing;
    // The farthest mark in each quarter around the observer.
    double farthest[4] = {0, 0, 0, 0};
    for (int32_t r = 0; r < 800; ++r)
        for (int32_t c = 0; c < 800; ++c)
            if (run.Picture.Row(r)[c] == LosClearMark) {
                const double dx = c - 400.0, dy = r - 400.0;
                const int quarter = (dx >= 0 ? 0 : 1) + (dy >= 0 ? 0 : 2);
                farthest[quarter] = std::max(farthest[quarter], std::hypot(dx, dy));
            }
    for (double d : farthest)
        EXPECT_NEAR(d, horizon, 1.0);
}

struct ProfileCase {
    const char* name;
    void (*setUp)(LosRun&);
    std::set<int32_t> marked;
};

// One ray east along a row of samples 1 m apart, the eye 10 m above the ground at column 0.
// The tangent of the elevation of column d is (h - 10) / d (the sphere's drop is under 0.01 mm):
// column: 1    2    3     4    5   6   7     8   9     10  11
// height: 0    0    0     12   0   10  14    0   15    20  0
// tan:    -10  -5   -3.3  0.5  -2  0   0.57  -1  0.56  1   -0.9
// seen:   yes  yes  yes   yes  no  no  yes   no  no    yes no
const float Profile[12] = {0, 0, 0, 0, 12, 0, 10, 14, 0, 15, 20, 0};

void Plain(LosRun&) {}

TEST(LineOfSight, HandWorkedProfile) {
    const ProfileCase cases[] = {
        {"the ridges hide what lies behind them", Plain, {0, 1, 2, 3, 4, 7, 10}},
        {"only upward", [](LosRun& r) { r.F.ElevationStart = 0.0; }, {0, 4, 7, 10}},
        {"the sector's ends in either order",
         [](LosRun& r) {
             r.F.ElevationStart = 90.0;
             r.F.ElevationEnd = 0.0;
         },
         {0, 4, 7, 10}},
        // tan 20 deg = 0.364: the ridge at 4 is above the sector yet still hides.
        {"below 20 degrees", [](LosRun& r) { r.F.ElevationEnd = 20.0; }, {0, 1, 2, 3}},
        {"ground from 11 to 100 only",
         [](LosRun& r) {
             r.F.ClipLo = 11.0;
             r.F.ClipHi = 100.0;
         },
         {0, 4, 7, 10}},
        {"no ground at 0.5: the observer alone",
         [](LosRun& r) { r.F.ClipLo = r.F.ClipHi = 0.5; },
         {0}},
        // The eye at 5 m: tan 1.75 at 4 hides everything behind.
        {"altitude not above the ground",
         [](LosRun& r) {
             r.S.Rows[0][0] = 5.0f;
             r.F.Altitude = 5.0;
             r.F.AltitudeAboveGround = false;
         },
         {0, 1, 2, 3, 4}},
        {"altitude above the ground",
         [](LosRun& r) {
             r.S.Rows[0][0] = 5.0f;
             r.F.Altitude = 5.0;
         },
         {0, 1, 2, 3, 4, 7, 10}},
        // Looking west from column 11 the ridge at 10 (tan 10) hides everything.
        {"due west from the other end",
         [](LosRun& r) {
             r.StandAt(11, 0);
             r.F.AzimuthStart = r.F.AzimuthEnd = 270.0;
         },
         {10, 11}},
        // Column c lies c + 5 away: 0..3 (tan -2 .. -1.25), 4 (0.22), 7 (0.33), 9 (0.36), 10
        // (0.67) are seen.
        {"an observer west of the Surface still sees into it",
         [](LosRun& r) { r.StandAt(-5, 0); },
         {0, 1, 2, 3, 4, 7, 9, 10}},
        {"rays away from the Surface mark nothing",
         [](LosRun& r) {
             r.StandAt(-5, 0);
             r.F.AzimuthStart = r.F.AzimuthEnd = 270.0;
         },
         {}},
        // The eye 11 m above column 5: east 6 (-1), 7 (1.5), 10 (1.8) are seen; west 4 (1)
        // hides 0..3.
        {"zero steps become one: east and west",
         [](LosRun& r) {
             r.StandAt(5, 0);
             r.F.Altitude = 11.0;
             r.F.AzimuthStart = 90.0;
             r.F.AzimuthEnd = 270.0;
             r.F.AzimuthSteps = 0;
         },
         {4, 5, 6, 7, 10}},
        {"a latitude that is not a number casts nothing",
         [](LosRun& r) { r.F.Latitude = std::numeric_limits<double>::quiet_NaN(); },
         {}},
        {"a Surface without width in degrees casts nothing",
         [](LosRun& r) { r.S.SetEdges(0.0, 0.0, r.S.Top, r.S.Bottom); },
         {}},
    };
    for (const auto& c : cases) {
        LosRun run;
        Grid(run.S, 12, 1, 1.0);
        for (int32_t i = 0; i < 12; ++i)
            run.S.Rows[0][i] = Profile[i];
        run.F.Altitude = 10.0;
        run.F.Supersample = 1.0;
        run.F.AzimuthStart = run.F.AzimuthEnd = 90.0;
        run.StandAt(0, 0);
        c.setUp(run);
        EXPECT_EQ(run.Cast(), LosDone) << c.name;
        EXPECT_EQ(run.MarkedColumns(0), c.marked) << c.name;
    }
}

TEST(LineOfSight, MarksLandOnTheRowsTheyWereSampledFrom) {
    // The profile up a column from the Bottom edge, looking north.
    LosRun run;
    Grid(run.S, 4, 12, 1.0);
    for (int32_t r = 0; r < 12; ++r)
        run.S.Rows[r][1] = Profile[r];
    run.F.Altitude = 10.0;
    run.F.Supersample = 1.0;
    run.F.AzimuthStart = run.F.AzimuthEnd = 0.0;
    run.StandAt(1, 0);
    ASSERT_EQ(run.Cast(), LosDone);
    std::set<int32_t> rows;
    for (int32_t r = 0; r < 12; ++r)
        if (run.Picture.Row(r)[1] == LosClearMark)
            rows.insert(r);
    EXPECT_EQ(rows, (std::set<int32_t>{0, 1, 2, 3, 4, 7, 10}));
}

TEST(LineOfSight, SliceAltitudeSeesOverTheGround) {
    // A point 13.5 m above column d has tangent 3.5 / d; the ground's horizon still rules:
    // 1..4 seen, 5: 0.7 >= 0.5, 6: 0.58 >= 0.5, 7: 0.5 < 0.5 (the ridge at 4), and the ridge at
    // 7 (0.57) hides the rest.
    LosRun run;
    Grid(run.S, 12, 1, 1.0);
    for (int32_t i = 0; i < 12; ++i)
        run.S.Rows[0][i] = Profile[i];
    run.F.Altitude = 10.0;
    run.F.Supersample = 1.0;
    run.F.AzimuthStart = run.F.AzimuthEnd = 90.0;
    run.StandAt(0, 0);
    const double slice = 13.5;
    ASSERT_EQ(run.Cast(&slice), LosDone);
    EXPECT_EQ(run.MarkedColumns(0), (std::set<int32_t>{0, 1, 2, 3, 4, 5, 6}));
}

TEST(LineOfSight, WithoutClearingMarksIndexZeroOverThePicture) {
    // Flat ground, the eye 20 m up: column d is seen at tan -20 / d. Below -80 degrees
    // (tan -5.67) that is columns 1 to 3.
    LosRun run;
    Grid(run.S, 12, 1, 1.0);
    run.F.ClearImage = false;
    run.F.Supersample = 1.0;
    run.F.AzimuthStart = run.F.AzimuthEnd = 90.0;
    run.F.ElevationEnd = -80.0;
    run.StandAt(0, 0);
    run.Picture.Create(12, 1, 8);
    std::fill(run.Picture.Row(0), run.Picture.Row(0) + 12, 7);
    ASSERT_EQ(run.Cast(), LosDone);
    EXPECT_EQ(run.MarkedColumns(0, 0), (std::set<int32_t>{0, 1, 2, 3}));
    EXPECT_EQ(run.MarkedColumns(0, 7), (std::set<int32_t>{4, 5, 6, 7, 8, 9, 10, 11}));
}

TEST(LineOfSight, EscapeReturnsTheCancelCode) {
    LosRun run;
    Grid(run.S, 12, 1, 1.0);
    run.F.AzimuthStart = 0.0;
    run.F.AzimuthEnd = 360.0;
    // Escape typed while the first ray's progress is shown.
    run.Host.OnPump = [&](int) { run.P.CancelFlag = CancelKey; };
    EXPECT_EQ(run.Cast(), LosCancelled);
    EXPECT_EQ(run.Host.Pumps, 1);
    EXPECT_EQ(run.P.CancelFlag, 0);
}

TEST(LineOfSight, SupersampleIsKeptInRange) {
    const struct {
        double asked, used;
    } cases[] = {{0.0, 1.0},   {0.005, 1.0}, {-3.0, 1.0},  {std::nan(""), 1.0},
                 {0.01, 0.01}, {1.5, 1.5},   {16.0, 16.0}, {1e9, LosMaxSupersample}};
    for (const auto& c : cases)
        EXPECT_EQ(LosSupersample(c.asked), c.used) << c.asked;
}

TEST(LineOfSight, PictureNames) {
    EXPECT_EQ(LosPictureName(7, LosSequenceBmp), "LOS00007.BMP");
    EXPECT_EQ(LosPictureName(12345, LosSequencePcx), "LOS12345.PCX");
}

} // namespace
} // namespace korvel
