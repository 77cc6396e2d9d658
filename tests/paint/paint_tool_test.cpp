#include "paint/paint_state.h"

#include "core/image.h"
#include "paint_fixture.h"
#include "shading/texture.h"

#include <algorithm>
#include <cmath>

namespace korvel {
namespace {

class PaintToolTest : public test::PaintFixture {
protected:
    PaintToolTest() {
        Fill([](int32_t x, int32_t y) {
            return 50.0 + 10.0 * std::sin(x * 0.3) * std::cos(y * 0.2);
        });
        ws.TheSurface.FindMinMax(ws.TheSurface.Min, ws.TheSurface.Max, ws.TheProgress);
        ws.General.Undo = 4;
        ws.Undo.SetCapacity(4);
    }
    PaintState& State() { return PaintStateOf(ws); }
    std::vector<float> Grid() const {
        std::vector<float> all;
        for (int32_t y = 0; y < Height; ++y)
            all.insert(all.end(), ws.TheSurface.Rows[y], ws.TheSurface.Rows[y] + Width);
        return all;
    }
    static std::vector<uint8_t> Pixels(const Image& image) {
        return {image.Data(), image.Data() + image.ByteCount()};
    }
    void StrokeThrough(Tool& tool, std::initializer_list<ToolEvent> points) {
        auto it = points.begin();
        tool.ButtonDown(*it);
        for (++it; it != points.end(); ++it)
            tool.Move(*it);
        tool.ButtonUp(*(points.end() - 1));
    }
};

TEST_F(PaintToolTest, AStrokeIsOneUndoStepThatRestoresGridAndPicture) {
    const std::vector<float> grid = Grid();
    const std::vector<uint8_t> picture = Pixels(CurrentTexture(ws));
    ChoosePreset(ws, PresetRaise);
    StrokeThrough(*State().Active, {{5, 5}, {10, 6}, {15, 7, 200}, {20, 8}, {25, 9}});
    EXPECT_EQ(ws.Undo.UndoCount(), 1);
    EXPECT_EQ(ws.Undo.UndoName(), "Painting");
    EXPECT_NE(Grid(), grid);
    ASSERT_EQ(ws.Undo.Undo(), 0);
    EXPECT_EQ(Grid(), grid);
    EXPECT_EQ(Pixels(ws.TheSurface.Texture.AsIs()), picture);
}

TEST_F(PaintToolTest, TheLocalReshadeEqualsAFullRecompute) {
    CurrentTexture(ws);
    ChoosePreset(ws, PresetPaint);
    State().Brushes.Current.Value = 52.0f; // inside the range: the extremes stay
    RebuildCurrentBrush(ws);
    StrokeThrough(*State().Active, {{3.7, 2.2}, {12, 14}, {39, 29}});
    ASSERT_FALSE(ws.TheSurface.Texture.Stale());
    const std::vector<uint8_t> local = Pixels(ws.TheSurface.Texture.AsIs());
    ws.TheSurface.Texture.MarkStale();
    EXPECT_EQ(Pixels(CurrentTexture(ws)), local);
}

TEST_F(PaintToolTest, AStrokeBeyondTheExtremesWidensThem) {
    CurrentTexture(ws);
    ChoosePreset(ws, PresetRaise);
    State().Brushes.Current.Value = 100.0f;
    RebuildCurrentBrush(ws);
    const double before = ws.TheSurface.Max;
    StrokeThrough(*State().Active, {{20, 15}});
    const std::vector<float> grid = Grid();
    const float highest = *std::max_element(grid.begin(), grid.end());
    EXPECT_GT(highest, before + 50.0);
    EXPECT_EQ(ws.TheSurface.Max, highest);
    EXPECT_TRUE(ws.TheSurface.Texture.Stale());
}

TEST_F(PaintToolTest, PresetsRewriteKindAndOperationOnly) {
    const int32_t kept = (ApplyIfAbove << 4) | BrushRound;
    State().Brushes.Current.Type = kept | BrushGaussianNoise;
    const struct {
        const char* Name;
        int32_t Preset, Kind, Operation;
    } cases[] = {
        {"paint", PresetPaint, BrushPlain, OperationLerp},
        {"blur", PresetBlur, BrushConvolve, OperationLerp},
        {"dig", PresetDig, BrushPlain, OperationSubtract},
        {"raise", PresetRaise, BrushPlain, OperationAdd},
        {"erode", PresetErode, ErodeKind, OperationLerp},
        {"add noise", PresetAddNoise, BrushGaussianNoise, OperationAdd},
        {"sharpen", PresetSharpen, BrushConvolve, OperationLerp},
        {"thermal erode", PresetThermalErode, BrushThermalErode, OperationLerp},
        {"hydraulic erode", PresetHydraulicErode, BrushHydraulicErode, OperationLerp},
    };
    for (const auto& c : cases) {
        ChoosePreset(ws, c.Preset);
        const int32_t type = State().Brushes.Current.Type;
        EXPECT_EQ(BrushKindOf(type), c.Kind) << c.Name;
        EXPECT_EQ(BrushOperationOf(type), c.Operation) << c.Name;
        EXPECT_EQ(type & ~0xF0F, kept & ~0xF0F) << c.Name;
        EXPECT_EQ(BrushConditionOf(type), ApplyIfAbove) << c.Name;
        EXPECT_EQ(State().ActivePreset, c.Preset) << c.Name;
    }
}

TEST_F(PaintToolTest, PressingTheActivePresetAgainSwitchesItOff) {
    ChoosePreset(ws, PresetRaise);
    const int32_t type = State().Brushes.Current.Type;
    ChoosePreset(ws, PresetRaise);
    EXPECT_EQ(State().ActivePreset, PresetNone);
    EXPECT_EQ(State().Active, nullptr);
    EXPECT_EQ(State().Brushes.Current.Type, type);
}

TEST_F(PaintToolTest, ABlurStrokeOverFlatGroundChangesNothing) {
    Fill([](int32_t, int32_t) { return 37.0; });
    ChoosePreset(ws, PresetBlur);
    StrokeThrough(*State().Active, {{0, 0}, {20, 15}, {39, 29}});
    for (float v : Grid())
        ASSERT_FLOAT_EQ(v, 37.0f);
}

TEST_F(PaintToolTest, PressureUsesItsOwnBrushOnlyWhenAFlagIsSet) {
    Brush& current = State().Brushes.Current;
    Brush& shared = State().Brushes.ForPressure(200, eval);
    EXPECT_EQ(&shared, &current);
    EXPECT_EQ(State().Brushes.MadeCount(), 0);
    current.Flags.XSize = 1;
    current.Maxima.XSize = 51;
    Brush& own = State().Brushes.ForPressure(200, eval);
    // 11 + 40 * 200/256 = 42.25 -> 42 -> 43.
    EXPECT_EQ(own.XSize, 43);
    EXPECT_EQ(State().Brushes.MadeCount(), 1);
    SetToolSize(ws, 5, 9);
    EXPECT_EQ(State().Brushes.MadeCount(), 0);
    EXPECT_EQ(State().Brushes.ForPressure(128, eval).XSize, 7); // 5 + 4 * 0.5
}

TEST_F(PaintToolTest, ShapesAndSizes) {
    SetBrushShape(ws, false);
    EXPECT_EQ(State().Brushes.Current.Type & (BrushRound | BrushSoftEdge), 0);
    SetToolSize(ws, 21, 29);
    EXPECT_EQ(State().Brushes.Current.XSize, 21);
    EXPECT_EQ(State().Brushes.Current.Maxima.YSize, 29);
    EXPECT_EQ(State().Brushes.Current.Data.size(), 21u * 21u);
    SetBrushShape(ws, true);
    EXPECT_EQ(State().Brushes.Current.MaskAt(0, 0), 0);
}

TEST_F(PaintToolTest, EscapeStopsOneStampAndTheStrokeGoesOn) {
    Fill([](int32_t, int32_t) { return 0.0; });
    ChoosePreset(ws, PresetRaise);
    SetBrushShape(ws, false);
    Tool& tool = *State().Active;
    host.OnPump = [this, first = host.Pumps + 1](int pumps) {
        if (pumps == first)
            ws.TheProgress.CancelFlag = CancelKey;
    };
    // 11 rows: the first stamp stops after its fourth row, the second one is whole.
    tool.ButtonDown({10, 10});
    EXPECT_EQ(ws.TheProgress.CancelFlag, 0);
    EXPECT_EQ(Sum(), 4 * 11);
    tool.Move({30, 15});
    tool.ButtonUp({30, 15});
    EXPECT_EQ(Sum(), 4 * 11 + 11 * 11);
    EXPECT_EQ(ws.Undo.UndoCount(), 1);
}

TEST_F(PaintToolTest, CloneNeedsASourceFirst) {
    const std::vector<float> grid = Grid();
    CloneTool& clone = State().Cloner;
    clone.ButtonDown({10, 10});
    ASSERT_EQ(host.Messages.size(), 1u);
    EXPECT_EQ(host.Messages[0], "Please select a source point (SHIFT + click)");
    EXPECT_EQ(Grid(), grid);
    EXPECT_EQ(ws.Undo.UndoCount(), 0);
}

TEST_F(PaintToolTest, EveryCloneStrokeStartsAtTheSourceItself) {
    Fill([](int32_t x, int32_t y) { return x * 100 + y; });
    SetBrushShape(ws, false);
    SetToolSize(ws, 3, 9);
    CloneTool& clone = State().Cloner;
    clone.KeyDown(ToolKey::Shift);
    EXPECT_TRUE(clone.PickingSource());
    clone.ButtonDown({30.6, 20.2});
    clone.ButtonUp({30.6, 20.2});
    clone.KeyUp(ToolKey::Shift);
    EXPECT_EQ(clone.Current(), CloneTool::SourceSet);
    // Two strokes: each first stamp copies from (30, 20); the move keeps the whole offset.
    StrokeThrough(clone, {{5.9, 5.9}, {8.2, 5.1}});
    EXPECT_EQ(At(5, 5), 30 * 100 + 20);
    EXPECT_EQ(At(8, 5), 33 * 100 + 20);
    StrokeThrough(clone, {{15.5, 12.5}});
    EXPECT_EQ(At(15, 12), 30 * 100 + 20);
    EXPECT_EQ(ws.Undo.UndoCount(), 2);
    EXPECT_EQ(ws.Undo.UndoName(), "Cloning");
}

} // namespace
} // namespace korvel
