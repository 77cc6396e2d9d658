#include "core/surface.h"

#include "core/extremes.h"
#include "core/grid.h"
#include "core/host.h"
#include "core/progress.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace korvel {

namespace {
constexpr const char* AllocFailureText = "Can't alloc surface";
}

Surface::~Surface() {
    ReleaseAll();
}

void Surface::ReleaseAll() {
    GridFreeOf(Rows);
    Rows = nullptr;
    Texture.Release();
    AuxImage24.Release();
    AuxImage8.Release();
    Mask.Release();
}

void Surface::ReportAllocFailure() const {
    if (Messages)
        Messages->ShowMessage(AllocFailureText);
}

void Surface::RecomputeResolution() {
    XRes = (Right - Left) / XSize;
    YRes = (Top - Bottom) / YSize;
}

int32_t Surface::Resize(int32_t xsize, int32_t ysize, int32_t flags) {
    xsize &= ~3;
    if (!(xsize > 0 && xsize < SizeLimit && ysize > 0 && ysize < SizeLimit))
        return -1;
    if (flags < 0)
        flags = Flags;
    if (xsize == XSize && ysize == YSize && flags == Flags && Rows)
        return 0;
    ReleaseAll();
    XSize = xsize;
    YSize = ysize;
    Flags = flags;
    Rows = GridAllocOf<float>(XSize, YSize);
    // The picture keeps the lighting's depth, so palette pictures read into it stay indices.
    const int32_t depth = Lighting.BitDepth == 8 ? 8 : 24;
    bool ok = Rows != nullptr && Texture.Create(XSize, YSize, depth) == 0;
    if (ok && (Flags & SurfaceHasSelection))
        ok = Mask.Create(XSize, YSize) == 0;
    if (ok && (Flags & SurfaceHasAuxImages))
        ok = AuxImage24.Create(XSize, YSize, 24) == 0 && AuxImage8.Create(XSize, YSize, 8) == 0;
    if (!ok) {
        ReleaseAll();
        XSize = YSize = 0;
        ReportAllocFailure();
        return -2;
    }
    RecomputeResolution();
    // The extremes of the zero grid, so that nothing reads those of the data just discarded.
    Min = 0.0;
    Max = 0.0;
    return 0;
}

int32_t Surface::ResizeKeep(int32_t xsize, int32_t ysize, int32_t flags) {
    xsize &= ~3;
    if (!(xsize > 0 && xsize < SizeLimit && ysize > 0 && ysize < SizeLimit))
        return -1;
    if (flags < 0)
        flags = Flags;
    if (xsize == XSize && ysize == YSize && flags == Flags && Rows)
        return 0;
    float** grown = GridAllocOf<float>(xsize, ysize);
    if (!grown) {
        ReportAllocFailure();
        return -2;
    }
    if (Rows) {
        const int32_t rows = std::min(ysize, YSize);
        const int32_t columns = std::min(xsize, XSize);
        for (int32_t y = 0; y < rows; ++y)
            std::copy_n(Rows[y], columns, grown[y]);
        GridFreeOf(Rows);
    }
    Rows = grown;
    XSize = xsize;
    YSize = ysize;
    Flags = flags;
    return 0;
}

void Surface::SetEdges(double left, double right, double top, double bottom) {
    Left = left;
    Right = right;
    Top = top;
    Bottom = bottom;
    // A single row or column has no spacing to divide by; use the cell rule there instead.
    XRes = (Right - Left) / (XSize > 1 ? XSize - 1 : std::max(XSize, 1));
    YRes = (Top - Bottom) / (YSize > 1 ? YSize - 1 : std::max(YSize, 1));
}

int32_t Surface::FindMinMax(double& min, double& max, Progress& progress) const {
    progress.ProgressBegin("Finding surface minimum and maximum", 9);
    Extremes e;
    for (int32_t y = 0; y < YSize && Rows && !progress.CancelRequested(); ++y) {
        // NaN and the infinities say nothing about the range of the terrain.
        e.AddFinite(Rows[y], XSize);
        if (y % 8 == 0) {
            progress.ProgressUpdate(y, YSize);
            progress.PumpPendingMessage();
        }
    }
    progress.ProgressEnd();
    if (progress.ConsumeCancel())
        return -1;
    // Stored even when nothing was found: the far starting values say so.
    min = e.Lo;
    max = e.Hi;
    return 0;
}

int64_t Surface::CountNonFinite() const {
    int64_t count = 0;
    for (int32_t y = 0; y < YSize && Rows; ++y)
        for (int32_t x = 0; x < XSize; ++x)
            count += !(std::fabs(Rows[y][x]) <= std::numeric_limits<float>::max());
    return count;
}

double Surface::SampleAt(double x, double y, const InterpSettings& interp) const {
    return InterpolateGrid(Rows, XSize, YSize, x, y, interp);
}

double Surface::SampleAtLatLon(double lat, double lon, const InterpSettings& interp) const {
    double x;
    double y;
    LatLonToXY(lat, lon, x, y);
    return SampleAt(x, y, interp);
}

void Surface::XYToLatLon(double x, double y, double& lat, double& lon) const {
    lat = Top - YRes * y;
    lon = Left + XRes * x;
}

void Surface::LatLonToXY(double lat, double lon, double& x, double& y) const {
    x = (lon - Left) / XRes;
    y = (Top - lat) / YRes;
}

int32_t Surface::CopyFrom(const Surface& other) {
    if (&other == this)
        return 0;
    if (!other.Rows) {
        ReleaseAll();
        XSize = YSize = 0;
    } else {
        const int32_t code = Resize(other.XSize, other.YSize, other.Flags);
        if (code != 0)
            return code;
        GridCopyOf(Rows, other.Rows);
    }
    Top = other.Top;
    Left = other.Left;
    Right = other.Right;
    Bottom = other.Bottom;
    XRes = other.XRes;
    YRes = other.YRes;
    Min = other.Min;
    Max = other.Max;
    if (Texture.CopyFrom(other.Texture) != 0) {
        // A grid without its picture would pass for a complete copy.
        ReleaseAll();
        XSize = YSize = 0;
        ReportAllocFailure();
        return -2;
    }
    return 0;
}

} // namespace korvel
