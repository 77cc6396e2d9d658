#include "core/light_parms.h"

namespace korvel {

void LightParms::ResetColorLists() {
    AltColor.FillTerrainRamp(0.333, 1.0, 32);
    SeaColor.FillTerrainRamp(0.06, 0.2, 4);
    LatColor.FillTerrainRamp(0.333, 1.0, 32);
}

} // namespace korvel
