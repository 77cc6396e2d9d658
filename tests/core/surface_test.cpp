#include "core/surface.h"

#include "core/progress.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <tuple>
#include <utility>

namespace korvel {
namespace {

// Widths round down to a multiple of 4; the same size keeps the data unless flags change.
TEST(SurfaceTest, ResizeRoundsRefusesAndKeeps) {
    const std::array<int32_t, 8> cases[] = {{1001, 10, -1, 0, 1000, 10, 0, 0},
                                            {3, 10, -1, -1, 8, 4, 1, 0},
                                            {150000, 4, -1, -1, 8, 4, 1, 0},
                                            {11, 4, 0, 0, 8, 4, 1, 0},
                                            {8, 4, Surface::SurfaceHasSelection, 0, 8, 4, 0, 1}};
    for (const auto& [x, y, flags, code, xsize, ysize, kept, masked] : cases) {
        Surface s;
        ASSERT_EQ(s.Resize(8, 4, 0), 0);
        s.Rows[3][7] = 5.0f;
        EXPECT_EQ(s.Resize(x, y, flags), code) << x << "x" << y << " flags " << flags;
        EXPECT_EQ(
            (std::array{s.XSize, s.YSize, s.Texture.AsIs().Width(), s.Texture.AsIs().Height()}),
            (std::array{xsize, ysize, xsize, ysize}));
        EXPECT_EQ(std::pair(s.Rows[3][7], s.Mask.Exists()),
                  std::pair(kept ? 5.0f : 0.0f, masked == 1));
    }
}

// A new zero grid has the extremes 0 and 0, not those recorded for the data it replaced; the
// same size keeps the data and so the extremes.
TEST(SurfaceTest, ResizeLeavesTheExtremesOfTheNewGrid) {
    const std::tuple<int32_t, double, double> cases[] = {{8, -2.0, 7.0}, {12, 0.0, 0.0}};
    for (const auto& [width, lo, hi] : cases) {
        Surface s;
        ASSERT_EQ(s.Resize(8, 4, 0), 0);
        s.Rows[1][1] = -2.0f, s.Rows[2][2] = 7.0f, s.Min = -2.0, s.Max = 7.0;
        ASSERT_EQ(s.Resize(width, 4, -1), 0);
        EXPECT_EQ(std::pair(s.Min, s.Max), std::pair(lo, hi)) << width;
    }
}

TEST(SurfaceTest, ResizeKeepCopiesTheOverlap) {
    Surface s;
    ASSERT_EQ(s.Resize(8, 4, 0), 0);
    for (int32_t i = 0; i < 32; ++i)
        s.Rows[i / 8][i % 8] = static_cast<float>(10 * (i / 8) + i % 8);
    ASSERT_EQ(s.ResizeKeep(13, 6, -1), 0);
    ASSERT_EQ(std::pair(s.XSize, s.YSize), std::pair(12, 6));
    EXPECT_EQ((std::array{s.Rows[3][7], s.Rows[3][8], s.Rows[5][0]}), (std::array{37.f, 0.f, 0.f}));
    EXPECT_EQ(s.ResizeKeep(2, 2, -1), -1);
}

TEST(SurfaceTest, ResolutionAndGeographyOfSamples) {
    Surface s;
    s.Top = 50.0, s.Bottom = 40.0, s.Left = 10.0, s.Right = 30.0;
    ASSERT_EQ(s.Resize(8, 4, 0), 0);
    EXPECT_EQ(std::pair(s.XRes, s.YRes), std::pair(2.5, 2.5)); // Resize divides by n
    const std::array<double, 4> at[] = {{0, 0, 50, 10}, {8, 4, 40, 30}, {-1.5, 0.5, 48.75, 6.25}};
    for (const auto& [cx, cy, clat, clon] : at) {
        double lat = 0, lon = 0, x = 0, y = 0;
        s.XYToLatLon(cx, cy, lat, lon);
        s.LatLonToXY(lat, lon, x, y);
        EXPECT_EQ((std::array{lat, lon, x, y}), (std::array{clat, clon, cx, cy}));
    }
}

TEST(SurfaceTest, CopyFromTakesGridMapAndPictureOnly) {
    Surface from;
    ASSERT_EQ(from.Resize(8, 3, Surface::SurfaceHasSelection), 0);
    from.Rows[2][6] = -4.5f;
    from.Texture.AsIs().SetPixel(6, 2, PackColor(9, 8, 7));
    from.Texture.MarkFresh(); // drawn: the copy must carry it
    *from.Mask.RowPointer(6, 2) = 255;
    from.Generation.Seed = 7;
    from.Top = 1.5, from.Right = 2.5, from.YRes = 3.5, from.Max = 4.5;
    Surface to;
    ASSERT_EQ(to.CopyFrom(from), 0);
    EXPECT_EQ(std::pair(to.Rows[2][6], to.Texture.AsIs().GetPixel(6, 2)),
              std::pair(-4.5f, PackColor(9, 8, 7)));
    EXPECT_FALSE(to.Texture.Stale());
    EXPECT_EQ((std::array{to.Top, to.Right, to.YRes, to.Max}), (std::array{1.5, 2.5, 3.5, 4.5}));
    EXPECT_TRUE(to.Mask.Exists() && to.Mask.IsSelected(6, 2) == 0); // a blank mask
    EXPECT_EQ(to.Generation.Seed, FracParms{}.Seed);
    EXPECT_EQ(to.CopyFrom(to), 0);
    EXPECT_EQ(to.Rows[2][6], -4.5f); // copying itself keeps the data
}

const bool NoTimes = false;

// A key other than Escape is left for its reader. Without a grid the scan gives its starting
// values, held as floats.
TEST(SurfaceTest, FindMinMaxScansAndStopsOnEscape) {
    test::RecordingHost host;
    Progress progress(host, NoTimes);
    for (const int32_t key : {int32_t{'a'}, CancelKey}) {
        const bool escape = key == CancelKey;
        host.OnPump = [&progress, key](int) { progress.CancelFlag = key; };
        Surface s;
        ASSERT_EQ(s.Resize(8, 20, 0), 0);
        s.Rows[17][3] = -3.5f;
        s.Rows[2][7] = 9.25f;
        double lo = 111.0, hi = 222.0;
        EXPECT_EQ(s.FindMinMax(lo, hi, progress), escape ? -1 : 0);
        EXPECT_EQ(std::pair(lo, hi), escape ? std::pair(111.0, 222.0) : std::pair(-3.5, 9.25));
        EXPECT_EQ(progress.CancelFlag.load(), escape ? 0 : key);
    }
    // NaN and the infinities are left out.
    host.OnPump = [&progress](int) { progress.CancelFlag = 'a'; };
    Surface odd;
    ASSERT_EQ(odd.Resize(8, 2, 0), 0);
    const float inf = std::numeric_limits<float>::infinity();
    odd.Rows[1][2] = std::nanf(""), odd.Rows[1][3] = inf, odd.Rows[1][4] = -inf;
    odd.Rows[1][5] = 2.5f;
    EXPECT_EQ(odd.CountNonFinite(), 3);
    double lo = 111.0, hi = 222.0;
    EXPECT_EQ(odd.FindMinMax(lo, hi, progress), 0);
    EXPECT_EQ(std::pair(lo, hi), std::pair(0.0, 2.5));
    Surface empty;
    EXPECT_EQ(empty.FindMinMax(lo, hi, progress), 0);
    EXPECT_EQ(std::pair(lo, hi), std::pair(double{1e25f}, double{-1e25f}));
}

} // namespace
} // namespace korvel
