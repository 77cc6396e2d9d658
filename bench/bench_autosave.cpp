// What an autosave of a 4096 x 4096 Surface costs: the copy taken on the user-interface thread
// (the only part that holds up editing) against one memcpy of the same 64 MiB, and the write of
// the copy (MDR and lighting file, synced and renamed) that runs on the worker thread.

#include "commands/autosave_snapshot.h"
#include "core/headless_host.h"
#include "core/workspace.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace korvel;

constexpr int32_t Side = 4096;
constexpr size_t SampleBytes = size_t{Side} * Side * sizeof(float);
const std::string MdrPath = "/tmp/korvel_bench_autosave.mdr";
const std::string LgtPath = "/tmp/korvel_bench_autosave.lgt";

HeadlessHost TheHost{nullptr};

Workspace& Live() {
    static Workspace ws{TheHost};
    static const bool filled = [] {
        ws.TheSurface.Resize(Side, Side, 0);
        for (int32_t y = 0; y < Side; ++y)
            for (int32_t x = 0; x < Side; ++x)
                ws.TheSurface.Rows[y][x] = static_cast<float>((x * 7919 + y * 104729) % 1000);
        return true;
    }();
    (void)filled;
    return ws;
}

AutosaveSnapshot& Snapshot() {
    static AutosaveSnapshot snapshot;
    return snapshot;
}

void BM_AutosaveTake(benchmark::State& state) {
    const Surface& live = Live().TheSurface;
    // The first take allocates the copy; the editor's later ones reuse it.
    Snapshot().Take(live);
    for (auto _ : state)
        if (!Snapshot().Take(live).empty())
            state.SkipWithError("Take failed");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * SampleBytes));
}

void BM_PlainMemcpy(benchmark::State& state) {
    const float* from = Live().TheSurface.Rows[0];
    static std::vector<float> to(size_t{Side} * Side);
    for (auto _ : state) {
        std::memcpy(to.data(), from, SampleBytes);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * SampleBytes));
}

void BM_AutosaveWrite(benchmark::State& state) {
    Snapshot().Take(Live().TheSurface);
    for (auto _ : state)
        if (!Snapshot().Write(MdrPath, LgtPath).empty())
            state.SkipWithError("Write failed");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * SampleBytes));
    std::remove(MdrPath.c_str());
    std::remove(LgtPath.c_str());
}

BENCHMARK(BM_AutosaveTake)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_PlainMemcpy)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_AutosaveWrite)->Unit(benchmark::kMillisecond)->MinTime(3.0);

} // namespace

BENCHMARK_MAIN();
