#pragma once
// One row per command of the editor: how menus, tool bars and the command-line tool name it, and
// how the runner carries it out.

#include <cstdint>
#include <string>
#include <vector>

namespace korvel {

class Workspace;

// What follows a command's operation.
enum class Refresh {
    Full,      // RefreshAfterEdit whatever the operation returned
    OnSuccess, // RefreshAfterEdit only when the operation returned 0
    Texture,   // recompute the TextureMap and palette, redraw (the relight button)
    View,      // invalidate the view and repaint the altitude key
    None,
};

struct Command {
    int32_t Id = 0;
    // The command-line name: lower case words joined by '-'.
    std::string CliName;
    std::string MenuText;
    std::string StatusText;
    // The undo step taken before the operation; empty for none.
    std::string SnapshotName;
    // The dialog of the command: run-time settings "Group.Field" and the persisted keys in
    // Params. Empty Group and Params: the command has no dialog.
    std::string Group;
    std::vector<std::string> Params;
    Refresh After = Refresh::None;
    // nullptr: the operation is not available in this version.
    int32_t (*Run)(Workspace&) = nullptr;
    // Copies the current state (usually of the Surface) into the dialog fields before they are
    // shown; nullptr when the fields simply keep their last values.
    void (*Prefill)(Workspace&) = nullptr;
    // nullptr: always enabled.
    bool (*Enabled)(const Workspace&) = nullptr;

    bool Available() const { return Run != nullptr; }
    bool HasDialog() const { return !Group.empty() || !Params.empty(); }
};

// Every command of the editor in menu order.
const std::vector<Command>& CommandTable();
const Command* FindCommandById(int32_t id);
// Matches the command-line name without regard to case.
const Command* FindCommandByName(const std::string& cliName);

} // namespace korvel
