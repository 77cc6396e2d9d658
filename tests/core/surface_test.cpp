#include "core/surface.h"

#include "core/progress.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

struct ResizeCase {
    int32_t X, Y, Flags;
    int32_t Code, XSize, YSize;
    bool DataKept, HasMask;
};

TEST(SurfaceTest, ResizeRoundsRefusesAndKeeps) {
    const ResizeCase cases[] = {
        {1001, 10, -1, 0, 1000, 10, false, false},
        {3, 10, -1, -1, 8, 4, true, false},
        {8, 0, -1, -1, 8, 4, true, false},
        {150000, 4, -1, -1, 8, 4, true, false},
        {8, 150000, -1, -1, 8, 4, true, false},
        {8, 4, -1, 0, 8, 4, true, false},
        {11, 4, 0, 0, 8, 4, true, false},
        {12, 4, -1, 0, 12, 4, false, false},
        {8, 4, Surface::SurfaceHasSelection, 0, 8, 4, false, true},
    };
    for (const ResizeCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.X << "x" << c.Y << " flags " << c.Flags);
        Surface s;
        ASSERT_EQ(s.Resize(8, 4, 0), 0);
        s.Rows[3][7] = 5.0f;
        EXPECT_EQ(s.Resize(c.X, c.Y, c.Flags), c.Code);
        EXPECT_EQ(s.XSize, c.XSize);
        EXPECT_EQ(s.YSize, c.YSize);
        EXPECT_EQ(s.Rows[3][7], c.DataKept ? 5.0f : 0.0f);
        EXPECT_EQ(s.Mask.Exists(), c.HasMask);
        EXPECT_EQ(s.Texture.Width(), c.XSize);
        EXPECT_EQ(s.Texture.Height(), c.YSize);
    }
}

TEST(SurfaceTest, ResolutionFollowsEdgesThenSize) {
    Surface s;
    ASSERT_EQ(s.Resize(8, 5, -1), 0);
    s.SetEdges(0.0, 7.0, 2.0, -2.0);
    EXPECT_DOUBLE_EQ(s.XRes, 1.0);
    EXPECT_DOUBLE_EQ(s.YRes, 1.0);
    ASSERT_EQ(s.Resize(16, 8, -1), 0);
    EXPECT_DOUBLE_EQ(s.XRes, 0.4375);
    EXPECT_DOUBLE_EQ(s.YRes, 0.5);
}

TEST(SurfaceTest, ResizeKeepCopiesTheOverlap) {
    Surface s;
    ASSERT_EQ(s.Resize(8, 4, 0), 0);
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 8; ++x)
            s.Rows[y][x] = static_cast<float>(10 * y + x);
    const double xres = s.XRes;
    ASSERT_EQ(s.ResizeKeep(13, 6, -1), 0);
    ASSERT_EQ(s.XSize, 12);
    ASSERT_EQ(s.YSize, 6);
    EXPECT_EQ(s.Rows[3][7], 37.0f);
    EXPECT_EQ(s.Rows[2][5], 25.0f);
    EXPECT_EQ(s.Rows[3][8], 0.0f);
    EXPECT_EQ(s.Rows[5][0], 0.0f);
    EXPECT_EQ(s.XRes, xres);
    ASSERT_EQ(s.ResizeKeep(4, 2, -1), 0);
    EXPECT_EQ(s.Rows[1][3], 13.0f);
    EXPECT_EQ(s.ResizeKeep(2, 2, -1), -1);
}

TEST(SurfaceTest, GeographyOfSamples) {
    Surface s;
    s.Top = 50.0;
    s.Bottom = 40.0;
    s.Left = 10.0;
    s.Right = 30.0;
    ASSERT_EQ(s.Resize(8, 4, 0), 0); // 2.5 degrees per column and per row
    const struct {
        double X, Y, Lat, Lon;
    } cases[] = {
        {0, 0, 50.0, 10.0}, {2, 1, 47.5, 15.0}, {8, 4, 40.0, 30.0}, {-1.5, 0.5, 48.75, 6.25}};
    for (const auto& c : cases) {
        double lat = 0, lon = 0, x = 0, y = 0;
        s.XYToLatLon(c.X, c.Y, lat, lon);
        EXPECT_DOUBLE_EQ(lat, c.Lat);
        EXPECT_DOUBLE_EQ(lon, c.Lon);
        s.LatLonToXY(lat, lon, x, y);
        EXPECT_DOUBLE_EQ(x, c.X);
        EXPECT_DOUBLE_EQ(y, c.Y);
    }
}

