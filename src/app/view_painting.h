#pragma once
// The paint and clone tools in the editor's view: the view's mouse, pen and Shift events go to
// the painting state's current Tool, the cursor shows the brush footprint at the view's zoom,
// and each stroke and source pick is handed on as korvel-cli words for the session script.
#include "paint/tool.h"

#include <QCursor>
#include <QPoint>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace korvel {

class Workspace;

class ViewPainting {
public:
    explicit ViewPainting(Workspace& ws) : Ws(ws) {}
    // The commands that make a paint or clone tool the view's tool.
    static bool IsPaintCommand(int32_t id);
    // The tool the events go to; nullptr when none is chosen.
    Tool* Current() const;
    // Another tool was chosen in the view: painting stops and no preset stays active.
    void Leave();

    // Events at a sample (column, row from the bottom) with the pen's pressure (-1 for none);
    // each gives the samples to redraw.
    SampleRect Press(QPoint sample, int32_t pressure);
    SampleRect Move(QPoint sample, int32_t pressure);
    SampleRect Release(QPoint sample, int32_t pressure);
    void Shift(bool down);
    bool Stroking() const { return Down; }

    // The brush footprint at zoom (pixels a sample); the cross while the clone tool picks its
    // source.
    QCursor Cursor(double zoom) const;

    // Receives "stroke X,Y ..." after each stroke and "clone-source X,Y" after each pick.
    std::function<void(std::vector<std::string>)> Recorded;

private:
    static std::string Word(QPoint sample, int32_t pressure);
    void Record(std::vector<std::string> words) const;
    Workspace& Ws;
    bool Down = false;
    bool PickedSource = false;
    bool InStamp = false;
    std::vector<std::string> Words;
};

} // namespace korvel
