#pragma once
// The painting state of a workspace: the brushes, the paint and clone tools, which tool the view
// drives and which toolbar preset is active, and the values the brush dialogs edit.
#include "core/workspace.h"
#include "paint/brush_set.h"
#include "paint/clone_tool.h"
#include "paint/paint_tool.h"

#include <cstdint>
#include <string>

namespace korvel {

enum PaintPreset : int32_t {
    PresetNone = 0,
    PresetPaint = 1,
    PresetBlur = 2,
    PresetSharpen = 3,
    PresetDig = 4,
    PresetRaise = 5,
    PresetErode = 6,
    PresetAddNoise = 7,
    // The erosion brushes, after the seven of old.
    PresetThermalErode = 8,
    PresetHydraulicErode = 9,
};

// The kind the Erode preset writes; it stamps like a plain brush.
constexpr int32_t ErodeKind = 4;

// "Brush Setup": every field of the brush a person edits, applied on OK.
struct BrushSetupFields {
    int32_t XSize = 11;
    int32_t YSize = 11;
    int32_t Kind = BrushPlain;
    int32_t Condition = ApplyAlways;
    int32_t Operation = OperationLerp;
    bool SoftEdge = true;
    bool Round = true;
    bool Wrap = true;
    bool Advanced = false;
    double Value = 1.0;
    double Bias = 0.5;
    double Lo = -1e30;
    double Hi = 1e30;
    std::string MaskExpr = "1-r";
    std::string DataExpr = "1-r";
    int32_t MaxXSize = 21;
    int32_t MaxYSize = 21;
    double MaxBias = 1.0;
    double MaxValue = 20.0;
    bool AffectBias = false;
    bool AffectXSize = false;
    bool AffectYSize = false;
    bool AffectValue = false;
};

// "Intensity and Pointiness".
struct IntensityFields {
    double Value = 1.0;
    double Bias = 0.5;
};

class PaintState : public WorkspaceAddOn {
public:
    explicit PaintState(Workspace& ws) : Painter(ws, Brushes), Cloner(ws, Brushes) {}
    BrushSet Brushes;
    PaintTool Painter;
    CloneTool Cloner;
    // The tool the view and the command line's strokes drive; nullptr for none.
    Tool* Active = nullptr;
    int32_t ActivePreset = PresetNone;
    BrushSetupFields Setup;
    IntensityFields Intensity;
};

// The workspace's painting state, made on first use.
PaintState& PaintStateOf(Workspace& ws);

// A toolbar preset: pressing the active one again switches it off (no preset, no tool);
// otherwise the paint tool becomes the active tool and the current brush's kind and operation
// (and the kernel of Blur and Sharpen) are rewritten. Condition and shape bits stay.
void ChoosePreset(Workspace& ws, int32_t preset);
// Square: soft edge and round off; round: both on.
void SetBrushShape(Workspace& ws, bool round);
// The toolbar sizes: size x size, reaching maxSize x maxSize at full pressure.
void SetToolSize(Workspace& ws, int32_t size, int32_t maxSize);
// The dialogs' values from the current brush, and back (the brush is then rebuilt; -1 when an
// advanced expression did not parse and the brush fell back to the simple form).
void FillBrushSetup(Workspace& ws);
int32_t ApplyBrushSetup(Workspace& ws);
void FillIntensity(Workspace& ws);
int32_t ApplyIntensity(Workspace& ws);
// Rebuilds the current brush after its fields changed and lets the pressure brushes follow.
int32_t RebuildCurrentBrush(Workspace& ws);

} // namespace korvel
