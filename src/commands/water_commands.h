#pragma once
// The commands about water on the Surface: fluvial erosion, lakes, flood fill, world flood and
// drainage areas.

namespace korvel {

class CommandTableBuilder;

void BindWaterCommands(CommandTableBuilder& table);

} // namespace korvel
