#include "core/undo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>

namespace korvel {
namespace {

void Fill(Surface& s, float v) {
    std::fill_n(s.Rows[0], s.XSize * s.YSize, v);
}

// Plays "cN" (snapshot "N", then write N everywhere), "u", "r", "gN", "f" and "kN" (capacity N);
// returns the last code.
int32_t Play(UndoStack& undo, Surface& live, const std::string& script) {
    std::istringstream in(script);
    int32_t code = 0;
    for (std::string op; in >> op;) {
        const char kind = op[0];
        const std::string arg = op.substr(1);
        if (kind == 'f')
            undo.Flush();
        else
            code = kind == 'c'   ? undo.Snapshot(arg)
                   : kind == 'k' ? undo.SetCapacity(std::stoi(arg))
                   : kind == 'u' ? undo.Undo()
                   : kind == 'r' ? undo.Redo()
                                 : undo.GoTo(std::stoi(arg));
        if (kind == 'c')
            Fill(live, std::stof(arg));
    }
    return code;
}

TEST(UndoStackTest, ScriptedSequences) {
    const std::string nine = "c1 c2 c3 c4 c5 c6 c7 c8 c9";
    const struct {
        std::string Script;
        int32_t Code;
        float Live;
        int32_t Undos, Redos;
        std::string UndoName, RedoName, Below;
    } cases[] = {
        {"u", -1, 0, 0, 0, "", "", ""},
        // Redo brings back the undone result, not the state the undo restored.
        {"c1 c2 u r", 0, 2, 2, 0, "2", "", "1"},
        {"c1 c2 u u r", 0, 1, 1, 1, "1", "2", ""},
        // A new command drops the redo step but keeps the older undo steps.
        {"c1 c2 u c3", 0, 3, 2, 0, "3", "", "1"},
        {nine, 0, 9, 8, 0, "9", "", "8"},
        {nine + " u u u u u u u u u", -1, 1, 0, 8, "", "2", ""},
        {"c1 c2 f u", -1, 2, 0, 0, "", "", ""},
        {"c1 c2 c3 g1", 0, 1, 1, 2, "1", "2", ""},
        {"c1 c2 c3 g2 g-2", 0, 2, 2, 1, "2", "3", "1"},
        {"c1 c2 c3 g3", -1, 3, 3, 0, "3", "", "2"},
        {"c1 g-2147483648", -1, 1, 1, 0, "1", "", ""},
        // Capacity: beyond 32 is refused, changes flush, 0 keeps nothing.
        {"c1 c2 k33", -1, 2, 2, 0, "2", "", "1"},
        {"c1 c2 k2 c3 c4 c5 u u", 0, 3, 0, 2, "", "4", ""},
        {"c1 k0 c6 u", -1, 6, 0, 0, "", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Script);
        Surface live;
        ASSERT_EQ(live.Resize(8, 3, 0), 0);
        UndoStack undo(live);
        EXPECT_EQ(Play(undo, live, c.Script), c.Code);
        EXPECT_EQ(std::pair(live.Rows[0][0], live.Rows[2][7]), std::pair(c.Live, c.Live));
        EXPECT_EQ(std::pair(undo.UndoCount(), undo.RedoCount()), std::pair(c.Undos, c.Redos));
        EXPECT_EQ((std::array{undo.UndoName(), undo.RedoName(), undo.NameAt(1)}),
                  (std::array{c.UndoName, c.RedoName, c.Below}));
    }
}

TEST(UndoStackTest, UndoAcrossResizeKeepsTheMask) {
    Surface live;
    live.Top = 10.0;
    ASSERT_EQ(live.Resize(8, 4, Surface::SurfaceHasSelection), 0);
    Fill(live, 4.0f);
    live.Texture.SetPixel(7, 3, PackColor(1, 2, 3));
    UndoStack undo(live);
    ASSERT_EQ(undo.Snapshot("Scale"), 0);
    Fill(live, 5.0f);
    *live.Mask.RowPointer(2, 1) = 50;
    ASSERT_EQ(undo.Snapshot("Resize"), 0);
    ASSERT_EQ(live.Resize(16, 2, -1), 0);
    live.Top = 20.0;

    ASSERT_EQ(undo.Undo(), 0);
    EXPECT_EQ(std::tuple(live.YSize, live.Top, live.Rows[3][7]), std::tuple(4, 10.0, 5.0f));
    EXPECT_EQ(live.Texture.GetPixel(7, 3), PackColor(1, 2, 3));
    *live.Mask.RowPointer(2, 1) = 60;
    ASSERT_EQ(undo.Undo(), 0);
    EXPECT_EQ(live.Rows[3][7], 4.0f);
    EXPECT_EQ(live.Mask.IsSelected(2, 1), 60);

    ASSERT_EQ(undo.GoTo(-2), 0);
    EXPECT_EQ(std::tuple(live.XSize, live.Top, live.Rows[1][15]), std::tuple(16, 20.0, 0.0f));
}

} // namespace
} // namespace korvel
