#include "core/dialog_fields.h"
#include "core/progress.h"
#include "core/selection_operations.h"
#include "core/surface.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

namespace korvel {
namespace {

std::vector<uint8_t> Bytes(const SelectionMask& m) {
    const uint8_t* first = m.RowPointer(0, 0);
    return {first, first + static_cast<size_t>(m.Width()) * m.Height()};
}

TEST(SelectionTest, WholeMaskChanges) {
    SelectionMask none;
    EXPECT_EQ(none.SelectNone(), -1);
    EXPECT_EQ(none.SelectAll(), -1);
    EXPECT_EQ(none.SelectInverse(), -1);

    SelectionMask m;
    ASSERT_EQ(m.Create(6, 5), 0);
    for (int32_t y = 0; y < 8; ++y)
        for (int32_t x = 0; x < 8; ++x)
            *m.RowPointer(x, y) = static_cast<uint8_t>(x * 37 + y * 11);
    ASSERT_EQ(m.SelectInverse(), 0);
    EXPECT_EQ(m.IsSelected(3, 2), 255 - (3 * 37 + 2 * 11));
    EXPECT_EQ(m.IsSelected(7, 7), 255 - uint8_t(7 * 48)); // padding too
    ASSERT_EQ(m.SelectAll(), 0);
    EXPECT_EQ(Bytes(m), std::vector<uint8_t>(64, 255));
    ASSERT_EQ(m.SelectNone(), 0);
    EXPECT_EQ(Bytes(m), std::vector<uint8_t>(64, 0));
}

// Heights 1..8 over a 4 x 2 grid; the mask's two padding rows hold 77 and must stay so.
TEST(SelectionTest, HeightRangeHowAndOperation) {
    const uint8_t start[8] = {10, 0, 20, 255, 0, 30, 40, 255};
    const struct {
        double Min, Max;
        int32_t How, Op, Code;
        uint8_t Want[8];
    } cases[] = {
        {2, 5, RangeBetween, SelectionReplace, 0, {0, 255, 255, 255, 255, 0, 0, 0}},
        {5, 2, RangeBetween, SelectionReplace, 0, {0, 255, 255, 255, 255, 0, 0, 0}},
        {2, 5, RangeNotBetween, SelectionReplace, 0, {255, 0, 0, 0, 0, 255, 255, 255}},
        {2, 5, RangeBetween, SelectionAdd, 0, {10, 255, 255, 255, 255, 30, 40, 255}},
        {2, 5, RangeBetween, SelectionSubtract, 0, {10, 0, 0, 0, 0, 30, 40, 255}},
        {2, 5, 2, SelectionReplace, -1, {10, 0, 20, 255, 0, 30, 40, 255}},
        {2, 5, RangeBetween, 3, -1, {10, 0, 20, 255, 0, 30, 40, 255}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.How << "/" << c.Op << " " << c.Min << ".." << c.Max);
        Surface s;
        ASSERT_EQ(s.Resize(4, 2, Surface::SurfaceHasSelection), 0);
        for (int32_t i = 0; i < 8; ++i) {
            s.Rows[i / 4][i % 4] = static_cast<float>(i + 1);
            *s.Mask.RowPointer(i % 4, i / 4) = start[i];
        }
        std::memset(s.Mask.RowPointer(0, 2), 77, 8);
        EXPECT_EQ(SelectHeightRange(s, c.Min, c.Max, c.How, c.Op), c.Code);
        for (int32_t i = 0; i < 8; ++i)
            EXPECT_EQ(s.Mask.IsSelected(i % 4, i / 4), c.Want[i]) << i;
        EXPECT_EQ(s.Mask.IsSelected(3, 3), 77);
    }
    Surface plain;
    ASSERT_EQ(plain.Resize(4, 2, 0), 0);
    EXPECT_EQ(SelectHeightRange(plain, 0, 1, RangeBetween, SelectionReplace), -1);
}

Progress* Running = nullptr;
void PressEscape(int) {
    Running->CancelFlag = CancelKey;
}

struct FeatherRun {
    test::RecordingHost Host;
    bool ShowTime = false;
    Progress P{Host, ShowTime};
    Surface S;
};

// A selected square [10, 30)^2 feathered by 3: its corner keeps 16/49. A radius far beyond the
// grid lets the clamped (unselected) borders dominate everywhere.
TEST(SelectionTest, FeatherSquareCornerAndFailures) {
    enum Outcome { Unchanged, Feathered, Cleared };
    const struct {
        int32_t Radius, Code;
        bool CancelOnPump;
        Outcome Want;
    } cases[] = {{3, 0, false, Feathered},
                 {0, 0, false, Unchanged},
                 {-1, -1, false, Unchanged},
                 {3, -1, true, Unchanged},
                 {1 << 30, 0, false, Cleared}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Radius);
        FeatherRun run;
        Running = &run.P;
        run.Host.OnPump = c.CancelOnPump ? PressEscape : nullptr;
        ASSERT_EQ(run.S.Resize(40, 40, Surface::SurfaceHasSelection), 0);
        for (int32_t y = 10; y < 30; ++y)
            std::memset(run.S.Mask.RowPointer(10, y), 255, 20);
        const std::vector<uint8_t> before = Bytes(run.S.Mask);
        EXPECT_EQ(FeatherSelection(run.S, run.P, c.Radius), c.Code);
        if (c.Want == Feathered) {
            EXPECT_EQ(run.S.Mask.IsSelected(10, 10), 83);
            EXPECT_EQ(run.S.Mask.IsSelected(12, 20), 219); // 6/7 of its window inside
            EXPECT_EQ(run.S.Mask.IsSelected(20, 20), 255);
        } else {
            EXPECT_EQ(Bytes(run.S.Mask),
                      c.Want == Cleared ? std::vector<uint8_t>(1600, 0) : before);
        }
    }
    Running = nullptr;
    FeatherRun bare;
    EXPECT_EQ(FeatherSelection(bare.S, bare.P, 3), -1);
}

TEST(SelectionTest, EnableKeepsElevations) {
    Surface s;
    ASSERT_EQ(s.Resize(8, 6, 0), 0);
    for (int32_t i = 0; i < 48; ++i)
        s.Rows[i / 8][i % 8] = 0.1f * static_cast<float>(i) - 2.0f;
    const std::vector<float> before(s.Rows[0], s.Rows[0] + 48);

    ASSERT_EQ(SetSelectionEnabled(s, true), 0);
    EXPECT_EQ(s.Flags & Surface::SurfaceHasSelection, Surface::SurfaceHasSelection);
    EXPECT_EQ(Bytes(s.Mask), std::vector<uint8_t>(64, 0));
    *s.Mask.RowPointer(2, 2) = 9;
    ASSERT_EQ(SetSelectionEnabled(s, true), 0);
    EXPECT_EQ(s.Mask.IsSelected(2, 2), 9);

    ASSERT_EQ(SetSelectionEnabled(s, false), 0);
    EXPECT_FALSE(s.Mask.Exists());
    EXPECT_EQ(std::memcmp(s.Rows[0], before.data(), before.size() * sizeof(float)), 0);

    Surface wide;
    ASSERT_EQ(wide.Resize(SelectionMask::SizeLimit, 4, 0), 0);
    EXPECT_EQ(SetSelectionEnabled(wide, true), -2);
    EXPECT_EQ(std::pair(wide.Flags & Surface::SurfaceHasSelection, wide.Mask.Exists()),
              std::pair(0, false));
}

} // namespace
} // namespace korvel
