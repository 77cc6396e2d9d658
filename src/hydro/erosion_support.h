#pragma once
// What the erosion, sink filling and flow operations share: a fixed division of work over a
// thread or two, and the selection mask weighting a change after the fact.

#include <atomic>
#include <cstdint>
#include <system_error>
#include <thread>
#include <vector>

namespace korvel {

class Surface;
class Progress;

// The worker threads to use for requested (0: as many as the machine has, at most 2).
int32_t ErosionThreads(int32_t requested);

// Runs work(i) for every i in 0..count, spread over threads. Which thread takes which i changes
// from run to run, so work(i) must write only what no other i touches.
template <class F> void ForEachIndex(int32_t count, int32_t threads, F work) {
    std::atomic<int32_t> next{0};
    const auto drain = [&] {
        for (int32_t i = next++; i < count; i = next++)
            work(i);
    };
    std::thread helper;
    if (threads > 1 && count > 1) {
        try {
            helper = std::thread(drain);
        } catch (const std::system_error&) {
            // No thread to be had: this one does it all.
        }
    }
    drain();
    if (helper.joinable())
        helper.join();
}

// The elevations as they were before an operation, kept only when a selection mask will weight
// the change.
class MaskedChange {
public:
    explicit MaskedChange(const Surface& s);
    // Every sample becomes before + weight * (now - before); then Min/Max are found anew.
    void Apply(Surface& s, Progress& p) const;

private:
    std::vector<float> Before;
};

} // namespace korvel
