#pragma once
// The lighting and colouring record held by every Surface: how the elevations become the
// TextureMap. Plain data; the shading code computes with it.

#include "core/color_list.h"
#include "core/frac_parms.h"

#include <cstdint>

namespace korvel {

struct LightParms {
    LightParms() { ResetColorLists(); }

    // Empties AltColor, SeaColor and LatColor and refills them with the default ramps.
    void ResetColorLists();

    // 0 lighted (shaded), 1 height code.
    int32_t Type = 0;
    int32_t BitDepth = 24;
    int32_t Colors = 15;
    int32_t Levels = 15;
    double Ambient = 0.1;
    double Gamma = 2.0 / 3.0;
    ColorList AltColor;
    ColorList SeaColor;
    double SeaLevel = 0.0;
    double SeaLowest = -1000.0;
    // Kept and edited only; the colouring does not read it.
    int32_t SeaEqual = 0;
    // Land heights are measured from SeaLevel before the altitude lookup.
    int32_t SeaFloat = 0;
    double SeaSatMin = 0.0;
    double SeaSatMax = 0.3;
    double SeaOpacity = 0.0;
    double Corner = 0.0;
    double VertExag = 1.0;
    int32_t Unit = 1;
    double Az = 315.0;
    double El = 45.0;
    double LandOpacity = 0.0;
    int32_t AbsColor = 0;
    double AbsMax = 1000.0;
    double AbsMin = 0.0;
    ColorList LatColor;
    double IceNorth = 0.35;
    double IceSouth = 0.35;
    int32_t IceColor = 0xFFFFFF;
    double IceOpacity = 0.75;
    double FbmStrength = 0.1;
    FracParms FbmParms;
    int32_t BlendLat = 0;
    int32_t BlendAlt = 1;
    int32_t BlendSlope = 0;
    int32_t BlendFacing = 0;
    double BlendLatVal = 0.0;
    double BlendAltVal = 1.0;
    double BlendSlopeVal = 0.0;
    double BlendFacingVal = 0.0;
    // Kept and written only.
    double BlendFacingNDir = 0.0;
    double BlendFacingNVal = 0.5;
    double BlendFacingSDir = 180.0;
    double BlendFacingSVal = 0.5;
    // 0 same as north, 1 opposite north, 2 independent.
    int32_t FacingRelate = 0;
    ColorList NorthColor;
    ColorList SouthColor;
    ColorList SlopeColor;
};

} // namespace korvel
