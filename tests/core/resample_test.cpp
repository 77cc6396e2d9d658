#include "core/resample.h"

#include "commands/resample_commands.h"
#include "core/workspace.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace korvel {
namespace {

struct Trial {
    test::RecordingHost Host;
    Workspace Ws{Host};
    Surface& S = Ws.TheSurface;

    // A w x h grid of value(x, y) with Left = Bottom = 0 and the resolutions of Resize:
    // XRes = right/w, YRes = top/h. Min/Max -7/7.
    template <class F> void Fill(int32_t w, int32_t h, double right, double top, F value) {
        S.Left = S.Bottom = 0.0;
        S.Right = right;
        S.Top = top;
        ASSERT_EQ(S.Resize(w, h, 0), 0);
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x)
                S.Rows[y][x] = static_cast<float>(value(x, y));
        S.Min = -7.0;
        S.Max = 7.0;
    }
    std::vector<float> Samples() const {
        std::vector<float> v;
        for (int32_t y = 0; y < S.YSize; ++y)
            v.insert(v.end(), S.Rows[y], S.Rows[y] + S.XSize);
        return v;
    }
    int32_t Run(bool quad, int32_t xsize, int32_t ysize) {
        const std::array<QuadPoint, 4> corners = {QuadPoint{1, 0}, QuadPoint{-1, 0},
                                                  QuadPoint{1, 8}, QuadPoint{-1, 8}};
        return quad ? QuadResample(S, Ws.TheProgress, Host, {}, corners, xsize, ysize)
                    : Resample(S, Ws.TheProgress, Host, {}, 0, 8, 2, 0, xsize, ysize);
    }
};

Progress* Running = nullptr;

void PressEscape(int) {
    Running->CancelFlag = CancelKey;
}

// Widths are rounded down to a multiple of 4, 65536 and more included. Sizes the Surface cannot
// take are refused before anything is computed, and Escape stops after the first row: either
// way the Surface is as it was.
TEST(ResampleTest, SizesRefusalsAndCancel) {
    const struct {
        bool Quad;
        int32_t FromWidth, XSize, YSize;
        bool Escape;
        int32_t Code, Width;
    } cases[] = {{false, 1000, 1001, 2, false, 0, 1000},
                 {true, 1000, 1001, 2, false, 0, 1000},
                 {false, 65540, 65540, 2, false, 0, 65540},
                 {true, 65540, 65537, 3, false, 0, 65536},
                 {false, 8, 150000, 2, false, -1, 8},
                 {true, 8, 8, 150000, false, -1, 8},
                 {false, 8, 3, 2, false, -1, 8},
                 {true, 8, INT32_MAX, INT32_MAX, false, -1, 8},
                 {false, 8, 16, 12, true, -1, 8},
                 {true, 8, 16, 12, true, -1, 8}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Quad << " " << c.XSize << " x " << c.YSize);
        Trial t;
        t.Fill(c.FromWidth, 2, c.FromWidth, 2.0, [](int32_t x, int32_t y) { return x * y; });
        const std::vector<float> before = t.Samples();
        t.Ws.TheProgress.CancelFlag = CancelKey; // left over from before: cleared at the start
        Running = &t.Ws.TheProgress;
        t.Host.OnPump = c.Escape ? PressEscape : nullptr;
        EXPECT_EQ(t.Run(c.Quad, c.XSize, c.YSize), c.Code);
        EXPECT_EQ(t.S.XSize, c.Width);
        EXPECT_EQ(t.S.YSize, c.Code == 0 ? c.YSize : 2);
        const bool refused = c.Code != 0 && !c.Escape;
        EXPECT_EQ(t.Host.Messages.size(), refused ? 1u : 0u);
        if (refused) {
            EXPECT_EQ(t.Host.Messages[0], "Unable to allocate surface for resample");
        } else {
            EXPECT_EQ(t.Host.ProgressTexts[0], "Resampling to " + std::to_string(c.XSize & ~3) +
                                                   " x " + std::to_string(c.YSize) + " samples");
            EXPECT_EQ(t.Ws.TheProgress.ProgressStep, 5);
            EXPECT_EQ(t.Ws.TheProgress.CancelFlag.load(), 0);
        }
        if (c.Code != 0) {
            EXPECT_EQ(t.Host.Pumps, c.Escape ? 1 : 0);
            EXPECT_EQ(t.S.Right, c.FromWidth);
            EXPECT_EQ(t.S.Max, 7.0);
            EXPECT_EQ(t.Samples(), before);
        }
    }
    Running = nullptr;
}

