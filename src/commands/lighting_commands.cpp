#include "commands/lighting_commands.h"

#include "commands/command_table_builder.h"
#include "core/workspace.h"
#include "shading/lighting_sheet.h"

namespace korvel {

namespace {

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

} // namespace

void BindLightingCommands(CommandTableBuilder& table) {
    table
        .BindDialog(CmdLighting, RunLighting, nullptr, "",
                    {{"Light/AltMode", "Display Type:", 0, 1, {{0, "Lighted"}, {1, "Height Code"}}},
                     {"Light/BitDepth", "Color Depth:", 8, 24, {{8, "8 bit"}, {24, "24 bit"}}},
                     {"Light/Colors", "Colors:"},
                     {"Light/Levels", "Levels:"},
                     {"Light/Ambient", "Ambient:"},
                     {"Light/Gamma", "Gamma:"},
                     {"Light/Unit", "Unit Lighting", 0, 1, OffOnChoices()},
                     {"Light/VertExag", "Vertical Exaggeration:"},
                     {"Light/Corner", "Corner:"},
                     {"Light/Az", "Light Direction azimuth"},
                     {"Light/El", "Light Direction elevation"},
                     {"Light/AbsColor", "Absolute Coloring", 0, 1, OffOnChoices()},
                     {"Light/AbsMax", "Max:"},
                     {"Light/AbsMin", "Min:"},
                     {"Light/SeaLevel", "Sea Level:"},
                     {"Light/SeaEqual", "Equal", 0, 1, OffOnChoices()},
                     {"Light/SeaFloat", "Floating", 0, 1, OffOnChoices()}})
        .Effect = "Changes how the picture is shaded and coloured; the elevations stay.";
}

} // namespace korvel
