#pragma once
// A Host for benchmarks: no windows, messages on stderr, every question answered yes.

#include "core/host.h"

#include <cstdio>
#include <string>

namespace korvel::bench {

class NullHost : public Host {
public:
    void ShowMessage(const std::string& text) override {
        std::fprintf(stderr, "%s\n", text.c_str());
    }
    bool AskYesNo(const std::string&) override { return true; }
    bool OpenProgressWindow(const std::string&, bool) override { return true; }
    void SetProgressBar(int) override {}
    void SetProgressLabel(const std::string&) override {}
    void CloseProgressWindow(bool) override {}
    void PumpPendingMessage() override {}
    void InvalidateView() override {}
    void RepaintAltitudeKey() override {}
    bool EditParameters(const std::string&, const std::string&, Workspace&) override {
        return true;
    }
};

} // namespace korvel::bench
