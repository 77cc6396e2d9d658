#include "paint/paint_state.h"

#include "generate/evaluator.h"

namespace korvel {

namespace {

struct PresetRule {
    int32_t Kind;
    int32_t Operation;
};

PresetRule RuleOf(int32_t preset) {
    switch (preset) {
    case PresetBlur:
    case PresetSharpen:
        return {BrushConvolve, OperationLerp};
    case PresetDig:
        return {BrushPlain, OperationSubtract};
    case PresetRaise:
        return {BrushPlain, OperationAdd};
    case PresetErode:
        return {ErodeKind, OperationLerp};
    case PresetAddNoise:
        return {BrushGaussianNoise, OperationAdd};
    case PresetThermalErode:
        return {BrushThermalErode, OperationLerp};
    case PresetHydraulicErode:
        return {BrushHydraulicErode, OperationLerp};
    default:
        return {BrushPlain, OperationLerp};
    }
}

// The blur stroke averages 3 x 3 samples: weights summing to 1, so flat ground stays flat.
Kernel PresetKernel(int32_t preset) {
    Kernel kernel;
    kernel.SetSize(3, 1.0f, 0, 0);
    if (preset == PresetBlur)
        kernel.MakeBox();
    else
        kernel.MakeSharpen();
    return kernel;
}

int32_t TypeBits(const BrushSetupFields& f) {
    return (f.Kind & 0xF) | ((f.Condition & 0xF) << 4) | ((f.Operation & 0xF) << 8) |
           (f.SoftEdge ? BrushSoftEdge : 0) | (f.Round ? BrushRound : 0) |
           (f.Wrap ? BrushWrap : 0) | (f.Advanced ? BrushAdvanced : 0);
}

} // namespace

PaintState& PaintStateOf(Workspace& ws) {
    if (!ws.Painting)
        ws.Painting = std::make_unique<PaintState>(ws);
    return static_cast<PaintState&>(*ws.Painting);
}

int32_t RebuildCurrentBrush(Workspace& ws) {
    PaintState& state = PaintStateOf(ws);
    Surface& s = ws.TheSurface;
    Evaluator eval(s, ws.Noise, ws.Random, s.Generation);
    const int32_t code = state.Brushes.Current.Rebuild(eval);
    state.Brushes.CurrentChanged();
    return code;
}

void ChoosePreset(Workspace& ws, int32_t preset) {
    PaintState& state = PaintStateOf(ws);
    if (preset == state.ActivePreset) {
        state.ActivePreset = PresetNone;
        state.Active = nullptr;
        return;
    }
    state.ActivePreset = preset;
    state.Active = &state.Painter;
    Brush& brush = state.Brushes.Current;
    const PresetRule rule = RuleOf(preset);
    brush.Type = WithOperation(WithKind(brush.Type, rule.Kind), rule.Operation);
    if (preset == PresetBlur || preset == PresetSharpen)
        brush.BrushKernel = PresetKernel(preset);
    RebuildCurrentBrush(ws);
}

void SetBrushShape(Workspace& ws, bool round) {
    Brush& brush = PaintStateOf(ws).Brushes.Current;
    const int32_t bits = BrushSoftEdge | BrushRound;
    brush.Type = round ? brush.Type | bits : brush.Type & ~bits;
    RebuildCurrentBrush(ws);
}

void SetToolSize(Workspace& ws, int32_t size, int32_t maxSize) {
    Brush& brush = PaintStateOf(ws).Brushes.Current;
    brush.XSize = brush.YSize = size;
    brush.Maxima.XSize = brush.Maxima.YSize = maxSize;
    RebuildCurrentBrush(ws);
}

void FillBrushSetup(Workspace& ws) {
    PaintState& state = PaintStateOf(ws);
    const Brush& b = state.Brushes.Current;
    BrushSetupFields& f = state.Setup;
    f.XSize = b.XSize;
    f.YSize = b.YSize;
    f.Kind = BrushKindOf(b.Type);
    f.Condition = BrushConditionOf(b.Type);
    f.Operation = BrushOperationOf(b.Type);
    f.SoftEdge = (b.Type & BrushSoftEdge) != 0;
    f.Round = (b.Type & BrushRound) != 0;
    f.Wrap = (b.Type & BrushWrap) != 0;
    f.Advanced = (b.Type & BrushAdvanced) != 0;
    f.Value = b.Value;
    f.Bias = b.Bias;
    f.Lo = b.Lo;
    f.Hi = b.Hi;
    f.MaskExpr = b.MaskExpr;
    f.DataExpr = b.DataExpr;
    f.MaxXSize = b.Maxima.XSize;
    f.MaxYSize = b.Maxima.YSize;
    f.MaxBias = b.Maxima.Bias;
    f.MaxValue = b.Maxima.Value;
    f.AffectBias = b.Flags.Bias != 0;
    f.AffectXSize = b.Flags.XSize != 0;
    f.AffectYSize = b.Flags.YSize != 0;
    f.AffectValue = b.Flags.Value != 0;
}

int32_t ApplyBrushSetup(Workspace& ws) {
    PaintState& state = PaintStateOf(ws);
    Brush& b = state.Brushes.Current;
    const BrushSetupFields& f = state.Setup;
    b.Maxima = {static_cast<float>(f.MaxBias), f.MaxXSize, f.MaxYSize,
                static_cast<float>(f.MaxValue)};
    b.Flags = {f.AffectBias, f.AffectXSize, f.AffectYSize, f.AffectValue};
    Surface& s = ws.TheSurface;
    Evaluator eval(s, ws.Noise, ws.Random, s.Generation);
    const int32_t code = b.Set(f.XSize, f.YSize, TypeBits(f), static_cast<float>(f.Value),
                               static_cast<float>(f.Bias), static_cast<float>(f.Lo),
                               static_cast<float>(f.Hi), f.MaskExpr, f.DataExpr, eval);
    state.Brushes.CurrentChanged();
    return code;
}

void FillIntensity(Workspace& ws) {
    PaintState& state = PaintStateOf(ws);
    state.Intensity = {state.Brushes.Current.Value, state.Brushes.Current.Bias};
}

int32_t ApplyIntensity(Workspace& ws) {
    PaintState& state = PaintStateOf(ws);
    Brush& b = state.Brushes.Current;
    b.Value = static_cast<float>(state.Intensity.Value);
    b.Bias = Brush::UsableBias(static_cast<float>(state.Intensity.Bias));
    return RebuildCurrentBrush(ws);
}

} // namespace korvel
