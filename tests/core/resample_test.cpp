#include "core/resample.h"

#include "commands/resample_commands.h"
#include "core/workspace.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstdint>
#include <utility>
#include <vector>

namespace korvel {
namespace {

struct Trial {
    test::RecordingHost Host;
    Workspace Ws{Host};
    Surface& S = Ws.TheSurface;

    // value(x, y) on a w x h grid from (0, 0) to (right, top); Min/Max -7/7.
    template <class F> void Fill(int32_t w, int32_t h, double right, double top, F value) {
        S.Left = S.Bottom = 0.0, S.Right = right, S.Top = top;
        ASSERT_EQ(S.Resize(w, h, 0), 0);
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x)
                S.Rows[y][x] = static_cast<float>(value(x, y));
        S.Min = -7.0, S.Max = 7.0;
    }
    std::vector<float> Samples() const { return {S.Rows[0], S.Rows[0] + S.XSize * S.YSize}; }
};

Progress* Running = nullptr;
void PressEscape(int) {
    Running->CancelFlag = CancelKey;
}

// Widths round down to a multiple of 4, past 65536 too. Sizes the Surface cannot take are
// refused before anything is computed and Escape stops after the first row: the Surface stays.
TEST(ResampleTest, SizesRefusalsAndCancel) {
    const struct {
        int32_t Quad, FromWidth, XSize, YSize, Escape, Code, Width;
    } cases[] = {{0, 1000, 1001, 2, 0, 0, 1000}, {1, 65540, 65537, 3, 0, 0, 65536},
                 {0, 8, 150000, 2, 0, -1, 8},    {1, 8, INT32_MAX, INT32_MAX, 0, -1, 8},
                 {0, 8, 16, 12, 1, -1, 8},       {1, 8, 16, 12, 1, -1, 8}};
    const std::array<QuadPoint, 4> corners = {QuadPoint{1, 0}, QuadPoint{-1, 0}, QuadPoint{1, 8},
                                              QuadPoint{-1, 8}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Quad << " " << c.XSize << " x " << c.YSize);
        Trial t;
        t.Fill(c.FromWidth, 2, c.FromWidth, 2.0, [](int32_t x, int32_t y) { return x * y; });
        const std::vector<float> before = t.Samples();
        t.Ws.TheProgress.CancelFlag = CancelKey; // left over from before: cleared at the start
        Running = &t.Ws.TheProgress;
        t.Host.OnPump = c.Escape ? PressEscape : nullptr;
        EXPECT_EQ(c.Quad
                      ? QuadResample(t.S, t.Ws.TheProgress, t.Host, {}, corners, c.XSize, c.YSize)
                      : Resample(t.S, t.Ws.TheProgress, t.Host, {}, 0, 8, 2, 0, c.XSize, c.YSize),
                  c.Code);
        EXPECT_EQ(t.S.XSize, c.Width);
        EXPECT_EQ(t.S.YSize, c.Code == 0 ? c.YSize : 2);
        const bool refused = c.Code != 0 && !c.Escape;
        EXPECT_EQ(t.Host.Messages.size(), refused ? 1u : 0u);
        EXPECT_EQ(t.Ws.TheProgress.CancelFlag.load(), refused ? CancelKey : 0);
        EXPECT_EQ(t.Samples() == before, c.Code != 0);
    }
    Running = nullptr;
}

// With Resize's resolution, (Top - Bottom)/YSize, row 0 lies outside the grid: rows come back one
// up with a zero row last. With SetEdges', /(YSize - 1), rows stay and columns are squeezed.
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
        t.Fill(8, 5, 8.0, 5.0, value);
        if (c.SetEdgesRule)
            t.S.SetEdges(0, 7, 4, 0);
        const double right = t.S.Right;
        t.Ws.Interp.Type = InterpNearest;
        PrefillResample(t.Ws);
        ASSERT_EQ(RunResample(t.Ws), 0);
        for (int32_t y = 0; y < 5; ++y)
            for (int32_t x = 0; x < 8; ++x)
                EXPECT_EQ(t.S.Rows[y][x],
                          c.FromRow[y] < 0 ? 0 : value(c.FromColumn[x], c.FromRow[y]))
                    << x << ", " << y;
        EXPECT_EQ(std::pair(t.S.Min, t.S.Max), std::pair(double{c.Min}, double{c.Max}));
        EXPECT_EQ(t.S.XRes, right / 7);
    }
}

