#pragma once
// "Calculate &Height Field...": a new Surface from its generation record.

namespace korvel {

class CommandTableBuilder;

void BindGenerateCommands(CommandTableBuilder& table);

} // namespace korvel
