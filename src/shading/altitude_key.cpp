#include "shading/altitude_key.h"

#include "generate/block_values.h"

#include <cstdlib>

namespace korvel {

AltitudeKey BuildAltitudeKey(const LightParms& lp, const PaletteLayout& layout, double surfaceMin,
                             double surfaceMax, int32_t rows) {
    const double top = lp.AbsColor ? lp.AbsMax : surfaceMax;
    const double bottom = lp.AbsColor ? lp.AbsMin : surfaceMin;
    const double range = top - bottom;
    AltitudeKey key;
    if (rows > 0) {
        key.Band.reserve(static_cast<size_t>(rows));
        double t = 1.0;
        for (int32_t y = 0; y < rows; ++y, t -= 1.0 / rows)
            key.Band.push_back(PaletteIndex(lp, layout, 1.0, bottom + t * range));
    }
    constexpr int32_t MaxLabels = 12;
    const double step = range * 0.125;
    // Rounding in top - k·step must not lose the bottom label.
    const double lowest = bottom - std::abs(range) * 1e-9;
    for (int32_t k = 0; k < MaxLabels; ++k) {
        const double v = top - k * step;
        if (!(v >= lowest))
            break;
        AppendFormat(key.Labels, "%0.0f m\n\n\n", v);
        // A flat range has one elevation to name.
        if (!(step > 0.0))
            break;
    }
    return key;
}

} // namespace korvel
