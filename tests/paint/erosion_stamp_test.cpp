#include "paint/erosion_stamp.h"

#include "paint/paint_state.h"
#include "paint_fixture.h"

#include <cmath>
#include <string>
#include <vector>

namespace korvel {
namespace {

class ErosionBrushTest : public test::PaintFixture {
protected:
    ErosionBrushTest() {
        ws.General.Undo = 4;
        ws.Undo.SetCapacity(4);
        // Talus exactly 1 sample of height per sample, the whole excess per step.
        ws.Thermal.TalusAngle = 45.0;
        ws.Thermal.Spacing = 1.0;
        ws.Thermal.Amount = 1.0;
    }
    void UsePreset(int32_t preset, bool square, int32_t size) {
        ChoosePreset(ws, preset);
        SetBrushShape(ws, !square);
        SetToolSize(ws, size, size);
    }
    void StrokeThrough(std::initializer_list<ToolEvent> points) {
        Tool& tool = *PaintStateOf(ws).Active;
        auto it = points.begin();
        tool.ButtonDown(*it);
        for (++it; it != points.end(); ++it)
            tool.Move(*it);
        tool.ButtonUp(*(points.end() - 1));
    }
    std::vector<float> Grid() const {
        std::vector<float> all;
        for (int32_t y = 0; y < Height; ++y)
            all.insert(all.end(), ws.TheSurface.Rows[y], ws.TheSurface.Rows[y] + Width);
        return all;
    }
    void FindRange() {
        ws.TheSurface.FindMinMax(ws.TheSurface.Min, ws.TheSurface.Max, ws.TheProgress);
    }
};

// A cliff of 10 over columns 0..19 and 0 beyond, one stamp of a square 11 x 11 brush at (20, 15)
// (columns 15..25, rows 10..20, every weight 1). Worked by hand with talus 1 and a sixteenth of
// the excess a pair: an interior cliff-top sample gives its lower edge neighbour 10 - 1 = 9 and
// its two lower corner neighbours 10 - sqrt 2 = 8.5857864 each, 26.171573 / 16 = 1.6357233 in
// all; on the footprint's first row one corner neighbour lies outside and takes nothing:
// 17.585786 / 16 = 1.0991117.
TEST_F(ErosionBrushTest, ThermalStampOverACliffWorkedByHand) {
    Fill([](int32_t x, int32_t) { return x < 20 ? 10.0 : 0.0; });
    FindRange();
    UsePreset(PresetThermalErode, true, 11);
    StrokeThrough({{20, 15}});
    const struct {
        const char* Name;
        int32_t X, Y;
        float Expected;
    } cases[] = {
        {"cliff top inside", 19, 15, 8.3642767f},
        {"cliff foot inside", 20, 15, 1.6357233f},
        {"cliff top on the footprint's first row", 19, 10, 8.9008883f},
        {"cliff foot on the footprint's first row", 20, 10, 1.0991117f},
        {"cliff top on the footprint's last row", 19, 20, 8.9008883f},
        {"cliff top a row below the footprint", 19, 9, 10.0f},
        {"cliff foot a row above the footprint", 20, 21, 0.0f},
        {"level top inside", 17, 15, 10.0f},
        {"left of the footprint", 14, 15, 10.0f},
        {"right of the footprint", 26, 15, 0.0f},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(At(c.X, c.Y), c.Expected, 2e-6) << c.Name;
}

// Strokes of the soft round brush over rough ground: what the thermal brush moves stays in the
// footprints, so the total is kept; outside every footprint nothing changes.
TEST_F(ErosionBrushTest, ThermalStrokesKeepTheTotalAndTheGroundOutside) {
    const struct {
        std::string Name;
        bool Square;
        int32_t Size;
        std::vector<ToolEvent> Points;
    } cases[] = {
        {"soft round 11, one stamp", false, 11, {{20, 15}}},
        {"soft round 21, a stroke", false, 21, {{10, 10}, {14, 12}, {18, 14}, {22, 16}}},
        {"square 5 on a corner", true, 5, {{0, 0}, {1, 1}}},
        {"square 21 over the whole width", true, 21, {{5, 15}, {20, 15}, {35, 15}}},
    };
    for (const auto& c : cases) {
        Fill([](int32_t x, int32_t y) {
            return 100.0 + 7.0 * ((x * 7 + y * 13) % 5) + 3.0 * std::sin(x * 1.7 + y);
        });
        FindRange();
        const std::vector<float> before = Grid();
        const double total = Sum();
        UsePreset(PresetThermalErode, c.Square, c.Size);
        Tool& tool = *PaintStateOf(ws).Active;
        tool.ButtonDown(c.Points.front());
        for (size_t i = 1; i < c.Points.size(); ++i)
            tool.Move(c.Points[i]);
        tool.ButtonUp(c.Points.back());
        EXPECT_NEAR(Sum(), total, 1e-6 * total) << c.Name;
        EXPECT_EQ(ws.Undo.UndoCount(), 1) << c.Name;
        const int32_t half = c.Size / 2;
        int32_t changed = 0;
        for (int32_t y = 0; y < Height; ++y)
            for (int32_t x = 0; x < Width; ++x) {
                bool covered = false;
                for (const ToolEvent& p : c.Points)
                    covered |= std::abs(x - static_cast<int32_t>(p.X)) <= half &&
                               std::abs(y - static_cast<int32_t>(p.Y)) <= half;
                const bool differs = At(x, y) != before[static_cast<size_t>(y) * Width + x];
                changed += differs ? 1 : 0;
                EXPECT_TRUE(covered || !differs) << c.Name << " at " << x << "," << y;
            }
        EXPECT_GT(changed, 0) << c.Name;
        ws.Undo.Undo();
        EXPECT_EQ(Grid(), before) << c.Name;
        PaintStateOf(ws).ActivePreset = PresetNone;
    }
}

// A cone: the same program seed gives the same elevations to the last bit, another seed other
// ones; drops that run out of the footprint change nothing there.
TEST_F(ErosionBrushTest, HydraulicStrokesAreReproducibleAndStayInTheFootprint) {
    const auto cone = [](int32_t x, int32_t y) {
        return 100.0 - std::hypot(x - 20.0, y - 15.0) * 4.0;
    };
    const struct {
        std::string Name;
        int32_t Seed;
    } runs[] = {{"seed 7", 7}, {"seed 7 again", 7}, {"seed 8", 8}};
    std::vector<std::vector<float>> results;
    for (const auto& run : runs) {
        Fill(cone);
        FindRange();
        const std::vector<float> before = Grid();
        ws.Random.SeedRandom(run.Seed);
        UsePreset(PresetHydraulicErode, false, 11);
        StrokeThrough({{14, 15}, {16, 15}});
        int32_t changed = 0;
        for (int32_t y = 0; y < Height; ++y)
            for (int32_t x = 0; x < Width; ++x) {
                const bool covered = x >= 14 - 5 && x <= 16 + 5 && y >= 10 && y <= 20;
                const bool differs = At(x, y) != before[static_cast<size_t>(y) * Width + x];
                changed += differs ? 1 : 0;
                EXPECT_TRUE(covered || !differs) << run.Name << " at " << x << "," << y;
            }
        EXPECT_GT(changed, 10) << run.Name;
        results.push_back(Grid());
        PaintStateOf(ws).ActivePreset = PresetNone;
    }
    EXPECT_EQ(results[0], results[1]);
    EXPECT_NE(results[0], results[2]);
}

// Cells the selection leaves out, and a brush whose condition never holds, are not touched by
// either erosion brush.
TEST_F(ErosionBrushTest, SelectionAndConditionHoldBothBrushes) {
    const struct {
        std::string Name;
        int32_t Preset;
        bool Select; // select only x < 20
        int32_t Condition;
    } cases[] = {
        {"thermal, half selected", PresetThermalErode, true, ApplyAlways},
        {"hydraulic, half selected", PresetHydraulicErode, true, ApplyAlways},
        {"thermal, never", PresetThermalErode, false, ApplyNever},
        {"hydraulic, never", PresetHydraulicErode, false, ApplyNever},
    };
    for (const auto& c : cases) {
        Fill([](int32_t x, int32_t y) { return 100.0 - std::hypot(x - 20.0, y - 15.0) * 4.0; });
        FindRange();
        ws.TheSurface.Mask.Release();
        if (c.Select) {
            ws.TheSurface.Mask.Create(Width, Height);
            for (int32_t y = 0; y < Height; ++y)
                for (int32_t x = 0; x < 20; ++x)
                    *ws.TheSurface.Mask.RowPointer(x, y) = 255;
        }
        const std::vector<float> before = Grid();
        UsePreset(c.Preset, true, 21);
        Brush& b = PaintStateOf(ws).Brushes.Current;
        b.Type = (b.Type & ~0xF0) | (c.Condition << 4);
        RebuildCurrentBrush(ws);
        StrokeThrough({{20, 15}});
        int32_t changed = 0;
        for (int32_t y = 0; y < Height; ++y)
            for (int32_t x = 0; x < Width; ++x) {
                const bool differs = At(x, y) != before[static_cast<size_t>(y) * Width + x];
                changed += differs ? 1 : 0;
                EXPECT_TRUE((c.Select && x < 20) || !differs) << c.Name << " at " << x << "," << y;
            }
        EXPECT_EQ(changed > 0, c.Condition == ApplyAlways) << c.Name;
        PaintStateOf(ws).ActivePreset = PresetNone;
    }
}

} // namespace
} // namespace korvel
