// Plasma on a 4096 x 4096 Surface, with and without the progress report, against the floor of
// the same work: two uniform draws per sample written in row order.

#include "core/headless_host.h"
#include "core/host.h"
#include "core/progress.h"
#include "core/random.h"
#include "core/surface.h"
#include "generate/plasma.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace {

using namespace korvel;

constexpr int32_t Side = 4096;

struct Bench {
    Bench() { surface.Resize(Side, Side, 0); }
    korvel::HeadlessHost host;
    bool showTime = false;
    Progress progress{host, showTime};
    RandomStream random;
    Surface surface;
};

Bench& Shared() {
    static Bench bench;
    return bench;
}

void Plasma(benchmark::State& state, bool showProgress) {
    Bench& b = Shared();
    for (auto _ : state) {
        if (GeneratePlasma(b.surface, b.progress, b.random, 12345, 125.0, 4.0, showProgress) != 0)
            state.SkipWithError("GeneratePlasma cancelled");
        benchmark::DoNotOptimize(b.surface.Rows[Side / 2][Side / 2]);
    }
    state.SetItemsProcessed(state.iterations() * int64_t{Side} * Side);
}

void BM_Plasma(benchmark::State& state) {
    Plasma(state, true);
}

void BM_PlasmaQuiet(benchmark::State& state) {
    Plasma(state, false);
}

void BM_TwoDrawsPerSample(benchmark::State& state) {
    Bench& b = Shared();
    for (auto _ : state) {
        b.random.SeedRandom(12345);
        for (int32_t y = 0; y < Side; ++y) {
            float* row = b.surface.Rows[y];
            for (int32_t x = 0; x < Side; ++x)
                row[x] = static_cast<float>(b.random.RandomUniform() - b.random.RandomUniform());
        }
        benchmark::DoNotOptimize(b.surface.Rows[Side / 2][Side / 2]);
    }
    state.SetItemsProcessed(state.iterations() * int64_t{Side} * Side);
}

BENCHMARK(BM_Plasma)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlasmaQuiet)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TwoDrawsPerSample)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
