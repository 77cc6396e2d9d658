#pragma once
// What the "Altitude Key" window shows: a band of palette entries from the top of the altitude
// range down to its bottom, and the elevation labels beside it.

#include "shading/palette.h"

#include <cstdint>
#include <string>
#include <vector>

namespace korvel {

struct AltitudeKey {
    // One palette index per band row, the top row first.
    std::vector<int32_t> Band;
    // Up to 12 labels "<metres> m", each followed by three line feeds.
    std::string Labels;
};

// The key for the absolute range when lp.AbsColor is on, else for the Surface's Min..Max.
AltitudeKey BuildAltitudeKey(const LightParms& lp, const PaletteLayout& layout, double surfaceMin,
                             double surfaceMax, int32_t rows);

} // namespace korvel
