#include "core/surface.h"

#include "core/progress.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <array>
#include <utility>

namespace korvel {
namespace {

TEST(SurfaceTest, ResizeRoundsRefusesAndKeeps) {
    // Widths round down to a multiple of 4; the same size keeps the data unless flags change.
    const struct {
        int32_t X, Y, Flags, Code, XSize, YSize;
        bool DataKept, HasMask;
    } cases[] = {{1001, 10, -1, 0, 1000, 10, false, false},
                 {3, 10, -1, -1, 8, 4, true, false},
                 {8, 0, -1, -1, 8, 4, true, false},
                 {150000, 4, -1, -1, 8, 4, true, false},
                 {11, 4, 0, 0, 8, 4, true, false},
                 {8, 4, Surface::SurfaceHasSelection, 0, 8, 4, false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.X << "x" << c.Y << " flags " << c.Flags);
        Surface s;
        ASSERT_EQ(s.Resize(8, 4, 0), 0);
        s.Rows[3][7] = 5.0f;
        EXPECT_EQ(s.Resize(c.X, c.Y, c.Flags), c.Code);
        EXPECT_EQ(std::pair(s.XSize, s.YSize), std::pair(c.XSize, c.YSize));
        EXPECT_EQ(std::pair(s.Texture.Width(), s.Texture.Height()), std::pair(c.XSize, c.YSize));
        EXPECT_EQ(s.Rows[3][7], c.DataKept ? 5.0f : 0.0f);
        EXPECT_EQ(s.Mask.Exists(), c.HasMask);
    }
}

TEST(SurfaceTest, ResizeKeepCopiesTheOverlap) {
    Surface s;
    ASSERT_EQ(s.Resize(8, 4, 0), 0);
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 8; ++x)
            s.Rows[y][x] = static_cast<float>(10 * y + x);
    const double xres = s.XRes;
    ASSERT_EQ(s.ResizeKeep(13, 6, -1), 0);
    ASSERT_EQ(std::pair(s.XSize, s.YSize), std::pair(12, 6));
    EXPECT_EQ((std::array{s.Rows[3][7], s.Rows[3][8], s.Rows[5][0]}),
              (std::array{37.0f, 0.0f, 0.0f}));
    EXPECT_EQ(s.XRes, xres);
    ASSERT_EQ(s.ResizeKeep(4, 2, -1), 0);
    EXPECT_EQ(s.Rows[1][3], 13.0f);
    EXPECT_EQ(s.ResizeKeep(2, 2, -1), -1);
}

TEST(SurfaceTest, ResolutionAndGeographyOfSamples) {
    Surface s;
    s.Top = 50.0, s.Bottom = 40.0, s.Left = 10.0, s.Right = 30.0;
    ASSERT_EQ(s.Resize(8, 4, 0), 0);
    EXPECT_EQ(std::pair(s.XRes, s.YRes), std::pair(2.5, 2.5)); // Resize divides by n
    const struct {
        double X, Y, Lat, Lon;
    } cases[] = {{0, 0, 50.0, 10.0}, {8, 4, 40.0, 30.0}, {-1.5, 0.5, 48.75, 6.25}};
    for (const auto& c : cases) {
        double lat = 0, lon = 0, x = 0, y = 0;
        s.XYToLatLon(c.X, c.Y, lat, lon);
        EXPECT_EQ(std::pair(lat, lon), std::pair(c.Lat, c.Lon));
        s.LatLonToXY(lat, lon, x, y);
        EXPECT_EQ(std::pair(x, y), std::pair(c.X, c.Y));
    }
    s.SetEdges(0.0, 14.0, 3.0, -3.0); // but SetEdges spans n - 1 samples
    EXPECT_EQ(std::pair(s.XRes, s.YRes), std::pair(2.0, 2.0));
}

TEST(SurfaceTest, CopyFromTakesGridMapAndPictureOnly) {
    Surface from;
    ASSERT_EQ(from.Resize(8, 3, Surface::SurfaceHasSelection), 0);
    from.Rows[2][6] = -4.5f;
    from.Texture.SetPixel(6, 2, PackColor(9, 8, 7));
    *from.Mask.RowPointer(6, 2) = 255;
    from.Generation.Seed = 7;
    const auto mapOf = [](Surface& s) {
        return std::array{&s.Top, &s.Left, &s.Right, &s.Bottom, &s.XRes, &s.YRes, &s.Min, &s.Max};
    };
    for (size_t i = 0; i < 8; ++i)
        *mapOf(from)[i] = 1.5 + double(i);

    Surface to;
    ASSERT_EQ(to.CopyFrom(from), 0);
    EXPECT_EQ(to.GetFlags(), Surface::SurfaceHasSelection);
    EXPECT_EQ(to.Rows[2][6], -4.5f);
    EXPECT_EQ(to.Texture.GetPixel(6, 2), PackColor(9, 8, 7));
    for (size_t i = 0; i < 8; ++i)
        EXPECT_EQ(*mapOf(to)[i], 1.5 + double(i)) << i;
    ASSERT_TRUE(to.Mask.Exists());
    EXPECT_EQ(to.Mask.IsSelected(6, 2), 0);
    EXPECT_EQ(to.Generation.Seed, FracParms{}.Seed);
    EXPECT_EQ(to.CopyFrom(to), 0);
    EXPECT_EQ(to.Rows[2][6], -4.5f); // copying itself keeps the data
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
        EXPECT_EQ(host.Closes.size(), 1u);
    }
    Running = nullptr;
}

} // namespace
} // namespace korvel
