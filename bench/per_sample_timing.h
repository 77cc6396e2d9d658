#pragma once
// Thread CPU time per sample, kept by name so that a program can print Korvel's figure beside a
// peer's after the benchmarks ran.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <map>
#include <string>

namespace korvel::bench {

inline std::map<std::string, double>& SecondsPerSample() {
    static std::map<std::string, double> seconds;
    return seconds;
}

// CPU time of this thread: the machine may be shared, and waiting for a core is not our cost.
inline double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Times pass() per iteration and records the seconds per sample under name.
template <class Pass>
void TimedPerSample(benchmark::State& state, const char* name, double samples, Pass pass) {
    double total = 0.0;
    for (auto _ : state) {
        const double start = ThreadSeconds();
        pass();
        total += ThreadSeconds() - start;
    }
    SecondsPerSample()[name] = total / static_cast<double>(state.iterations()) / samples;
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(samples));
}

inline void PrintRatio(const char* ours, const char* peer) {
    const auto& s = SecondsPerSample();
    if (!s.count(ours) || !s.count(peer))
        return;
    std::printf("%-14s %7.1f ns/sample  vs %-21s %7.1f ns/sample  ratio %.2f\n", ours,
                s.at(ours) * 1e9, peer, s.at(peer) * 1e9, s.at(ours) / s.at(peer));
}

} // namespace korvel::bench
