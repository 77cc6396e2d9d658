#include "core/area_operations.h"

#include "core/progress.h"
#include "core/surface.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace korvel {
namespace {

using Operation = std::function<int32_t(Surface&, Progress&)>;

Progress* Running = nullptr;
int CancelAtPump = 0;

void EscapeAtPump(int pump) {
    if (pump == CancelAtPump)
        Running->CancelFlag = CancelKey;
}

struct Trial {
    test::RecordingHost Host;
    bool ShowTime = false;
    Progress P{Host, ShowTime};
    Surface S;

    Trial(int32_t w, int32_t h, int32_t flags = 0) {
        EXPECT_EQ(S.Resize(w, h, flags), 0);
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x)
                S.Rows[y][x] = static_cast<float>(10 * y + x);
    }
    std::vector<float> Rows() const { return {S.Rows[0], S.Rows[0] + S.XSize * S.YSize}; }
    void CancelAt(int pump) {
        Running = &P;
        CancelAtPump = pump;
        Host.OnPump = EscapeAtPump;
    }
};

// Flips, and toroidal offsets with their hand-reduced shifts on 4 x 3: (1, 0) moves column 1 to
// column 0.
TEST(AreaOperationsTest, FlipsAndToroidalOffsetsMoveRowsAndColumns) {
    const auto offset = [](int32_t dx, int32_t dy) {
        return [=](Surface& s, Progress& p) { return ToroidalOffset(s, p, dx, dy); };
    };
    const struct {
        Operation Op;
        int32_t RowsFlipped, ColumnsFlipped, ShiftX, ShiftY;
    } cases[] = {{FlipVertical, 1, 0, 0, 0},  {FlipHorizontal, 0, 1, 0, 0},
                 {FlipDiagonal, 1, 1, 0, 0},  {offset(-7, 0), 0, 0, 1, 0},
                 {offset(0, -1), 0, 0, 0, 2}, {offset(2, -4), 0, 0, 2, 2}};
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        Trial t(4, 3);
        EXPECT_EQ(c.Op(t.S, t.P), 0);
        for (int32_t y = 0; y < 3; ++y)
            for (int32_t x = 0; x < 4; ++x) {
                const int32_t fy = c.RowsFlipped ? 2 - y : y, fx = c.ColumnsFlipped ? 3 - x : x;
                EXPECT_EQ(t.S.Rows[y][x], 10 * ((fy + c.ShiftY) % 3) + (fx + c.ShiftX) % 4)
                    << "case " << i << " at " << x << ", " << y;
            }
    }
}

TEST(AreaOperationsTest, RotateTransposesAndSwapsEdges) {
    Trial t(8, 4, Surface::SurfaceHasSelection);
    t.S.Left = 10, t.S.Right = 20, t.S.Top = 5, t.S.Bottom = -5, t.S.XRes = 1.25, t.S.YRes = 2.5;
    *t.S.Mask.RowPointer(1, 1) = 200;
    ASSERT_EQ(Rotate90(t.S, t.P), 0);
    ASSERT_EQ(std::pair(t.S.XSize, t.S.YSize), std::pair(4, 8));
    for (int32_t y = 0; y < 8; ++y)
        for (int32_t x = 0; x < 4; ++x)
            EXPECT_EQ(t.S.Rows[y][x], 10 * x + y);
    EXPECT_EQ((std::array{t.S.Left, t.S.Right, t.S.Top, t.S.Bottom, t.S.XRes, t.S.YRes}),
              (std::array{20.0, 10.0, -5.0, 5.0, 2.5, 1.25}));
    // A blank picture and an empty mask of the new shape.
    EXPECT_EQ(
        (std::array{t.S.Texture.Height(), t.S.Mask.Width(), int32_t{t.S.Mask.IsSelected(1, 1)}}),
        (std::array{8, 4, 0}));
}

// A flip is its own inverse, so a cancelled one puts back what it had moved; the turn changes
// nothing until it is complete, and refuses a height that would make a width of 6.
TEST(AreaOperationsTest, FailuresLeaveSurfaceUnchanged) {
    const struct {
        Operation Op;
        int32_t Height, CancelPump, Code;
    } cases[] = {{FlipVertical, 4, 1, -1},
                 {FlipHorizontal, 4, 3, -1},
                 {FlipDiagonal, 4, 4, -1},
                 {Rotate90, 6, 0, -3},
                 {Rotate90, 16, 1, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Height << " " << c.CancelPump);
        Trial t(8, c.Height);
        t.S.Left = 1;
        t.CancelAt(c.CancelPump);
        const std::vector<float> before = t.Rows();
        EXPECT_EQ(c.Op(t.S, t.P), c.Code);
        EXPECT_EQ(t.Rows(), before);
        EXPECT_EQ(std::pair(t.S.Left, t.S.Texture.Width()), std::pair(1.0, 8));
        EXPECT_EQ(t.P.CancelFlag.load(), 0);
    }
}

// Two rows of 8: row 0 lies at latitude -half (|cos| = k), row 1 at the middle (k = 1).
TEST(AreaOperationsTest, CosineDistortionsOfOneRow) {
    const std::vector<float> squares{0, 1, 4, 9, 16, 25, 36, 49};
    const std::vector<float> doubles{0, 2, 4, 6, 8, 10, 12, 14};
    const float nd = NoDataValue;
    const struct {
        Operation Op;
        double Top, Bottom;
        std::vector<float> In, Out;
    } cases[] = {
        // k = 0.5, off = 2: s = x/2 + 2.
        {CosineDistort, 60, -60, squares, {4, 6.5f, 9, 12.5f, 16, 20.5f, 25, 30.5f}},
        // Clamped to -90..90: k = 0 and every sample comes from the centre.
        {CosineDistort, 100, -90, squares, {16, 16, 16, 16, 16, 16, 16, 16}},
        // Original column u lay at 2u - 4 of the distorted row, clamped into 0..7.
        {InverseCosineDistort, 60, -60, doubles, {0, 0, 0, 4, 8, 12, 14, 14}},
        {InverseCosineDistort, 90, -90, doubles, {nd, nd, nd, nd, nd, nd, nd, nd}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Top << " " << c.Bottom);
        Trial t(8, 2);
        t.S.Top = c.Top, t.S.Bottom = c.Bottom;
        std::copy(c.In.begin(), c.In.end(), t.S.Rows[0]);
        ASSERT_EQ(c.Op(t.S, t.P), 0);
        for (int32_t x = 0; x < 8; ++x) {
            EXPECT_NEAR(t.S.Rows[0][x], c.Out[x], 1e-4) << x;
            EXPECT_EQ(t.S.Rows[1][x], 10 + x);
        }
        EXPECT_EQ(t.S.Min, std::min(c.Out[0] == nd ? 10.0f : c.Out[0], 10.0f));
        EXPECT_NEAR(t.S.Max, std::max(c.Out[7], 17.0f), 1e-4);
    }
}

// Rows the cancel left alone still count for Min/Max.
TEST(AreaOperationsTest, CancelledDistortionRecordsWholeGridExtremes) {
    Trial t(4, 16);
    t.S.Top = 60, t.S.Bottom = -60;
    t.CancelAt(1);
    EXPECT_EQ(CosineDistort(t.S, t.P), -1);
    EXPECT_EQ(std::pair(t.S.Rows[15][3], t.S.Max), std::pair(153.0f, 153.0));
}

} // namespace
} // namespace korvel
