#pragma once
// A Host that shows nothing and says yes to everything, so fuzzed readers run without a window
// and take the path a person clicking OK would take.

#include "core/host.h"
#include "core/workspace.h"

#include <string>

namespace korvel::fuzz {

class QuietHost : public Host {
public:
    void ShowMessage(const std::string&) override {}
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

// One Workspace for the whole run: building one (settings table, noise tables) costs far more
// than a small read. Each reader replaces or refuses the Surface as a whole, so what an earlier
// input left behind does not steer the next.
inline Workspace& FuzzWorkspace() {
    static QuietHost host;
    static Workspace ws(host);
    return ws;
}

} // namespace korvel::fuzz
