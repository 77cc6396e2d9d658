// Painting on a 4096 x 4096 plasma terrain with its picture up to date: one 51 x 51 stamp with
// the re-shading of its footprint (goal: under 1 ms), the stamp alone beside it, and a stroke of
// 1000 stamps with its undo snapshot (goal: under 0.5 s); then one 51 x 51 stamp of each toolbar
// preset, the two erosion brushes among them (thermal: one weathering step of the footprint;
// hydraulic: a drop from each of its samples).

#include "core/headless_host.h"
#include "core/workspace.h"
#include "generate/plasma.h"
#include "paint/brush_stamp.h"
#include "paint/paint_state.h"
#include "shading/texture.h"

#include <benchmark/benchmark.h>

namespace {

using namespace korvel;

constexpr int32_t Side = 4096;

struct Bench {
    Bench() {
        Surface& s = ws.TheSurface;
        s.Resize(Side, Side, 0);
        GeneratePlasma(s, ws.TheProgress, ws.Random, 12345, 125.0, 4.0, false);
        s.FindMinMax(s.Min, s.Max, ws.TheProgress);
        ws.General.Undo = 1;
        ws.Undo.SetCapacity(1);
        MarkTextureStale(ws);
        CurrentTexture(ws);
        // Paint half way between the extremes: the range and so the colours stay as they are.
        ChoosePreset(ws, PresetPaint);
        SetToolSize(ws, 51, 59);
        PaintStateOf(ws).Brushes.Current.Value = static_cast<float>((s.Min + s.Max) / 2);
        RebuildCurrentBrush(ws);
    }
    HeadlessHost host{nullptr};
    Workspace ws{host};
};

Bench& Shared() {
    static Bench bench;
    return bench;
}

// Positions along a diagonal, 3 samples apart, inside the Surface.
ToolEvent Along(int64_t i) {
    const auto at = static_cast<double>(100 + (i * 3) % (Side - 200));
    return {at, at * 0.5 + 700, -1};
}

void BM_Stamp51WithReshade(benchmark::State& state) {
    Bench& b = Shared();
    Tool& tool = *PaintStateOf(b.ws).Active;
    tool.ButtonDown(Along(0));
    int64_t i = 1;
    for (auto _ : state)
        benchmark::DoNotOptimize(tool.Move(Along(i++)));
    tool.ButtonUp(Along(i));
    if (b.ws.TheSurface.Texture.Stale())
        state.SkipWithError("the picture went stale: the stamps left the range");
}

void BM_Stamp51Alone(benchmark::State& state) {
    Bench& b = Shared();
    Surface& s = b.ws.TheSurface;
    Brush& brush = PaintStateOf(b.ws).Brushes.Current;
    StampReport report;
    int64_t i = 0;
    for (auto _ : state) {
        const ToolEvent at = Along(i++);
        Stamp(brush, {s, b.ws.TheProgress, b.ws.Random}, static_cast<int32_t>(at.X),
              static_cast<int32_t>(at.Y), std::nullopt, report);
        benchmark::DoNotOptimize(report);
    }
}

void BM_Stroke1000Stamps(benchmark::State& state) {
    Bench& b = Shared();
    Tool& tool = *PaintStateOf(b.ws).Active;
    for (auto _ : state) {
        tool.ButtonDown(Along(0));
        for (int64_t i = 1; i < 1000; ++i)
            tool.Move(Along(i));
        tool.ButtonUp(Along(999));
    }
}

// The stamps of a preset alone, at the same diagonal positions. Runs last: it leaves the brush
// as the last preset made it.
void BM_Stamp51Preset(benchmark::State& state) {
    Bench& b = Shared();
    PaintState& paint = PaintStateOf(b.ws);
    paint.ActivePreset = PresetNone;
    ChoosePreset(b.ws, static_cast<int32_t>(state.range(0)));
    Surface& s = b.ws.TheSurface;
    Brush& brush = paint.Brushes.Current;
    const StampTarget target{s, b.ws.TheProgress, b.ws.Random, b.ws.Thermal, b.ws.Hydraulic};
    StampReport report;
    int64_t i = 0;
    for (auto _ : state) {
        const ToolEvent at = Along(i++);
        Stamp(brush, target, static_cast<int32_t>(at.X), static_cast<int32_t>(at.Y), std::nullopt,
              report);
        benchmark::DoNotOptimize(report);
    }
}

} // namespace

BENCHMARK(BM_Stamp51WithReshade)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Stamp51Alone)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Stroke1000Stamps)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Stamp51Preset)
    ->ArgName("preset")
    ->DenseRange(PresetPaint, PresetHydraulicErode)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
