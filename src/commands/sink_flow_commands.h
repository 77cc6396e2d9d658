#pragma once
// Sink filling and flow accumulation: the grid of flow they keep can be saved as a surface file
// or turned into a selection (the rivers, to paint along).

namespace korvel {

class CommandTableBuilder;

void BindSinkFlowCommands(CommandTableBuilder& table);

} // namespace korvel
