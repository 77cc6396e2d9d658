// World Builder import of an 8192 x 4096 surface map and climate map (24-bit BMPs, a 16384 x 8192
// world), and one journey frame at 1024 x 512 by stage: generation (ridged multifractal,
// spherical), shading, and writing the BMP picture.

#include "commands/file_dispatch.h"
#include "core/headless_host.h"
#include "core/workspace.h"
#include "formats/bmp.h"
#include "formats/world_builder.h"
#include "generate/procedural.h"
#include "shading/palette.h"
#include "shading/texture.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace {

using namespace korvel;

std::string TempPath(const char* name) {
    return (std::filesystem::temp_directory_path() / name).string();
}

// Both maps, written once: colours that change across and down.
const std::string& MapPath() {
    static const std::string path = [] {
        HeadlessHost host;
        Workspace ws(host);
        Image map;
        map.Create(8192, 4096, 24);
        for (int32_t y = 0; y < map.Height(); ++y)
            for (int32_t x = 0; x < map.Width(); ++x)
                map.SetPixel(x, y,
                             PackColor(static_cast<uint8_t>(x), static_cast<uint8_t>(y),
                                       static_cast<uint8_t>(x ^ y)));
        const std::string p = TempPath("korvel-bench-world-builder.bmp");
        WriteBmpImage(p, map, ws.TheProgress);
        return p;
    }();
    return path;
}

std::array<PackedColor, 256> Palette(Workspace& ws) {
    return BuildPalette(ws.TheSurface.Lighting, ws.TheSurface.Min, ws.TheSurface.Max).Entries;
}

void BM_WorldBuilderImport(benchmark::State& state) {
    const std::string& path = MapPath();
    HeadlessHost host;
    Workspace ws(host);
    for (auto _ : state) {
        if (ImportWorldBuilder(ws, path, path, Palette) != 0)
            state.SkipWithError("the import failed");
        benchmark::DoNotOptimize(ws.TheSurface.Rows[100][100]);
    }
}
BENCHMARK(BM_WorldBuilderImport)->Unit(benchmark::kMillisecond)->UseRealTime();

struct Frame {
    Frame() {
        ws.TheSurface.Resize(1024, 512, 0);
        ws.TheSurface.Generation.TexSphere = true;
        ws.TheSurface.Generation.Type = 6;
    }
    HeadlessHost host;
    Workspace ws{host};
};

void BM_JourneyFrameGenerate(benchmark::State& state) {
    Frame f;
    for (auto _ : state)
        GenerateSurface(f.ws, f.ws.TheSurface.Generation, false);
}
BENCHMARK(BM_JourneyFrameGenerate)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_JourneyFrameShade(benchmark::State& state) {
    Frame f;
    GenerateSurface(f.ws, f.ws.TheSurface.Generation, false);
    for (auto _ : state) {
        MarkTextureStale(f.ws);
        UpdateTexture(f.ws);
    }
}
BENCHMARK(BM_JourneyFrameShade)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_JourneyFrameWriteBmp(benchmark::State& state) {
    Frame f;
    GenerateSurface(f.ws, f.ws.TheSurface.Generation, false);
    UpdateTexture(f.ws);
    const std::string path = TempPath("korvel-bench-pic00000.bmp");
    std::string message;
    for (auto _ : state)
        if (WriteFileByType(f.ws, path, -1, message) != 0)
            state.SkipWithError("the write failed");
}
BENCHMARK(BM_JourneyFrameWriteBmp)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
