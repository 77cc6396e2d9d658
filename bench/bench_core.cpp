// Core costs against the plainest way to do the same work: FindMinMax against
// std::minmax_element, the MDR float save against one write() of the same number of bytes (bare,
// and with the temporary file, fsync and rename the MDR writer also does), and the MDR load
// against one read() of the same file. Each pair runs on a 4096 x 4096 Surface; the ratios are
// printed at the end.

#include "core/headless_host.h"
#include "core/host.h"
#include "core/workspace.h"
#include "formats/mdr.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace korvel;

constexpr int32_t Side = 4096;
constexpr size_t SampleBytes = size_t{Side} * Side * sizeof(float);
const std::string MdrPath = "/tmp/korvel_bench_core.mdr";
const std::string PlainPath = "/tmp/korvel_bench_core.raw";

korvel::HeadlessHost TheHost;

// One workspace for every benchmark: allocating 4096 x 4096 plus its picture per run would
// measure the allocator, not the work.
struct Filled {
    Filled() {
        ws.TheSurface.Resize(Side, Side, 0);
        for (int32_t y = 0; y < Side; ++y)
            for (int32_t x = 0; x < Side; ++x)
                ws.TheSurface.Rows[y][x] =
                    static_cast<float>(1000.0 * std::sin(x * 0.013) * std::cos(y * 0.007) +
                                       ((x * 7919 + y * 104729) % 1000) * 0.01);
    }
    Workspace ws{TheHost};
};

Workspace& Shared() {
    static Filled filled;
    return filled.ws;
}

// Mean seconds per iteration of each benchmark, for the summary.
std::map<std::string, double>& Seconds() {
    static std::map<std::string, double> seconds;
    return seconds;
}

void Record(benchmark::State& state, const char* name, double total) {
    Seconds()[name] = total / static_cast<double>(state.iterations());
}

template <class Work> void Timed(benchmark::State& state, const char* name, Work work) {
    double total = 0.0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        work();
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    Record(state, name, total);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(SampleBytes));
}

void BM_FindMinMax(benchmark::State& state) {
    Workspace& ws = Shared();
    Timed(state, "FindMinMax", [&] {
        double lo = 0.0;
        double hi = 0.0;
        ws.TheSurface.FindMinMax(lo, hi, ws.TheProgress);
        benchmark::DoNotOptimize(lo);
        benchmark::DoNotOptimize(hi);
    });
}

void BM_StdMinMaxElement(benchmark::State& state) {
    const float* first = Shared().TheSurface.Rows[0];
    Timed(state, "minmax_element", [&] {
        auto [lo, hi] = std::minmax_element(first, first + size_t{Side} * Side);
        benchmark::DoNotOptimize(lo);
        benchmark::DoNotOptimize(hi);
    });
}

void BM_MdrSave(benchmark::State& state) {
    Workspace& ws = Shared();
    ws.MdrSave = {};
    Timed(state, "MdrSave", [&] {
        if (WriteMdrFile(MdrPath, ws) != 0)
            state.SkipWithError("WriteMdrFile failed");
    });
}

void BM_PlainWrite(benchmark::State& state) {
    const float* data = Shared().TheSurface.Rows[0];
    Timed(state, "write()", [&] {
        const int fd = ::open(PlainPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const bool ok = fd >= 0 && ::write(fd, data, SampleBytes) == ssize_t(SampleBytes);
        if (fd >= 0)
            ::close(fd);
        if (!ok)
            state.SkipWithError("write failed");
    });
}

// The same bytes with the guarantees the MDR writer gives: a temporary file, synced, renamed.
void BM_PlainWriteSyncRename(benchmark::State& state) {
    const float* data = Shared().TheSurface.Rows[0];
    const std::string temp = PlainPath + ".tmp";
    Timed(state, "write()+fsync+rename", [&] {
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        bool ok =
            fd >= 0 && ::write(fd, data, SampleBytes) == ssize_t(SampleBytes) && ::fsync(fd) == 0;
        if (fd >= 0)
            ::close(fd);
        ok = ok && std::rename(temp.c_str(), PlainPath.c_str()) == 0;
        if (!ok)
            state.SkipWithError("write failed");
    });
}

bool WriteMdrOnce(benchmark::State& state) {
    static bool written = false;
    Workspace& ws = Shared();
    ws.MdrSave = {};
    written = written || WriteMdrFile(MdrPath, ws) == 0;
    if (!written)
        state.SkipWithError("WriteMdrFile failed");
    return written;
}

void BM_MdrLoad(benchmark::State& state) {
    Workspace& ws = Shared();
    WriteMdrOnce(state);
    Timed(state, "MdrLoad", [&] {
        if (ReadMdrFile(MdrPath, ws) != 0)
            state.SkipWithError("ReadMdrFile failed");
    });
}

// The same file, so that both read what the page cache holds in the same state.
void BM_PlainRead(benchmark::State& state) {
    WriteMdrOnce(state);
    std::vector<uint8_t> buffer(MdrHeaderSize + SampleBytes);
    Timed(state, "read()", [&] {
        const int fd = ::open(MdrPath.c_str(), O_RDONLY);
        const bool ok =
            fd >= 0 && ::read(fd, buffer.data(), buffer.size()) == ssize_t(buffer.size());
        if (fd >= 0)
            ::close(fd);
        if (!ok)
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(buffer.data());
    });
}

BENCHMARK(BM_FindMinMax)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StdMinMaxElement)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MdrSave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainWriteSyncRename)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MdrLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond);

void PrintRatio(const char* ours, const char* peer) {
    const auto& s = Seconds();
    if (!s.count(ours) || !s.count(peer))
        return;
    std::printf("%-12s %8.2f ms  vs %-22s %8.2f ms  ratio %.2f\n", ours, s.at(ours) * 1e3, peer,
                s.at(peer) * 1e3, s.at(ours) / s.at(peer));
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("\nRatios (ours / peer, 1.0 = as fast):\n");
    PrintRatio("FindMinMax", "minmax_element");
    PrintRatio("MdrSave", "write()");
    PrintRatio("MdrSave", "write()+fsync+rename");
    PrintRatio("MdrLoad", "read()");
    std::remove(MdrPath.c_str());
    std::remove(PlainPath.c_str());
    return 0;
}
