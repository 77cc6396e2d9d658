#include "geo/projection_view.h"

#include "core/progress.h"
#include "core/surface.h"
#include "geo/angles.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace korvel {

TextureSampler::TextureSampler(const Image& texture, const Surface& map)
    : Texture(texture), Columns(std::min(map.XSize, texture.Width())),
      Rows(std::min(map.YSize, texture.Height())), Left(map.Left), Bottom(map.Bottom),
      XRes(map.XRes), YRes(map.YRes), TurnColumns(360.0 / std::fabs(map.XRes)) {}

bool TextureSampler::NodeAt(double lat, double lon, int32_t& column, int32_t& row) const {
    // The samples are the grid's nodes: the nearest one is taken.
    const double v = std::floor((lat - Bottom) / YRes + 0.5);
    if (!(v >= 0.0 && v < Rows))
        return false;
    const double u = (lon - Left) / XRes;
    double c = std::floor(u + 0.5);
    // A longitude beyond the map's far edge may lie on it one turn round; a map narrower than a
    // turn has nothing to show there, rather than its own columns again.
    if (c >= Columns)
        c = std::floor(u - TurnColumns + 0.5);
    else if (c < 0.0)
        c = std::floor(u + TurnColumns + 0.5);
    if (!(c >= 0.0 && c < Columns))
        return false;
    column = static_cast<int32_t>(c);
    row = static_cast<int32_t>(v);
    return true;
}

bool TextureSampler::ColorAt(double lat, double lon, PackedColor& color) const {
    int32_t column = 0;
    int32_t row = 0;
    if (!NodeAt(lat, lon, column, row))
        return false;
    const PackedColor pixel = Texture.GetPixel(column, row);
    color = Texture.BitsPerPixel() == 8 ? Texture.Palette[pixel & 0xFF] : pixel;
    return true;
}

PlaneFrame::PlaneFrame(int32_t width, int32_t height, double zoom)
    : Width(width), Height(height),
      Scale(2.0 / (UsableZoom(zoom) * std::max(1, std::min(width, height)))) {}

double UsableZoom(double zoom) {
    return zoom >= MinimumZoom ? zoom : MinimumZoom;
}

int32_t PreviewStep(double resolution) {
    if (!(resolution >= 1.0))
        return 1;
    return static_cast<int32_t>(std::min(resolution, 10.0));
}

void SetCenter(MapProjectionFields& view, double longitude, double latitude) {
    if (!std::isfinite(longitude) || !std::isfinite(latitude))
        return;
    view.Longitude = WrapLongitudeDegrees(longitude);
    double lat = std::remainder(latitude, 360.0);
    if (lat > 90.0)
        lat = 180.0 - lat;
    else if (lat < -90.0)
        lat = -180.0 - lat;
    // Just short of the poles, where the conics and cylinders have no centre.
    constexpr double Limit = static_cast<double>(89.999f);
    view.Latitude = std::clamp(lat, -Limit, Limit);
}

std::unique_ptr<Projection> ProjectionForView(const MapProjectionFields& view,
                                              std::string& reason) {
    std::unique_ptr<Projection> projection = CreateProjection(view.Index);
    if (!projection) {
        reason = "There is no projection number " + std::to_string(view.Index) + " (0.." +
                 std::to_string(ProjectionCount - 1) + ")";
        return nullptr;
    }
    if (projection->Init(view.Latitude * DegreesToRadians, view.Longitude * DegreesToRadians, 0.0,
                         0.0, 1.0, 1.0, view.Top * DegreesToRadians,
                         view.Bottom * DegreesToRadians) != ProjectionReady) {
        reason = projection->Refusal();
        return nullptr;
    }
    return projection;
}

void ProjectRow(const Projection& projection, const PlaneFrame& frame,
                const TextureSampler& sampler, int32_t row, int32_t step, uint8_t* bgr) {
    const double y = frame.Y(row);
    for (int32_t column = 0; column < frame.Width; column += step) {
        double lat = 0.0;
        double lon = 0.0;
        if (projection.Inverse(frame.X(column), y, lat, lon) != ProjectionInside)
            continue;
        PackedColor color = 0;
        if (!sampler.ColorAt(lat * RadiansToDegrees, lon * RadiansToDegrees, color))
            continue;
        const int32_t end = std::min(frame.Width, column + step);
        for (int32_t c = column; c < end; ++c)
            PutBgr(bgr + 3 * static_cast<ptrdiff_t>(c), color);
    }
}

int32_t RenderProjectionPreview(const MapProjectionFields& view, const Image& texture,
                                const Surface& map, Image& out, Progress& progress,
                                std::string& reason) {
    if (!out.IsEmpty())
        std::memset(out.Data(), 0, out.ByteCount());
    const std::unique_ptr<Projection> projection = ProjectionForView(view, reason);
    if (!projection)
        return PreviewRefused;
    if (out.IsEmpty() || out.BitsPerPixel() != 24)
        return PreviewDone;
    progress.CancelFlag = 0;
    const TextureSampler sampler(texture, map);
    const PlaneFrame frame(out.Width(), out.Height(), view.Zoom);
    const int32_t step = PreviewStep(view.Resolution);
    for (int32_t row = 0; row < out.Height(); row += step) {
        ProjectRow(*projection, frame, sampler, row, step, out.Row(row));
        const int32_t end = std::min(out.Height(), row + step);
        for (int32_t r = row + 1; r < end; ++r)
            std::memcpy(out.Row(r), out.Row(row), static_cast<size_t>(out.Stride()));
        progress.PumpPendingMessage();
        if (progress.ConsumeCancel())
            return PreviewCancelled;
    }
    return PreviewDone;
}

} // namespace korvel
