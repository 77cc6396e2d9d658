#pragma once
// The paint tool: stamps the current brush (or the pressure brush of the pen) at the button-down
// and at every move while the button is held.
#include "paint/stroke.h"

namespace korvel {

class PaintTool : public Tool {
public:
    PaintTool(Workspace& ws, BrushSet& brushes) : Strokes(ws, brushes) {}
    SampleRect ButtonDown(const ToolEvent& at) override;
    SampleRect Move(const ToolEvent& at) override;
    SampleRect ButtonUp(const ToolEvent& at) override;

private:
    SampleRect StampAt(const ToolEvent& at);
    Stroke Strokes;
};

} // namespace korvel
