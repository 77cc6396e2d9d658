#pragma once
// Carries a command out in the one shape every command shares:
// dialog -> undo snapshot -> operation -> refresh.

#include "commands/command.h"

#include <cstdint>
#include <string>

namespace korvel {

class Workspace;

// The common epilogue after an edit of the Surface. Samples the edit left NaN or infinite are
// reported ("12,345 samples are not numbers") and Min/Max taken again over the finite ones.
void RefreshAfterEdit(Workspace& ws);

enum class RunStatus {
    Done,        // the operation ran and returned 0
    Failed,      // the operation returned a non-zero code (see Code)
    Declined,    // the dialog was cancelled: nothing changed
    Disabled,    // the enabling rule says no
    Unavailable, // the operation does not exist in this version
};

struct RunResult {
    RunStatus Status = RunStatus::Done;
    int32_t Code = 0;
    // For Disabled: the enabling rule's reason.
    const char* Reason = nullptr;
};

RunResult RunCommand(const Command& command, Workspace& ws);

// A text saying why a command did not run; empty for Done.
std::string DescribeRunResult(const Command& command, const RunResult& result);

bool IsCommandEnabled(const Command& command, const Workspace& ws);
// Why the command cannot run now; nullptr when it can.
const char* DisabledReason(const Command& command, const Workspace& ws);
// The menu text as the menu shows it now ("Undo Resize\tCtrl+Z" and the like).
std::string CurrentMenuText(const Command& command, const Workspace& ws);

} // namespace korvel