// Latitudes are sampled at bottom + i (top - bottom)/ysize and go to row ysize-1-i, read through
// LatLonToXY, which counts rows from Top. With the resolution of Resize, (Top - Bottom)/YSize,
// row i = 0 lies at y = YSize, outside the grid, so the rows come back one up with a zero row
// last; with the resolution of SetEdges, (Top - Bottom)/(YSize - 1), the rows come back in place
// and the columns squeezed: x = j (XSize - 1)/XSize.
TEST(ResampleTest, SameSizeAndEdgesWithNearest) {
    const struct {
        bool SetEdgesRule;
        std::array<int32_t, 5> FromRow; // -1: zero
        std::array<int32_t, 8> FromColumn;
        float Min, Max;
    } cases[] = {{false, {1, 2, 3, 4, -1}, {0, 1, 2, 3, 4, 5, 6, 7}, 0.0f, 48.0f},
                 {true, {0, 1, 2, 3, 4}, {0, 0, 1, 2, 3, 4, 5, 6}, 1.0f, 47.0f}};
    const auto value = [](int32_t x, int32_t y) { return 10 * y + x + 1; };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.SetEdgesRule);
        Trial t;
        t.Fill(8, 5, 8.0, 5.0, value); // XRes = YRes = 1
        if (c.SetEdgesRule)
            t.S.SetEdges(0, 7, 4, 0); // XRes = YRes = 1 again
        const double right = t.S.Right;
        t.Ws.Interp.Type = InterpNearest;
        PrefillResample(t.Ws);
        ASSERT_EQ(RunResample(t.Ws), 0);
        for (int32_t y = 0; y < 5; ++y)
            for (int32_t x = 0; x < 8; ++x)
                EXPECT_EQ(t.S.Rows[y][x],
                          c.FromRow[y] < 0 ? 0 : value(c.FromColumn[x], c.FromRow[y]))
                    << x << ", " << y;
        EXPECT_EQ(t.S.Min, c.Min);
        EXPECT_EQ(t.S.Max, c.Max);
        EXPECT_EQ(t.S.XRes, right / 7);
    }
}

TEST(ResampleTest, LinearRampStaysLinear) {
    const auto ramp = [](double x, double y) { return 3 * x - 2 * y + 100; };
    const struct {
        double Left, Right, Top, Bottom;
        int32_t W, H;
    } cases[] = {{1.5, 13.5, 10.25, 2.75, 20, 9}, {0, 14, 11, 1.5, 4, 3}, {14, 2, 3, 9, 12, 30}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.W);
        Trial t;
        t.Fill(16, 12, 16.0, 12.0, ramp); // x = longitude, y = 12 - latitude
        t.Ws.Interp.Type = InterpLinear;
        ASSERT_EQ(Resample(t.S, t.Ws.TheProgress, t.Host, t.Ws.Interp, c.Left, c.Right, c.Top,
                           c.Bottom, c.W, c.H),
                  0);
        for (int32_t i = 0; i < c.H; ++i)
            for (int32_t j = 0; j < c.W; ++j)
                EXPECT_NEAR(t.S.Rows[c.H - 1 - i][j],
                            ramp(c.Left + j * (c.Right - c.Left) / c.W,
                                 12 - (c.Bottom + i * (c.Top - c.Bottom) / c.H)),
                            1e-3)
                    << j << ", " << i;
    }
}

