#pragma once
// The clone tool: a source picked with Shift held, then strokes that copy the terrain from the
// source, moved by as much as the stroke has moved, through the brush.
#include "paint/stroke.h"

namespace korvel {

class CloneTool : public Tool {
public:
    enum State : int32_t {
        NoSource = 0,
        Picking = 1,    // Shift held, waiting for the source click
        SourceHeld = 2, // source clicked, Shift still held
        SourceSet = 3,
        Cloning = 4,
    };

    CloneTool(Workspace& ws, BrushSet& brushes) : Ws(ws), Strokes(ws, brushes) {}
    SampleRect ButtonDown(const ToolEvent& at) override;
    SampleRect Move(const ToolEvent& at) override;
    SampleRect ButtonUp(const ToolEvent& at) override;
    void KeyDown(ToolKey key) override;
    void KeyUp(ToolKey key) override;
    bool PickingSource() const override { return Now == Picking || Now == SourceHeld; }

    // The Shift-click in one step, for the command line: the source is (x, y). False for a
    // position no Surface reaches.
    bool SetSource(double x, double y);
    State Current() const { return Now; }

private:
    SampleRect StampAt(const ToolEvent& at);
    Workspace& Ws;
    Stroke Strokes;
    State Now = NoSource;
    SamplePosition Source;
    // Source minus stroke start, in whole samples, fixed when the stroke starts.
    SamplePosition Offset;
};

} // namespace korvel
