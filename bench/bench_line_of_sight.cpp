// The line-of-sight mask with the default rays (1501 rays, 1.5 steps a sample) from 20 m above
// the centre of a 4096 x 4096 ridged multifractal, 0 to 2000 m, samples 30 m apart at the
// equator. bench/line_of_sight_vs_gdal.sh times gdal_viewshed on the same elevations, which this
// program writes with --write-bil=<file.bil>. Goal: at most gdal_viewshed's time.

#include "core/dialog_fields.h"
#include "core/headless_host.h"
#include "core/image.h"
#include "core/workspace.h"
#include "generate/procedural.h"
#include "geo/geoid.h"
#include "geo/line_of_sight.h"

#include "bil_file.h"

#include <benchmark/benchmark.h>

namespace {

using namespace korvel;

constexpr int32_t Side = 4096;
constexpr double SpacingDegrees = 30.0 / 111319.49079327357; // 30 m along the equator

struct Terrain {
    Terrain() {
        Surface& s = ws.TheSurface;
        s.Resize(Side, Side, 0);
        FracParms fp;
        fp.Type = 6;
        fp.octaves = 8;
        fp.xpos = fp.ypos = fp.zpos = -10.0;
        fp.xrange = fp.yrange = 8.0;
        GenerateSurface(ws, fp, false);
        s.FindMinMax(s.Min, s.Max, ws.TheProgress);
        const double k = s.Max > s.Min ? 2000.0 / (s.Max - s.Min) : 0.0;
        for (int32_t y = 0; y < Side; ++y)
            for (int32_t x = 0; x < Side; ++x)
                s.Rows[y][x] = static_cast<float>((s.Rows[y][x] - s.Min) * k);
        s.SetEdges(0.0, Side * SpacingDegrees, Side * SpacingDegrees, 0.0);
        picture.Create(Side, Side, 8);
    }
    HeadlessHost host;
    Workspace ws{host};
    Image picture;
};

Terrain& Shared() {
    static Terrain terrain;
    return terrain;
}

void BM_LineOfSightDefaultRays(benchmark::State& state) {
    Terrain& t = Shared();
    LosMaskFields f;
    f.Latitude = f.Longitude = Side / 2 * SpacingDegrees;
    const Geoid wgs84;
    for (auto _ : state) {
        if (LineOfSight(t.ws.TheSurface, t.ws.Interp, wgs84, t.picture, t.ws.TheProgress, f) !=
            LosDone)
            state.SkipWithError("the line of sight failed");
        benchmark::DoNotOptimize(t.picture.Data());
    }
}

BENCHMARK(BM_LineOfSightDefaultRays)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    return korvel::bench::MainWritingBil(
        argc, argv, []() -> const korvel::Surface& { return Shared().ws.TheSurface; });
}
