#pragma once
// The commands of the Point Process menu, and the histogram and delta-coding test commands.

#include "commands/command.h"

#include <vector>

namespace korvel {

class CommandTableBuilder;

void BindPointCommands(CommandTableBuilder& table);

// The "Surface Scaling" fields, shared by "&Scale..." and the calculation that scales after it.
std::vector<DialogField> MapScaleFields();

} // namespace korvel
