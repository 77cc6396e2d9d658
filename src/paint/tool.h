#pragma once
// What the editor's view and the command line's strokes drive: a tool receiving button, move and
// key events at Surface positions and answering the sample rectangle to redraw.
#include <cstdint>

namespace korvel {

// A position on the Surface: the column and the row counted up from the bottom, with the
// fractions the view had; pressure 0..255, or -1 without a pen.
struct ToolEvent {
    double X = 0.0;
    double Y = 0.0;
    int32_t Pressure = -1;
};

// Inclusive sample rectangle; empty when X1 < X0.
struct SampleRect {
    int32_t X0 = 0;
    int32_t Y0 = 0;
    int32_t X1 = -1;
    int32_t Y1 = -1;
    bool Empty() const { return X1 < X0 || Y1 < Y0; }
};

enum class ToolKey { Shift, Escape };

class Tool {
public:
    virtual ~Tool() = default;
    virtual SampleRect ButtonDown(const ToolEvent& at) = 0;
    virtual SampleRect Move(const ToolEvent& at) = 0;
    virtual SampleRect ButtonUp(const ToolEvent& at) = 0;
    virtual void KeyDown(ToolKey) {}
    virtual void KeyUp(ToolKey) {}
    // The clone tool while Shift is held: the view shows the source-picking cursor.
    virtual bool PickingSource() const { return false; }
};

} // namespace korvel
