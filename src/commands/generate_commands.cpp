#include "commands/generate_commands.h"

#include "commands/command_table_builder.h"
#include "commands/point_commands.h"
#include "core/workspace.h"
#include "generate/procedural.h"

namespace korvel {

namespace {

int32_t RunCalculate(Workspace& ws) {
    return GenerateSurface(ws, ws.TheSurface.Generation, true);
}

} // namespace

void BindGenerateCommands(CommandTableBuilder& table) {
    std::vector<DialogField> fields = {
        {"Surface/Type",
         "Type",
         0,
         6,
         {{0, "Recursive Subdivision (plasma)"},
          {1, "Math Function"},
          {2, "Fractional Brownian Motion (fBm)"},
          {3, "Multifractal"},
          {4, "Hetero Terrain"},
          {5, "Hybrid Multifractal"},
          {6, "Ridged Multifractal"}}},
        {"Surface/RandSeed", "RandSeed:"},
        {"Surface/Func", "Expression"},
        {"Surface/rf", "rf:"},
        {"Surface/irf", "irf:"},
        {"Surface/H", "H:"},
        {"Surface/lacunarity", "Lacunarity:"},
        {"Surface/octaves", "Octaves:"},
        {"Surface/offset", "Offset:"},
        {"Surface/fgain", "fgain:"},
        {"Surface/TexSphere", "Spherical Evaluation"},
        {"Surface/xpos", "Position X"},
        {"Surface/ypos", "Position Y"},
        {"Surface/zpos", "Position Z"},
        {"Surface/xrange", "Size X"},
        {"Surface/yrange", "Size Y"},
        {"Surface/zrange", "Size Z"},
    };
    for (DialogField& field : MapScaleFields())
        fields.push_back(std::move(field));
    table.BindDialog(CmdCalculate, RunCalculate, nullptr, "", std::move(fields)).Effect =
        "Replaces every elevation with the chosen surface type, then scales it by the "
        "MapScale settings.";
}

} // namespace korvel
