#include "commands/world_builder_commands.h"

#include "commands/command_table_builder.h"
#include "core/workspace.h"
#include "formats/world_builder.h"
#include "shading/palette.h"

namespace korvel {

namespace {

std::array<PackedColor, 256> ShadingPalette(Workspace& ws) {
    Surface& s = ws.TheSurface;
    return BuildPalette(s.Lighting, s.Min, s.Max).Entries;
}

// An empty climate path is the second file dialog cancelled: the heights stay.
int32_t RunWorldBuilderMap(Workspace& ws) {
    const int32_t code = ImportWorldBuilder(ws, ws.WorldBuilderMap.Path,
                                            ws.WorldBuilderClimate.Path, ShadingPalette);
    ws.TheProgress.CancelFlag = 0;
    return code;
}

} // namespace

void BindWorldBuilderCommands(CommandTableBuilder& table) {
    table
        .BindDialog(CmdWorldBuilderMap, RunWorldBuilderMap, nullptr, "world-builder-map",
                    {RunTimeField<&Workspace::WorldBuilderMap, &FileFields::Path>(
                         "world-builder-map.Path", "Surface map (Bitmap Files (*.bmp))"),
                     RunTimeField<&Workspace::WorldBuilderClimate, &FileFields::Path>(
                         "world-builder-map.Path2", "Climate map (Bitmap Files (*.bmp))")})
        .Effect = "Replaces the Surface with the whole world of a World Builder surface map "
                  "(heights 0..255) and the picture with its climate map.";
}

} // namespace korvel
