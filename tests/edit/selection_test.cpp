#include "core/dialog_fields.h"
#include "core/progress.h"
#include "core/surface.h"
#include "edit/selection_operations.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <tuple>
#include <utility>
#include <vector>

namespace korvel {
namespace {

std::vector<uint8_t> Bytes(const SelectionMask& m) {
    const uint8_t* first = m.RowPointer(0, 0);
    return {first, first + static_cast<size_t>(m.Width()) * m.Height()};
}

TEST(SelectionTest, WholeMaskChanges) {
    SelectionMask m;
    EXPECT_EQ(m.SelectInverse(), -1); // no mask yet
    ASSERT_EQ(m.Create(6, 5), 0);
    for (int32_t i = 0; i < 64; ++i)
        *m.RowPointer(i % 8, i / 8) = static_cast<uint8_t>(i % 8 * 37 + i / 8 * 11);
    ASSERT_EQ(m.SelectInverse(), 0);
    EXPECT_EQ(m.IsSelected(3, 2), 255 - (3 * 37 + 2 * 11));
    EXPECT_EQ(m.IsSelected(7, 7), 255 - uint8_t(7 * 48)); // padding too
    ASSERT_EQ(m.SelectAll(), 0);
    EXPECT_EQ(Bytes(m), std::vector<uint8_t>(64, 255));
    ASSERT_EQ(m.SelectNone(), 0);
    EXPECT_EQ(Bytes(m), std::vector<uint8_t>(64, 0));
}

TEST(SelectionTest, HeightRangeHowAndOperation) {
    const uint8_t start[8] = {10, 0, 20, 255, 0, 30, 40, 255};
    const std::tuple<double, double, int32_t, int32_t, int32_t, std::array<uint8_t, 8>> cases[] = {
        {2, 5, RangeBetween, SelectionReplace, 0, {0, 255, 255, 255, 255, 0, 0, 0}},
        {5, 2, RangeBetween, SelectionReplace, 0, {0, 255, 255, 255, 255, 0, 0, 0}},
        {2, 5, RangeNotBetween, SelectionReplace, 0, {255, 0, 0, 0, 0, 255, 255, 255}},
        {2, 5, RangeBetween, SelectionAdd, 0, {10, 255, 255, 255, 255, 30, 40, 255}},
        {2, 5, RangeBetween, SelectionSubtract, 0, {10, 0, 0, 0, 0, 30, 40, 255}},
        {2, 5, 2, SelectionReplace, -1, {10, 0, 20, 255, 0, 30, 40, 255}},
    };
    for (const auto& [lo, hi, how, op, code, want] : cases) {
        Surface s;
        ASSERT_EQ(s.Resize(4, 2, Surface::SurfaceHasSelection), 0);
        for (int32_t i = 0; i < 8; ++i)
            s.Rows[i / 4][i % 4] = static_cast<float>(i + 1);
        std::memcpy(s.Mask.RowPointer(0, 0), start, 8);
        EXPECT_EQ(SelectHeightRange(s, lo, hi, how, op), code);
        EXPECT_TRUE(std::equal(want.begin(), want.end(), s.Mask.RowPointer(0, 0)))
            << how << "/" << op << " " << lo << ".." << hi;
    }
}

const bool NoTimes = false;

// A selected square [10, 30)^2 feathered by 3: its corner keeps 16/49. A radius far beyond the
// grid lets the clamped (unselected) borders dominate everywhere.
TEST(SelectionTest, FeatherSquareCornerAndFailures) {
    enum Outcome { Unchanged, Feathered, Cleared };
    const std::tuple<int32_t, int32_t, bool, Outcome> cases[] = {{3, 0, false, Feathered},
                                                                 {0, 0, false, Unchanged},
                                                                 {-1, -1, false, Unchanged},
                                                                 {3, -1, true, Unchanged},
                                                                 {1 << 30, 0, false, Cleared}};
    for (const auto& [radius, code, escape, want] : cases) {
        test::RecordingHost host;
        Progress p{host, NoTimes};
        Surface s;
        if (escape)
            host.OnPump = test::CancelAtPump(p, 1);
        ASSERT_EQ(s.Resize(40, 40, Surface::SurfaceHasSelection), 0);
        for (int32_t y = 10; y < 30; ++y)
            std::memset(s.Mask.RowPointer(10, y), 255, 20);
        const std::vector<uint8_t> before = Bytes(s.Mask);
        EXPECT_EQ(FeatherSelection(s, p, radius), code) << radius;
        if (want == Feathered) // 6/7 of (12, 20)'s window is inside
            EXPECT_EQ(std::pair(s.Mask.IsSelected(10, 10), s.Mask.IsSelected(12, 20)),
                      std::pair(uint8_t{83}, uint8_t{219}));
        else
            EXPECT_EQ(Bytes(s.Mask), want == Cleared ? std::vector<uint8_t>(1600, 0) : before);
    }
}

TEST(SelectionTest, EnableKeepsElevations) {
    Surface s;
    ASSERT_EQ(s.Resize(8, 6, 0), 0);
    for (int32_t i = 0; i < 48; ++i)
        s.Rows[i / 8][i % 8] = 0.1f * static_cast<float>(i) - 2.0f;
    const std::vector<float> before(s.Rows[0], s.Rows[0] + 48);
    ASSERT_EQ(SetSelectionEnabled(s, true), 0);
    EXPECT_EQ(Bytes(s.Mask), std::vector<uint8_t>(64, 0));
    *s.Mask.RowPointer(2, 2) = 9;
    ASSERT_EQ(SetSelectionEnabled(s, true), 0); // enabling again keeps the mask
    EXPECT_EQ(s.Mask.IsSelected(2, 2), 9);
    ASSERT_EQ(SetSelectionEnabled(s, false), 0);
    EXPECT_FALSE(s.Mask.Exists());
    EXPECT_EQ(std::vector<float>(s.Rows[0], s.Rows[0] + 48), before);
    Surface wide;
    ASSERT_EQ(wide.Resize(SelectionMask::SizeLimit, 4, 0), 0);
    EXPECT_EQ(SetSelectionEnabled(wide, true), -2);
    EXPECT_EQ(wide.Flags & Surface::SurfaceHasSelection, 0);
}

} // namespace
} // namespace korvel
