#pragma once
// "&World Builder Map...": the surface map and the climate map of the World Builder program
// imported as a whole-world Surface and its picture.

namespace korvel {

class CommandTableBuilder;

void BindWorldBuilderCommands(CommandTableBuilder& table);

} // namespace korvel
