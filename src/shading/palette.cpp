#include "shading/palette.h"

#include <algorithm>
#include <cmath>

namespace korvel {

namespace {

constexpr PackedColor Grey = PackColor(120, 120, 120);

// t into [0, 1]; a t that does not compare (NaN) counts as 0.
double Unit(double t) {
    if (!(t > 0.0))
        return 0.0;
    return std::min(t, 1.0);
}

// Truncated like the 24-bit shading, so that both depths give a colour the same bytes.
uint8_t Scaled(double v, double channel) {
    return static_cast<uint8_t>(std::clamp(255.0 * v * channel, 0.0, 255.0));
}

// Appends one shaded row of lp.Levels entries in colour c at next.
void AppendShadedRow(const LightParms& lp, const Rgb& c, PaletteLayout& layout, int32_t& next) {
    for (int32_t j = 0; j < lp.Levels; ++j) {
        // A single level has no fraction j / (Levels - 1); it shows the full colour.
        const double fraction = lp.Levels == 1 ? 1.0 : static_cast<double>(j) / (lp.Levels - 1);
        const double v = Unit(std::pow(fraction, lp.Gamma) + lp.Ambient);
        layout.Entries[static_cast<size_t>(next++)] =
            PackColor(Scaled(v, c.Red), Scaled(v, c.Green), Scaled(v, c.Blue));
    }
}

// Row r of rows along a list; a single row takes the first entry.
Rgb RowColor(const ColorList& list, int32_t r, int32_t rows) {
    const double t = rows > 1 ? static_cast<double>(r) / (rows - 1) : 0.0;
    return list.ColorAtRGB(static_cast<float>(t));
}

} // namespace

void AltitudeRange(const LightParms& lp, double surfaceMin, double surfaceMax, double& low,
                   double& high) {
    const double bottom = lp.AbsColor ? lp.AbsMin : surfaceMin;
    const double top = lp.AbsColor ? lp.AbsMax : surfaceMax;
    low = std::max(bottom, lp.SeaLevel);
    high = std::max(top, low);
}

PaletteLayout BuildPalette(LightParms& lp, double surfaceMin, double surfaceMax) {
    PaletteLayout layout;
    lp.Colors = std::clamp(lp.Colors, 2, layout.Usable);
    const int32_t most = layout.Usable / (lp.Colors - 1);
    if (lp.Levels < 1 || lp.Levels > most)
        lp.Levels = most;
    // A small Colors lets the clamp above admit more rows than 256 entries hold.
    if (1 + lp.Colors * lp.Levels > 256)
        lp.Levels = 255 / lp.Colors;
    AltitudeRange(lp, surfaceMin, surfaceMax, layout.AltLow, layout.AltHigh);
    layout.SeaRows = 1;
    layout.LandFirst = lp.Levels + 1;
    layout.LandRows = lp.Colors - 1;
    layout.Entries.fill(Grey);

    if (lp.Type == 1) {
        for (int32_t i = 0; i < layout.Usable; ++i) {
            const Rgb c = lp.AltColor.ColorAtRGB(
                static_cast<float>(static_cast<double>(i) / (layout.Usable - 1)));
            layout.Entries[static_cast<size_t>(layout.CodeFirst + i)] =
                PackColor(Scaled(1.0, c.Red), Scaled(1.0, c.Green), Scaled(1.0, c.Blue));
        }
        return layout;
    }
    int32_t next = layout.SeaFirst;
    for (int32_t r = 0; r < layout.SeaRows; ++r)
        AppendShadedRow(lp, RowColor(lp.SeaColor, r, layout.SeaRows), layout, next);
    for (int32_t r = 0; r < layout.LandRows; ++r)
        AppendShadedRow(lp, RowColor(lp.AltColor, r, layout.LandRows), layout, next);
    return layout;
}

int32_t PaletteIndex(const LightParms& lp, const PaletteLayout& layout, double intensity,
                     double h) {
    double t = 0.0;
    int32_t base = 0;
    int32_t rows = 0;
    if (h <= lp.SeaLevel) {
        if (lp.SeaOpacity >= 1.0)
            return 0;
        // At the sea surface t is 1, also when SeaLowest equals SeaLevel (0 / 0 otherwise), as
        // in the 24-bit picture.
        const double depth = lp.SeaLevel - h;
        t = depth == 0.0 ? 1.0 : Unit(1.0 - depth / (lp.SeaLevel - lp.SeaLowest));
        base = layout.SeaFirst;
        rows = layout.SeaRows;
    } else {
        if (lp.SeaFloat)
            h -= lp.SeaLevel;
        if (h >= layout.AltHigh)
            t = 1.0;
        else if (h >= layout.AltLow)
            t = Unit((h - layout.AltLow) / (layout.AltHigh - layout.AltLow));
        base = layout.LandFirst;
        rows = layout.LandRows;
    }
    int32_t index = 0;
    if (lp.Type == 1) {
        index = static_cast<int32_t>((layout.Usable - 1) * t) + layout.CodeFirst;
    } else {
        const int32_t levels = std::max(lp.Levels, 1);
        const auto row = static_cast<int32_t>((std::max(rows, 1) - 1) * t);
        const int32_t level =
            std::min(static_cast<int32_t>((levels - 1) * Unit(intensity)), levels - 1);
        index = levels * row + level + base;
    }
    // A record changed since the palette was built must still pick an existing entry.
    return std::clamp(index, 0, 255);
}

} // namespace korvel