TEST(SurfaceTest, CopyFromTakesGridMapAndPictureOnly) {
    Surface from;
    ASSERT_EQ(from.Resize(8, 3, Surface::SurfaceHasSelection), 0);
    from.Rows[2][6] = -4.5f;
    from.Texture.SetPixel(6, 2, PackColor(9, 8, 7));
    *from.Mask.RowPointer(6, 2) = 255;
    from.Generation.Seed = 7;
    const double map[8] = {1.5, 2.5, 3.5, 4.5, 5.5, 6.5, 7.5, 8.5};
    double* fields[8] = {&from.Top,  &from.Left, &from.Right, &from.Bottom,
                         &from.XRes, &from.YRes, &from.Min,   &from.Max};
    for (int i = 0; i < 8; ++i)
        *fields[i] = map[i];

    Surface to;
    ASSERT_EQ(to.CopyFrom(from), 0);
    EXPECT_EQ(to.XSize, 8);
    EXPECT_EQ(to.YSize, 3);
    EXPECT_EQ(to.GetFlags(), Surface::SurfaceHasSelection);
    EXPECT_EQ(to.Rows[2][6], -4.5f);
    EXPECT_EQ(to.Texture.GetPixel(6, 2), PackColor(9, 8, 7));
    const double copied[8] = {to.Top,  to.Left, to.Right, to.Bottom,
                              to.XRes, to.YRes, to.Min,   to.Max};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(copied[i], map[i]) << i;
    ASSERT_TRUE(to.Mask.Exists());
    EXPECT_EQ(to.Mask.IsSelected(6, 2), 0);
    EXPECT_EQ(to.Generation.Seed, FracParms{}.Seed);
    EXPECT_EQ(to.CopyFrom(to), 0);
    EXPECT_EQ(to.Rows[2][6], -4.5f);
}

Progress* Running = nullptr;
int32_t KeyOnFirstPump = 0;
void PressKey(int pumps) {
    if (pumps == 1)
        Running->CancelFlag = KeyOnFirstPump;
}

// Without a grid the scan gives its starting values, held as floats.
TEST(SurfaceTest, FindMinMaxScansAndStopsOnEscape) {
    const struct {
        bool Grid;
        int32_t Key, Code;
        double Min, Max;
    } cases[] = {{true, 0, 0, -3.5, 9.25},
                 {true, 'a', 0, -3.5, 9.25},
                 {true, CancelKey, -1, 111.0, 222.0},
                 {false, 0, 0, static_cast<double>(1e25f), static_cast<double>(-1e25f)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Key);
        test::RecordingHost host;
        const bool showTime = false;
        Progress progress(host, showTime);
        Running = &progress;
        KeyOnFirstPump = c.Key;
        host.OnPump = PressKey;
        Surface s;
        if (c.Grid) {
            ASSERT_EQ(s.Resize(8, 20, 0), 0);
            s.Rows[17][3] = -3.5f;
            s.Rows[2][7] = 9.25f;
        }
        double lo = 111.0, hi = 222.0;
        EXPECT_EQ(s.FindMinMax(lo, hi, progress), c.Code);
        EXPECT_EQ(lo, c.Min);
        EXPECT_EQ(hi, c.Max);
        EXPECT_EQ(progress.CancelFlag.load(), c.Key == CancelKey ? 0 : c.Key);
        EXPECT_EQ(host.ProgressTexts.at(0), "Finding surface minimum and maximum");
        EXPECT_EQ(host.Closes.size(), 1u);
    }
    Running = nullptr;
}

} // namespace
} // namespace korvel
