#pragma once
// What the paint and clone tools share: one undo snapshot a stroke, a stamp at each event with
// only its footprint re-shaded, and the Surface's extremes widened when the stroke ends.
#include "paint/brush_stamp.h"
#include "paint/tool.h"

#include <optional>
#include <string>

namespace korvel {

class BrushSet;
class Workspace;

// The sample a view or command-line position falls on (toward zero, as the tools have always
// taken it); false for a position no Surface reaches.
bool SampleOf(double position, int32_t& sample);

// Re-shades the changed cells and the one-sample border whose shading reads them, when the
// picture is up to date; a stale picture is computed whole when it is next read. The rectangle
// to redraw.
SampleRect ReshadeFootprint(Workspace& ws, const FootprintRect& area);

class Stroke {
public:
    Stroke(Workspace& ws, BrushSet& brushes) : Ws(ws), Brushes(brushes) {}
    // Button down: the snapshot, when undo is on.
    void Begin(const std::string& snapshotName);
    // One stamp of the pressure brush at (x, y), from source when cloning. Ignored while a stamp
    // is in progress (its pumped messages may deliver more events). The rectangle to redraw.
    SampleRect StampAt(int32_t x, int32_t y, int32_t pressure,
                       std::optional<SamplePosition> source);
    // Button up: Min and Max take in what the stroke wrote, so that no save clips it; the
    // picture is then shaded again for the new range.
    void End();
    bool InProgress() const { return Active; }

private:
    Workspace& Ws;
    BrushSet& Brushes;
    bool Active = false;
    bool Ready = true;
    bool Wrote = false;
    float Lowest = 0.0f;
    float Highest = 0.0f;
};

} // namespace korvel
