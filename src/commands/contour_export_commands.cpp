#include "commands/contour_export_commands.h"

#include "core/host.h"
#include "core/workspace.h"
#include "formats/cc2_contours.h"
#include "formats/dxf_contours.h"
#include "formats/file_type_table.h"

#include <limits>

namespace korvel {

namespace {

constexpr double Any = std::numeric_limits<double>::infinity();

template <auto Member>
DialogField DxfField(const char* setting, const char* label, double lo, double hi,
                     std::vector<FieldChoice> choices = {}) {
    return RunTimeField<&Workspace::DxfContours, Member>(setting, label, lo, hi,
                                                         std::move(choices));
}

template <auto Member>
DialogField Cc2Field(const char* setting, const char* label, double lo, double hi,
                     std::vector<FieldChoice> choices = {}) {
    return RunTimeField<&Workspace::Cc2Export, Member>(setting, label, lo, hi, std::move(choices));
}

// The corners and the altitudes start from the Surface each time.
void PrefillCc2(Workspace& ws) {
    const Surface& s = ws.TheSurface;
    Cc2ExportFields& f = ws.Cc2Export;
    f.UpperLeftX = 0.0;
    f.UpperLeftY = 0.0;
    f.LowerRightX = s.XSize - 1;
    f.LowerRightY = s.YSize - 1;
    f.Minimum = s.Min;
    f.Maximum = s.Max;
}

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

std::string Cancelled(const std::string& path) {
    return "Writing " + Quoted(path) + " was cancelled";
}

} // namespace

FileDialog DxfContourDialog() {
    FileDialog dialog;
    dialog.Types = {FileDxfContours};
    dialog.Group = "dxf-contours";
    dialog.Title = "Two-D Contour Lines";
    dialog.Fields = {
        DxfField<&DxfContourFields::Value>("dxf-contours.Value", "Value:", -Any, Any),
        DxfField<&DxfContourFields::Mode>(
            "dxf-contours.Mode", "The value is:", 0, 1,
            {{ContourByLevels, "Levels (a count)"}, {ContourByMeters, "Meters (the spacing)"}}),
        DxfField<&DxfContourFields::Merge>("dxf-contours.Merge", "Merge Segments", 0, 1),
        DxfField<&DxfContourFields::Elevations>("dxf-contours.Elevations",
                                                "Output segment elevations to DXF", 0, 1),
    };
    return dialog;
}

FileDialog Cc2ExportDialog() {
    FileDialog dialog;
    dialog.Types = {FileCc2Contours};
    dialog.Group = "cc2";
    dialog.Title = "CC2 File Export";
    dialog.Prefill = PrefillCc2;
    dialog.Fields = {
        Cc2Field<&Cc2ExportFields::UpperLeftX>("cc2.UpperLeftX", "Upper Left Corner X:", -Any, Any),
        Cc2Field<&Cc2ExportFields::UpperLeftY>("cc2.UpperLeftY", "Upper Left Corner Y:", -Any, Any),
        Cc2Field<&Cc2ExportFields::LowerRightX>("cc2.LowerRightX", "Lower Right Corner X:", -Any,
                                                Any),
        Cc2Field<&Cc2ExportFields::LowerRightY>("cc2.LowerRightY", "Lower Right Corner Y:", -Any,
                                                Any),
        Cc2Field<&Cc2ExportFields::Minimum>("cc2.Minimum", "Altitude Minimum:", -Any, Any),
        Cc2Field<&Cc2ExportFields::Maximum>("cc2.Maximum", "Altitude Maximum:", -Any, Any),
        Cc2Field<&Cc2ExportFields::Interval>("cc2.Interval", "Altitude Interval:", -Any, Any),
        Cc2Field<&Cc2ExportFields::Layer>("cc2.Layer", "Layer (no effect):", 0, 255),
        Cc2Field<&Cc2ExportFields::Smoothing>("cc2.Smoothing", "Smoothing Type:", 0, 2,
                                              {{Cc2SmoothNone, "None"},
                                               {Cc2SmoothBSpline, "B-Spline"},
                                               {Cc2SmoothParabolic, "Parabolic Blend"}}),
        Cc2Field<&Cc2ExportFields::Resolution>("cc2.Resolution", "Smoothing Res:", 0, 255),
    };
    return dialog;
}

int32_t ExportDxfContours(Workspace& ws, const std::string& path, std::string& message) {
    if (!AskFileDialog(*FindFileDialog(FileDxfContours), ws)) {
        message = Cancelled(path);
        return DxfContourCancelled;
    }
    const Surface& s = ws.TheSurface;
    const DxfContourFields& f = ws.DxfContours;
    DxfContourOptions options;
    options.Merge = f.Merge;
    options.Elevations = f.Elevations;
    std::string refusal;
    const int32_t refused = f.Mode == ContourByMeters
                                ? LevelsBySpacing(s.Min, s.Max, f.Value, options.Levels, refusal)
                                : LevelsByCount(s.Min, s.Max, f.Value, options.Levels, refusal);
    if (refused != 0) {
        message = refusal + " (no contours written to " + Quoted(path) + ")";
        return refused;
    }
    int64_t lines = 0;
    std::string reason;
    const int32_t code = WriteDxfContourFile(path, s, options, ws.TheProgress, lines, &reason);
    if (code == DxfContourCancelled) {
        message = Cancelled(path);
        return code;
    }
    if (code != 0) {
        message = "Error writing contours to " + Quoted(path) + ": " + reason;
        return code;
    }
    ws.TheHost.ShowMessage(std::to_string(lines) + " lines written to file " + Quoted(path));
    return 0;
}

int32_t ExportCc2Contours(Workspace& ws, const std::string& path, std::string& message) {
    if (!AskFileDialog(*FindFileDialog(FileCc2Contours), ws)) {
        message = Cancelled(path);
        return Cc2Cancelled;
    }
    const Cc2ExportFields& f = ws.Cc2Export;
    Cc2Options options;
    options.UpperLeftX = f.UpperLeftX;
    options.UpperLeftY = f.UpperLeftY;
    options.LowerRightX = f.LowerRightX;
    options.LowerRightY = f.LowerRightY;
    options.Smoothing = f.Smoothing;
    options.Resolution = f.Resolution;
    std::string refusal;
    if (const int32_t refused =
            LevelsFromTo(f.Minimum, f.Maximum, f.Interval, options.Levels, refusal);
        refused != 0) {
        message = "Interval: " + refusal + " (no contours written to " + Quoted(path) + ")";
        return refused;
    }
    std::string reason;
    const int32_t code = WriteCc2File(path, ws.TheSurface, options, ws.TheProgress, &reason);
    if (code == Cc2Cancelled)
        message = Cancelled(path);
    else if (code != 0)
        message = "Error " + std::to_string(code) + " during generation of " + Quoted(path) + ": " +
                  reason;
    return code;
}

} // namespace korvel
