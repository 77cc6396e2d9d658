#include "commands/area_commands.h"

#include "core/host.h"
#include "core/workspace.h"
#include "edit/area_operations.h"
#include "shading/texture.h"
#include "shading/texture_edges.h"

namespace korvel {

int32_t RunFlipVertical(Workspace& ws) {
    return FlipVertical(ws.TheSurface, ws.TheProgress);
}

int32_t RunFlipHorizontal(Workspace& ws) {
    return FlipHorizontal(ws.TheSurface, ws.TheProgress);
}

int32_t RunFlipDiagonal(Workspace& ws) {
    return FlipDiagonal(ws.TheSurface, ws.TheProgress);
}

int32_t RunToroidalOffset(Workspace& ws) {
    const ToroidalOffsetFields& f = ws.ToroidalOffset;
    return ToroidalOffset(ws.TheSurface, ws.TheProgress, f.XSamples, f.YSamples);
}

int32_t RunRotate90(Workspace& ws) {
    const int32_t code = Rotate90(ws.TheSurface, ws.TheProgress);
    if (code == -3)
        ws.TheHost.ShowMessage("The surface height must be a multiple of 4 to rotate it");
    return code;
}

int32_t RunCosineDistort(Workspace& ws) {
    return CosineDistort(ws.TheSurface, ws.TheProgress);
}

int32_t RunInverseCosine(Workspace& ws) {
    return InverseCosineDistort(ws.TheSurface, ws.TheProgress);
}

int32_t RunEdgeClear(Workspace& ws) {
    TextureEdgeClear(TextureToDrawOn(ws), 0);
    return 0;
}

int32_t RunEdgeFluff(Workspace& ws) {
    TextureEdgeFluff(TextureToDrawOn(ws));
    return 0;
}

} // namespace korvel
