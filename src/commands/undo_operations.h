#pragma once
// "&Undo", "&Redo" and "&Flush" of the Edit menu.

namespace korvel {

class CommandTableBuilder;

void BindUndoCommands(CommandTableBuilder& table);

} // namespace korvel
