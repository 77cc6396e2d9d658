#pragma once
// A Host for programs without a window (benchmarks, fuzzers): messages go to a stream or
// nowhere, and every question and dialog is answered as a person clicking OK would.

#include "core/host.h"

#include <cstdio>
#include <string>

namespace korvel {

class HeadlessHost : public Host {
public:
    // messages: where ShowMessage writes; nullptr shows nothing.
    explicit HeadlessHost(std::FILE* messages = stderr) : Messages(messages) {}

    void ShowMessage(const std::string& text) override {
        if (Messages)
            std::fprintf(Messages, "%s\n", text.c_str());
    }
    bool AskYesNo(const std::string&) override { return true; }
    bool OpenProgressWindow(const std::string&, bool) override { return true; }
    void SetProgressBar(int) override {}
    void SetProgressLabel(const std::string&) override {}
    void CloseProgressWindow(bool) override {}
    void PumpPendingMessage() override {}
    void ShowStatusWindow(const std::string&, const std::vector<std::string>&) override {}
    bool StatusWindowStopped() override { return false; }
    void CloseStatusWindow() override {}
    void InvalidateView() override {}
    void RepaintAltitudeKey() override {}
    bool EditParameters(const std::string&, const std::string&, Workspace&) override {
        return true;
    }

private:
    std::FILE* Messages;
};

} // namespace korvel
