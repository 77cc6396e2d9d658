#pragma once
// The commands that draw a gray map into the TextureMap. Each takes its parameters from the
// workspace and returns the map's status code; the runner redraws the views afterwards.

#include <cstdint>

namespace korvel {

class CommandTableBuilder;
class Workspace;

void BindGrayMapCommands(CommandTableBuilder& table);

int32_t RunHeightMap(Workspace& ws);
// Asks whether to stretch the slopes met over the whole grey ramp, and if so reports which
// angles black and white stand for.
int32_t RunSlopeMap(Workspace& ws);
int32_t RunPhaseMap(Workspace& ws);
int32_t RunQuiltMap(Workspace& ws);
int32_t RunLightMap(Workspace& ws);
int32_t RunSeaMask(Workspace& ws);
int32_t RunEightWayNeighbors(Workspace& ws);
int32_t RunColorRamp(Workspace& ws);

} // namespace korvel
