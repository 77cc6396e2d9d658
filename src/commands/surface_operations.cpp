#include "commands/operations.h"

#include "core/host.h"
#include "core/workspace.h"

#include <algorithm>

namespace korvel {

void PrefillNewSurface(Workspace& ws) {
    const Surface& s = ws.TheSurface;
    ws.NewSize = {s.XSize, s.YSize};
    ws.NewEdges = {s.Top, s.Left, s.Right, s.Bottom};
}

int32_t RunNewSurface(Workspace& ws) {
    Surface& s = ws.TheSurface;
    const bool sameSize = (ws.NewSize.Width & ~3) == s.XSize && ws.NewSize.Height == s.YSize;
    const int32_t code = s.Resize(ws.NewSize.Width, ws.NewSize.Height, -1);
    if (code != 0)
        return code;
    // Resize keeps the data when the size is unchanged, but a new surface starts flat.
    if (sameSize) {
        for (int32_t y = 0; y < s.YSize; ++y)
            std::fill_n(s.Rows[y], s.XSize, 0.0f);
        s.Min = s.Max = 0.0;
    }
    s.SetEdges(ws.NewEdges.Left, ws.NewEdges.Right, ws.NewEdges.Top, ws.NewEdges.Bottom);
    return 0;
}

void PrefillSurfaceSize(Workspace& ws) {
    ws.CalcSize = {ws.TheSurface.XSize, ws.TheSurface.YSize};
}

int32_t RunSurfaceSize(Workspace& ws) {
    return ws.TheSurface.Resize(ws.CalcSize.Width, ws.CalcSize.Height, -1);
}

void PrefillMapInfo(Workspace& ws) {
    const Surface& s = ws.TheSurface;
    ws.MapInfoEdges = {s.Top, s.Left, s.Right, s.Bottom};
}

int32_t RunMapInfo(Workspace& ws) {
    const SurfaceEdgeFields& e = ws.MapInfoEdges;
    ws.TheSurface.SetEdges(e.Left, e.Right, e.Top, e.Bottom);
    return 0;
}

int32_t RunFindMinMax(Workspace& ws) {
    Surface& s = ws.TheSurface;
    return s.FindMinMax(s.Min, s.Max, ws.TheProgress);
}

int32_t RunRelight(Workspace& ws) {
    return RunFindMinMax(ws);
}

// The refresh rule of the row does the work.
int32_t RunRefreshDisplay(Workspace&) {
    return 0;
}

int32_t RunFlushAbort(Workspace& ws) {
    ws.TheProgress.CancelFlag = 0;
    return 0;
}

int32_t RunThermal(Workspace& ws) {
    ws.TheHost.ShowMessage("Thermal erosion is currently unimplemented");
    return 0;
}

bool HasSelectionMask(const Workspace& ws) {
    const Surface& s = ws.TheSurface;
    return (s.GetFlags() & Surface::SurfaceHasSelection) != 0 && s.Mask.Exists();
}

bool HasNoSelectionMask(const Workspace& ws) {
    return !HasSelectionMask(ws);
}

} // namespace korvel
