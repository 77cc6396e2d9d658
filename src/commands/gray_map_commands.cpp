#include "commands/gray_map_commands.h"

#include "core/host.h"
#include "core/workspace.h"
#include "shading/gray_maps.h"
#include "shading/texture.h"

#include <cstdio>

namespace korvel {

int32_t RunHeightMap(Workspace& ws) {
    return DrawHeightMap(ws.TheSurface, TextureToDrawOn(ws), ws.TheProgress);
}

int32_t RunSlopeMap(Workspace& ws) {
    const bool fullRange = ws.TheHost.AskYesNo("Adjust to full display dynamic range?");
    SlopeRange range;
    const int32_t code =
        DrawSlopeMap(ws.TheSurface, TextureToDrawOn(ws), ws.TheProgress, fullRange, range);
    if (code == 0 && fullRange) {
        char text[128];
        std::snprintf(text, sizeof text,
                      "Pixel value 0 is %0.2f degrees\nPixel value 255 is %0.2f degrees",
                      90.0 * range.Smallest, 90.0 * range.Largest);
        ws.TheHost.ShowMessage(text);
    }
    return code;
}

int32_t RunPhaseMap(Workspace& ws) {
    return DrawPhaseMap(ws.TheSurface, TextureToDrawOn(ws), ws.TheProgress);
}

int32_t RunQuiltMap(Workspace& ws) {
    return DrawQuiltMap(ws.TheSurface, TextureToDrawOn(ws), ws.TheProgress, ws.Quilt.Scale,
                        ws.Quilt.Offset);
}

int32_t RunLightMap(Workspace& ws) {
    return DrawLightMap(ws.TheSurface, TextureToDrawOn(ws), ws.TheProgress, ws.LightMap.Azimuth,
                        ws.LightMap.Elevation);
}

int32_t RunSeaMask(Workspace& ws) {
    return DrawSeaMask(ws.TheSurface, TextureToDrawOn(ws), ws.TheProgress,
                       ws.TheSurface.Lighting.SeaLevel, ws.SeaMask.SeaWhite);
}

int32_t RunEightWayNeighbors(Workspace& ws) {
    return DrawNeighbourMap(ws.TheSurface, TextureToDrawOn(ws), ws.TheProgress);
}

int32_t RunColorRamp(Workspace& ws) {
    DrawColorRamp(TextureToDrawOn(ws));
    return 0;
}

} // namespace korvel
