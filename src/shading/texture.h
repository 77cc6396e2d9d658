#pragma once
// The TextureMap: the Surface's elevations turned into the picture the view shows, lit and
// coloured (24 bits) or as palette indices (8 bits), following the Surface's LightParms.

#include "core/status.h"

#include <cstdint>

namespace korvel {

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

// The refresh after a change: recreates the TextureMap when its depth or shape no longer match
// the Surface and LightParms.BitDepth, recomputes it whole and rebuilds its palette. The
// ComputeTexture result, or TextureNoPicture.
int32_t RecomputeTexture(Workspace& ws, bool showProgress);

} // namespace korvel
