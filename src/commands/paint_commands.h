#pragma once
// The painting commands: the paint and clone tools, the toolbar presets, shapes and sizes, and
// the brush dialogs ("Brush Setup", "Intensity and Pointiness").
namespace korvel {

class CommandTableBuilder;

void BindPaintCommands(CommandTableBuilder& table);

} // namespace korvel
