#include "edit/resample.h"

#include "commands/resample_commands.h"
#include "core/workspace.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

namespace korvel {
namespace {

struct Trial {
    test::RecordingHost Host;
    Workspace Ws{Host};
    Surface& S = Ws.TheSurface;

    template <class F> void Fill(int32_t w, int32_t h, double right, double top, F value) {
        S.Left = S.Bottom = 0.0, S.Right = right, S.Top = top;
        ASSERT_EQ(S.Resize(w, h, 0), 0);
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x)
                S.Rows[y][x] = static_cast<float>(value(x, y));
    }
    std::vector<float> Samples() const { return {S.Rows[0], S.Rows[0] + S.XSize * S.YSize}; }
};

// Widths round down to a multiple of 4; refused sizes and Escape leave the Surface as it was.
TEST(ResampleTest, SizesRefusalsAndCancel) {
    const struct {
        int32_t Quad, FromWidth, XSize, YSize, Escape, Code, Width;
    } cases[] = {{0, 1000, 1001, 2, 0, 0, 1000}, {1, 65540, 65537, 3, 0, 0, 65536},
                 {0, 8, 150000, 2, 0, -1, 8},    {1, 8, INT32_MAX, INT32_MAX, 0, -1, 8},
                 {0, 8, 16, 12, 1, -1, 8},       {1, 8, 16, 12, 1, -1, 8}};
    const std::array<QuadPoint, 4> corners = {{{1, 0}, {-1, 0}, {1, 8}, {-1, 8}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.XSize + c.Escape);
        Trial t;
        t.Fill(c.FromWidth, 2, c.FromWidth, 2.0, [](int32_t x, int32_t y) { return x * y; });
        const std::vector<float> before = t.Samples();
        t.Ws.TheProgress.CancelFlag = CancelKey; // left over from before: cleared at the start
        if (c.Escape)
            t.Host.OnPump = test::CancelAtPump(t.Ws.TheProgress, t.Host.Pumps + 1);
        EXPECT_EQ(c.Quad
                      ? QuadResample(t.S, t.Ws.TheProgress, t.Host, {}, corners, c.XSize, c.YSize)
                      : Resample(t.S, t.Ws.TheProgress, t.Host, {}, 0, 8, 2, 0, c.XSize, c.YSize),
                  c.Code);
        EXPECT_EQ(t.S.XSize, c.Width);
        EXPECT_EQ(t.Host.Messages.size(), c.Code != 0 && !c.Escape ? 1u : 0u);
        EXPECT_EQ(t.Samples() == before, c.Code != 0);
    }
}

// With Resize's resolution, /YSize, rows come back one up and the last new row, which falls a
// step past the old grid, repeats the old top row; with SetEdges', /(YSize - 1), rows stay and
// columns are squeezed.
TEST(ResampleTest, SameSizeAndEdgesWithNearest) {
    const auto value = [](int32_t x, int32_t y) { return 10 * y + x + 1; };
    for (const bool setEdges : {false, true}) {
        Trial t;
        t.Fill(8, 5, 8.0, 5.0, value);
        if (setEdges)
            t.S.SetEdges(0, 7, 4, 0);
        t.Ws.Interp.Type = InterpNearest;
        PrefillResample(t.Ws);
        ASSERT_EQ(RunResample(t.Ws), 0);
        for (int32_t y = 0; y < 5; ++y)
            for (int32_t x = 0; x < 8; ++x)
                EXPECT_EQ(t.S.Rows[y][x],
                          setEdges ? value(std::max(x - 1, 0), y) : value(x, std::min(y + 1, 4)))
                    << x << ", " << y << " " << setEdges;
        EXPECT_EQ(std::pair(t.S.Min, t.S.Max), std::pair(setEdges ? 1.0 : 11.0, 48.0 - setEdges));
    }
}

// A plane comes back linear at every mapped position: row i, column j lies at the bilinear mix of
// the corners with weights i/h and j/w; the flipped rectangle 14..2 x 9..3 is such a quad too.
TEST(ResampleTest, LinearRampStaysLinear) {
    const auto ramp = [](double x, double y) { return 3 * x - 2 * y + 100; };
    const auto lerp = [](double a, double b, double f) { return a + (b - a) * f; };
    using Quad = std::array<QuadPoint, 4>; // {row, column}; row = 12 - latitude
    const Quad rect = {QuadPoint{3, 14}, QuadPoint{9, 14}, QuadPoint{3, 2}, QuadPoint{9, 2}};
    const Quad skew = {QuadPoint{1, 2}, QuadPoint{10, 1}, QuadPoint{2, 14}, QuadPoint{9, 13}};
    for (const bool quad : {false, true}) {
        const Quad& q = quad ? skew : rect;
        const int32_t w = quad ? 8 : 12, h = quad ? 6 : 30;
        Trial t;
        t.Fill(16, 12, 16.0, 12.0, ramp);
        t.Ws.Interp.Type = InterpLinear;
        ASSERT_EQ(quad ? QuadResample(t.S, t.Ws.TheProgress, t.Host, t.Ws.Interp, q, w, h)
                       : Resample(t.S, t.Ws.TheProgress, t.Host, t.Ws.Interp, 14, 2, 3, 9, w, h),
                  0);
        const auto at = [&](double QuadPoint::*m, double v, double u) {
            return lerp(lerp(q[0].*m, q[1].*m, v), lerp(q[2].*m, q[3].*m, v), u);
        };
        for (int32_t i = 0; i < h; ++i)
            for (int32_t j = 0; j < w; ++j)
                EXPECT_NEAR(t.S.Rows[h - 1 - i][j],
                            ramp(at(&QuadPoint::Q, 1.0 * i / h, 1.0 * j / w),
                                 at(&QuadPoint::P, 1.0 * i / h, 1.0 * j / w)),
                            1e-3);
    }
}

// Positions beyond the grid take the edge samples: a flat surface stays flat whatever the
// interpolation, up- or downsampled, and a quad reaching past every edge brings in no zeros.
TEST(ResampleTest, PositionsOutsideTheGridTakeTheEdge) {
    const struct {
        const char* Name;
        int32_t Type;
        bool Quad;
        int32_t Width, Height;
    } cases[] = {{"nearest, twice the size", InterpNearest, false, 16, 8},
                 {"linear, twice the size", InterpLinear, false, 16, 8},
                 {"Catmull-Rom, same size", InterpCatmullRom, false, 8, 4},
                 {"B-spline, half the size", InterpBSpline, false, 4, 2},
                 {"linear quad past every edge", InterpLinear, true, 12, 6},
                 {"Catmull-Rom quad past every edge", InterpCatmullRom, true, 12, 6}};
    const std::array<QuadPoint, 4> beyond = {{{-3, -5}, {9, -5}, {-3, 14}, {9, 14}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Trial t;
        t.Fill(8, 4, 8.0, 4.0, [](int32_t, int32_t) { return 5.0; });
        t.Ws.Interp.Type = c.Type;
        ASSERT_EQ(c.Quad ? QuadResample(t.S, t.Ws.TheProgress, t.Host, t.Ws.Interp, beyond, c.Width,
                                        c.Height)
                         : Resample(t.S, t.Ws.TheProgress, t.Host, t.Ws.Interp, 0, 8, 4, 0, c.Width,
                                    c.Height),
                  0);
        EXPECT_EQ(t.Samples(), std::vector<float>(size_t(c.Width) * c.Height, 5.0f));
        EXPECT_EQ(std::pair(t.S.Min, t.S.Max), std::pair(5.0, 5.0));
    }
}

// Lower corners are the first sample positions, upper ones a step beyond the last; row r goes to
// ysize-1-r. Plane units name rows through (Lat - Bottom)/YRes: latitude 42 is row 0.
TEST(ResampleTest, QuadOfTheFullRectangleInPlaneUnits) {
    Trial t;
    t.Fill(8, 4, 16.0, 8.0, [](int32_t x, int32_t y) { return 10 * y + x; });
    t.S.Left = 100, t.S.Right = 116, t.S.Bottom = 42, t.S.Top = 50; // XRes, YRes 2
    t.Ws.Interp.Type = InterpCatmullRom;                            // exact at the samples
    t.Ws.QuadResample = {QuadPlaneUnits, {100, 50}, {116, 50}, {100, 42}, {116, 42}, 8, 4};
    ASSERT_EQ(RunQuadResample(t.Ws), 0);
    for (int32_t i = 0; i < 32; ++i)
        EXPECT_EQ(t.S.Rows[i / 8][i % 8], 10 * (3 - i / 8) + i % 8) << i;
}

} // namespace
} // namespace korvel
