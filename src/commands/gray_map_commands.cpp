#include "commands/gray_map_commands.h"

#include "commands/command_table_builder.h"

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

void BindGrayMapCommands(CommandTableBuilder& table) {
    constexpr const char* PictureOnly = " into the picture; the elevations stay.";
    table.Bind(CmdHeightMap, RunHeightMap).Effect =
        std::string("Draws the heights as greys") + PictureOnly;
    table.Bind(CmdSlopeMap, RunSlopeMap).Effect =
        std::string("Draws the slopes as greys") + PictureOnly;
    table.Bind(CmdPhaseMap, RunPhaseMap).Effect =
        std::string("Draws the direction each sample faces") + PictureOnly;
    table
        .BindDialog(
            CmdQuiltMap, RunQuiltMap, nullptr, "quilt-map",
            {RunTimeField<&Workspace::Quilt, &QuiltFields::Scale>("quilt-map.Scale", "Scale:"),
             RunTimeField<&Workspace::Quilt, &QuiltFields::Offset>("quilt-map.Offset", "Offset:")})
        .Effect = std::string("Draws a quilted phase map") + PictureOnly;
    table
        .BindDialog(CmdLightMap, RunLightMap, nullptr, "light-map",
                    {RunTimeField<&Workspace::LightMap, &LightMapFields::Azimuth>(
                         "light-map.Azimuth", "Azimuth:"),
                     RunTimeField<&Workspace::LightMap, &LightMapFields::Elevation>(
                         "light-map.Elevation", "Elevation:")})
        .Effect =
        std::string("Draws the light falling from the azimuth and elevation") + PictureOnly;
    table
        .BindDialog(
            CmdSeaMask, RunSeaMask, nullptr, "sea-mask",
            {RunTimeField<&Workspace::SeaMask, &SeaMaskFields::SeaWhite>("sea-mask.SeaWhite",
                                                                         "Sea White"),
             RunTimeField<&Workspace::TheSurface, &Surface::Lighting, &LightParms::SeaLevel>(
                 "sea-mask.SeaLevel", "Sea Level:")})
        .Effect = std::string("Draws land and sea in black and white") + PictureOnly;
    table.Bind(CmdNeighbors8, RunEightWayNeighbors).Effect =
        std::string("Draws the slope to each of the 8 neighbours") + PictureOnly;
    table.Bind(CmdColorRamp, RunColorRamp).Effect =
        std::string("Draws the 256-colour palette") + PictureOnly;
}

} // namespace korvel
