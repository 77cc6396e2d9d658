// The water commands on a 4096 x 4096 ridged multifractal (Calculate's type 6, 8 octaves): a
// flood fill that covers the whole grid (time and the most memory it held beyond the Surface),
// drainage areas with their picture, one fluvial frame (rain and a step) and one Find Lakes
// relaxation. Goals: 0.5 s and 16 MiB, 1 s, 0.3 s and 100 ms. The figures are printed at the end.

#include "core/headless_host.h"
#include "core/image.h"
#include "core/workspace.h"
#include "generate/procedural.h"
#include "hydro/drainage_areas.h"
#include "hydro/flood_fill.h"
#include "hydro/fluvial_model.h"
#include "hydro/lakes.h"
#include "per_sample_timing.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <new>
#include <string>
#include <vector>

namespace {

// Every allocation of the program is counted, so that the fill's peak can be read off.
std::atomic<int64_t> LiveBytes{0};
std::atomic<int64_t> PeakBytes{0};

void Count(int64_t bytes) {
    const int64_t live = LiveBytes.fetch_add(bytes) + bytes;
    int64_t peak = PeakBytes.load();
    while (live > peak && !PeakBytes.compare_exchange_weak(peak, live)) {
    }
}

} // namespace

void* operator new(size_t size) {
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr)
        throw std::bad_alloc();
    Count(static_cast<int64_t>(malloc_usable_size(p)));
    return p;
}
void operator delete(void* p) noexcept {
    if (p != nullptr)
        Count(-static_cast<int64_t>(malloc_usable_size(p)));
    std::free(p);
}
void operator delete(void* p, size_t) noexcept {
    operator delete(p);
}

namespace {

using namespace korvel;
using korvel::bench::ThreadSeconds;

constexpr int32_t Side = 4096;

struct Terrain {
    Terrain() {
        ws.TheSurface.Resize(Side, Side, 0);
        FracParms fp;
        fp.Type = 6;
        fp.H = 1.0;
        fp.lacunarity = 2.0;
        fp.octaves = 8;
        fp.offset = 1.0;
        fp.fgain = 2.0;
        fp.xpos = fp.ypos = fp.zpos = -10.0;
        fp.xrange = 8.0;
        fp.yrange = 8.0;
        fp.zrange = 2.0;
        GenerateSurface(ws, fp, false);
        heights.assign(ws.TheSurface.Rows[0], ws.TheSurface.Rows[0] + int64_t{Side} * Side);
    }
    void Restore() { std::copy(heights.begin(), heights.end(), ws.TheSurface.Rows[0]); }
    HeadlessHost host;
    Workspace ws{host};
    std::vector<float> heights;
};

Terrain& Shared() {
    static Terrain terrain;
    return terrain;
}

std::map<std::string, double>& Figures() {
    static std::map<std::string, double> figures;
    return figures;
}

template <class Pass> void Timed(benchmark::State& state, const char* name, Pass pass) {
    double total = 0.0;
    for (auto _ : state) {
        const double start = ThreadSeconds();
        pass();
        total += ThreadSeconds() - start;
    }
    Figures()[name] = total / static_cast<double>(state.iterations());
}

void BM_FloodFillWholeGrid(benchmark::State& state) {
    Terrain& t = Shared();
    Surface& s = t.ws.TheSurface;
    double total = 0.0;
    int64_t extra = 0;
    for (auto _ : state) {
        state.PauseTiming();
        t.Restore();
        const int64_t before = LiveBytes.load();
        PeakBytes.store(before);
        state.ResumeTiming();
        const double start = ThreadSeconds();
        int64_t filled = 0;
        // The new value lies inside the range: the fill must still visit each sample once.
        FloodFill(s, Side / 2, Side / 2, -1e30f, 1e30f, 0.0f, &filled);
        total += ThreadSeconds() - start;
        if (filled != int64_t{Side} * Side)
            state.SkipWithError("the fill did not cover the grid");
        extra = std::max(extra, PeakBytes.load() - before);
    }
    Figures()["flood fill, whole grid (s)"] = total / static_cast<double>(state.iterations());
    Figures()["flood fill, extra memory (MiB)"] = static_cast<double>(extra) / (1024.0 * 1024.0);
    t.Restore();
}

void BM_DrainageAreas(benchmark::State& state) {
    Terrain& t = Shared();
    Image picture;
    picture.Create(Side, Side, 24);
    Timed(state, "drainage areas with picture (s)", [&] {
        if (DrawDrainageAreas(t.ws.TheSurface, picture, t.ws.TheProgress) != DrainageDone)
            state.SkipWithError("drainage areas failed");
    });
}

void BM_FluvialFrame(benchmark::State& state) {
    Terrain& t = Shared();
    FluvialModel model;
    if (model.Allocate(Side, Side) != FluvialDone) {
        state.SkipWithError("no memory for the model");
        return;
    }
    Timed(state, "fluvial frame, rain and step (s)", [&] {
        model.Rain(t.ws.TheSurface, 0.5, false, t.ws.TheProgress);
        model.Step(t.ws.TheSurface, {5.0, 0.1}, t.ws.TheProgress);
    });
}

void BM_FindLakesIteration(benchmark::State& state) {
    Terrain& t = Shared();
    LakeFields f; // a sheet of 10 everywhere, all edges sinking: every cell is a source
    LakeRelaxation lakes;
    if (!lakes.Start(t.ws.TheSurface, f)) {
        state.SkipWithError("no memory for the lakes");
        return;
    }
    float largest = 0.0f;
    Timed(state, "find lakes iteration (s)",
          [&] { benchmark::DoNotOptimize(lakes.Relax(largest)); });
}

BENCHMARK(BM_FloodFillWholeGrid)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_DrainageAreas)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_FluvialFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_FindLakesIteration)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("\nWater commands on a %d x %d ridged multifractal (thread CPU time):\n", Side,
                Side);
    for (const auto& [name, value] : Figures())
        std::printf("  %-36s %8.3f\n", name.c_str(), value);
    return 0;
}
