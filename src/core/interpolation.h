#pragma once
// Interpolation of a row-table grid at fractional sample positions.

#include <cstdint>

namespace korvel {

enum InterpType : int32_t {
    InterpNearest = 0,
    InterpLinear = 1,
    InterpCatmullRom = 2,
    InterpBSpline = 3,
    InterpBetaSpline = 4,
};

// The "Interp" settings section.
struct InterpSettings {
    int32_t Type = InterpLinear;
    double Bias = 0.0;
    double Tension = 0.0;
};

// A cubic of the form s * (t^3 (M0 . p) + t^2 (M1 . p) + t (M2 . p) + (M3 . p)).
struct CubicBasis {
    double Scale;
    double M[4][4];

    double Evaluate(const double p[4], double t) const;
};

// Basis of the bicubic types 2..4; false for the others.
bool CubicBasisFor(const InterpSettings& settings, CubicBasis& basis);

// Samples grid (columns x rows) at (x, y): 0 outside, the stored sample on the last row or
// column, otherwise as settings.Type says.
double InterpolateGrid(float* const* grid, int32_t columns, int32_t rows, double x, double y,
                       const InterpSettings& settings);

} // namespace korvel
