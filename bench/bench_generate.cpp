// Whole generations through GenerateSurface, as the Calculate command runs them (progress on,
// map scale by 1 afterwards): an 8-octave spherical ridged multifractal and an 8-octave flat fBm
// on 2048 x 1024 samples against libnoise's RidgedMulti and Perlin over the same points, and a
// 4096 x 4096 plasma. Time per sample (thread CPU time) and the ratios are printed at the end.

#include "core/headless_host.h"
#include "core/host.h"
#include "core/workspace.h"
#include "generate/procedural.h"
#include "per_sample_timing.h"

#include <benchmark/benchmark.h>
#include <noise.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <utility>
#include <vector>

namespace {

using namespace korvel;

constexpr int32_t Columns = 2048;
constexpr int32_t Rows = 1024;
constexpr int32_t PlasmaSide = 4096;
constexpr int Octaves = 8;
constexpr double DegToRad = 0.017453292519943295;

// The generator's default sphere: centre (-10, -10, -10), radii 2, the whole globe; the flat
// window runs from (-10, -10) across 8 x 4 units at z = -10.
constexpr double Centre = -10.0;
constexpr double Radius = 2.0;
constexpr double FlatWidth = 8.0;
constexpr double FlatHeight = 4.0;

using korvel::bench::PrintRatio;
using korvel::bench::SecondsPerSample;
using korvel::bench::TimedPerSample;

struct Session {
    Session(int32_t x, int32_t y) { ws.TheSurface.Resize(x, y, 0); }
    korvel::HeadlessHost host;
    Workspace ws{host};
};

// One Surface per size, allocated before its first timing.
Workspace& Sized(int32_t x, int32_t y) {
    static std::map<std::pair<int32_t, int32_t>, std::unique_ptr<Session>> sessions;
    auto& session = sessions[{x, y}];
    if (!session)
        session = std::make_unique<Session>(x, y);
    return session->ws;
}

void Generate(benchmark::State& state, const char* name, Workspace& ws, const FracParms& fp) {
    const double samples = double(ws.TheSurface.XSize) * ws.TheSurface.YSize;
    TimedPerSample(state, name, samples, [&] {
        if (GenerateSurface(ws, fp, true) != 0)
            state.SkipWithError("GenerateSurface failed");
        benchmark::DoNotOptimize(ws.TheSurface.Rows[0][0]);
    });
}

FracParms Fractal(int32_t type, bool sphere) {
    FracParms fp;
    fp.Type = type;
    fp.TexSphere = sphere;
    fp.H = 1.0;
    fp.lacunarity = 2.0;
    fp.octaves = Octaves;
    fp.offset = 1.0;
    fp.fgain = 2.0;
    fp.xpos = fp.ypos = fp.zpos = Centre;
    fp.xrange = sphere ? Radius : FlatWidth;
    fp.yrange = sphere ? Radius : FlatHeight;
    fp.zrange = Radius;
    return fp;
}

// The libnoise side visits the same points and stores floats into a grid of the same size.
template <class Sample> void OverSphere(std::vector<float>& grid, Sample sample) {
    std::vector<double> cs(Columns), sn(Columns);
    for (int32_t c = 0; c < Columns; ++c) {
        const double a = (c * 360.0 / Columns - 180.0) * DegToRad;
        cs[c] = std::cos(a) * Radius;
        sn[c] = std::sin(a) * Radius;
    }
    for (int32_t r = 0; r < Rows; ++r) {
        const double lat = (r * 180.0 / Rows - 90.0) * DegToRad;
        const double cl = std::cos(lat);
        const double z = std::sin(lat) * Radius + Centre;
        float* row = grid.data() + int64_t{r} * Columns;
        for (int32_t c = 0; c < Columns; ++c)
            row[c] = static_cast<float>(sample(cs[c] * cl + Centre, sn[c] * cl + Centre, z));
    }
    benchmark::DoNotOptimize(grid.data());
}

template <class Sample> void OverGrid(std::vector<float>& grid, Sample sample) {
    for (int32_t r = 0; r < Rows; ++r) {
        const double y = Centre + r * (FlatHeight / Rows);
        float* row = grid.data() + int64_t{r} * Columns;
        for (int32_t c = 0; c < Columns; ++c)
            row[c] = static_cast<float>(sample(Centre + c * (FlatWidth / Columns), y, Centre));
    }
    benchmark::DoNotOptimize(grid.data());
}

void BM_GenerateRidgedSphere(benchmark::State& state) {
    Generate(state, "Korvel ridged", Sized(Columns, Rows), Fractal(6, true));
}

void BM_LibnoiseRidged(benchmark::State& state) {
    noise::module::RidgedMulti ridged;
    ridged.SetOctaveCount(Octaves);
    std::vector<float> grid(int64_t{Columns} * Rows);
    TimedPerSample(state, "libnoise RidgedMulti", double(Columns) * Rows, [&] {
        OverSphere(grid, [&](double x, double y, double z) { return ridged.GetValue(x, y, z); });
    });
}

void BM_GenerateFbmFlat(benchmark::State& state) {
    Generate(state, "Korvel fBm", Sized(Columns, Rows), Fractal(2, false));
}

void BM_LibnoisePerlin(benchmark::State& state) {
    noise::module::Perlin perlin;
    perlin.SetOctaveCount(Octaves);
    std::vector<float> grid(int64_t{Columns} * Rows);
    TimedPerSample(state, "libnoise Perlin", double(Columns) * Rows, [&] {
        OverGrid(grid, [&](double x, double y, double z) { return perlin.GetValue(x, y, z); });
    });
}

void BM_GeneratePlasma(benchmark::State& state) {
    FracParms fp;
    fp.Type = 0;
    Generate(state, "Korvel plasma", Sized(PlasmaSide, PlasmaSide), fp);
}

BENCHMARK(BM_GenerateRidgedSphere)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LibnoiseRidged)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_GenerateFbmFlat)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LibnoisePerlin)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_GeneratePlasma)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("\nThrough GenerateSurface (Korvel / libnoise, 1.0 = as fast), %d x %d samples, "
                "%d octaves:\n",
                Columns, Rows, Octaves);
    PrintRatio("Korvel ridged", "libnoise RidgedMulti");
    PrintRatio("Korvel fBm", "libnoise Perlin");
    if (SecondsPerSample().count("Korvel plasma"))
        std::printf("Korvel plasma  %7.1f ns/sample (%d x %d)\n",
                    SecondsPerSample().at("Korvel plasma") * 1e9, PlasmaSide, PlasmaSide);
    return 0;
}
