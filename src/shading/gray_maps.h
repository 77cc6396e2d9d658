#pragma once
// Single-purpose pictures of the Surface drawn into its TextureMap (picture) instead of the
// shaded one: they stay until the next change recomputes the ordinary picture and change no
// elevation.
// Each runs under a progress report and returns 0 done or -1 cancelled (the rows drawn so far
// stay); a Surface without a grid draws nothing and counts as done.

#include <cstdint>

namespace korvel {

class Image;
class Surface;
class Progress;

// Entry i becomes (i, i, i).
void InstallGreyPalette(Image& picture);

// Refreshes Min/Max first (a cancel there also gives -1), then spreads Min..Max over 0..255.
int32_t DrawHeightMap(Surface& s, Image& picture, Progress& p);

// The slope parameter s in [0, 1]: 1 is flat ground, 0 vertical.
struct SlopeRange {
    float Smallest = 0.0f;
    float Largest = 0.0f;
};
// 255·s per cell; fullRange adds a second pass that stretches Smallest..Largest over 0..255.
// range receives the extremes of s met (both 0 when no cell was drawn).
int32_t DrawSlopeMap(const Surface& s, Image& picture, Progress& p, bool fullRange,
                     SlopeRange& range);

// The compass direction the cell faces, once round the grey ramp (wrapping).
int32_t DrawPhaseMap(const Surface& s, Image& picture, Progress& p);
int32_t DrawQuiltMap(const Surface& s, Image& picture, Progress& p, double scale, double offset);
// Lambert light from the azimuth and elevation in degrees, no ambient.
int32_t DrawLightMap(const Surface& s, Image& picture, Progress& p, double azimuth,
                     double elevation);
// Two colours: sea (at or below seaLevel) white and land black, or the other way round.
int32_t DrawSeaMask(const Surface& s, Image& picture, Progress& p, double seaLevel, bool seaWhite);
// The grey of each cell's direction code, from black (code 0) to white (no higher neighbour).
int32_t DrawNeighbourMap(const Surface& s, Image& picture, Progress& p);
// Palette entries 0 .. 254 across the top 25 lines of the picture; nothing else changes.
void DrawColorRamp(Image& picture);

} // namespace korvel
