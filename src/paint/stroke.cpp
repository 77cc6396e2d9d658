#include "paint/stroke.h"

#include "core/host.h"
#include "core/workspace.h"
#include "generate/evaluator.h"
#include "paint/brush_set.h"
#include "shading/texture.h"

#include <algorithm>
#include <cmath>

namespace korvel {

bool SampleOf(double position, int32_t& sample) {
    constexpr double Reach = 1 << 29;
    if (!(position > -Reach && position < Reach))
        return false;
    sample = static_cast<int32_t>(std::trunc(position));
    return true;
}

SampleRect ReshadeFootprint(Workspace& ws, const FootprintRect& area) {
    Surface& s = ws.TheSurface;
    if (area.Width <= 0 || area.Height <= 0)
        return {};
    const SampleRect changed{std::max(area.X0 - 1, 0), std::max(area.Y0 - 1, 0),
                             std::min(area.X0 + area.Width, s.XSize - 1),
                             std::min(area.Y0 + area.Height, s.YSize - 1)};
    if (!s.Texture.Stale())
        ComputeTexture(s, changed.X0, changed.Y0, changed.X1, changed.Y1, false,
                       {ws.TheProgress, ws.Noise, ws.General.Val_RDegm});
    return changed;
}

void Stroke::Begin(const std::string& snapshotName) {
    if (Ws.General.Undo > 0)
        Ws.Undo.Snapshot(snapshotName);
    Active = true;
    Wrote = false;
}

SampleRect Stroke::StampAt(int32_t x, int32_t y, int32_t pressure,
                           std::optional<SamplePosition> source) {
    if (!Ready || !Active)
        return {};
    Ready = false;
    Surface& s = Ws.TheSurface;
    Evaluator eval(s, Ws.Noise, Ws.Random, s.Generation);
    Brush& brush = Brushes.ForPressure(pressure, eval);
    StampReport report;
    const int32_t code = Stamp(brush, {s, Ws.TheProgress, Ws.Random, Ws.Thermal, Ws.Hydraulic}, x,
                               y, source, report);
    // Escape ends this stamp only; the stroke goes on with the next event.
    if (code == StampCancelled)
        Ws.TheProgress.CancelFlag = 0;
    SampleRect redraw;
    if (code != StampOutside) {
        if (report.Wrote) {
            Lowest = Wrote ? std::min(Lowest, report.Lowest) : report.Lowest;
            Highest = Wrote ? std::max(Highest, report.Highest) : report.Highest;
            Wrote = true;
        }
        redraw = ReshadeFootprint(Ws, report.Area);
        Ws.TheProgress.CancelFlag = 0;
    }
    Ready = true;
    return redraw;
}

void Stroke::End() {
    if (!Active)
        return;
    Active = false;
    Surface& s = Ws.TheSurface;
    if (!Wrote || (Lowest >= s.Min && Highest <= s.Max))
        return;
    s.Min = std::min<double>(s.Min, Lowest);
    s.Max = std::max<double>(s.Max, Highest);
    MarkTextureStale(Ws);
    Ws.TheHost.InvalidateView();
    Ws.TheHost.RepaintAltitudeKey();
}

} // namespace korvel