// Linear interpolation of a plane gives the plane back at every mapped position: rectangles
// (one flipped) and a skewed quadrilateral, whose row i, column j lies at the bilinear mix of the
// corners with weights i/h and j/w.
TEST(ResampleTest, LinearRampStaysLinear) {
    const auto ramp = [](double x, double y) { return 3 * x - 2 * y + 100; };
    const auto lerp = [](double a, double b, double f) { return a + (b - a) * f; };
    const struct {
        double Left, Right, Top, Bottom;
        int32_t W, H;
        bool Quad;
    } cases[] = {{1.5, 13.5, 10.25, 2.75, 20, 9, false},
                 {14, 2, 3, 9, 12, 30, false},
                 {0, 0, 0, 0, 8, 6, true}};
    const std::array<QuadPoint, 4> q = {QuadPoint{1, 2}, QuadPoint{10, 1}, QuadPoint{2, 14},
                                        QuadPoint{9, 13}}; // {row, column}
    for (const auto& c : cases) {
        SCOPED_TRACE(c.W);
        Trial t;
        t.Fill(16, 12, 16.0, 12.0, ramp); // x = longitude, y = 12 - latitude
        t.Ws.Interp.Type = InterpLinear;
        ASSERT_EQ(c.Quad ? QuadResample(t.S, t.Ws.TheProgress, t.Host, t.Ws.Interp, q, c.W, c.H)
                         : Resample(t.S, t.Ws.TheProgress, t.Host, t.Ws.Interp, c.Left, c.Right,
                                    c.Top, c.Bottom, c.W, c.H),
                  0);
        for (int32_t i = 0; i < c.H; ++i) {
            const double v = static_cast<double>(i) / c.H;
            for (int32_t j = 0; j < c.W; ++j) {
                const double u = static_cast<double>(j) / c.W;
                const double want =
                    c.Quad ? ramp(lerp(lerp(q[0].Q, q[1].Q, v), lerp(q[2].Q, q[3].Q, v), u),
                                  lerp(lerp(q[0].P, q[1].P, v), lerp(q[2].P, q[3].P, v), u))
                           : ramp(c.Left + j * (c.Right - c.Left) / c.W,
                                  12 - (c.Bottom + i * (c.Top - c.Bottom) / c.H));
                EXPECT_NEAR(t.S.Rows[c.H - 1 - i][j], want, 1e-3) << j << ", " << i;
            }
        }
    }
}

// Lower corners are the first sample positions, upper ones a step beyond the last; row r goes to
// row ysize-1-r. So lower-left row 3 / upper-left -1 give the grid back, 0 / 4 turn it upside
// down. Plane units name rows through (Lat - Bottom)/YRes.
TEST(ResampleTest, QuadOfTheFullRectangle) {
    const struct {
        int32_t Units;
        QuadCorner LowerLeft, UpperLeft, LowerRight, UpperRight; // {Lon, Lat}
        bool Flipped;
    } cases[] = {{QuadPixels, {0, 3}, {0, -1}, {8, 3}, {8, -1}, false},
                 {QuadPlaneUnits, {100, 42}, {100, 50}, {116, 42}, {116, 50}, true}};
    const auto value = [](int32_t x, int32_t y) { return 10 * y + x; };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Units);
        Trial t;
        t.Fill(8, 4, 16.0, 8.0, value);
        t.S.Left = 100, t.S.Right = 116, t.S.Bottom = 42, t.S.Top = 50; // XRes, YRes 2
        t.Ws.Interp.Type = InterpCatmullRom;                            // exact at the samples
        t.Ws.QuadResample = {c.Units, c.UpperLeft, c.UpperRight, c.LowerLeft, c.LowerRight, 8, 4};
        ASSERT_EQ(RunQuadResample(t.Ws), 0);
        for (int32_t y = 0; y < 4; ++y)
            for (int32_t x = 0; x < 8; ++x)
                EXPECT_EQ(t.S.Rows[y][x], value(x, c.Flipped ? 3 - y : y)) << x << ", " << y;
        EXPECT_EQ(t.S.Bottom, 42.0); // the edges stay
    }
}

} // namespace
} // namespace korvel
