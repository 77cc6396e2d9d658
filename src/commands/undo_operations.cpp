#include "commands/operations.h"

#include "core/workspace.h"

namespace korvel {

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

bool CanUndo(const Workspace& ws) {
    return ws.General.Undo != 0 && ws.Undo.UndoCount() > 0;
}
bool CanRedo(const Workspace& ws) {
    return ws.General.Undo != 0 && ws.Undo.RedoCount() > 0;
}

bool CanFlushUndo(const Workspace& ws) {
    return ws.Undo.UndoCount() != 0 || (ws.General.Undo != 0 && ws.Undo.RedoCount() > 0);
}

} // namespace korvel
