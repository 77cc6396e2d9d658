// "Blur Lots" (the 7 x 7 box) over a 4096 x 4096 Surface, as the command runs it (a fresh work
// grid each time, whose first touch of 64 MB of new pages is part of the cost) and as KernelApply
// alone into a grid made and touched once. The counter "taps/s" is 49 x 4096 x 4096 per run over
// the time taken; the goal is at least 1e9.

#include "core/grid.h"
#include "core/headless_host.h"
#include "core/host.h"
#include "core/kernel.h"
#include "core/progress.h"
#include "core/surface.h"
#include "edit/convolution.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

namespace {

using namespace korvel;

constexpr int32_t Side = 4096;

korvel::HeadlessHost TheHost;
const bool ShowTime = false;
Progress TheProgress(TheHost, ShowTime);

Surface& Shared() {
    static Surface s;
    if (!s.HasGrid()) {
        s.Resize(Side, Side, 0);
        for (int32_t y = 0; y < Side; ++y)
            for (int32_t x = 0; x < Side; ++x)
                s.Rows[y][x] =
                    static_cast<float>(1000.0 * std::sin(x * 0.013) * std::cos(y * 0.007));
    }
    return s;
}

Kernel BlurLots() {
    Kernel k;
    k.SetSize(7, 1.0f, 0, 0);
    k.MakeBox();
    return k;
}

void CountTaps(benchmark::State& state) {
    state.counters["taps/s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * 49.0 * Side * Side, benchmark::Counter::kIsRate);
}

void BM_BlurLotsSurface(benchmark::State& state) {
    Surface& s = Shared();
    const Kernel k = BlurLots();
    for (auto _ : state)
        benchmark::DoNotOptimize(ConvolveSurface(s, TheProgress, k, "Blur Lots"));
    CountTaps(state);
}

void BM_BlurLotsKernelApply(benchmark::State& state) {
    Surface& s = Shared();
    const Kernel k = BlurLots();
    float** work = GridAllocOf<float>(Side, Side);
    const ConvolutionSource source{s.Rows, Side, Side};
    KernelApply(k, 0, 0, Side, Side, source, work, TheProgress, "", false);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            KernelApply(k, 0, 0, Side, Side, source, work, TheProgress, "Blur Lots", true));
        benchmark::ClobberMemory();
    }
    GridFreeOf(work);
    CountTaps(state);
}

} // namespace

BENCHMARK(BM_BlurLotsSurface)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BlurLotsKernelApply)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
