#include "commands/operations.h"

#include "core/workspace.h"
#include "shading/lighting_sheet.h"

namespace korvel {

// The sheet's OK rules over the record as it stands (the editor's sheet edits a copy first;
// the command line sets the "Light" values directly). The runner reshades afterwards, which also
// recreates the TextureMap when the colour depth changed.
int32_t RunLighting(Workspace& ws) {
    LightParms& lp = ws.TheSurface.Lighting;
    lp.Az = LimitAzimuth(lp.Az);
    lp.El = LimitElevation(lp.El);
    ApplyLightingSheet(lp, ShownGamma(lp), ws.TheSurface.Min);
    return 0;
}

} // namespace korvel
