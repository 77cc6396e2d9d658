#include "commands/geo_commands.h"

#include "commands/command_table_builder.h"
#include "commands/file_dispatch.h"

#include "core/host.h"
#include "core/workspace.h"
#include "geo/angles.h"
#include "geo/ellipsoids.h"
#include "geo/fit_geoid.h"
#include "geo/geoid.h"
#include "geo/line_of_sight.h"

#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace korvel {

namespace {

// The geoid record's model from its fields; false, with the reason shown, when refused.
bool ModelFromFields(Workspace& ws, const char* title, Geoid& geoid) {
    if (ApplyGeoidModel(ws.GeoidModel, geoid) == 0)
        return true;
    ws.TheHost.ShowMessage(std::string(title) + ": " + DescribeGeoidRefusal(ws.GeoidModel));
    return false;
}

// A datum's axes are shown as the table has them; the user model keeps what was typed.
void ShowDatumAxes(GeoidFields& f) {
    EllipsoidAxes axes;
    if (LookUpEllipsoid(f.Model, axes) == 0) {
        f.A = axes.A;
        f.B = axes.B;
    }
}

void PrefillGeoidParameters(Workspace& ws) {
    ShowDatumAxes(ws.GeoidModel);
}

int32_t RunGeoidParameters(Workspace& ws) {
    Geoid geoid;
    if (!ModelFromFields(ws, "Geoid Parameters", geoid))
        return -1;
    ShowDatumAxes(ws.GeoidModel);
    return 0;
}

// The evaluation area and the reference point as the dialog shows them.
void SettleFitArea(Workspace& ws) {
    FitGeoidFields& f = ws.FitGeoid;
    const Surface& s = ws.TheSurface;
    if (f.UseMainArea) {
        f.Top = s.Top;
        f.Left = s.Left;
        f.Right = s.Right;
        f.Bottom = s.Bottom;
    }
    LatLon point;
    if (ReferencePointOf(f.RelativeTo, f.Top, f.Left, f.Right, f.Bottom, point)) {
        f.Latitude = point.Lat;
        f.Longitude = point.Lon;
    }
}

void PrefillFitGeoid(Workspace& ws) {
    ShowDatumAxes(ws.GeoidModel);
    SettleFitArea(ws);
}

int32_t RunFitGeoid(Workspace& ws) {
    Geoid geoid;
    if (!ModelFromFields(ws, "Fit Geoid", geoid))
        return -1;
    ShowDatumAxes(ws.GeoidModel);
    SettleFitArea(ws);
    const FitGeoidFields& f = ws.FitGeoid;
    geoid.SetReference(f.Latitude * DegreesToRadians, f.Longitude * DegreesToRadians, 0.0);
    return FitGeoid(ws.TheSurface, ws.TheProgress, geoid, f.AddToSurface);
}

int32_t RunLosMask(Workspace& ws) {
    Geoid geoid;
    if (!ModelFromFields(ws, "LOS Mask", geoid))
        return -1;
    return RunLineOfSight(ws, geoid, PictureSaverFor(ws));
}

std::vector<FieldChoice> ModelChoices() {
    static const std::array<std::string, UserEllipsoid + 1> names = [] {
        std::array<std::string, UserEllipsoid + 1> all;
        for (int32_t i = 0; i <= UserEllipsoid; ++i)
            all[static_cast<size_t>(i)] = EllipsoidName(i);
        return all;
    }();
    std::vector<FieldChoice> choices;
    for (int32_t i = 0; i <= UserEllipsoid; ++i)
        choices.push_back({i, names[static_cast<size_t>(i)].c_str()});
    return choices;
}

// Model, a and b of the one record, under each dialog's own names.
std::vector<DialogField> ModelFields(const char* model, const char* a, const char* b) {
    return {RunTimeField<&Workspace::GeoidModel, &GeoidFields::Model>(
                model, "Model:", 0, UserEllipsoid, ModelChoices()),
            RunTimeField<&Workspace::GeoidModel, &GeoidFields::A>(a, "a:"),
            RunTimeField<&Workspace::GeoidModel, &GeoidFields::B>(b, "b:")};
}

template <auto Member>
DialogField Fit(const char* setting, const char* label, double lo = -HUGE_VAL, double hi = HUGE_VAL,
                std::vector<FieldChoice> choices = {}) {
    return RunTimeField<&Workspace::FitGeoid, Member>(setting, label, lo, hi, std::move(choices));
}

template <auto Member>
DialogField Los(const char* setting, const char* label, double lo = -HUGE_VAL, double hi = HUGE_VAL,
                std::vector<FieldChoice> choices = {}) {
    return RunTimeField<&Workspace::LosMask, Member>(setting, label, lo, hi, std::move(choices));
}

void BindFitGeoid(CommandTableBuilder& table) {
    std::vector<DialogField> fields = ModelFields("fit-geoid.Model", "fit-geoid.A", "fit-geoid.B");
    const std::vector<DialogField> rest = {
        Fit<&FitGeoidFields::Top>("fit-geoid.Top", "Top"),
        Fit<&FitGeoidFields::Left>("fit-geoid.Left", "Left"),
        Fit<&FitGeoidFields::Right>("fit-geoid.Right", "Right"),
        Fit<&FitGeoidFields::Bottom>("fit-geoid.Bottom", "Bottom"),
        Fit<&FitGeoidFields::UseMainArea>("fit-geoid.UseMainArea", "Use Main Area"),
        Fit<&FitGeoidFields::RelativeTo>("fit-geoid.RelativeTo", "Relative to:", PlaceLowerLeft,
                                         PlaceAbsolute,
                                         {{PlaceLowerLeft, "Lower Left"},
                                          {PlaceLowerCenter, "Lower Center"},
                                          {PlaceLowerRight, "Lower Right"},
                                          {PlaceLeftCenter, "Left Center"},
                                          {PlaceCenter, "Center"},
                                          {PlaceRightCenter, "Right Center"},
                                          {PlaceUpperLeft, "Upper Left"},
                                          {PlaceTopCenter, "Top Center"},
                                          {PlaceUpperRight, "Upper Right"},
                                          {PlaceAbsolute, "Absolute"}}),
        Fit<&FitGeoidFields::Latitude>("fit-geoid.Latitude", "Latitude:", -90.0, 90.0),
        Fit<&FitGeoidFields::Longitude>("fit-geoid.Longitude", "Longitude:"),
        Fit<&FitGeoidFields::AddToSurface>("fit-geoid.AddToSurface", "Add to Surface")};
    fields.insert(fields.end(), rest.begin(), rest.end());
    Command& fit =
        table.BindDialog(CmdFitGeoid, RunFitGeoid, PrefillFitGeoid, "fit-geoid", std::move(fields));
    fit.DialogTitle = "Adjust to Geoid";
    fit.Effect = "Lowers every sample by the drop of the ellipsoid below the tangent plane at the "
                 "reference point (raises it with Add to Surface off).";
}

void BindLosMask(CommandTableBuilder& table) {
    Command& los = table.BindDialog(
        CmdLosMask, RunLosMask, nullptr, "los-mask",
        {Los<&LosMaskFields::Latitude>("los-mask.Latitude", "Latitude:", -90.0, 90.0),
         Los<&LosMaskFields::Longitude>("los-mask.Longitude", "Longitude:"),
         Los<&LosMaskFields::Altitude>("los-mask.Altitude", "Altitude:"),
         Los<&LosMaskFields::AltitudeAboveGround>("los-mask.AltitudeAboveGround", "Alt AGL"),
         Los<&LosMaskFields::ClipLo>("los-mask.ClipLo", "Lo:"),
         Los<&LosMaskFields::ClipHi>("los-mask.ClipHi", "Hi:"),
         Los<&LosMaskFields::AzimuthStart>("los-mask.AzimuthStart", "Start:"),
         Los<&LosMaskFields::AzimuthEnd>("los-mask.AzimuthEnd", "End:"),
         Los<&LosMaskFields::AzimuthSteps>("los-mask.AzimuthSteps", "Steps:", 0.0),
         Los<&LosMaskFields::ElevationStart>("los-mask.ElevationStart", "Start:", -90.0, 90.0),
         Los<&LosMaskFields::ElevationEnd>("los-mask.ElevationEnd", "End:", -90.0, 90.0),
         Los<&LosMaskFields::ClearImage>("los-mask.ClearImage", "Clear Image"),
         Los<&LosMaskFields::Supersample>("los-mask.Supersample", "Ray Supersample:"),
         Los<&LosMaskFields::Slices>("los-mask.Slices", "Enable"),
         Los<&LosMaskFields::SliceInitial>("los-mask.SliceInitial", "Initial Alt:"),
         Los<&LosMaskFields::SliceFinal>("los-mask.SliceFinal", "Final Alt:"),
         Los<&LosMaskFields::SliceFrames>("los-mask.SliceFrames", "Frames:", 1.0),
         Los<&LosMaskFields::Sequence>("los-mask.Sequence", "Sequence:", 0.0),
         Los<&LosMaskFields::SequenceType>("los-mask.SequenceType", "Seq Type:", 0.0, 1.0,
                                           {{LosSequenceBmp, "BMP"}, {LosSequencePcx, "PCX"}})});
    los.DialogTitle = "LOS Mask Calculation";
    los.Codes = &LineOfSightTexts;
    los.Effect = "Marks in the picture every sample the observer can see; with Slices, one "
                 "picture per slice altitude written as LOS00000.BMP ...; the elevations stay.";
}

} // namespace

void BindGeoCommands(CommandTableBuilder& table) {
    Command& parameters = table.BindDialog(
        CmdGeoidParameters, RunGeoidParameters, PrefillGeoidParameters, "geoid-parameters",
        ModelFields("geoid-parameters.Model", "geoid-parameters.A", "geoid-parameters.B"));
    parameters.Effect = "Chooses the Earth model of Fit Geoid and the line of sight; the "
                        "elevations stay.";
    BindFitGeoid(table);
    BindLosMask(table);
}

} // namespace korvel
