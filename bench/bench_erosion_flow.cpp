// Erosion, sink filling and flow accumulation on a 4096 x 4096 plasma terrain.
// bench/erosion_flow_vs_grass.sh sets Fill Sinks beside GRASS r.fill.dir and the D8 flow
// accumulation beside r.watershed -s on the same elevations, which this program writes with
// --write-bil=<file.bil> (Float32 rows, north first, with an EHdr .hdr beside it).

#include "core/headless_host.h"
#include "core/progress.h"
#include "core/random.h"
#include "core/surface.h"
#include "generate/plasma.h"
#include "hydro/fill_sinks.h"
#include "hydro/flow_accumulation.h"
#include "hydro/hydraulic_erosion.h"
#include "hydro/thermal_erosion.h"

#include "bil_file.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

namespace {

using namespace korvel;

constexpr int32_t Side = 4096;

struct Bench {
    Bench() {
        terrain.Resize(Side, Side, 0);
        GeneratePlasma(terrain, progress, random, 12345, 125.0, 4.0, false);
        terrain.FindMinMax(terrain.Min, terrain.Max, progress);
        work.Resize(Side, Side, 0);
        filled.Resize(Side, Side, 0);
        CopyInto(filled);
        FillSinks(filled, progress, {true});
    }
    void CopyInto(Surface& s) const {
        for (int32_t y = 0; y < Side; ++y)
            std::copy_n(terrain.Rows[y], Side, s.Rows[y]);
        s.Min = terrain.Min;
        s.Max = terrain.Max;
    }
    korvel::HeadlessHost host;
    bool showTime = false;
    Progress progress{host, showTime};
    RandomStream random;
    Surface terrain;
    Surface work;
    Surface filled; // the terrain after Fill Sinks with draining flats
};

Bench& Shared() {
    static Bench bench;
    return bench;
}

// Runs change on a fresh copy of the terrain each time; the copy is not timed.
template <class F> void OnFreshCopy(benchmark::State& state, F change) {
    Bench& b = Shared();
    for (auto _ : state) {
        state.PauseTiming();
        b.CopyInto(b.work);
        state.ResumeTiming();
        if (change(b.work, b.progress) != 0)
            state.SkipWithError("the operation failed");
        benchmark::DoNotOptimize(b.work.Rows[Side / 2][Side / 2]);
    }
    state.SetItemsProcessed(state.iterations() * int64_t{Side} * Side);
}

void BM_FillSinks(benchmark::State& state) {
    OnFreshCopy(state, [](Surface& s, Progress& p) { return FillSinks(s, p, {false}); });
}

void BM_FillSinksDrainingFlats(benchmark::State& state) {
    OnFreshCopy(state, [](Surface& s, Progress& p) { return FillSinks(s, p, {true}); });
}

void Accumulate(benchmark::State& state, FlowMethod method) {
    Bench& b = Shared();
    FlowGrid flow;
    for (auto _ : state) {
        if (AccumulateFlow(b.filled, b.progress, method, flow) != 0)
            state.SkipWithError("AccumulateFlow failed");
        benchmark::DoNotOptimize(flow.Values.data());
    }
    state.SetItemsProcessed(state.iterations() * int64_t{Side} * Side);
}

void BM_FlowD8(benchmark::State& state) {
    Accumulate(state, FlowD8);
}

void BM_FlowMultiple(benchmark::State& state) {
    Accumulate(state, FlowMultiple);
}

void BM_HydraulicMillionDroplets(benchmark::State& state) {
    OnFreshCopy(state, [](Surface& s, Progress& p) {
        HydraulicFields params;
        params.Droplets = 1000000;
        return HydraulicErode(s, p, params);
    });
}

void BM_Thermal100Iterations(benchmark::State& state) {
    OnFreshCopy(state, [](Surface& s, Progress& p) {
        ThermalErosionParams params;
        params.Iterations = 100;
        params.Talus = 1.0;
        return ThermalErode(s, p, params);
    });
}

BENCHMARK(BM_FillSinks)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FillSinksDrainingFlats)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FlowD8)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FlowMultiple)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_HydraulicMillionDroplets)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Thermal100Iterations)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    return korvel::bench::MainWritingBil(
        argc, argv, []() -> const korvel::Surface& { return Shared().terrain; });
}
