#include "commands/water_commands.h"

#include "commands/command_table_builder.h"
#include "commands/file_dispatch.h"

#include "core/host.h"
#include "core/workspace.h"
#include "hydro/drainage_areas.h"
#include "hydro/flood_fill.h"
#include "hydro/fluvial_erosion.h"
#include "hydro/fluvial_model.h"
#include "hydro/lakes.h"
#include "hydro/world_flood.h"
#include "shading/texture.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace korvel {

namespace {

int32_t RunFluvial(Workspace& ws) {
    return FluvialErosion(ws, ws.Erosion, PictureSaverFor(ws));
}

int32_t RunFindLakes(Workspace& ws) {
    return FindLakes(ws, ws.Lakes);
}

int32_t RunFloodFill(Workspace& ws) {
    const FloodFillFields& f = ws.FloodFill;
    Surface& s = ws.TheSurface;
    const bool byLonLat = f.Units == FloodFillLonLat;
    int32_t column = 0, row = 0;
    if (!FloodFillStart(s, f.X, f.Y, byLonLat, column, row)) {
        char text[200];
        std::snprintf(text, sizeof text,
                      "Flood Fill: the start %s %g, %s %g lies outside the %d x %d Surface",
                      byLonLat ? "Lon" : "X", static_cast<double>(f.X), byLonLat ? "Lat" : "Y",
                      static_cast<double>(f.Y), s.XSize, s.YSize);
        ws.TheHost.ShowMessage(text);
        return FloodFillOutside;
    }
    return FloodFill(s, column, row, f.Low, f.High, f.NewValue);
}

int32_t RunWorldFlood(Workspace& ws) {
    return WorldFlood(ws, ws.WorldFlood, PictureSaverFor(ws));
}

int32_t RunDrainageAreas(Workspace& ws) {
    return DrawDrainageAreas(ws.TheSurface, TextureToDrawOn(ws), ws.TheProgress);
}

template <auto Member>
DialogField Erosion(const char* page, const char* setting, const char* label) {
    DialogField field = RunTimeField<&Workspace::Erosion, Member>(setting, label);
    field.Page = page;
    return field;
}
template <auto Member> DialogField Lake(const char* setting, const char* label) {
    return RunTimeField<&Workspace::Lakes, Member>(setting, label);
}
template <auto Member>
DialogField Fill(const char* setting, const char* label, std::vector<FieldChoice> choices = {}) {
    const double hi = choices.empty() ? std::numeric_limits<double>::infinity() : 1.0;
    const double lo = choices.empty() ? -std::numeric_limits<double>::infinity() : 0.0;
    return RunTimeField<&Workspace::FloodFill, Member>(setting, label, lo, hi, std::move(choices));
}
template <auto Member>
DialogField Flood(const char* setting, const char* label, double lo = -HUGE_VAL,
                  double hi = HUGE_VAL, std::vector<FieldChoice> choices = {}) {
    return RunTimeField<&Workspace::WorldFlood, Member>(setting, label, lo, hi, std::move(choices));
}

void BindFluvial(CommandTableBuilder& table) {
    Command& fluvial = table.BindDialog(
        CmdFluvial, RunFluvial, nullptr, "fluvial",
        {Erosion<&ErosionFields::Steps>("General", "fluvial.Steps", "Simulation Steps:"),
         Erosion<&ErosionFields::Deposition>("Surface", "fluvial.Deposition", "Deposition Rate:"),
         Erosion<&ErosionFields::Capacity>("Surface", "fluvial.Capacity", "Sediment Capacity:"),
         Erosion<&ErosionFields::Softness>("Surface", "fluvial.Softness", "Softness:"),
         Erosion<&ErosionFields::Redraw>("Surface", "fluvial.Redraw", "Redraw every (frames):"),
         Erosion<&ErosionFields::RainFrequency>("Rainfall", "fluvial.RainFrequency",
                                                "Frequency (steps):"),
         Erosion<&ErosionFields::RainAmount>("Rainfall", "fluvial.RainAmount", "Amount:"),
         Erosion<&ErosionFields::Fraction>("Rainfall", "fluvial.Fraction",
                                           "Amount as fraction of altitude"),
         Erosion<&ErosionFields::Noise>("Rainfall", "fluvial.Noise", "Adjust amount as 1/f noise"),
         Erosion<&ErosionFields::Threshold>("Water Map", "fluvial.Threshold",
                                            "Coloring Threshold:"),
         Erosion<&ErosionFields::WaterFile>("Water Map", "fluvial.WaterFile",
                                            "Save water picture to:"),
         Erosion<&ErosionFields::SedimentFile>("Water Map", "fluvial.SedimentFile",
                                               "Save sediment picture to:")});
    fluvial.DialogTitle = "Erosion Model Properties";
    fluvial.Codes = &FluvialTexts;
    fluvial.Effect = "Rains on the Surface and lets the water run downhill for the frames asked, "
                     "then shows the water and the sediment (written to WaterFile and "
                     "SedimentFile when named) and marks the cells whose water passed the "
                     "threshold; the elevations stay.";
}

void BindLakes(CommandTableBuilder& table) {
    Command& lakes = table.BindDialog(
        CmdFindLakes, RunFindLakes, nullptr, "find-lakes",
        {Lake<&LakeFields::InitialLevel>("find-lakes.InitialLevel", "&Initial Water Level:"),
         Lake<&LakeFields::Sheet>("find-lakes.Sheet", "S&heet"),
         Lake<&LakeFields::MaxIterations>("find-lakes.MaxIterations", "&Max Iterations:"),
         Lake<&LakeFields::WaterDelta>("find-lakes.WaterDelta", "Water &Delta:"),
         Lake<&LakeFields::Spherical>("find-lakes.Spherical", "&Spherical"),
         Lake<&LakeFields::DisplayEvery>("find-lakes.DisplayEvery", "Display &Every (Frames):"),
         Lake<&LakeFields::DisplayThreshold>("find-lakes.DisplayThreshold",
                                             "Water Display &Threshold:"),
         Lake<&LakeFields::DisplayMultiplier>("find-lakes.DisplayMultiplier",
                                              "Display Map M&ultiplier:"),
         Lake<&LakeFields::SinkTop>("find-lakes.SinkTop", "Water Sin&k Edges: T"),
         Lake<&LakeFields::SinkLeft>("find-lakes.SinkLeft", "Water Sink Edges: L"),
         Lake<&LakeFields::SinkRight>("find-lakes.SinkRight", "Water Sink Edges: R"),
         Lake<&LakeFields::SinkBottom>("find-lakes.SinkBottom", "Water Sink Edges: B"),
         Lake<&LakeFields::MaxDisplayedDepth>("find-lakes.MaxDisplayedDepth",
                                              "Max Displayed Depth:")});
    lakes.DialogTitle = "Lakeland Parameters";
    lakes.Codes = &LakeTexts;
    lakes.Effect = "Lets water settle into the hollows and draws its depth into the picture; "
                   "the elevations stay.";
}

void BindFloodFill(CommandTableBuilder& table) {
    Command& fill = table.BindDialog(
        CmdFloodFill, RunFloodFill, nullptr, "flood-fill",
        {Fill<&FloodFillFields::High>("flood-fill.High", "High:"),
         Fill<&FloodFillFields::Low>("flood-fill.Low", "Low:"),
         Fill<&FloodFillFields::NewValue>("flood-fill.NewValue", "New Value:"),
         Fill<&FloodFillFields::X>("flood-fill.X", "X (Lon):"),
         Fill<&FloodFillFields::Y>("flood-fill.Y", "Y (Lat):"),
         Fill<&FloodFillFields::Units>("flood-fill.Units", "Position in:",
                                       {{FloodFillPixels, "Pixels"}, {FloodFillLonLat, "Value"}})});
    fill.DialogTitle = "Flood Fill Settings";
    fill.Codes = &FloodFillTexts;
    fill.Effect = "Sets every sample of the connected region between Low and High that holds "
                  "the start to New Value.";
}

void BindWorldFlood(CommandTableBuilder& table) {
    Command& flood = table.BindDialog(
        CmdWorldFlood, RunWorldFlood, nullptr, "world-flood",
        {Flood<&WorldFloodFields::Starting>("world-flood.Starting", "Starting:"),
         Flood<&WorldFloodFields::Ending>("world-flood.Ending", "Ending:"),
         Flood<&WorldFloodFields::Count>(
             "world-flood.Count", "Count by:", 0, 1,
             {{WorldFloodFrames, "# Frames"}, {WorldFloodSeaDelta, "Sea Delta"}}),
         Flood<&WorldFloodFields::Value>("world-flood.Value", "# Frames or Sea Delta:"),
         Flood<&WorldFloodFields::SaveSequence>("world-flood.SaveSequence", "Save Sequence"),
         Flood<&WorldFloodFields::InitialFrame>("world-flood.InitialFrame", "Initial Frame:", 0),
         Flood<&WorldFloodFields::FileType>("world-flood.FileType", "File Type:", 0, 1,
                                            {{WorldFloodBmp, "BMP"}, {WorldFloodPcx, "PCX"}})});
    flood.DialogTitle = "Sea Flooding";
    flood.Codes = &WorldFloodTexts;
    flood.Effect = "Shades the picture at sea levels from Starting to Ending, writing "
                   "PIC00000.BMP ... with Save Sequence; the sea level is restored.";
}

} // namespace

void BindWaterCommands(CommandTableBuilder& table) {
    BindFluvial(table);
    BindLakes(table);
    BindFloodFill(table);
    BindWorldFlood(table);
    Command& drainage = table.Bind(CmdDrainageAreas, RunDrainageAreas);
    drainage.Codes = &DrainageTexts;
    drainage.Effect = "Draws, for every sample, how many uphill paths pass through it, into the "
                      "picture; the elevations stay.";
}

} // namespace korvel
