#include "app/view_painting.h"

#include "commands/command.h"
#include "paint/paint_state.h"

#include <QPainter>
#include <QPixmap>

#include <algorithm>

namespace korvel {

namespace {

// Larger footprints are drawn at this size: a cursor pixmap must stay small.
constexpr int MaxCursorSide = 128;

ToolEvent EventAt(QPoint sample, int32_t pressure) {
    return {static_cast<double>(sample.x()), static_cast<double>(sample.y()), pressure};
}

} // namespace

bool ViewPainting::IsPaintCommand(int32_t id) {
    switch (id) {
    case CmdPaint:
    case CmdClone:
    case CmdPaintToolPaint:
    case CmdPaintToolBlur:
    case CmdPaintToolSharpen:
    case CmdPaintToolDig:
    case CmdPaintToolRaise:
    case CmdPaintToolErode:
    case CmdPaintToolAddNoise:
    case CmdPaintToolThermalErode:
    case CmdPaintToolHydraulicErode:
        return true;
    default:
        return false;
    }
}

Tool* ViewPainting::Current() const {
    return PaintStateOf(Ws).Active;
}

void ViewPainting::Leave() {
    if (Down)
        Release({}, -1);
    PaintState& state = PaintStateOf(Ws);
    state.Active = nullptr;
    state.ActivePreset = PresetNone;
}

std::string ViewPainting::Word(QPoint sample, int32_t pressure) {
    std::string word = std::to_string(sample.x()) + "," + std::to_string(sample.y());
    if (pressure >= 0)
        word += "@" + std::to_string(pressure);
    return word;
}

void ViewPainting::Record(std::vector<std::string> words) const {
    if (Recorded)
        Recorded(std::move(words));
}

SampleRect ViewPainting::Press(QPoint sample, int32_t pressure) {
    Tool* tool = Current();
    if (!tool)
        return {};
    PaintState& state = PaintStateOf(Ws);
    // The clone tool's Shift-click picks the source: a step of its own in the script.
    PickedSource = tool == &state.Cloner && state.Cloner.PickingSource();
    const bool strokes = tool != &state.Cloner || state.Cloner.Current() == CloneTool::SourceSet;
    const SampleRect redraw = tool->ButtonDown(EventAt(sample, pressure));
    if (PickedSource)
        Record({"clone-source", Word(sample, -1)});
    Down = strokes && !PickedSource;
    Words = {"stroke", Word(sample, pressure)};
    return redraw;
}

SampleRect ViewPainting::Move(QPoint sample, int32_t pressure) {
    Tool* tool = Current();
    // A move that the stamp's own message pumping delivers is not a stamp of its own, nor a
    // point of the recorded stroke.
    if (!tool || !Down || InStamp)
        return {};
    Words.push_back(Word(sample, pressure));
    InStamp = true;
    const SampleRect redraw = tool->Move(EventAt(sample, pressure));
    InStamp = false;
    return redraw;
}

SampleRect ViewPainting::Release(QPoint sample, int32_t pressure) {
    Tool* tool = Current();
    if (!tool)
        return {};
    const SampleRect redraw = tool->ButtonUp(EventAt(sample, pressure));
    if (Down)
        Record(std::move(Words));
    Down = false;
    Words.clear();
    return redraw;
}

void ViewPainting::Shift(bool down) {
    if (Tool* tool = Current())
        down ? tool->KeyDown(ToolKey::Shift) : tool->KeyUp(ToolKey::Shift);
}

QCursor ViewPainting::Cursor(double zoom) const {
    const Tool* tool = Current();
    if (tool && tool->PickingSource())
        return Qt::CrossCursor;
    const Brush& brush = PaintStateOf(Ws).Brushes.Current;
    const int w = std::clamp(static_cast<int>(brush.XSize * zoom), 3, MaxCursorSide);
    const int h = std::clamp(static_cast<int>(brush.YSize * zoom), 3, MaxCursorSide);
    QPixmap outline(w + 2, h + 2);
    outline.fill(Qt::transparent);
    QPainter p(&outline);
    for (const auto& [colour, inset] : {std::pair{Qt::white, 0}, std::pair{Qt::black, 1}}) {
        p.setPen(colour);
        const QRect box(inset, inset, w + 1 - 2 * inset, h + 1 - 2 * inset);
        if (brush.Type & BrushRound)
            p.drawEllipse(box);
        else
            p.drawRect(box);
    }
    p.end();
    return QCursor(outline, w / 2 + 1, h / 2 + 1);
}

} // namespace korvel
