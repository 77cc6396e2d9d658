#pragma once
// The erosion brushes: one step of thermal weathering, or a drop of rain from every footprint
// cell, on the terrain under the footprint, each cell's change weighted by the brush.
#include "paint/brush_stamp.h"

#include <cstdint>

namespace korvel {

// Neighbours in the footprint trade what lies beyond the talus of target.Thermal, a pair
// weighted by the smaller of its two weights: what one gives the other receives, and nothing
// crosses the footprint's border. A StampStatus.
int32_t ThermalStamp(const Brush& brush, const StampTarget& target, const FootprintRect& area,
                     StampReport& report);

// One drop of target.Hydraulic's rain from every weighted cell, its start drawn from the
// program's random stream; the drops run over the footprint and its neighbourhood, and each
// footprint cell takes its weight's share of what they carved or laid there. A StampStatus.
int32_t HydraulicStamp(const Brush& brush, const StampTarget& target, const FootprintRect& area,
                       StampReport& report);

} // namespace korvel
