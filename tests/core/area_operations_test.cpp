#include "core/area_operations.h"

#include "core/progress.h"
#include "core/surface.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace korvel {
namespace {

using Grid = std::vector<std::vector<float>>;
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
    Grid Rows() const {
        Grid g(S.YSize);
        for (int32_t y = 0; y < S.YSize; ++y)
            g[y].assign(S.Rows[y], S.Rows[y] + S.XSize);
        return g;
    }
    void CancelAt(int pump) {
        Running = &P;
        CancelAtPump = pump;
        Host.OnPump = EscapeAtPump;
    }
};

TEST(AreaOperationsTest, FlipsMoveRowsAndColumns) {
    const char* vertical = "Flipping surface vertically";
    const char* horizontal = "Flipping surface horizontally";
    const struct {
        Operation Op;
        bool Rows, Columns;
        std::vector<std::string> Texts;
    } cases[] = {{FlipVertical, true, false, {vertical}},
                 {FlipHorizontal, false, true, {horizontal}},
                 {FlipDiagonal, true, true, {vertical, horizontal}}};
    for (const auto& c : cases) {
        Trial t(4, 3);
        EXPECT_EQ(c.Op(t.S, t.P), 0);
        for (int32_t y = 0; y < 3; ++y)
            for (int32_t x = 0; x < 4; ++x)
                EXPECT_EQ(t.S.Rows[y][x], 10 * (c.Rows ? 2 - y : y) + (c.Columns ? 3 - x : x));
        EXPECT_EQ(t.Host.ProgressTexts, c.Texts);
    }
}

TEST(AreaOperationsTest, ToroidalOffsetWrapsAnyOffset) {
    // (1, 0) moves column 1 to column 0; offsets with their hand-reduced shifts on 4 x 3.
    const struct {
        int32_t Dx, Dy, ShiftX, ShiftY;
    } cases[] = {{1, 0, 1, 0}, {-7, 0, 1, 0}, {0, -1, 0, 2}, {0, 7, 0, 1}, {2, -4, 2, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Dx << ", " << c.Dy);
        Trial t(4, 3);
        ASSERT_EQ(ToroidalOffset(t.S, t.P, c.Dx, c.Dy), 0);
        EXPECT_EQ(t.Host.ProgressTexts.at(0), "Toroidal rotation by " + std::to_string(c.Dx) +
                                                  ", " + std::to_string(c.Dy) + " (Y)");
        for (int32_t y = 0; y < 3; ++y)
            for (int32_t x = 0; x < 4; ++x)
                EXPECT_EQ(t.S.Rows[y][x], 10 * ((y + c.ShiftY) % 3) + (x + c.ShiftX) % 4);
    }
}

TEST(AreaOperationsTest, RotateTransposesAndSwapsEdges) {
    Trial t(8, 4, Surface::SurfaceHasSelection);
    t.S.Left = 10, t.S.Right = 20, t.S.Top = 5, t.S.Bottom = -5, t.S.XRes = 1.25, t.S.YRes = 2.5;
    *t.S.Mask.RowPointer(1, 1) = 200;
    const Grid before = t.Rows();
    ASSERT_EQ(Rotate90(t.S, t.P), 0);
    EXPECT_EQ(t.Host.ProgressTexts.at(0), "Rotate 90 degrees");
    ASSERT_EQ(t.S.XSize, 4);
    ASSERT_EQ(t.S.YSize, 8);
    for (int32_t y = 0; y < 8; ++y)
        for (int32_t x = 0; x < 4; ++x)
            EXPECT_EQ(t.S.Rows[y][x], 10 * x + y);
    EXPECT_EQ((std::array{t.S.Left, t.S.Right, t.S.Top, t.S.Bottom, t.S.XRes, t.S.YRes}),
              (std::array{20.0, 10.0, -5.0, 5.0, 2.5, 1.25}));
    // A blank picture and an empty mask of the new shape.
    EXPECT_EQ(
        (std::array{t.S.Texture.Height(), t.S.Mask.Width(), int32_t{t.S.Mask.IsSelected(1, 1)}}),
        (std::array{8, 4, 0}));

    ASSERT_EQ(Rotate90(t.S, t.P), 0);
    EXPECT_EQ(t.Rows(), before);
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
        const Grid before = t.Rows();
        EXPECT_EQ(c.Op(t.S, t.P), c.Code);
        EXPECT_EQ(t.Rows(), before);
        EXPECT_EQ(t.S.Left, 1);
        EXPECT_EQ(t.S.Texture.Width(), 8);
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
        {CosineDistort, -60, 60, squares, {4, 6.5f, 9, 12.5f, 16, 20.5f, 25, 30.5f}},
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
    EXPECT_EQ(t.S.Rows[15][3], 153);
    EXPECT_EQ(t.S.Max, 153);
    EXPECT_EQ(t.P.CancelFlag.load(), 0);
}

} // namespace
} // namespace korvel
