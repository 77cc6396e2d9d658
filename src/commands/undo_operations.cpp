#include "commands/undo_operations.h"

#include "commands/command_table_builder.h"
#include "core/workspace.h"

namespace korvel {

namespace {

constexpr const char* UndoSwitchedOff = "undo is switched off: turn it on with `set Undo=4`";

int32_t RunUndo(Workspace& ws) {
    return ws.Undo.Undo();
}

int32_t RunRedo(Workspace& ws) {
    return ws.Undo.Redo();
}

int32_t RunFlushUndo(Workspace& ws) {
    ws.Undo.Flush();
    return 0;
}

const char* CanUndo(const Workspace& ws) {
    if (ws.General.Undo == 0)
        return UndoSwitchedOff;
    return ws.Undo.UndoCount() > 0 ? nullptr : "nothing to undo";
}

const char* CanRedo(const Workspace& ws) {
    if (ws.General.Undo == 0)
        return UndoSwitchedOff;
    return ws.Undo.RedoCount() > 0 ? nullptr : "nothing to redo";
}

const char* CanFlushUndo(const Workspace& ws) {
    if (ws.Undo.UndoCount() != 0 || (ws.General.Undo != 0 && ws.Undo.RedoCount() > 0))
        return nullptr;
    return "the undo buffers are empty";
}

} // namespace

void BindUndoCommands(CommandTableBuilder& table) {
    table.Bind(CmdUndo, RunUndo, CanUndo).Effect =
        "Puts the Surface back as it was before the last step.";
    table.Bind(CmdRedo, RunRedo, CanRedo).Effect = "Makes the step undone last again.";
    table.Bind(CmdFlush, RunFlushUndo, CanFlushUndo).Effect =
        "Forgets every undo and redo step; the Surface stays.";
}

} // namespace korvel
