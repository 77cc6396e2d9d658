#include "core/interpolation.h"

#include <algorithm>
#include <cmath>

namespace korvel {

double CubicBasis::Evaluate(const double p[4], double t) const {
    double c[4];
    for (int i = 0; i < 4; ++i)
        c[i] = M[i][0] * p[0] + M[i][1] * p[1] + M[i][2] * p[2] + M[i][3] * p[3];
    return Scale * (((c[0] * t + c[1]) * t + c[2]) * t + c[3]);
}

bool CubicBasisFor(const InterpSettings& settings, CubicBasis& basis) {
    switch (settings.Type) {
    case InterpCatmullRom:
        basis = {0.5, {{-1, 3, -3, 1}, {2, -5, 4, -1}, {-1, 0, 1, 0}, {0, 2, 0, 0}}};
        return true;
    case InterpBSpline:
        basis = {1.0 / 6.0, {{-1, 3, -3, 1}, {3, -6, 3, 0}, {-3, 0, 3, 0}, {1, 4, 1, 0}}};
        return true;
    case InterpBetaSpline: {
        const double b = settings.Bias;
        const double c = settings.Tension;
        const double b2 = b * b;
        const double b3 = b2 * b;
        const double d = 2 * b3 + 4 * (b2 + b) + c + 2;
        basis = {1.0 / d,
                 {{-2 * b3, 2 * (b3 + b2 + b + c), -2 * (b2 + b + c + 1), 2},
                  {6 * b3, -3 * (2 * b3 + 2 * b2 + c), 3 * (2 * b2 + c), 0},
                  {-6 * b3, 6 * (b3 - b), 6 * b, 0},
                  {2 * b3, 4 * (b2 + b) + c, 2, 0}}};
        return true;
    }
    default:
        return false;
    }
}

double InterpolateGrid(float* const* grid, int32_t columns, int32_t rows, double x, double y,
                       const InterpSettings& settings) {
    // NaN and far-away positions fall outside rather than into an integer conversion.
    if (!(x > -1.0 && y > -1.0 && x < columns && y < rows) || !grid)
        return 0.0;
    const auto xi = static_cast<int32_t>(std::trunc(x));
    const auto yi = static_cast<int32_t>(std::trunc(y));
    if (xi < 0 || yi < 0 || xi >= columns || yi >= rows)
        return 0.0;
    if (xi == columns - 1 || yi == rows - 1)
        return grid[yi][xi];
    const double fx = x - xi;
    const double fy = y - yi;
    if (settings.Type == InterpLinear) {
        const double lower = grid[yi][xi] + fx * (grid[yi][xi + 1] - grid[yi][xi]);
        const double upper = grid[yi + 1][xi] + fx * (grid[yi + 1][xi + 1] - grid[yi + 1][xi]);
        return lower + fy * (upper - lower);
    }
    CubicBasis basis;
    if (!CubicBasisFor(settings, basis))
        return grid[yi][xi];
    double reduced[4];
    for (int j = 0; j < 4; ++j) {
        const float* row = grid[std::clamp(yi - 1 + j, 0, rows - 1)];
        double p[4];
        for (int i = 0; i < 4; ++i)
            p[i] = row[std::clamp(xi - 1 + i, 0, columns - 1)];
        reduced[j] = basis.Evaluate(p, fx);
    }
    return basis.Evaluate(reduced, fy);
}

} // namespace korvel
