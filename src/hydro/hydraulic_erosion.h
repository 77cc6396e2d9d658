#pragma once
// Hydraulic erosion by droplets: each drop of rain runs downhill with some inertia, picks up
// sediment where it descends fast and leaves it where it slows or climbs, and dries up on the
// way. Many drops carve branching channels, round off ridges and lay fans at the foot of slopes.

#include "core/erosion_fields.h"
#include "core/status.h"

#include <cstdint>

namespace korvel {

class Progress;
class Surface;

enum HydraulicStatus : int32_t {
    HydraulicBadParameters = -2,
    HydraulicNoMemory = -3,
};
extern const StatusTable HydraulicTexts;

// Droplets start where the rain falls, evenly over the map; Radius may be 1 to 16. 0 done, -1
// cancelled (the drops fallen so far stay), or a HydraulicStatus. The same seed and parameters
// give the same elevations to the last bit whatever the number of threads (0: as many as the
// machine offers). The selection mask, where there is one, weights the change.
int32_t HydraulicErode(Surface& s, Progress& p, const HydraulicFields& params, int32_t threads = 0);

} // namespace korvel