// Every new sample is SampleAt's value at the position the mapping gives, to the bit, on random
// grids, map records, rectangles and quadrilaterals reaching beyond the grid.
TEST(ResampleTest, EverySampleIsSampleAtForEveryType) {
    std::mt19937 random(1234);
    const auto uniform = [&](double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(random);
    };
    const auto lerp = [](double a, double b, double f) { return a + (b - a) * f; };
    const InterpSettings types[] = {{InterpNearest, 0, 0},        {InterpLinear, 0, 0},
                                    {InterpCatmullRom, 0, 0},     {InterpBSpline, 0, 0},
                                    {InterpBetaSpline, 0.7, 1.3}, {9, 0, 0}};
    for (const InterpSettings& interp : types) {
        for (int round = 0; round < 6; ++round) {
            SCOPED_TRACE(testing::Message() << "type " << interp.Type << " round " << round);
            Trial t;
            t.Fill(16, 9, 16.0, 9.0, [&](int32_t, int32_t) { return uniform(-500, 500); });
            if (round % 2)
                t.S.SetEdges(uniform(-20, 20), uniform(-20, 20), uniform(-20, 20),
                             uniform(-20, 20));
            Surface old;
            ASSERT_EQ(old.CopyFrom(t.S), 0);
            const int32_t w = 4 * static_cast<int32_t>(uniform(1, 12));
            const auto h = static_cast<int32_t>(uniform(1, 30));
            const double left = uniform(-3, 5), right = uniform(10, 20);
            const double top = uniform(-3, 4), bottom = uniform(6, 12);
            std::array<QuadPoint, 4> c;
            for (QuadPoint& q : c)
                q = {uniform(-3, 12), uniform(-3, 19)};
            const bool quad = round >= 3;
            ASSERT_EQ(quad ? QuadResample(t.S, t.Ws.TheProgress, t.Host, interp, c, w, h)
                           : Resample(t.S, t.Ws.TheProgress, t.Host, interp, left, right, top,
                                      bottom, w, h),
                      0);
            for (int32_t i = 0; i < h; ++i) {
                const double v = static_cast<double>(i) / h;
                const QuadPoint a{lerp(c[0].P, c[1].P, v), lerp(c[0].Q, c[1].Q, v)};
                const QuadPoint b{lerp(c[2].P, c[3].P, v), lerp(c[2].Q, c[3].Q, v)};
                for (int32_t j = 0; j < w; ++j) {
                    const double u = static_cast<double>(j) / w;
                    const double expected =
                        quad ? old.SampleAt(lerp(a.Q, b.Q, u), lerp(a.P, b.P, u), interp)
                             : old.SampleAtLatLon(bottom + i * ((top - bottom) / h),
                                                  left + j * ((right - left) / w), interp);
                    ASSERT_EQ(t.S.Rows[h - 1 - i][j], static_cast<float>(expected))
                        << j << ", " << i;
                }
            }
            const std::vector<float> all = t.Samples();
            EXPECT_EQ(t.S.Min, *std::min_element(all.begin(), all.end()));
            EXPECT_EQ(t.S.Max, *std::max_element(all.begin(), all.end()));
        }
    }
}

// Pixel corners: the lower ones are the first sample positions and the upper ones one step
// beyond the last, as t = r/ysize never reaches 1. Row r of the computation goes to row
// ysize-1-r, so lower-left row 3 and upper-left row -1 give back the grid, while lower-left 0 and
// upper-left 4 turn it upside down. Plane units name the same rows through (Lat - Bottom)/YRes.
TEST(ResampleTest, QuadOfTheFullRectangle) {
    const struct {
        int32_t Units;
        QuadCorner LowerLeft, UpperLeft, LowerRight, UpperRight; // {Lon, Lat}
        bool Flipped;
    } cases[] = {
        {QuadPixels, {0, 3}, {0, -1}, {8, 3}, {8, -1}, false},
        {QuadPlaneUnits, {100, 48}, {100, 40}, {116, 48}, {116, 40}, false},
        {QuadPixels, {0, 0}, {0, 4}, {8, 0}, {8, 4}, true},
    };
    const auto value = [](int32_t x, int32_t y) { return 10 * y + x; };
    for (const auto& c : cases) {
        for (const int32_t type : {InterpNearest, InterpLinear, InterpCatmullRom}) {
            SCOPED_TRACE(testing::Message() << c.Units << " " << c.Flipped << " type " << type);
            Trial t;
            t.Fill(8, 4, 16.0, 8.0, value);
            t.S.Left = 100; // XRes stays 2, YRes 2
            t.S.Right = 116;
            t.S.Bottom = 42;
            t.S.Top = 50;
            t.Ws.Interp.Type = type;
            t.Ws.QuadResample = {c.Units, c.UpperLeft, c.UpperRight, c.LowerLeft, c.LowerRight, 8,
                                 4};
            ASSERT_EQ(RunQuadResample(t.Ws), 0);
            for (int32_t y = 0; y < 4; ++y)
                for (int32_t x = 0; x < 8; ++x)
                    EXPECT_EQ(t.S.Rows[y][x], value(x, c.Flipped ? 3 - y : y)) << x << ", " << y;
            EXPECT_EQ(t.S.Bottom, 42.0); // the edges stay
        }
    }
}

} // namespace
} // namespace korvel
