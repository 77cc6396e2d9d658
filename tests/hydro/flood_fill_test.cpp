#include "hydro/flood_fill.h"

#include "core/surface.h"

#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <limits>
#include <string>
#include <vector>

namespace korvel {
namespace {

// The region a plain breadth-first search finds over the original heights.
std::vector<bool> Component(const std::vector<float>& e, int32_t w, int32_t h, int32_t x0,
                            int32_t y0, float low, float high) {
    std::vector<bool> in(e.size(), false);
    const auto ok = [&](int32_t x, int32_t y) {
        const float v = e[static_cast<size_t>(y * w + x)];
        return low <= v && v <= high;
    };
    if (!ok(x0, y0))
        return in;
    std::deque<std::pair<int32_t, int32_t>> queue{{x0, y0}};
    in[static_cast<size_t>(y0 * w + x0)] = true;
    while (!queue.empty()) {
        const auto [x, y] = queue.front();
        queue.pop_front();
        const int32_t nx[4] = {x - 1, x + 1, x, x};
        const int32_t ny[4] = {y, y, y - 1, y + 1};
        for (int32_t k = 0; k < 4; ++k) {
            if (nx[k] < 0 || ny[k] < 0 || nx[k] >= w || ny[k] >= h)
                continue;
            const size_t i = static_cast<size_t>(ny[k] * w + nx[k]);
            if (!in[i] && ok(nx[k], ny[k])) {
                in[i] = true;
                queue.emplace_back(nx[k], ny[k]);
            }
        }
    }
    return in;
}

// A deterministic terrain of ridges and basins with plateaus that tie.
std::vector<float> Terrain(int32_t w, int32_t h) {
    std::vector<float> e(static_cast<size_t>(w * h));
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            const float fx = static_cast<float>(x), fy = static_cast<float>(y);
            e[static_cast<size_t>(y * w + x)] =
                std::round(4.0f * std::sin(0.45f * fx) * std::cos(0.3f * fy) +
                           0.1f * static_cast<float>((x * 7 + y * 3) % 5));
        }
    return e;
}

std::vector<float> Stripes(int32_t w, int32_t h) {
    // Columns 0..2 low, a wall at 3, low again beyond; the wall has a gap in row 4, and a
    // diagonal-only contact at (5, 0)/(4, 1).
    std::vector<float> e(static_cast<size_t>(w * h), 0.0f);
    for (int32_t y = 0; y < h; ++y)
        e[static_cast<size_t>(y * w + 3)] = y == 4 ? 0.0f : 9.0f;
    e[static_cast<size_t>(0 * w + 6)] = 0.0f;
    return e;
}

TEST(FloodFill, FillsTheConnectedRegionAPlainSearchFinds) {
    struct Case {
        const char* Name;
        std::vector<float> Heights;
        int32_t W, H, X, Y;
        float Low, High, NewValue;
    };
    const Case cases[] = {
        {"terrain, new value outside the range", Terrain(40, 30), 40, 30, 5, 5, -1.0f, 1.5f, 50.0f},
        {"terrain, new value inside the range", Terrain(40, 30), 40, 30, 5, 5, -1.0f, 1.5f, 0.0f},
        {"terrain, start on a ridge", Terrain(40, 30), 40, 30, 3, 0, 2.0f, 9.0f, 2.5f},
        {"flat grid, whole of it", std::vector<float>(64 * 48, 1.0f), 64, 48, 63, 47, 0.0f, 2.0f,
         1.5f},
        {"wall with a gap", Stripes(8, 6), 8, 6, 0, 0, -1.0f, 1.0f, 0.5f},
        {"low above high", Terrain(40, 30), 40, 30, 5, 5, 3.0f, -3.0f, 7.0f},
        {"start outside the range", Terrain(40, 30), 40, 30, 5, 5, 100.0f, 200.0f, 7.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Surface s;
        ASSERT_EQ(s.Resize(c.W, c.H, 0), 0);
        std::copy(c.Heights.begin(), c.Heights.end(), s.Rows[0]);
        const std::vector<bool> expected = Component(c.Heights, c.W, c.H, c.X, c.Y, c.Low, c.High);
        int64_t filled = -1;
        ASSERT_EQ(FloodFill(s, c.X, c.Y, c.Low, c.High, c.NewValue, &filled), FloodFillDone);
        int64_t count = 0;
        for (size_t i = 0; i < c.Heights.size(); ++i) {
            const float want = expected[i] ? c.NewValue : c.Heights[i];
            ASSERT_EQ(s.Rows[0][i], want) << "sample " << i;
            count += expected[i];
        }
        EXPECT_EQ(filled, count);
    }
}

TEST(FloodFill, TakesTheExtremesAgain) {
    Surface s;
    ASSERT_EQ(s.Resize(4, 1, 0), 0);
    const float heights[] = {1, 1, 5, 9};
    std::copy(std::begin(heights), std::end(heights), s.Rows[0]);
    ASSERT_EQ(FloodFill(s, 0, 0, 0.0f, 2.0f, -3.0f), FloodFillDone);
    EXPECT_EQ(s.Min, -3.0);
    EXPECT_EQ(s.Max, 9.0);
}

TEST(FloodFill, StartPositions) {
    Surface s;
    ASSERT_EQ(s.Resize(12, 8, 0), 0);
    s.SetEdges(0.0, 12.0, 8.0, 0.0); // one degree per sample, rows counted from the top
    struct Case {
        const char* Name;
        double X, Y;
        bool LonLat;
        bool Inside;
        int32_t Column, Row;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        {"corner", 0.0, 0.0, false, true, 0, 0},
        {"truncated", 3.9, 2.2, false, true, 3, 2},
        {"last sample", 11.99, 7.5, false, true, 11, 7},
        {"just left, truncating to 0", -0.5, 0.0, false, false, 0, 0},
        {"just below", 0.0, -0.01, false, false, 0, 0},
        {"one past the last column", 12.0, 0.0, false, false, 0, 0},
        {"not a number", nan, 1.0, false, false, 0, 0},
        {"far beyond int range", 1e300, 1.0, false, false, 0, 0},
        {"lon/lat inside", 2.5, 5.5, true, true, 2, 2},
        {"lon/lat outside", -30.0, 5.5, true, false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        int32_t column = -1, row = -1;
        ASSERT_EQ(FloodFillStart(s, c.X, c.Y, c.LonLat, column, row), c.Inside);
        if (c.Inside) {
            EXPECT_EQ(column, c.Column);
            EXPECT_EQ(row, c.Row);
        }
    }
    EXPECT_EQ(FloodFill(s, -1, 0, 0.0f, 1.0f, 0.5f), FloodFillOutside);
}

} // namespace
} // namespace korvel
