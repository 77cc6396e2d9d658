#include "shading/lighting_sheet.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>

namespace korvel {

double ShownGamma(const LightParms& lp) {
    return lp.Gamma == 0.0 ? 0.0 : 1.0 / lp.Gamma;
}

void ApplyLightingSheet(LightParms& lp, double shownGamma, double surfaceMin) {
    lp.BitDepth = lp.BitDepth == 24 ? 24 : 8;
    lp.Gamma = shownGamma == 0.0 ? 0.0 : 1.0 / shownGamma;

    const std::array<std::reference_wrapper<double>, 4> weights{
        lp.BlendLatVal, lp.BlendAltVal, lp.BlendSlopeVal, lp.BlendFacingVal};
    double sum = 0.0;
    for (double& w : weights) {
        w = std::fabs(w);
        sum += w;
    }
    // An infinite or NaN weight cannot be normalised either; fall back like an all-zero set.
    if (sum >= 1e-7 && std::isfinite(sum)) {
        for (double& w : weights)
            w /= sum;
    } else {
        for (double& w : weights)
            w = 0.0;
        lp.BlendAltVal = 1.0;
    }

    if (!lp.AbsColor)
        lp.SeaLowest = surfaceMin;
}

double LimitAzimuth(double az) {
    if (!(az >= 0.0))
        return 0.0;
    return az >= 360.0 ? 359.99 : az;
}

double LimitElevation(double el) {
    if (std::isnan(el))
        return 0.0;
    return std::clamp(el, -90.0, 90.0);
}

} // namespace korvel
