// Korvel's fractal sums against libnoise over the same 2048 x 1024 points: an 8-octave ridged
// multifractal on a sphere (points from latitude and longitude, as spherical generation makes
// them) against noise::module::RidgedMulti, and an 8-octave fBm over a flat grid against
// noise::module::Perlin. Both sides use lacunarity 2 and halve the amplitude per octave (H 1,
// persistence 0.5); the ridged offset 1 and gain 2 are libnoise's fixed ones. Time per sample
// and the ratios (thread CPU time) are printed at the end.

#include "core/noise.h"
#include "core/random.h"
#include "per_sample_timing.h"

#include <benchmark/benchmark.h>
#include <noise.h>

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

using namespace korvel;
using korvel::bench::PrintRatio;

constexpr int32_t Columns = 2048;
constexpr int32_t Rows = 1024;
constexpr double Samples = double(Columns) * Rows;
constexpr int Octaves = 8;
constexpr double DegToRad = 0.017453292519943295;

// The generator's default sphere: centre (-10, -10, -10), radii 2, the whole globe.
constexpr double Centre = -10.0;
constexpr double Radius = 2.0;
// The flat grid: from (-10, -10) across 8 x 4 units at z = -10.
constexpr double FlatWidth = 8.0;
constexpr double FlatHeight = 4.0;

// Runs sample(x, y, z) over every point of the sphere, storing floats as a generator would.
template <class Sample> void OverSphere(std::vector<float>& row, Sample sample) {
    static const auto lon = [] {
        std::vector<double> cs(2 * Columns);
        for (int32_t c = 0; c < Columns; ++c) {
            const double a = (c * 360.0 / Columns - 180.0) * DegToRad;
            cs[2 * c] = std::cos(a);
            cs[2 * c + 1] = std::sin(a);
        }
        return cs;
    }();
    for (int32_t r = 0; r < Rows; ++r) {
        const double lat = (r * 180.0 / Rows - 90.0) * DegToRad;
        const double cl = std::cos(lat) * Radius;
        const double z = std::sin(lat) * Radius + Centre;
        for (int32_t c = 0; c < Columns; ++c)
            row[c] = static_cast<float>(
                sample(lon[2 * c] * cl + Centre, lon[2 * c + 1] * cl + Centre, z));
        benchmark::DoNotOptimize(row.data());
    }
}

template <class Sample> void OverGrid(std::vector<float>& row, Sample sample) {
    for (int32_t r = 0; r < Rows; ++r) {
        const double y = Centre + r * (FlatHeight / Rows);
        for (int32_t c = 0; c < Columns; ++c)
            row[c] = static_cast<float>(sample(Centre + c * (FlatWidth / Columns), y, Centre));
        benchmark::DoNotOptimize(row.data());
    }
}

template <class Pass> void Timed(benchmark::State& state, const char* name, Pass pass) {
    std::vector<float> row(Columns);
    korvel::bench::TimedPerSample(state, name, Samples, [&] { pass(row); });
}

// One stream and one set of tables for every Korvel benchmark, built before timing starts.
struct Prepared {
    Prepared() {
        random.SeedRandom(12345);
        basis.Noise3(0.5, 0.5, 0.5);
    }
    RandomStream random;
    NoiseBasis basis{random};
};

NoiseBasis& Korvel() {
    static Prepared prepared;
    return prepared.basis;
}

void BM_KorvelRidged(benchmark::State& state) {
    NoiseBasis& n = Korvel();
    Timed(state, "Korvel ridged", [&](std::vector<float>& row) {
        OverSphere(row, [&](double x, double y, double z) {
            return n.RidgedMultifractal(x, y, z, 1.0, 2.0, Octaves, 1.0, 2.0);
        });
    });
}

void BM_LibnoiseRidged(benchmark::State& state) {
    noise::module::RidgedMulti ridged;
    ridged.SetOctaveCount(Octaves);
    Timed(state, "libnoise RidgedMulti", [&](std::vector<float>& row) {
        OverSphere(row, [&](double x, double y, double z) { return ridged.GetValue(x, y, z); });
    });
}

void BM_KorvelFbm(benchmark::State& state) {
    NoiseBasis& n = Korvel();
    Timed(state, "Korvel fBm", [&](std::vector<float>& row) {
        OverGrid(row,
                 [&](double x, double y, double z) { return n.Fbm(x, y, z, 1.0, 2.0, Octaves); });
    });
}

void BM_LibnoisePerlin(benchmark::State& state) {
    noise::module::Perlin perlin;
    perlin.SetOctaveCount(Octaves);
    Timed(state, "libnoise Perlin", [&](std::vector<float>& row) {
        OverGrid(row, [&](double x, double y, double z) { return perlin.GetValue(x, y, z); });
    });
}

BENCHMARK(BM_KorvelRidged)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LibnoiseRidged)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_KorvelFbm)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LibnoisePerlin)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("\nRatios (Korvel / libnoise, 1.0 = as fast), %d x %d points, %d octaves:\n",
                Columns, Rows, Octaves);
    PrintRatio("Korvel ridged", "libnoise RidgedMulti");
    PrintRatio("Korvel fBm", "libnoise Perlin");
    return 0;
}
