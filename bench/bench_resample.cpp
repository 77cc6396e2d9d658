// A bilinear resample of a 4096 x 4096 Surface of smooth elevations to 8192 x 8192, in memory
// and followed by an MDR save, against `gdalwarp -r bilinear -ts 8192 8192` of the same
// elevations (a raw float32 .bil with its .hdr, written once before the timing) to an ENVI file.
// gdalwarp's figure includes starting the program, reading its input from the page cache and
// writing its output; none of those can be taken out of a command-line run. The ratios are
// printed at the end; without gdalwarp (Debian package gdal-bin) its benchmark is skipped.

#include "core/headless_host.h"
#include "core/host.h"
#include "core/workspace.h"
#include "edit/resample.h"
#include "formats/mdr.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>

namespace {

using namespace korvel;

constexpr int32_t Side = 4096;
constexpr int32_t Target = 8192;
const std::string BilPath = "/tmp/korvel_bench_resample.bil";
const std::string HdrPath = "/tmp/korvel_bench_resample.hdr";
const std::string WarpedPath = "/tmp/korvel_bench_resample_warped.envi";
const std::string MdrPath = "/tmp/korvel_bench_resample.mdr";

korvel::HeadlessHost TheHost;

// The source elevations, kept apart: every resample replaces the workspace's Surface.
struct Source {
    Source() {
        s.Left = 0.0;
        s.Right = Side;
        s.Bottom = 0.0;
        s.Top = Side;
        s.Resize(Side, Side, 0);
        for (int32_t y = 0; y < Side; ++y)
            for (int32_t x = 0; x < Side; ++x)
                s.Rows[y][x] = static_cast<float>(
                    800.0 * std::sin(x * 0.0031 + 0.4) * std::cos(y * 0.0027) +
                    250.0 * std::sin((x + 2.0 * y) * 0.011) + 40.0 * std::cos(x * 0.05 - y * 0.03));
        ws.Interp.Type = InterpLinear;
        ws.MdrSave = {};
    }
    Surface s;
    Workspace ws{TheHost};
};

Source& Shared() {
    static Source source;
    return source;
}

std::map<std::string, double>& Seconds() {
    static std::map<std::string, double> seconds;
    return seconds;
}

double Since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Times work() after a fresh copy of the source, which is not timed.
template <class Work> void Timed(benchmark::State& state, const char* name, Work work) {
    Source& src = Shared();
    double total = 0.0;
    for (auto _ : state) {
        if (src.ws.TheSurface.CopyFrom(src.s) != 0) {
            state.SkipWithError("cannot copy the source");
            return;
        }
        const auto start = std::chrono::steady_clock::now();
        if (!work(src.ws)) {
            state.SkipWithError("failed");
            return;
        }
        const double seconds = Since(start);
        state.SetIterationTime(seconds);
        total += seconds;
    }
    Seconds()[name] = total / static_cast<double>(state.iterations());
}

bool ResampleUp(Workspace& ws) {
    return Resample(ws.TheSurface, ws.TheProgress, ws.TheHost, ws.Interp, 0.0, Side, Side, 0.0,
                    Target, Target) == 0;
}

void BM_KorvelResample(benchmark::State& state) {
    Timed(state, "Korvel", ResampleUp);
}

void BM_KorvelResampleAndMdrSave(benchmark::State& state) {
    Timed(state, "Korvel+MDR save",
          [](Workspace& ws) { return ResampleUp(ws) && WriteMdrFile(MdrPath, ws) == 0; });
}

// Row 0 first: it lies at Top for the geographic operations, and a .bil starts at the top.
bool WriteBil() {
    const Surface& s = Shared().s;
    std::ofstream bil(BilPath, std::ios::binary);
    for (int32_t y = 0; y < Side && bil; ++y)
        bil.write(reinterpret_cast<const char*>(s.Rows[y]), sizeof(float) * Side);
    std::ofstream hdr(HdrPath);
    hdr << "BYTEORDER I\nLAYOUT BIL\nNROWS " << Side << "\nNCOLS " << Side
        << "\nNBANDS 1\nNBITS 32\nPIXELTYPE FLOAT\nULXMAP 0.5\nULYMAP " << Side - 0.5
        << "\nXDIM 1\nYDIM 1\n";
    return bil.good() && hdr.good();
}

void BM_Gdalwarp(benchmark::State& state) {
    if (std::system("command -v gdalwarp >/dev/null 2>&1") != 0) {
        state.SkipWithError("gdalwarp not found (Debian package gdal-bin)");
        return;
    }
    if (!WriteBil()) {
        state.SkipWithError("cannot write the .bil input");
        return;
    }
    const std::string command = "gdalwarp -q -overwrite -r bilinear -ts " + std::to_string(Target) +
                                " " + std::to_string(Target) + " -of ENVI " + BilPath + " " +
                                WarpedPath;
    double total = 0.0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("gdalwarp failed");
            return;
        }
        const double seconds = Since(start);
        state.SetIterationTime(seconds);
        total += seconds;
    }
    Seconds()["gdalwarp"] = total / static_cast<double>(state.iterations());
}

BENCHMARK(BM_KorvelResample)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KorvelResampleAndMdrSave)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Gdalwarp)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

void PrintRatio(const char* ours, const char* peer) {
    const auto& s = Seconds();
    if (!s.count(ours) || !s.count(peer))
        return;
    std::printf("%-16s %8.1f ms  vs %-9s %8.1f ms  ratio %.2f\n", ours, s.at(ours) * 1e3, peer,
                s.at(peer) * 1e3, s.at(ours) / s.at(peer));
}

void RemoveFiles() {
    for (const std::string& path : {BilPath, HdrPath, WarpedPath, WarpedPath + ".aux.xml", MdrPath,
                                    std::string("/tmp/korvel_bench_resample_warped.hdr")})
        std::remove(path.c_str());
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("\nRatios (ours / peer, 1.0 = as fast):\n");
    PrintRatio("Korvel", "gdalwarp");
    PrintRatio("Korvel+MDR save", "gdalwarp");
    RemoveFiles();
    return 0;
}
