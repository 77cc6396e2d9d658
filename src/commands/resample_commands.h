#pragma once
// The "&Resample..." and "&Quad Resample..." commands: their dialog fields turned into a call of
// the resampling operations.

#include <cstdint>

namespace korvel {

class CommandTableBuilder;
class Workspace;

void BindResampleCommands(CommandTableBuilder& table);

// The dialog starts from the Surface's own size and edges.
void PrefillResample(Workspace& ws);
int32_t RunResample(Workspace& ws);
// Each corner's Lat is its row and Lon its column: in pixel units as entered, in plane units
// row = (Lat - Bottom)/YRes and column = (Lon - Left)/XRes.
int32_t RunQuadResample(Workspace& ws);

} // namespace korvel
