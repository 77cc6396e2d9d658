#include "paint/clone_tool.h"

#include "core/host.h"
#include "core/workspace.h"

namespace korvel {

SampleRect CloneTool::ButtonDown(const ToolEvent& at) {
    switch (Now) {
    case NoSource:
        Ws.TheHost.ShowMessage("Please select a source point (SHIFT + click)");
        return {};
    case Picking:
        if (SetSource(at.X, at.Y))
            Now = SourceHeld;
        return {};
    case SourceSet: {
        int32_t x = 0;
        int32_t y = 0;
        if (!SampleOf(at.X, x) || !SampleOf(at.Y, y))
            return {};
        Offset = {Source.X - x, Source.Y - y};
        Strokes.Begin("Cloning");
        Now = Cloning;
        return StampAt(at);
    }
    default:
        return {};
    }
}

SampleRect CloneTool::Move(const ToolEvent& at) {
    return Now == Cloning ? StampAt(at) : SampleRect{};
}

SampleRect CloneTool::ButtonUp(const ToolEvent&) {
    if (Now == SourceHeld || Now == Cloning)
        Now = SourceSet;
    Strokes.End();
    return {};
}

void CloneTool::KeyDown(ToolKey key) {
    if (key != ToolKey::Shift || !(Now == NoSource || Now == SourceSet || Now == Cloning))
        return;
    Strokes.End();
    Now = Picking;
}

void CloneTool::KeyUp(ToolKey key) {
    if (key == ToolKey::Shift && (Now == Picking || Now == SourceHeld))
        Now = SourceSet;
}

bool CloneTool::SetSource(double x, double y) {
    SamplePosition at;
    if (!SampleOf(x, at.X) || !SampleOf(y, at.Y))
        return false;
    Source = at;
    if (Now == NoSource || Now == SourceSet)
        Now = SourceSet;
    return true;
}

SampleRect CloneTool::StampAt(const ToolEvent& at) {
    int32_t x = 0;
    int32_t y = 0;
    if (!SampleOf(at.X, x) || !SampleOf(at.Y, y))
        return {};
    const SamplePosition from{x + Offset.X, y + Offset.Y};
    return Strokes.StampAt(x, y, at.Pressure, from);
}

} // namespace korvel
