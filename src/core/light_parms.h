#pragma once
// The lighting and colouring record held by every Surface. Only the fields that operations
// outside shading read are here so far; the shading code brings the rest.

namespace korvel {

struct LightParms {
    // Samples at or below this elevation are sea.
    double SeaLevel = 0.0;
};

} // namespace korvel
