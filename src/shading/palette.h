#pragma once
// The 256-entry palette of an 8-bit TextureMap: one sea row and Colors - 1 land rows of Levels
// shading steps each (or a 234-step height-code ramp), and the rule that picks an entry for an
// intensity and an elevation.

#include "core/image.h"
#include "core/light_parms.h"

#include <array>
#include <cstdint>

namespace korvel {

struct PaletteLayout {
    std::array<PackedColor, 256> Entries{};
    int32_t Usable = 234;
    int32_t SeaFirst = 1;
    int32_t SeaRows = 1;
    int32_t LandFirst = 16;
    int32_t LandRows = 14;
    int32_t CodeFirst = 1;
    // The elevation range the altitude colours span.
    double AltLow = 0.0;
    double AltHigh = 1.0;
};

// AltLow and AltHigh: the absolute range or the Surface's, never starting below sea level.
void AltitudeRange(const LightParms& lp, double surfaceMin, double surfaceMax, double& low,
                   double& high);

// Clamps Colors and Levels in lp (writing them back) so that every index fits in 256 entries,
// then fills the palette for lp.Type.
PaletteLayout BuildPalette(LightParms& lp, double surfaceMin, double surfaceMax);

// The entry for intensity (0..1) at elevation h; always 0..255.
int32_t PaletteIndex(const LightParms& lp, const PaletteLayout& layout, double intensity, double h);

} // namespace korvel
