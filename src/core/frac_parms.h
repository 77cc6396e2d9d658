#pragma once
// The surface-generation record held by every Surface; generation code lives elsewhere.

#include <cstdint>
#include <string>

namespace korvel {

// The surface types: 0 plasma, 1 an expression, 2 to 6 the fractals (fBm, multifractal, hetero
// terrain, hybrid and ridged multifractal).
constexpr int32_t SurfaceTypeFirst = 0;
constexpr int32_t SurfaceTypeLast = 6;

struct FracParms {
    int32_t Type = 6;
    int32_t Seed = 12345;
    std::string Func = "sinc(r)";
    double rf = 125.0;
    double irf = 4.0;
    double H = 1.0;
    double lacunarity = 2.0;
    double octaves = 5.0;
    double offset = 1.0;
    double fgain = 2.0;
    bool TexSphere = true;
    double xpos = -10.0, ypos = -10.0, zpos = -10.0;
    double xrange = 2.0, yrange = 2.0, zrange = 2.0;
    double Top = 90.0, Left = -180.0, Right = 180.0, Bottom = -90.0;
    double Az = 0.0, El = 90.0;
};

} // namespace korvel
