#include "commands/terrain_erosion_commands.h"

#include "commands/command_table_builder.h"
#include "core/workspace.h"
#include "hydro/hydraulic_erosion.h"
#include "hydro/thermal_erosion.h"

#include <cmath>

namespace korvel {

namespace {

// The map's own distance between samples, in the metres the elevations are taken to be in.
void PrefillThermal(Workspace& ws) {
    const Surface& s = ws.TheSurface;
    const double spacing = 0.5 * (std::fabs(s.XRes) + std::fabs(s.YRes)) * ws.General.Val_RDegm;
    if (std::isfinite(spacing) && spacing > 0.0)
        ws.Thermal.Spacing = spacing;
}

int32_t RunThermal(Workspace& ws) {
    const ThermalFields& f = ws.Thermal;
    ThermalErosionParams params;
    params.Iterations = f.Iterations;
    params.Talus = TalusHeight(f);
    params.Amount = f.Amount;
    params.EdgesDrain = f.EdgesDrain;
    return ThermalErode(ws.TheSurface, ws.TheProgress, params);
}

int32_t RunHydraulic(Workspace& ws) {
    return HydraulicErode(ws.TheSurface, ws.TheProgress, ws.Hydraulic);
}

} // namespace

void BindTerrainErosionCommands(CommandTableBuilder& table) {
    using W = Workspace;
    using T = ThermalFields;
    Command& thermal = table.BindDialog(
        CmdThermal, RunThermal, PrefillThermal, "thermal",
        {RunTimeField<&W::Thermal, &T::Iterations>("thermal.Iterations", "Iterations:", 0, 100000),
         RunTimeField<&W::Thermal, &T::TalusAngle>("thermal.TalusAngle",
                                                   "Talus Angle (degrees):", 0, 89.9),
         RunTimeField<&W::Thermal, &T::Spacing>("thermal.Spacing", "Sample Spacing:", 1e-9, 1e12),
         RunTimeField<&W::Thermal, &T::Amount>("thermal.Amount", "Amount per Step:", 0, 1),
         RunTimeField<&W::Thermal, &T::EdgesDrain>("thermal.EdgesDrain", "Edges Drain")});
    thermal.Effect = "Moves material from each sample to its lower neighbours wherever the slope "
                     "is steeper than the talus angle (the sample spacing, in elevation units, "
                     "comes from the map), for the given iterations. The total stays unless the "
                     "edges drain.";
    thermal.Codes = &ThermalTexts;

    using H = HydraulicFields;
    Command& hydraulic = table.BindDialog(
        CmdHydraulic, RunHydraulic, nullptr, "hydraulic",
        {RunTimeField<&W::Hydraulic, &H::Droplets>("hydraulic.Droplets", "Droplets:", 0,
                                                   1000000000),
         RunTimeField<&W::Hydraulic, &H::Rain>("hydraulic.Rain", "Rain per Droplet:", 0, 1000),
         RunTimeField<&W::Hydraulic, &H::Inertia>("hydraulic.Inertia", "Inertia:", 0, 1),
         RunTimeField<&W::Hydraulic, &H::Capacity>("hydraulic.Capacity", "Sediment Capacity:", 0,
                                                   1000),
         RunTimeField<&W::Hydraulic, &H::Erosion>("hydraulic.Erosion", "Erosion Rate:", 0, 1),
         RunTimeField<&W::Hydraulic, &H::Deposition>("hydraulic.Deposition", "Deposition Rate:", 0,
                                                     1),
         RunTimeField<&W::Hydraulic, &H::Evaporation>("hydraulic.Evaporation", "Evaporation:", 0,
                                                      1),
         RunTimeField<&W::Hydraulic, &H::Radius>("hydraulic.Radius", "Brush Radius:", 1, 16),
         RunTimeField<&W::Hydraulic, &H::Lifetime>("hydraulic.Lifetime", "Droplet Lifetime:", 0,
                                                   1000),
         RunTimeField<&W::Hydraulic, &H::Seed>("hydraulic.Seed", "Seed:")});
    hydraulic.Effect = "Lets droplets of rain run downhill: they pick up sediment where they "
                       "descend fast and leave it where they slow, carving channels and laying "
                       "deposits at the foot of slopes. The same seed gives the same result.";
    hydraulic.Codes = &HydraulicTexts;
}

} // namespace korvel
