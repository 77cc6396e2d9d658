// The projected BMP export: a 4096 x 4096 whole-world picture (equirectangular) re-drawn as a
// 4096 x 4096 Mollweide BMP, against `gdalwarp -r near -t_srs "+proj=moll +R=1"` of the same
// picture (raw 8-bit RGB with an EHdr header, written once before the timing) to a BMP on the same
// pixel grid. gdalwarp's figure includes starting the program and reading its input from the
// page cache (its complaints about the source's half-pixel rim beyond the poles are silenced).
// Korvel's includes syncing the file to disk, as every save does. Wall and CPU time are printed for
// both; the ratios at the end. Without gdalwarp (Debian package gdal-bin) its benchmark is skipped.

#include "core/headless_host.h"
#include "core/progress.h"
#include "core/surface.h"
#include "geo/projected_bmp.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace korvel;

constexpr int32_t Side = 4096;
// Zoom 0.35 shows -2.857..2.857 sphere radii a side: the whole Mollweide ellipse.
constexpr double Zoom = 0.35;
const std::string RawPath = "/tmp/korvel_bench_projection.bil";
const std::string HdrPath = "/tmp/korvel_bench_projection.hdr";
const std::string OursPath = "/tmp/korvel_bench_projection_ours.bmp";
const std::string WarpedPath = "/tmp/korvel_bench_projection_gdal.bmp";

HeadlessHost TheHost;

struct Source {
    Source() {
        // Nodes from -180 to 180 and -90 to 90, as the whole-world Surfaces have them.
        map.XSize = Side;
        map.YSize = Side;
        map.SetEdges(-180.0, 180.0, 90.0, -90.0);
        picture.Create(Side, Side, 24);
        for (int32_t y = 0; y < Side; ++y)
            for (int32_t x = 0; x < Side; ++x)
                picture.SetPixel(x, y,
                                 PackColor(static_cast<uint8_t>(x >> 4),
                                           static_cast<uint8_t>(y >> 4),
                                           static_cast<uint8_t>((x ^ y) & 0xFF)));
    }
    Surface map;
    Image picture;
};

Source& Shared() {
    static Source source;
    return source;
}

struct Figures {
    double Wall = 0.0;
    double Cpu = 0.0;
};

std::map<std::string, Figures>& Results() {
    static std::map<std::string, Figures> results;
    return results;
}

double Since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// CPU seconds of this process and of its waited-for children.
double CpuSeconds() {
    double total = 0.0;
    for (int who : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
        rusage use{};
        getrusage(who, &use);
        total += static_cast<double>(use.ru_utime.tv_sec + use.ru_stime.tv_sec) +
                 1e-6 * static_cast<double>(use.ru_utime.tv_usec + use.ru_stime.tv_usec);
    }
    return total;
}

template <class Work> void Timed(benchmark::State& state, const char* name, Work work) {
    Figures sum;
    for (auto _ : state) {
        const double cpu = CpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        if (!work()) {
            state.SkipWithError("failed");
            return;
        }
        const double seconds = Since(start);
        state.SetIterationTime(seconds);
        sum.Wall += seconds;
        sum.Cpu += CpuSeconds() - cpu;
    }
    const auto n = static_cast<double>(state.iterations());
    Results()[name] = {sum.Wall / n, sum.Cpu / n};
}

void BM_KorvelMollweideExport(benchmark::State& state) {
    Source& src = Shared();
    bool showTime = false;
    Progress progress(TheHost, showTime);
    MapProjectionFields view;
    view.Index = 10;
    view.Zoom = Zoom;
    view.Width = Side;
    view.Height = Side;
    Timed(state, "Korvel", [&] {
        std::string reason;
        return ExportProjectionBmp(OursPath, view, src.picture, src.map, progress, reason) == 0;
    });
}

// The picture's rows from the top, B, G, R as stored; the outline is the nodes' cells.
bool WriteRaw() {
    const Image& picture = Shared().picture;
    std::ofstream raw(RawPath, std::ios::binary);
    std::vector<char> rgb(3 * Side);
    for (int32_t y = Side - 1; y >= 0 && raw; --y) {
        const uint8_t* row = picture.Row(y);
        for (int32_t x = 0; x < Side; ++x) {
            rgb[3 * x] = static_cast<char>(row[3 * x + 2]);
            rgb[3 * x + 1] = static_cast<char>(row[3 * x + 1]);
            rgb[3 * x + 2] = static_cast<char>(row[3 * x]);
        }
        raw.write(rgb.data(), static_cast<std::streamsize>(rgb.size()));
    }
    const double dx = 360.0 / (Side - 1);
    const double dy = 180.0 / (Side - 1);
    std::ofstream hdr(HdrPath);
    hdr.precision(17);
    hdr << "BYTEORDER I\nLAYOUT BIP\nNROWS " << Side << "\nNCOLS " << Side
        << "\nNBANDS 3\nNBITS 8\nULXMAP -180\nULYMAP 90\nXDIM " << dx << "\nYDIM " << dy << "\n";
    return raw.good() && hdr.good();
}

void BM_Gdalwarp(benchmark::State& state) {
    if (std::system("command -v gdalwarp >/dev/null 2>&1") != 0) {
        state.SkipWithError("gdalwarp not found (Debian package gdal-bin)");
        return;
    }
    if (!WriteRaw()) {
        state.SkipWithError("cannot write the raw input");
        return;
    }
    char extent[64];
    std::snprintf(extent, sizeof extent, "%.17g", 1.0 / Zoom);
    const std::string e = extent;
    const std::string command =
        "gdalwarp -q -overwrite -r near -s_srs '+proj=longlat +R=1 +no_defs' -t_srs '+proj=moll "
        "+R=1 +no_defs' -te -" +
        e + " -" + e + " " + e + " " + e + " -ts " + std::to_string(Side) + " " +
        std::to_string(Side) + " -of BMP " + RawPath + " " + WarpedPath + " 2>/dev/null";
    Timed(state, "gdalwarp", [&] { return std::system(command.c_str()) == 0; });
}

BENCHMARK(BM_KorvelMollweideExport)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Gdalwarp)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

void PrintFigures() {
    const auto& r = Results();
    for (const auto& [name, f] : r)
        std::printf("%-10s wall %8.1f ms  cpu %8.1f ms\n", name.c_str(), f.Wall * 1e3, f.Cpu * 1e3);
    if (r.count("Korvel") && r.count("gdalwarp"))
        std::printf("Korvel / gdalwarp: wall %.2f, cpu %.2f (goal: at most 0.5)\n",
                    r.at("Korvel").Wall / r.at("gdalwarp").Wall,
                    r.at("Korvel").Cpu / r.at("gdalwarp").Cpu);
}

void RemoveFiles() {
    for (const std::string& path : {RawPath, HdrPath, OursPath, WarpedPath, WarpedPath + ".aux.xml",
                                    std::string("/tmp/korvel_bench_projection_gdal.wld")})
        std::remove(path.c_str());
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("\n");
    PrintFigures();
    RemoveFiles();
    return 0;
}
