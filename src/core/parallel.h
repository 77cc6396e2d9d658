#pragma once
// A fixed division of work over a thread or two, for loops whose pieces are independent.

#include <atomic>
#include <cstdint>
#include <system_error>
#include <thread>

namespace korvel {

// The worker threads to use for requested (0: as many as the machine has, at most 2).
inline int32_t WorkerThreads(int32_t requested) {
    if (requested > 0)
        return requested;
    return std::thread::hardware_concurrency() > 1 ? 2 : 1;
}

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

} // namespace korvel
