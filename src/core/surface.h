#pragma once
// The height field: a row-table grid of float elevations with its map record and pictures.

#include "core/frac_parms.h"
#include "core/image.h"
#include "core/interpolation.h"
#include "core/light_parms.h"
#include "core/selection_mask.h"
#include "core/texture_map.h"

#include <cstdint>

namespace korvel {

class Host;
class Progress;

class Surface {
public:
    static constexpr int32_t SurfaceHasSelection = 2;
    static constexpr int32_t SurfaceHasAuxImages = 4;
    // Sizes must stay below this in both directions.
    static constexpr int32_t SizeLimit = 150000;

    Surface() = default;
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;
    virtual ~Surface();

    // Messages of failed allocations go here; without a host they are only returned.
    void AttachHost(Host* host) { Messages = host; }

    // Discards the data: the new grid is all 0, and so are Min and Max. 0 done (or nothing to
    // do: data and extremes kept), -1 size refused, -2 out of memory (the Surface is then empty:
    // 0 x 0, no grid, no pictures).
    int32_t Resize(int32_t xsize, int32_t ysize, int32_t flags);
    // Keeps the overlapping samples; pictures and resolutions untouched. -2 keeps the old grid.
    int32_t ResizeKeep(int32_t xsize, int32_t ysize, int32_t flags);
    void SetEdges(double left, double right, double top, double bottom);
    // Samples that are NaN or infinite.
    int64_t CountNonFinite() const;
    // 0 with the extremes of the finite samples written (NaN and infinities are passed over),
    // -1 cancelled (outputs untouched).
    int32_t FindMinMax(double& min, double& max, Progress& progress) const;

    double SampleAt(double x, double y, const InterpSettings& interp) const;
    double SampleAtLatLon(double lat, double lon, const InterpSettings& interp) const;
    void XYToLatLon(double x, double y, double& lat, double& lon) const;
    void LatLonToXY(double lat, double lon, double& x, double& y) const;
    // Grid, map record and TextureMap; not the mask, lighting or generation records.
    // 0, or the Resize code when the copy could not be allocated.
    int32_t CopyFrom(const Surface& other);

    int32_t GetFlags() const { return Flags; }
    bool HasGrid() const { return Rows != nullptr; }

    int32_t XSize = 0;
    int32_t YSize = 0;
    double Top = -90.0;
    double Left = -180.0;
    double Right = 180.0;
    double Bottom = 90.0;
    double XRes = -360.0;
    double YRes = 180.0;
    double Min = 0.0;
    double Max = 1.0;
    float** Rows = nullptr;
    // Stale after an edit until shading/texture.h computes it for a reader.
    TextureMap Texture;
    Image AuxImage24;
    Image AuxImage8;
    SelectionMask Mask;
    LightParms Lighting;
    FracParms Generation;
    int32_t Flags = 0;

private:
    void ReleaseAll();
    void ReportAllocFailure() const;
    void RecomputeResolution();

    Host* Messages = nullptr;
};

} // namespace korvel
