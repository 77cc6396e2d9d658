#pragma once
// "&Lighting...": the lighting record of the Surface, then a reshade.

namespace korvel {

class CommandTableBuilder;

void BindLightingCommands(CommandTableBuilder& table);

} // namespace korvel
