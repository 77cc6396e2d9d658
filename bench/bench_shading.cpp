// The TextureMap of a 4096 x 4096 plasma terrain in 24-bit colour, lit and height-coded, with
// the default lighting (half the samples sea, half land). bench/shading_vs_gdaldem.sh sets the
// lit figure beside gdaldem hillshade on the same elevations, which this program writes with
// --write-bil=<file.bil> (Float32 rows, north first, with an EHdr .hdr beside it).

#include "core/headless_host.h"
#include "core/host.h"
#include "core/noise.h"
#include "core/progress.h"
#include "core/random.h"
#include "core/surface.h"
#include "generate/plasma.h"
#include "shading/texture.h"

#include "bil_file.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace korvel;

constexpr int32_t Side = 4096;

struct Bench {
    Bench() {
        surface.Resize(Side, Side, 0);
        GeneratePlasma(surface, progress, random, 12345, 125.0, 4.0, false);
        surface.FindMinMax(surface.Min, surface.Max, progress);
    }
    korvel::HeadlessHost host;
    bool showTime = false;
    Progress progress{host, showTime};
    RandomStream random;
    NoiseBasis noise{random};
    Surface surface;
};

Bench& Shared() {
    static Bench bench;
    return bench;
}

void Shade(benchmark::State& state, int32_t type) {
    Bench& b = Shared();
    b.surface.Lighting.Type = type;
    const ShadingInputs in{b.progress, b.noise};
    for (auto _ : state) {
        if (ComputeTexture(b.surface, 0, 0, Side - 1, Side - 1, true, in) != TextureDone)
            state.SkipWithError("ComputeTexture did not finish");
        benchmark::DoNotOptimize(b.surface.Texture.AsIs().Row(Side / 2)[Side / 2]);
    }
    state.SetItemsProcessed(state.iterations() * int64_t{Side} * Side);
}

void BM_Shade24Lighted(benchmark::State& state) {
    Shade(state, 0);
}

void BM_Shade24HeightCode(benchmark::State& state) {
    Shade(state, 1);
}

BENCHMARK(BM_Shade24Lighted)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Shade24HeightCode)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return korvel::bench::MainWritingBil(
        argc, argv, []() -> const korvel::Surface& { return Shared().surface; });
}
