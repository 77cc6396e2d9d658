#pragma once
// The commands about the Earth model: the geoid parameters, Fit Geoid and the line-of-sight
// mask.

namespace korvel {

class CommandTableBuilder;

void BindGeoCommands(CommandTableBuilder& table);

} // namespace korvel
