#pragma once
// The fuzzers' one Workspace, on a host that shows nothing and says yes to everything, so fuzzed
// readers run without a window and take the path a person clicking OK would take.

#include "core/headless_host.h"
#include "core/workspace.h"

namespace korvel::fuzz {

// One Workspace for the whole run: building one (settings table, noise tables) costs far more
// than a small read. Each reader replaces or refuses the Surface as a whole, so what an earlier
// input left behind does not steer the next.
inline Workspace& FuzzWorkspace() {
    static HeadlessHost host(nullptr);
    static Workspace ws(host);
    return ws;
}

} // namespace korvel::fuzz
