#include "edit/area_operations.h"

#include "core/progress.h"
#include "core/surface.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <tuple>
#include <utility>
#include <vector>

namespace korvel {
namespace {

using Operation = std::function<int32_t(Surface&, Progress&)>;

const bool NoTimes = false;

struct Trial {
    test::RecordingHost Host;
    Progress P{Host, NoTimes};
    Surface S;

    Trial(int32_t w, int32_t h) {
        EXPECT_EQ(S.Resize(w, h, 0), 0);
        for (int32_t i = 0; i < w * h; ++i)
            S.Rows[i / w][i % w] = static_cast<float>(10 * (i / w) + i % w);
    }
    std::vector<float> Rows() const { return {S.Rows[0], S.Rows[0] + S.XSize * S.YSize}; }
    void CancelAt(int pump) { Host.OnPump = test::CancelAtPump(P, pump); }
};

// Toroidal offsets with their hand-reduced shifts on 4 x 3: (1, 0) moves column 1 to column 0.
TEST(AreaOperationsTest, FlipsAndToroidalOffsetsMoveRowsAndColumns) {
    const auto offset = [](int32_t dx, int32_t dy) {
        return [=](Surface& s, Progress& p) { return ToroidalOffset(s, p, dx, dy); };
    };
    const std::tuple<Operation, int32_t, int32_t, int32_t, int32_t> cases[] = {
        {FlipVertical, 1, 0, 0, 0},  {FlipHorizontal, 0, 1, 0, 0}, {FlipDiagonal, 1, 1, 0, 0},
        {offset(-7, 0), 0, 0, 1, 0}, {offset(0, -1), 0, 0, 0, 2},  {offset(2, -4), 0, 0, 2, 2}};
    for (const auto& [op, rowsFlipped, columnsFlipped, shiftX, shiftY] : cases) {
        Trial t(4, 3);
        EXPECT_EQ(op(t.S, t.P), 0);
        for (int32_t y = 0; y < 3; ++y)
            for (int32_t x = 0; x < 4; ++x)
                EXPECT_EQ(t.S.Rows[y][x], 10 * (((rowsFlipped ? 2 - y : y) + shiftY) % 3) +
                                              ((columnsFlipped ? 3 - x : x) + shiftX) % 4);
    }
}

TEST(AreaOperationsTest, RotateTransposesAndSwapsEdges) {
    Trial t(8, 4);
    t.S.Left = 10, t.S.Right = 20, t.S.Top = 5, t.S.Bottom = -5, t.S.XRes = 1.25, t.S.YRes = 2.5;
    ASSERT_EQ(Rotate90(t.S, t.P), 0);
    ASSERT_EQ(std::pair(t.S.XSize, t.S.YSize), std::pair(4, 8));
    for (int32_t i = 0; i < 32; ++i)
        EXPECT_EQ(t.S.Rows[i / 4][i % 4], 10 * (i % 4) + i / 4);
    EXPECT_EQ((std::array{t.S.Left, t.S.Right, t.S.Top, t.S.Bottom, t.S.XRes, t.S.YRes}),
              (std::array{20.0, 10.0, -5.0, 5.0, 2.5, 1.25}));
    EXPECT_EQ(t.S.Texture.AsIs().Height(), 8); // a blank picture of the new shape
}

// Cancelled flips put back what they moved; turns change nothing until done (width 6 refused).
TEST(AreaOperationsTest, FailuresLeaveSurfaceUnchanged) {
    const std::tuple<Operation, int32_t, int32_t, int32_t> cases[] = {{FlipVertical, 4, 1, -1},
                                                                      {FlipDiagonal, 4, 4, -1},
                                                                      {Rotate90, 6, 0, -3},
                                                                      {Rotate90, 16, 1, -1}};
    for (const auto& [op, height, pump, code] : cases) {
        Trial t(8, height);
        t.CancelAt(pump);
        EXPECT_EQ(op(t.S, t.P), code);
        EXPECT_EQ(t.Rows(), Trial(8, height).Rows()) << height << " " << pump;
    }
}

// Two rows of 8: row 0 (x * x, or 2x for the inverse) lies at latitude -half (|cos| = k), row 1
// at the middle (k = 1).
TEST(AreaOperationsTest, CosineDistortionsOfOneRow) {
    const float nd = NoDataValue;
    const std::tuple<bool, double, double, std::array<float, 8>> cases[] = {
        // k = 0.5, off = 2: s = x/2 + 2. Latitudes clamp to -90..90, where k = 0.
        {false, 60, -60, {4, 6.5f, 9, 12.5f, 16, 20.5f, 25, 30.5f}},
        {false, 100, -90, {16, 16, 16, 16, 16, 16, 16, 16}},
        // Inverse: column u lay at 2u - 4 of the distorted row, clamped into 0..7.
        {true, 60, -60, {0, 0, 0, 4, 8, 12, 14, 14}},
        {true, 90, -90, {nd, nd, nd, nd, nd, nd, nd, nd}},
    };
    for (const auto& [inverse, top, bottom, out] : cases) {
        Trial t(8, 2);
        t.S.Top = top, t.S.Bottom = bottom;
        for (int32_t x = 0; x < 8; ++x)
            t.S.Rows[0][x] = static_cast<float>(inverse ? 2 * x : x * x);
        ASSERT_EQ((inverse ? InverseCosineDistort : CosineDistort)(t.S, t.P), 0);
        for (int32_t x = 0; x < 8; ++x)
            EXPECT_NEAR(t.S.Rows[0][x], out[x], 1e-4) << inverse << top << " at " << x;
        EXPECT_EQ(t.S.Min, std::min(out[0] == nd ? 10.0f : out[0], 10.0f));
        EXPECT_NEAR(t.S.Max, std::max(out[7], 17.0f), 1e-4);
    }
    Trial t(4, 16); // rows a cancel left alone still count for Min/Max
    t.S.Top = 60, t.S.Bottom = -60;
    t.CancelAt(1);
    EXPECT_EQ(CosineDistort(t.S, t.P), -1);
    EXPECT_EQ(std::pair(t.S.Rows[15][3], t.S.Max), std::pair(153.0f, 153.0));
}

} // namespace
} // namespace korvel
