#pragma once
// The Select menu, the selection tools' enabling, and "&Options..." (whose "Enable Selection
// Mask" creates or drops the mask).

namespace korvel {

class CommandTableBuilder;
class Workspace;

void BindSelectionCommands(CommandTableBuilder& table);

bool HasSelectionMask(const Workspace& ws);

} // namespace korvel
