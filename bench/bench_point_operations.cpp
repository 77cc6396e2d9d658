// Clip, scale and offset over a 4096 x 4096 Surface, without a selection mask and with one that
// selects everything, against a bare multiply loop over the same samples. The scale and offset
// alternate their direction (x2 / x0.5, +1 / -1) so the values stay where they started.

#include "core/headless_host.h"
#include "core/host.h"
#include "core/progress.h"
#include "core/surface.h"
#include "edit/point_operations.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <string>

namespace {

using namespace korvel;

constexpr int32_t Side = 4096;

korvel::HeadlessHost TheHost;
const bool ShowTime = false;
Progress TheProgress(TheHost, ShowTime);

// Built once per mask choice: allocating 64 MB per run would measure the allocator.
Surface& Shared(bool masked) {
    static Surface surfaces[2];
    Surface& s = surfaces[masked ? 1 : 0];
    if (!s.HasGrid()) {
        s.Resize(Side, Side, masked ? Surface::SurfaceHasSelection : 0);
        for (int32_t y = 0; y < Side; ++y)
            for (int32_t x = 0; x < Side; ++x)
                s.Rows[y][x] =
                    static_cast<float>(1000.0 * std::sin(x * 0.013) * std::cos(y * 0.007));
        if (masked)
            std::memset(s.Mask.RowPointer(0, 0), 255,
                        static_cast<size_t>(s.Mask.Width()) * s.Mask.Height());
        s.Min = -1000.0;
        s.Max = 1000.0;
    }
    return s;
}

template <class Work> void Run(benchmark::State& state, Work work) {
    Surface& s = Shared(state.range(0) != 0);
    int64_t n = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(work(s, n++ % 2 == 0));
    state.SetBytesProcessed(state.iterations() * int64_t{Side} * Side *
                            static_cast<int64_t>(sizeof(float)));
}

void BM_Clip(benchmark::State& state) {
    Run(state, [](Surface& s, bool) { return ClipHeights(s, TheProgress, -500.0, 500.0); });
}

void BM_Scale(benchmark::State& state) {
    Run(state,
        [](Surface& s, bool up) { return ScaleHeights(s, TheProgress, up ? 2.0 : 0.5, true); });
}

void BM_Offset(benchmark::State& state) {
    Run(state, [](Surface& s, bool up) { return OffsetHeights(s, TheProgress, up ? 1.0 : -1.0); });
}

// The floor: one multiply per sample, no extremes, no progress.
void BM_BareMultiply(benchmark::State& state) {
    Run(state, [](Surface& s, bool up) {
        const float factor = up ? 2.0f : 0.5f;
        for (int32_t y = 0; y < s.YSize; ++y) {
            float* row = s.Rows[y];
            for (int32_t x = 0; x < s.XSize; ++x)
                row[x] *= factor;
        }
        return 0;
    });
}

BENCHMARK(BM_Clip)->ArgName("masked")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Scale)->ArgName("masked")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Offset)->ArgName("masked")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareMultiply)->ArgName("masked")->Arg(0)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
