#include "commands/paint_commands.h"

#include "commands/command_table_builder.h"
#include "core/host.h"
#include "paint/paint_state.h"

#include <limits>
#include <type_traits>
#include <utility>

namespace korvel {

namespace {

constexpr double Unbounded = std::numeric_limits<double>::infinity();

// A dialog field editing (PaintStateOf(ws).*Group).*Member.
template <auto Group, auto Member>
DialogField PaintField(const char* setting, const char* label, double lo = -Unbounded,
                       double hi = Unbounded, std::vector<FieldChoice> choices = {}) {
    DialogField field(setting, label, lo, hi, std::move(choices));
    using Variable = std::remove_reference_t<decltype(std::declval<PaintState&>().*Group.*Member)>;
    field.Type = SettingTypeOf<Variable>();
    field.Variable = [](Workspace& ws) -> void* { return &(PaintStateOf(ws).*Group.*Member); };
    return field;
}

template <auto Member>
DialogField SetupField(const char* setting, const char* label, double lo = -Unbounded,
                       double hi = Unbounded, std::vector<FieldChoice> choices = {}) {
    return PaintField<&PaintState::Setup, Member>(setting, label, lo, hi, std::move(choices));
}

std::vector<DialogField> BrushSetupFieldList() {
    using F = BrushSetupFields;
    const double size = Brush::MaxSize;
    return {
        SetupField<&F::Kind>("brush.Kind", "&Type:", 0, 6,
                             {{BrushPlain, "Brush"},
                              {BrushConvolve, "Convolve"},
                              {BrushUniformNoise, "Uniform Noise"},
                              {BrushGaussianNoise, "Gaussian Noise"},
                              {ErodeKind, "Erode (stamps as Brush)"},
                              {BrushThermalErode, "Thermal Erode"},
                              {BrushHydraulicErode, "Hydraulic Erode"}}),
        SetupField<&F::Condition>("brush.Condition", "&Apply:", 0, 9,
                                  {{ApplyAlways, "Always"},
                                   {ApplyIfAbove, "If Above"},
                                   {ApplyIfBelow, "If Below"},
                                   {ApplyIfBetween, "If Between"},
                                   {ApplyIfNotBetween, "If Not Between"},
                                   {ApplyIfAboveOrEqual, "If Above or Equal"},
                                   {ApplyIfBelowOrEqual, "If Below or Equal"},
                                   {ApplyIfBetweenOrEqual, "If Between or Equal"},
                                   {ApplyIfNotBetweenOrEqual, "If Not Between or Equal"},
                                   {ApplyNever, "Never"}}),
        SetupField<&F::Operation>("brush.Operation", "&Operation:", 0, 7,
                                  {{OperationLerp, "Lerp"},
                                   {OperationAdd, "Add"},
                                   {OperationSubtract, "Subtract"},
                                   {OperationMultiply, "Multiply"},
                                   {OperationDivide, "Divide"},
                                   {OperationMinimum, "Minimum"},
                                   {OperationMaximum, "Maximum"},
                                   {OperationExponent, "Exponent"}}),
        SetupField<&F::Value>("brush.Value", "Value:"),
        SetupField<&F::Lo>("brush.Lo", "Lo:"),
        SetupField<&F::Hi>("brush.Hi", "Hi:"),
        SetupField<&F::XSize>("brush.XSize", "X Size:", Brush::MinSize, size),
        SetupField<&F::YSize>("brush.YSize", "Y Size:", Brush::MinSize, size),
        SetupField<&F::Bias>("brush.Bias", "Bias:"),
        SetupField<&F::SoftEdge>("brush.SoftEdge", "Soft Edge"),
        SetupField<&F::Round>("brush.Round", "Round"),
        SetupField<&F::Wrap>("brush.Wrap", "&Wrap at Edges"),
        SetupField<&F::Advanced>("brush.Advanced", "&Form:", 0, 1,
                                 {{0, "Simple"}, {1, "Advanced"}}),
        SetupField<&F::MaskExpr>("brush.MaskExpr", "Mask Expression:"),
        SetupField<&F::DataExpr>("brush.DataExpr", "Data Expression:"),
        SetupField<&F::MaxBias>("brush.MaxBias", "Bias at full pressure:"),
        SetupField<&F::MaxXSize>("brush.MaxXSize", "X Size at full pressure:", Brush::MinSize,
                                 size),
        SetupField<&F::MaxYSize>("brush.MaxYSize", "Y Size at full pressure:", Brush::MinSize,
                                 size),
        SetupField<&F::MaxValue>("brush.MaxValue", "Value at full pressure:"),
        SetupField<&F::AffectBias>("brush.AffectBias", "Affect &Bias"),
        SetupField<&F::AffectXSize>("brush.AffectXSize", "Affect &X Size"),
        SetupField<&F::AffectYSize>("brush.AffectYSize", "Affect &Y Size"),
        SetupField<&F::AffectValue>("brush.AffectValue", "Affect &Value"),
    };
}

int32_t RunBrushSetup(Workspace& ws) {
    if (ApplyBrushSetup(ws) == RebuildBadExpression) {
        const BrushSetupFields& f = PaintStateOf(ws).Setup;
        ws.TheHost.ShowMessage("The brush expressions \"" + f.MaskExpr + "\" and \"" + f.DataExpr +
                               "\" do not both parse: the brush keeps the simple form");
    }
    return 0;
}

int32_t RunIntensity(Workspace& ws) {
    ApplyIntensity(ws);
    return 0;
}

int32_t UsePaintTool(Workspace& ws) {
    PaintState& state = PaintStateOf(ws);
    state.Active = &state.Painter;
    return 0;
}

int32_t UseCloneTool(Workspace& ws) {
    PaintState& state = PaintStateOf(ws);
    state.Active = &state.Cloner;
    state.ActivePreset = PresetNone;
    return 0;
}

template <int32_t Preset> int32_t RunPreset(Workspace& ws) {
    ChoosePreset(ws, Preset);
    return 0;
}

template <bool Round> int32_t RunShape(Workspace& ws) {
    SetBrushShape(ws, Round);
    return 0;
}

template <int32_t Size, int32_t MaxSize> int32_t RunSize(Workspace& ws) {
    SetToolSize(ws, Size, MaxSize);
    return 0;
}

} // namespace

void BindPaintCommands(CommandTableBuilder& table) {
    table.Bind(CmdPaint, UsePaintTool);
    table.Bind(CmdClone, UseCloneTool);
    for (CommandId id : {CmdEditPaintbrush, CmdCustomBrush})
        table.BindDialog(id, RunBrushSetup, FillBrushSetup, "brush", BrushSetupFieldList());
    table.BindDialog(CmdToolIntensity, RunIntensity, FillIntensity, "intensity",
                     {PaintField<&PaintState::Intensity, &IntensityFields::Value>(
                          "intensity.Value", "Tool Intensity:"),
                      PaintField<&PaintState::Intensity, &IntensityFields::Bias>("intensity.Bias",
                                                                                 "Pointiness:")});
    table.Bind(CmdPaintToolPaint, RunPreset<PresetPaint>);
    table.Bind(CmdPaintToolBlur, RunPreset<PresetBlur>);
    table.Bind(CmdPaintToolSharpen, RunPreset<PresetSharpen>);
    table.Bind(CmdPaintToolDig, RunPreset<PresetDig>);
    table.Bind(CmdPaintToolRaise, RunPreset<PresetRaise>);
    table.Bind(CmdPaintToolErode, RunPreset<PresetErode>);
    table.Bind(CmdPaintToolAddNoise, RunPreset<PresetAddNoise>);
    table.Bind(CmdPaintToolThermalErode, RunPreset<PresetThermalErode>);
    table.Bind(CmdPaintToolHydraulicErode, RunPreset<PresetHydraulicErode>);
    table.Bind(CmdBrushSquare, RunShape<false>);
    table.Bind(CmdBrushRound, RunShape<true>);
    table.Bind(CmdToolSize5, RunSize<5, 9>);
    table.Bind(CmdToolSize10, RunSize<11, 19>);
    table.Bind(CmdToolSize20, RunSize<21, 29>);
    table.Bind(CmdToolSize30, RunSize<31, 39>);
    table.Bind(CmdToolSize40, RunSize<41, 49>);
    table.Bind(CmdToolSize50, RunSize<51, 59>);
}

} // namespace korvel
