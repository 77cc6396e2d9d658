// Fit Geoid on a 4096 x 4096 Surface of 4 by 4 degrees about the reference point at its centre,
// WGS-84. Goal: under 50 ms.

#include "core/headless_host.h"
#include "core/progress.h"
#include "core/surface.h"
#include "geo/angles.h"
#include "geo/fit_geoid.h"
#include "geo/geoid.h"

#include <benchmark/benchmark.h>

namespace {

using namespace korvel;

constexpr int32_t Side = 4096;

void BM_FitGeoid(benchmark::State& state) {
    HeadlessHost host;
    const bool showTime = false;
    Progress progress{host, showTime};
    Surface s;
    s.Resize(Side, Side, 0);
    s.SetEdges(8.0, 12.0, 47.0, 43.0);
    Geoid geoid;
    geoid.SetReference(45.0 * DegreesToRadians, 10.0 * DegreesToRadians, 0.0);
    bool add = true;
    for (auto _ : state) {
        // Adding and taking away in turn keeps the samples near 0.
        if (FitGeoid(s, progress, geoid, add) != 0)
            state.SkipWithError("Fit Geoid failed");
        add = !add;
        benchmark::DoNotOptimize(s.Rows[Side - 1][Side - 1]);
    }
    state.SetItemsProcessed(state.iterations() * int64_t{Side} * Side);
}

BENCHMARK(BM_FitGeoid)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

BENCHMARK_MAIN();
