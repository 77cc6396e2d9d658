#include "commands/point_commands.h"

#include "commands/command_table_builder.h"

#include "core/host.h"
#include "core/workspace.h"
#include "edit/add_noise.h"
#include "edit/delta_coding.h"
#include "edit/histogram.h"
#include "edit/point_operations.h"

#include <cmath>

namespace korvel {

namespace {

int32_t RunClip(Workspace& ws) {
    return ClipHeights(ws.TheSurface, ws.TheProgress, ws.General.ClipMin, ws.General.ClipMax);
}

int32_t RunExponent(Workspace& ws) {
    const ExponentFields& e = ws.Exponent;
    return RaiseHeights(ws.TheSurface, ws.TheProgress, e.Land, e.Sea, e.Preserve, e.SeaLevel);
}

int32_t RunScale(Workspace& ws) {
    const MapScaleSettings& m = ws.MapScale;
    return ApplyMapScale(ws.TheSurface, ws.TheProgress, m.Type, m.Hi, m.Break, m.Lo, true);
}

int32_t RunOffset(Workspace& ws) {
    return OffsetHeights(ws.TheSurface, ws.TheProgress, ws.Offset.Amount);
}

int32_t RunReplace(Workspace& ws) {
    const ReplaceFields& r = ws.Replace;
    return ReplaceHeights(ws.TheSurface, ws.TheProgress, r.Base, r.Variance, r.NewValue);
}

int32_t RunThreshold(Workspace& ws) {
    const ThresholdFields& t = ws.Threshold;
    if (t.Mode == ThresholdByInterval)
        return ThresholdHeights(ws.TheSurface, ws.TheProgress, t.Value);
    // Levels are whole numbers; 0 would make the interval infinite.
    const double levels = std::trunc(t.Value);
    if (!(levels >= 1.0 && levels <= 1e9)) {
        ws.TheHost.ShowMessage("The number of levels must be at least 1");
        return -1;
    }
    return ThresholdLevels(ws.TheSurface, ws.TheProgress, static_cast<int32_t>(levels));
}

int32_t RunAddNoise(Workspace& ws) {
    const NoiseFields& n = ws.NoiseOptions;
    const double except = n.UseSeaLevel ? ws.TheSurface.Lighting.SeaLevel : n.Except;
    return AddNoise(ws.TheSurface, ws.TheProgress, ws.Random, n.Type, n.Mean, n.Variance, except);
}

void PrefillHistogram(Workspace& ws) {
    ws.Histogram.Lowest = ws.TheSurface.Min;
    ws.Histogram.Highest = ws.TheSurface.Max;
}

int32_t RunHistogram(Workspace& ws) {
    HistogramResult& r = ws.LastHistogram;
    r.Lowest = ws.Histogram.Lowest;
    r.Highest = ws.Histogram.Highest;
    return ComputeHistogram(ws.TheSurface, ws.TheProgress, r.Bins, ws.Histogram.Bins, r.Lowest,
                            r.Highest, &r.Below, &r.Above);
}

int32_t RunDeltaCoding(Workspace& ws) {
    Surface& s = ws.TheSurface;
    const int32_t code =
        ws.DeltaCoding.Decode ? DeltaDecode(s, ws.DeltaCoding) : DeltaEncode(s, ws.DeltaCoding);
    if (code != 0)
        return code;
    return s.FindMinMax(s.Min, s.Max, ws.TheProgress);
}

} // namespace

std::vector<DialogField> MapScaleFields() {
    return {{"MapScale/Type",
             "Scaling Type:",
             0,
             2,
             {{0, "Single Value"}, {1, "Broken Value"}, {2, "To Range"}}},
            {"MapScale/Hi", "Scale Factor / High / Highest"},
            {"MapScale/Break", "Break (Broken Value)"},
            {"MapScale/Lo", "Low / Lowest"}};
}

void BindPointCommands(CommandTableBuilder& table) {
    table.BindDialog(CmdClip, RunClip, nullptr, "", {{"ClipMin", "Min"}, {"ClipMax", "Max"}})
        .Effect = "Sets every elevation below Min to Min and above Max to Max.";
    table.BindDialog(CmdScale, RunScale, nullptr, "", MapScaleFields()).Effect =
        "Multiplies the elevations by the factor, scales land and sea apart around Break, or "
        "stretches them onto Lowest..Highest.";
    table
        .BindDialog(CmdExponent, RunExponent, nullptr, "exponent",
                    {RunTimeField<&Workspace::Exponent, &ExponentFields::Land>(
                         "exponent.Land", "Land ( above SeaLevel ):"),
                     RunTimeField<&Workspace::Exponent, &ExponentFields::Sea>(
                         "exponent.Sea", "Sea ( below SeaLevel ):"),
                     RunTimeField<&Workspace::Exponent, &ExponentFields::SeaLevel>(
                         "exponent.SeaLevel", "Sea Level:"),
                     RunTimeField<&Workspace::Exponent, &ExponentFields::Preserve>(
                         "exponent.Preserve", "Preserve Height")})
        .Effect = "Raises the heights above and below the sea level to their exponents.";
    table
        .BindDialog(
            CmdOffset, RunOffset, nullptr, "offset",
            {RunTimeField<&Workspace::Offset, &OffsetFields::Amount>("offset.Amount", "Offset:")})
        .Effect = "Adds Offset to every elevation.";
    table
        .BindDialog(
            CmdReplace, RunReplace, nullptr, "replace",
            {RunTimeField<&Workspace::Replace, &ReplaceFields::Base>("replace.Base", "Base Value:"),
             RunTimeField<&Workspace::Replace, &ReplaceFields::Variance>("replace.Variance",
                                                                         "Variance:"),
             RunTimeField<&Workspace::Replace, &ReplaceFields::NewValue>("replace.NewValue",
                                                                         "New Value:")})
        .Effect = "Sets the elevations within Variance of Base Value to New Value.";
    table
        .BindDialog(
            CmdThreshold, RunThreshold, nullptr, "threshold",
            {RunTimeField<&Workspace::Threshold, &ThresholdFields::Value>(
                 "threshold.Value", "Levels or metres per interval"),
             RunTimeField<&Workspace::Threshold, &ThresholdFields::Mode>(
                 "threshold.Mode", "Threshold by", 0, 1,
                 {{ThresholdByLevels, "Levels"}, {ThresholdByInterval, "Meters per Interval"}})})
        .Effect = "Posterises the elevations into steps.";
    table
        .BindDialog(
            CmdAddNoise, RunAddNoise, nullptr, "add-noise",
            {RunTimeField<&Workspace::NoiseOptions, &NoiseFields::Type>(
                 "add-noise.Type", "Type:", 0, 3,
                 {{NoiseUniform, "Uniform"},
                  {NoiseGaussian, "Gaussian"},
                  {NoiseExponential, "Exponential"},
                  {NoiseRayleigh, "Rayleigh"}}),
             RunTimeField<&Workspace::NoiseOptions, &NoiseFields::Mean>("add-noise.Mean", "Mean:"),
             RunTimeField<&Workspace::NoiseOptions, &NoiseFields::Variance>("add-noise.Variance",
                                                                            "Variance:"),
             RunTimeField<&Workspace::NoiseOptions, &NoiseFields::Except>("add-noise.Except",
                                                                          "Except:"),
             RunTimeField<&Workspace::NoiseOptions, &NoiseFields::UseSeaLevel>(
                 "add-noise.UseSeaLevel", "Use Sea Level")})
        .Effect = "Adds random noise to every elevation except those at the Except value.";
    table
        .BindDialog(CmdHistogram, RunHistogram, PrefillHistogram, "histogram",
                    {RunTimeField<&Workspace::Histogram, &HistogramFields::Bins>(
                         "histogram.Bins", "Bins", 1, 1000000),
                     RunTimeField<&Workspace::Histogram, &HistogramFields::Lowest>(
                         "histogram.Lowest", "Lowest"),
                     RunTimeField<&Workspace::Histogram, &HistogramFields::Highest>(
                         "histogram.Highest", "Highest")})
        .Effect = "Counts the elevations in equal bins from Lowest to Highest; the Surface stays.";
    table
        .BindDialog(CmdXxx, RunDeltaCoding, nullptr, "xxx",
                    {RunTimeField<&Workspace::DeltaCoding, &DeltaCodingFields::Decode>("xxx.Decode",
                                                                                       "Decode")})
        .Effect = "Replaces the elevations by their delta coding, or decodes them with Decode=1.";
    // The operation's own codes say why a run failed.
    for (const CommandId id : {CmdClip, CmdScale, CmdExponent, CmdOffset, CmdReplace, CmdThreshold})
        table.At(id).Codes = &PointTexts;
}

} // namespace korvel
