#pragma once
// Progress reporting and the cancel flag shared by every long operation.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>

namespace korvel {

class Host;

constexpr int32_t CancelKey = 27; // the Escape character code

class Progress {
public:
    Progress(Host& host, const bool& showTimeCount) : TheHost(host), ShowTimeCount(showTimeCount) {}

    void ProgressBegin(const std::string& text, int32_t step);
    void ProgressUpdate(double current, double total);
    void ProgressEnd();
    void ProgressSuppressNext() { ProgressEnabled = 0; }
    void PumpPendingMessage();

    // The loop contract: a long operation leaves its row loop when this is true.
    bool CancelRequested() const { return CancelFlag.load(std::memory_order_relaxed) == CancelKey; }
    // At the end of a cancelled loop: clears the request and tells the caller to return -1.
    bool ConsumeCancel();

    bool WindowOpen() const { return IsOpen; }
    Host& GetHost() { return TheHost; }

    // Written by key handlers and, in the command-line tool, by the interrupt signal handler.
    std::atomic<int32_t> CancelFlag{0};
    int32_t ProgressEnabled = 1;
    int32_t ProgressStep = 1;
    int32_t LastPercent = -1;
    int32_t FirstWindow = 1;

private:
    Host& TheHost;
    const bool& ShowTimeCount;
    bool IsOpen = false;
    std::string Text;
    std::string Label;
    std::chrono::steady_clock::time_point Start{};
};

static_assert(std::atomic<int32_t>::is_always_lock_free, "CancelFlag is set from a signal handler");

} // namespace korvel
