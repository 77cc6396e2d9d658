#pragma once
// What the "Map Projection" dialog shows: the TextureMap re-drawn in the chosen projection. The
// picture works backwards, asking the projection where each pixel lies on the sphere and taking
// the TextureMap's sample there; the preview and the BMP export share it.

#include "core/image.h"
#include "core/projection_fields.h"
#include "geo/projection.h"

#include <cstdint>
#include <memory>
#include <string>

namespace korvel {

class Progress;
class Surface;

// The TextureMap read by latitude and longitude (degrees), through the palette of an 8-bit one.
class TextureSampler {
public:
    TextureSampler(const Image& texture, const Surface& map);
    // False where the map has no sample: beyond its edges once a longitude one whole turn away
    // has been tried.
    bool ColorAt(double lat, double lon, PackedColor& color) const;
    // The sample (column, row from the bottom) taken there; false where there is none.
    bool NodeAt(double lat, double lon, int32_t& column, int32_t& row) const;

private:
    const Image& Texture;
    int32_t Columns;
    int32_t Rows;
    double Left;
    double Bottom;
    double XRes;
    double YRes;
    // Columns in one turn of longitude.
    double TurnColumns;
};

// Picture pixels to plane coordinates: zoom 1 puts -1..1 across the shorter side, north up
// (picture rows counted from the bottom, as an Image stores them).
struct PlaneFrame {
    PlaneFrame(int32_t width, int32_t height, double zoom);
    double X(double column) const { return (column + 0.5 - 0.5 * Width) * Scale; }
    double Y(double row) const { return (row + 0.5 - 0.5 * Height) * Scale; }
    int32_t Width;
    int32_t Height;
    double Scale;
};

constexpr double MinimumZoom = 1e-5;

// The zoom as used: at least MinimumZoom (NaN too).
double UsableZoom(double zoom);
// The preview's block size: the resolution clamped to 1..10 and truncated.
int32_t PreviewStep(double resolution);

// Moves the centre (degrees) as a drag of the preview does: the longitude wrapped into
// -180..180, the latitude folded over the poles and kept just short of them (+-89.999).
void SetCenter(MapProjectionFields& view, double longitude, double latitude);

// The projection the fields choose, set up on the unit sphere about their centre with their
// parallels; nullptr with reason when the index or the parameters are unusable.
std::unique_ptr<Projection> ProjectionForView(const MapProjectionFields& view, std::string& reason);

// Paints one picture row (24-bit, Width pixels from bgr), one projection per step x step block
// starting at each multiple of step; pixels without a place are left as they are.
void ProjectRow(const Projection& projection, const PlaneFrame& frame,
                const TextureSampler& sampler, int32_t row, int32_t step, uint8_t* bgr);

enum PreviewStatus : int32_t {
    PreviewDone = 0,
    PreviewCancelled = 1, // Escape: the rows drawn so far stay
    PreviewRefused = -1,  // the projection cannot be set up: reason says why
};

// Clears out (a 24-bit picture of the preview's size) and draws the projected TextureMap into
// it, polling the cancel flag after each row of blocks.
int32_t RenderProjectionPreview(const MapProjectionFields& view, const Image& texture,
                                const Surface& map, Image& out, Progress& progress,
                                std::string& reason);

} // namespace korvel
