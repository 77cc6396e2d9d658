#include "commands/resample_commands.h"

#include "core/workspace.h"
#include "edit/resample.h"

#include <array>

namespace korvel {

void PrefillResample(Workspace& ws) {
    const Surface& s = ws.TheSurface;
    ws.ResampleTo = {s.XSize, s.YSize, s.Top, s.Left, s.Right, s.Bottom};
}

int32_t RunResample(Workspace& ws) {
    const ResampleFields& r = ws.ResampleTo;
    return Resample(ws.TheSurface, ws.TheProgress, ws.TheHost, ws.Interp, r.Left, r.Right, r.Top,
                    r.Bottom, r.XSize, r.YSize);
}

int32_t RunQuadResample(Workspace& ws) {
    const QuadResampleFields& f = ws.QuadResample;
    const Surface& s = ws.TheSurface;
    const auto point = [&](const QuadCorner& c) {
        if (f.Units == QuadPlaneUnits)
            return QuadPoint{(c.Lat - s.Bottom) / s.YRes, (c.Lon - s.Left) / s.XRes};
        return QuadPoint{c.Lat, c.Lon};
    };
    const std::array<QuadPoint, 4> corners = {point(f.LowerLeft), point(f.UpperLeft),
                                              point(f.LowerRight), point(f.UpperRight)};
    return QuadResample(ws.TheSurface, ws.TheProgress, ws.TheHost, ws.Interp, corners, f.Width,
                        f.Height);
}

} // namespace korvel
