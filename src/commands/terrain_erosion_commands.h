#pragma once
// The erosion commands that change the terrain: thermal weathering and hydraulic erosion by
// droplets.

namespace korvel {

class CommandTableBuilder;

void BindTerrainErosionCommands(CommandTableBuilder& table);

} // namespace korvel
