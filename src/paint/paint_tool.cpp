#include "paint/paint_tool.h"

namespace korvel {

SampleRect PaintTool::ButtonDown(const ToolEvent& at) {
    // A button-down without its button-up (the view lost the mouse) still ends its stroke.
    Strokes.End();
    Strokes.Begin("Painting");
    return StampAt(at);
}

SampleRect PaintTool::Move(const ToolEvent& at) {
    return Strokes.InProgress() ? StampAt(at) : SampleRect{};
}

SampleRect PaintTool::ButtonUp(const ToolEvent&) {
    Strokes.End();
    return {};
}

SampleRect PaintTool::StampAt(const ToolEvent& at) {
    int32_t x = 0;
    int32_t y = 0;
    if (!SampleOf(at.X, x) || !SampleOf(at.Y, y))
        return {};
    return Strokes.StampAt(x, y, at.Pressure, std::nullopt);
}

} // namespace korvel
