#include "commands/surface_operations.h"

#include "commands/command_table_builder.h"
#include "core/host.h"
#include "core/startup.h"
#include "core/workspace.h"

#include <algorithm>
#include <cstdio>

namespace korvel {

namespace {

// The grid's float, the picture's pixel and the masks the Surface carries now.
uint64_t BytesPerSample(const Surface& s) {
    uint64_t bytes = sizeof(float) + (s.Lighting.BitDepth == 8 ? 1u : 3u);
    if (s.GetFlags() & Surface::SurfaceHasSelection)
        bytes += 1;
    if (s.GetFlags() & Surface::SurfaceHasAuxImages)
        bytes += 4;
    return bytes;
}

// Resize releases the old grid before it allocates the new one, so a size that cannot fit is
// refused up front rather than leaving no Surface (or paging for minutes).
int32_t RefuseUnlessItFits(Workspace& ws, int32_t width, int32_t height) {
    const std::string shortfall =
        MemoryShortfall(width & ~3, height, BytesPerSample(ws.TheSurface), AvailableMemoryBytes());
    if (shortfall.empty())
        return 0;
    ws.TheHost.ShowMessage(shortfall);
    return -2;
}

void PrefillNewSurface(Workspace& ws) {
    const Surface& s = ws.TheSurface;
    ws.NewSize = {s.XSize, s.YSize};
    ws.NewEdges = {s.Top, s.Left, s.Right, s.Bottom};
}

int32_t RunNewSurface(Workspace& ws) {
    Surface& s = ws.TheSurface;
    if (const int32_t code = RefuseUnlessItFits(ws, ws.NewSize.Width, ws.NewSize.Height))
        return code;
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
    if (const int32_t code = RefuseUnlessItFits(ws, ws.CalcSize.Width, ws.CalcSize.Height))
        return code;
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

// The refresh rule of the row does the work.
int32_t RunRefreshDisplay(Workspace&) {
    return 0;
}

int32_t RunFlushAbort(Workspace& ws) {
    ws.TheProgress.CancelFlag = 0;
    return 0;
}

double Gigabytes(uint64_t bytes) {
    return static_cast<double>(bytes) / (1024.0 * 1024.0 * 1024.0);
}

} // namespace

std::string MemoryShortfall(int32_t width, int32_t height, uint64_t bytesPerSample,
                            uint64_t available) {
    if (width <= 0 || height <= 0 || available == 0)
        return {};
    const uint64_t needed =
        static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * bytesPerSample;
    if (needed <= available)
        return {};
    char text[256];
    std::snprintf(text, sizeof text,
                  "A %d x %d Surface needs %.1f GB for its grid and picture, but only %.1f GB "
                  "of memory is available",
                  width, height, Gigabytes(needed), Gigabytes(available));
    return text;
}

void BindSurfaceCommands(CommandTableBuilder& table) {
    table
        .BindDialog(
            CmdNew, RunNewSurface, PrefillNewSurface, "new",
            {RunTimeField<&Workspace::NewSize, &SurfaceSizeFields::Width>("new.Width", "Width", 0,
                                                                          Surface::SizeLimit - 1),
             RunTimeField<&Workspace::NewSize, &SurfaceSizeFields::Height>(
                 "new.Height", "Height", 0, Surface::SizeLimit - 1),
             RunTimeField<&Workspace::NewEdges, &SurfaceEdgeFields::Top>("new.Top", "Top"),
             RunTimeField<&Workspace::NewEdges, &SurfaceEdgeFields::Left>("new.Left", "Left"),
             RunTimeField<&Workspace::NewEdges, &SurfaceEdgeFields::Right>("new.Right", "Right"),
             RunTimeField<&Workspace::NewEdges, &SurfaceEdgeFields::Bottom>("new.Bottom",
                                                                            "Bottom")})
        .Effect = "Replaces the Surface with an all-zero one of the new size and edges (the "
                  "width is rounded down to a multiple of 4).";
    table
        .BindDialog(CmdSize, RunSurfaceSize, PrefillSurfaceSize, "size",
                    {RunTimeField<&Workspace::CalcSize, &SurfaceSizeFields::Width>(
                         "size.Width", "Image Width", 0, 1000000),
                     RunTimeField<&Workspace::CalcSize, &SurfaceSizeFields::Height>(
                         "size.Height", "Image Height", 0, 1000000)})
        .Effect = "Discards the elevations: the Surface of the new size is all 0. Use "
                  "`resample` to keep them.";
    table
        .BindDialog(
            CmdMapInfo, RunMapInfo, PrefillMapInfo, "map-info",
            {RunTimeField<&Workspace::MapInfoEdges, &SurfaceEdgeFields::Top>("map-info.Top", "Top"),
             RunTimeField<&Workspace::MapInfoEdges, &SurfaceEdgeFields::Left>("map-info.Left",
                                                                              "Left"),
             RunTimeField<&Workspace::MapInfoEdges, &SurfaceEdgeFields::Right>("map-info.Right",
                                                                               "Right"),
             RunTimeField<&Workspace::MapInfoEdges, &SurfaceEdgeFields::Bottom>("map-info.Bottom",
                                                                                "Bottom")})
        .Effect = "Sets the four edges of the map record; the elevations stay as they are.";
    table.Bind(CmdFindMinMax, RunFindMinMax).Effect =
        "Rescans the whole grid for its lowest and highest elevation.";
    table.Bind(CmdRelight, RunFindMinMax).Effect =
        "Rescans the extremes and shades the picture anew; the elevations stay.";
    table.Bind(CmdRefreshDisplay, RunRefreshDisplay).Effect = "Redraws the view; nothing changes.";
    table.Bind(CmdFlushAbort, RunFlushAbort).Effect =
        "Clears a cancel request left over; nothing else changes.";
}

} // namespace korvel
