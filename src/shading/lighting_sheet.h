#pragma once
// The rules of the "Lighting Settings" sheet that do not depend on the toolkit: what its OK
// does to the edited record and how the light-direction edits are limited.

#include "core/light_parms.h"

namespace korvel {

// The value the Intensity page shows for Gamma: its reciprocal, 0 for 0.
double ShownGamma(const LightParms& lp);

// Applies OK to the edited copy: BitDepth 24 or 8, Gamma from the shown value, blend weights
// made absolute and normalised (all zero: altitude only), and, without absolute colouring, the
// deepest sea colour at the Surface's Min.
void ApplyLightingSheet(LightParms& lp, double shownGamma, double surfaceMin);

// A typed azimuth: below 0 gives 0, 360 or more 359.99.
double LimitAzimuth(double az);
// A typed elevation: clamped to [-90, 90].
double LimitElevation(double el);

} // namespace korvel
