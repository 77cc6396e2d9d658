#include "core/dialog_fields.h"
#include "core/surface.h"
#include "edit/selection_operations.h"
#include "edit/selection_tools.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvel {
namespace {

// An 8 x 4 Surface with a mask; the picture strings list the rows top (row 3) first, '#' for a
// selected sample.
struct Masked8x4 {
    Masked8x4() {
        EXPECT_EQ(S.Resize(8, 4, 0), 0);
        EXPECT_EQ(SetSelectionEnabled(S, true), 0);
    }
    void Paint(const std::vector<std::string>& rows) {
        for (int32_t y = 0; y < 4; ++y)
            for (int32_t x = 0; x < 8; ++x)
                *S.Mask.RowPointer(x, y) =
                    rows[static_cast<size_t>(3 - y)][static_cast<size_t>(x)] == '#' ? 255 : 0;
    }
    std::vector<std::string> Picture() const {
        std::vector<std::string> rows;
        for (int32_t y = 3; y >= 0; --y) {
            std::string row;
            for (int32_t x = 0; x < 8; ++x)
                row += S.Mask.IsSelected(x, y) == 255 ? '#' : S.Mask.IsSelected(x, y) ? '?' : '.';
            rows.push_back(row);
        }
        return rows;
    }
    Surface S;
};

const std::vector<std::string> Before = {"##......", "##......", "........", "........"};

struct RectangleCase {
    const char* Name;
    int32_t X0, Y0, X1, Y1;
    int32_t Operation;
    std::vector<std::string> After;
};

class SelectRectangleTest : public testing::TestWithParam<RectangleCase> {};

TEST_P(SelectRectangleTest, MarksTheSamplesBetweenTheCorners) {
    const RectangleCase& c = GetParam();
    Masked8x4 m;
    m.Paint(Before);
    ASSERT_EQ(SelectRectangle(m.S, c.X0, c.Y0, c.X1, c.Y1, c.Operation), 0);
    EXPECT_EQ(m.Picture(), c.After);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SelectRectangleTest,
    testing::Values(RectangleCase{"ReplaceCornersInAnyOrder",
                                  4,
                                  0,
                                  1,
                                  1,
                                  SelectionReplace,
                                  {"........", "........", ".####...", ".####..."}},
                    RectangleCase{"AddKeepsWhatWasSelected",
                                  6,
                                  3,
                                  7,
                                  3,
                                  SelectionAdd,
                                  {"##....##", "##......", "........", "........"}},
                    RectangleCase{"SubtractClearsOnlyTheRectangle",
                                  1,
                                  3,
                                  1,
                                  2,
                                  SelectionSubtract,
                                  {"#.......", "#.......", "........", "........"}},
                    RectangleCase{"ClippedToTheSurface",
                                  -5,
                                  -5,
                                  0,
                                  10,
                                  SelectionReplace,
                                  {"#.......", "#.......", "#.......", "#......."}}),
    [](const testing::TestParamInfo<RectangleCase>& i) { return std::string(i.param.Name); });

struct LassoCase {
    const char* Name;
    std::vector<OutlinePoint> Outline;
    std::vector<std::string> After;
};

class SelectLassoTest : public testing::TestWithParam<LassoCase> {};

TEST_P(SelectLassoTest, MarksTheSamplesWhoseCentresAreInside) {
    const LassoCase& c = GetParam();
    Masked8x4 m;
    m.Paint(Before);
    ASSERT_EQ(SelectLasso(m.S, c.Outline, SelectionReplace), 0);
    EXPECT_EQ(m.Picture(), c.After);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SelectLassoTest,
    testing::Values(
        // Columns 2..5 and rows 1..2 have their centres inside the square 2..6 x 1..3.
        LassoCase{"Square",
                  {{2, 1}, {6, 1}, {6, 3}, {2, 3}},
                  {"........", "..####..", "..####..", "........"}},
        // The triangle (0,0) (8,0) (0,4): at row y the centres x + 0.5 < 8 - 2 (y + 0.5).
        LassoCase{
            "Triangle", {{0, 0}, {8, 0}, {0, 4}}, {"#.......", "###.....", "#####...", "#######."}},
        LassoCase{"TwoPointsEncloseNothing",
                  {{0, 0}, {8, 4}},
                  {"........", "........", "........", "........"}}),
    [](const testing::TestParamInfo<LassoCase>& i) { return std::string(i.param.Name); });

TEST(SelectConnectedTest, FollowsEdgeNeighboursWithinTheTolerance) {
    Masked8x4 m;
    // Elevations, top row first: a basin of 10s and 11s cut off from the 10 at the right by 50s;
    // the 12 is beyond a tolerance of 1.
    const float heights[4][8] = {{10, 11, 50, 10, 0, 0, 0, 0},
                                 {10, 12, 50, 0, 0, 0, 0, 0},
                                 {11, 10, 50, 0, 0, 0, 0, 0},
                                 {50, 50, 50, 0, 0, 0, 0, 0}};
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 8; ++x)
            m.S.Rows[y][x] = heights[3 - y][x];
    m.Paint({"........", "........", "........", "#######."});
    ASSERT_EQ(SelectConnected(m.S, 0, 3, 1.0, SelectionReplace), 0);
    EXPECT_EQ(m.Picture(),
              (std::vector<std::string>{"##......", "#.......", "##......", "........"}));
    // The 0s reach the top row round the 50s.
    ASSERT_EQ(SelectConnected(m.S, 7, 0, 0.0, SelectionAdd), 0);
    EXPECT_EQ(m.Picture(),
              (std::vector<std::string>{"##..####", "#..#####", "##.#####", "...#####"}));
    // From the 11 in row 1 the whole basin but the 12 goes.
    ASSERT_EQ(SelectConnected(m.S, 0, 1, 1.0, SelectionSubtract), 0);
    EXPECT_EQ(m.Picture(),
              (std::vector<std::string>{"....####", "...#####", "...#####", "...#####"}));
}

TEST(SelectionToolsTest, RefuseWithoutAMaskOrWithABadOperation) {
    Surface s;
    ASSERT_EQ(s.Resize(8, 4, 0), 0);
    EXPECT_EQ(SelectRectangle(s, 0, 0, 1, 1, SelectionReplace), -1);
    EXPECT_EQ(SelectLasso(s, {{0, 0}, {4, 0}, {0, 4}}, SelectionReplace), -1);
    EXPECT_EQ(SelectConnected(s, 0, 0, 1.0, SelectionReplace), -1);
    ASSERT_EQ(SetSelectionEnabled(s, true), 0);
    EXPECT_EQ(SelectRectangle(s, 0, 0, 1, 1, 7), -1);
    EXPECT_EQ(SelectConnected(s, 8, 0, 1.0, SelectionReplace), -1); // off the Surface
}

} // namespace
} // namespace korvel
