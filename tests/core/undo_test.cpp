#include "core/undo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>

namespace korvel {
namespace {

// Plays cN (snapshot N, then fill with N), u, r, gN, f and kN (capacity N); the last code.
int32_t Play(UndoStack& undo, Surface& live, const std::string& script) {
    std::istringstream in(script);
    int32_t code = 0;
    for (std::string op; in >> op;) {
        const char kind = op[0];
        const std::string arg = op.substr(1);
        code = kind == 'f'   ? (undo.Flush(), code)
               : kind == 'c' ? undo.Snapshot(arg)
               : kind == 'k' ? undo.SetCapacity(std::stoi(arg))
               : kind == 'u' ? undo.Undo()
               : kind == 'r' ? undo.Redo()
                             : undo.GoTo(std::stoi(arg));
        if (kind == 'c')
            std::fill_n(live.Rows[0], live.XSize * live.YSize, std::stof(arg));
    }
    return code;
}

// Redo brings back the undone result; a new command drops only the redo step; capacity <= 32.
TEST(UndoStackTest, ScriptedSequences) {
    // Code, live value, undo and redo counts, names of the undo, the redo and the next older step
    using Want =
        std::tuple<int32_t, float, int32_t, int32_t, std::string, std::string, std::string>;
    const std::pair<std::string, Want> cases[] = {
        {"u", {-1, 0, 0, 0, "", "", ""}},
        {"c1 c2 u r", {0, 2, 2, 0, "2", "", "1"}},
        {"c1 c2 u c3", {0, 3, 2, 0, "3", "", "1"}},
        {"c1 c2 c3 c4 c5 c6 c7 c8 c9", {0, 9, 8, 0, "9", "", "8"}},
        {"c1 c2 c3 c4 c5 c6 c7 c8 c9 u u u u u u u u u", {-1, 1, 0, 8, "", "2", ""}},
        {"c1 c2 f u", {-1, 2, 0, 0, "", "", ""}},
        {"c1 c2 c3 g2 g-2", {0, 2, 2, 1, "2", "3", "1"}},
        {"c1 g-2147483648", {-1, 1, 1, 0, "1", "", ""}},
        {"c1 c2 k33", {-1, 2, 2, 0, "2", "", "1"}},
        {"c1 c2 k2 c3 c4 c5 u u", {0, 3, 0, 2, "", "4", ""}},
        {"c1 k0 c6 u", {-1, 6, 0, 0, "", "", ""}},
    };
    for (const auto& [script, want] : cases) {
        Surface live;
        ASSERT_EQ(live.Resize(8, 3, 0), 0);
        UndoStack undo(live);
        const int32_t code = Play(undo, live, script);
        EXPECT_EQ(std::tuple(code, live.Rows[2][7], undo.UndoCount(), undo.RedoCount(),
                             undo.UndoName(), undo.RedoName(), undo.NameAt(1)),
                  want)
            << script;
    }
}

TEST(UndoStackTest, UndoAcrossResizeKeepsTheMask) {
    Surface live;
    ASSERT_EQ(live.Resize(8, 4, Surface::SurfaceHasSelection), 0);
    std::fill_n(live.Rows[0], 32, 4.0f);
    UndoStack undo(live);
    ASSERT_EQ(undo.Snapshot("Scale"), 0);
    std::fill_n(live.Rows[0], 32, 5.0f);
    *live.Mask.RowPointer(2, 1) = 50;
    ASSERT_EQ(undo.Snapshot("Resize"), 0);
    ASSERT_EQ(live.Resize(16, 2, -1), 0);
    ASSERT_EQ(undo.Undo(), 0);
    EXPECT_EQ(std::pair(live.YSize, live.Rows[3][7]), std::pair(4, 5.0f));
    *live.Mask.RowPointer(2, 1) = 60;
    ASSERT_EQ(undo.Undo(), 0);
    EXPECT_EQ(std::pair(live.Rows[3][7], live.Mask.IsSelected(2, 1)), std::pair(4.0f, uint8_t{60}));
}

} // namespace
} // namespace korvel
