#pragma once
// The TextureMap: the Surface's elevations turned into the picture the view shows, lit and
// coloured (24 bits) or as palette indices (8 bits), following the Surface's LightParms.

#include "core/status.h"

#include <cstdint>

namespace korvel {

class Image;
class NoiseBasis;
class Progress;
class Surface;
class Workspace;

enum TextureStatus : int32_t {
    TextureDone = 0,
    TextureCancelled = 1,
    TextureEmpty = -1,
    TextureNoPicture = -2, // the picture could not be allocated
};
extern const StatusTable TextureTexts;

struct ShadingInputs {
    Progress& TheProgress;
    // The fBm colour noise.
    NoiseBasis& Noise;
    // Turns XRes/YRes into metres when unit lighting is off.
    double MetresPerDegree = 111096.0;
};

// Recomputes the pixels of columns x0..x1 and rows y0..y1 (any order, clamped to the Surface).
// TextureDone; TextureCancelled when the cancel flag stopped it (rows done so far stay, the flag
// is left set for the caller); TextureEmpty for a Surface without samples.
int32_t ComputeTexture(Surface& s, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                       bool showProgress, const ShadingInputs& in);

// After a change of the elevations or the lighting: the picture is computed when it is next read.
// What the computation did besides the pixels happens now, as it would have: the lighting's
// Colors and Levels are clamped to the palette, and the colour noise draws its tables from the
// shared random stream before anything else uses the stream.
void MarkTextureStale(Workspace& ws);

// Computes a stale TextureMap (with progress): recreated when its depth or shape no longer match
// the Surface and LightParms.BitDepth, recomputed whole, palette rebuilt. A cancel keeps the rows
// done so far and the picture counts as up to date, as after an edit's refresh. The
// ComputeTexture result (TextureDone for a picture already fresh), or TextureNoPicture when the
// picture could not be allocated (it then stays stale).
int32_t UpdateTexture(Workspace& ws);
// The picture to read (save, show): UpdateTexture first.
const Image& CurrentTexture(Workspace& ws);
// The picture to draw on (gray maps, overlays, pictures read in): UpdateTexture first, so that
// what is not drawn over shows the Surface; what is drawn then stays until the next change.
Image& TextureToDrawOn(Workspace& ws);

} // namespace korvel
