#include "generate/evaluator.h"

// The built-in table of the expression language: every operator, variable and function by its
// keyword code, with the guards that keep every input away from undefined results.

#include "core/frac_parms.h"
#include "core/noise.h"
#include "core/random.h"
#include "core/surface.h"
#include "generate/keywords.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace korvel {

namespace {

// The language's pi has always been this rounded value; expressions written for it expect it.
constexpr double LanguagePi = 3.14159265359;
constexpr double LanguageE = 2.718281828459045;
// What the guarded operations give for an unbounded result.
constexpr double Huge = 1e20;
constexpr double Tiny = 1e-7;
// The standard library's Bessel functions lose all accuracy somewhat above order 290 (values of
// J far beyond 1), and the second kind gets slower with the order; higher orders give 0.
constexpr double MaxBesselOrder = 250.0;
// Past about 1083 turns log10(m) / 2^(i+1) is below the smallest double for every finite m, so
// more turns cannot change the result; the cap keeps a huge limit from stalling a generation.
constexpr double MaxQfracTurns = 1100.0;

bool Truth(double v) {
    return std::fabs(v) > 1e-10;
}

double AsValue(bool v) {
    return v ? 1.0 : 0.0;
}

double Divide(double a, double b) {
    // Written negated so that a NaN divisor passes through instead of counting as small.
    if (!(std::fabs(b) < Tiny))
        return a / b;
    if (a == 0.0 || b == 0.0)
        return 0.0;
    return std::signbit(a) == std::signbit(b) ? Huge : -Huge;
}

double Logarithm(double a, double (*log)(double)) {
    return std::fabs(a) < Tiny ? -Huge : log(a);
}

// The whole order the Bessel built-ins use, or -1 when they answer 0 for it. Orders between -1
// and 0 truncate to order 0, as they always have.
double BesselOrder(double n) {
    const double k = std::trunc(n);
    return k >= 0.0 && k <= MaxBesselOrder ? k : -1.0;
}

double BesselJ(double n, double v) {
    const double k = BesselOrder(n);
    if (k < 0.0)
        return 0.0;
    // Both kinds fall to 0 at infinity, where the library gives NaN.
    if (std::isinf(v))
        return 0.0;
    // The library refuses negative arguments; for a whole order J_k(-v) = (-1)^k J_k(v).
    if (v < 0.0) {
        const double j = std::cyl_bessel_j(k, -v);
        return static_cast<int32_t>(k) % 2 != 0 ? -j : j;
    }
    return std::cyl_bessel_j(k, v);
}

// Y_k falls to minus infinity at 0 and has no real value below; both, and the library's own
// overflow (minus infinity or NaN close to 0), give -1e20 as a logarithm of 0 does.
double BesselY(double n, double v) {
    const double k = BesselOrder(n);
    if (k < 0.0)
        return 0.0;
    if (v <= 0.0)
        return -Huge;
    // At plus infinity Y falls to 0 as J does.
    if (!std::isfinite(v))
        return std::isnan(v) ? v : 0.0;
    const double y = std::cyl_neumann(k, v);
    return std::isnan(y) ? -Huge : std::max(y, -Huge);
}

double Dist(const double* a, int32_t count, double x, double y) {
    switch (count) {
    case 0:
        return std::hypot(x, y);
    case 1:
        return std::hypot(x, y, a[0]);
    case 2:
        return std::hypot(a[0], a[1]);
    case 3:
        return std::hypot(a[0], a[1], a[2]);
    case 4:
        return std::hypot(a[0] - a[2], a[1] - a[3]);
    case 6:
        return std::hypot(a[0] - a[3], a[1] - a[4], a[2] - a[5]);
    default:
        return 0.0;
    }
}

// crater(rad, rim, height, depth, power): a bowl rising from depth at the centre to height at
// the rim, then falling linearly to 0 at rad = 1.
double Crater(const double* a) {
    const double rad = a[0], rim = a[1], height = a[2], depth = a[3], power = a[4];
    if (rad > 1.0 || rad < 0.0)
        return 0.0;
    if (rad <= rim) {
        // Written as 1 - cos, which cannot dip below 0 and make a fractional power NaN. The
        // centre is 0 for every rim, also a rim of 0 where rad / rim would be 0 / 0.
        const double h = rad == 0.0 ? 0.0 : (1.0 - std::cos(std::numbers::pi * rad / rim)) / 2.0;
        return depth + (height - depth) * std::pow(h, power);
    }
    return height * (1.0 - (rad - rim) / (1.0 - rim));
}

// qfrac(px, py, ca, cb, radius, limit): escape time of z <- z^2 + c from z = (px, py).
double Qfrac(const double* a, int32_t count, double x, double y) {
    double zx = x, zy = y, ca = 0.0, cb = 0.0, radius = 10000.0, limit = 512.0;
    switch (count) {
    case 0:
        break;
    case 6:
        radius = a[4];
        limit = std::trunc(a[5]);
        [[fallthrough]];
    case 4:
        ca = a[2];
        cb = a[3];
        [[fallthrough]];
    case 2:
        zx = a[0];
        zy = a[1];
        break;
    default:
        return 0.0;
    }
    if (!(limit >= 0.0))
        limit = 2.0;
    limit = std::min(limit, MaxQfracTurns);
    const double escape = radius * radius;
    int32_t i = 1;
    double m = 0.0;
    do {
        ++i;
        const double nextY = 2.0 * zx * zy + cb;
        zx = zx * zx - zy * zy + ca;
        zy = nextY;
        m = zx * zx + zy * zy;
    } while (!(i >= limit || m >= escape));
    if (zx * zx < 1e-6)
        return 0.0;
    return std::ldexp(std::log10(m) / 2.0, -i);
}

// The sample index a built-in reads: truncated toward zero and held inside [0, size - 1].
int32_t ClampIndex(double v, int32_t size) {
    if (!(v > 0.0))
        return 0;
    if (v >= static_cast<double>(size - 1))
        return size - 1;
    return static_cast<int32_t>(v);
}

// The unit neighbour normal at (column, row) from the 3x3 block around it, rows and columns
// clamped to the grid; false when there is no grid to read.
bool NeighbourNormal(const Surface& s, double column, double row, std::array<double, 3>& n) {
    if (!s.HasGrid() || s.XSize <= 0 || s.YSize <= 0)
        return false;
    const int32_t c = ClampIndex(column, s.XSize);
    const int32_t r = ClampIndex(row, s.YSize);
    auto at = [&s](int32_t col, int32_t rw) {
        col = std::clamp(col, 0, s.XSize - 1);
        rw = std::clamp(rw, 0, s.YSize - 1);
        return static_cast<double>(s.Rows[rw][col]);
    };
    const double scale = std::fabs(s.Max - s.Min) > 0.0001
                             ? 1.0 / std::max(std::fabs(s.Max), std::fabs(s.Min))
                             : 1.0;
    const double nx = (at(c - 1, r - 1) + at(c - 1, r) + at(c - 1, r + 1) - at(c + 1, r - 1) -
                       at(c + 1, r) - at(c + 1, r + 1)) *
                      scale;
    const double ny = (at(c - 1, r + 1) + at(c, r + 1) + at(c + 1, r + 1) - at(c - 1, r - 1) -
                       at(c, r - 1) - at(c + 1, r - 1)) *
                      scale;
    const double length = std::sqrt(nx * nx + ny * ny + 1.0);
    n = {nx / length, ny / length, 1.0 / length};
    return true;
}

// Both slope and facing map an angle theta of the normal to -theta/pi - 1/4.
double AngleValue(double theta) {
    return -theta / std::numbers::pi - 0.25;
}

// No grid: 0, as for any value the language cannot give.
double SlopeAt(const Surface& s, double column, double row) {
    std::array<double, 3> n{};
    if (!NeighbourNormal(s, column, row, n))
        return 0.0;
    return AngleValue(std::atan2(n[2], std::hypot(n[0], n[1])));
}

double FacingAt(const Surface& s, double column, double row) {
    std::array<double, 3> n{};
    if (!NeighbourNormal(s, column, row, n))
        return 0.0;
    return AngleValue(std::atan2(n[1], n[0]));
}

} // namespace

double Evaluator::Builtin(int32_t code, const double* args, int32_t count) {
    // Missing arguments read 0; copying also keeps every read inside what the caller passed.
    count = std::max(count, 0);
    std::array<double, ExprNode::MaxValues> a{};
    std::copy_n(args, std::min<size_t>(static_cast<size_t>(count), a.size()), a.begin());
    const FracParms& g = Generation;
    const Surface& s = TheSurface;

    switch (code) {
    case TokPlus:
        return a[0] + a[1];
    case TokMinus:
        return a[0] - a[1];
    case TokStar:
        return a[0] * a[1];
    case TokSlash:
        return Divide(a[0], a[1]);
    case TokUnaryMinus:
        return -a[0];

    case KwX:
        return X;
    case KwY:
        return Y;
    case KwZ:
        return Z;
    case KwR:
        return std::hypot(X, Y);
    case KwT:
    case KwAz:
        return std::atan2(Y, X);
    case KwEl:
        return std::atan2(Z, std::hypot(X, Y));
    case KwPi:
        return LanguagePi;
    case KwE:
        return LanguageE;
    case KwCurval:
        return Context.Current;
    case KwXmin:
        return s.Left;
    case KwXmax:
        return s.Right;
    case KwYmin:
        return s.Bottom;
    case KwYmax:
        return s.Top;
    case KwXsize:
        return s.Right - s.Left;
    case KwYsize:
        return s.Top - s.Bottom;
    case KwZmin:
        return s.Min;
    case KwZmax:
        return s.Max;
    case KwIxsize:
        return s.XSize;
    case KwIysize:
        return s.YSize;
    case KwRmax:
        return std::max(
            {std::fabs(s.Left), std::fabs(s.Right), std::fabs(s.Bottom), std::fabs(s.Top)});
    case KwCenr:
        return std::hypot(static_cast<double>(Context.Row), static_cast<double>(Context.Column));
    case KwSlope:
        return SlopeAt(s, Context.Column, Context.Row);

    case KwAbs:
        return std::fabs(a[0]);
    case KwAcos:
        return a[0] > -1.0 && a[0] < 1.0 ? std::acos(a[0]) : 0.0;
    case KwAsin:
        return a[0] > -1.0 && a[0] < 1.0 ? std::asin(a[0]) : 0.0;
    case KwAtan:
        return std::atan(a[0]);
    case KwCeil:
        return std::ceil(a[0]);
    case KwFloor:
        return std::floor(a[0]);
    case KwCos:
        return std::cos(a[0]);
    case KwSin:
        return std::sin(a[0]);
    case KwTan:
        return std::tan(a[0]);
    case KwCosh:
        return std::cosh(a[0]);
    case KwTanh:
        return std::tanh(a[0]);
    case KwExp:
        return std::exp(a[0]);
    case KwLn:
        return Logarithm(a[0], [](double v) { return std::log(v); });
    case KwLog:
        return Logarithm(a[0], [](double v) { return std::log10(v); });
    case KwRand:
        return Random.RandomUniform() * a[0];
    case KwRem:
        return std::fmod(a[0], 1.0);
    case KwSinc:
        return std::fabs(a[0]) < Tiny ? 1.0 : std::sin(a[0]) / a[0];
    case KwSqrt:
        return std::fabs(a[0]) < Tiny ? 0.0 : std::sqrt(std::fabs(a[0]));
    case KwSqr:
        return a[0] * a[0];
    case KwScurve:
        return (3.0 - 2.0 * a[0]) * a[0] * a[0];

    case KwPow:
        return std::pow(a[0], a[1]);
    case KwAtan2:
        return count == 2 ? std::atan2(a[0], a[1]) : 0.0;
    case KwBias:
        return Bias(a[0], a[1]);
    case KwBesselj:
        return BesselJ(a[0], a[1]);
    case KwBessely:
        return BesselY(a[0], a[1]);
    case KwAnd:
        return AsValue(Truth(a[0]) && Truth(a[1]));
    case KwOr:
        return AsValue(Truth(a[0]) || Truth(a[1]));
    case KwXor:
        return AsValue(Truth(a[0]) != Truth(a[1]));
    case KwEq:
        return AsValue(std::fabs(a[0] - a[1]) < 1e-10);
    case KwLt:
        return AsValue(a[0] < a[1]);
    case KwGt:
        return AsValue(a[0] > a[1]);
    case KwLe:
        return AsValue(a[0] <= a[1]);
    case KwGe:
        return AsValue(a[0] >= a[1]);
    // The second argument is the result for a false condition.
    case KwIf:
        return Truth(a[0]) ? a[2] : a[1];
    case KwFacing:
        return count < 2 ? FacingAt(s, Context.Column, Context.Row) : FacingAt(s, a[0], a[1]);

    case KwNoise:
        switch (count) {
        case 1:
            return Noise.Noise1(a[0]);
        case 2:
            return Noise.Noise2(a[0], a[1]);
        case 3:
            return Noise.Noise3(a[0], a[1], a[2]);
        case 4:
            return Noise.Noise4(a[0], a[1], a[2], a[3]);
        default:
            return 0.0;
        }
    case KwDist:
        return Dist(a.data(), count, X, Y);
    case KwXrot:
    case KwYrot: {
        const double u = (count >= 3 ? a[2] : X) - a[4];
        const double v = (count >= 4 ? a[3] : Y) - a[5];
        const double c = std::cos(a[0]), sn = std::sin(a[0]);
        return a[1] * (code == KwXrot ? u * c + v * sn : v * c - u * sn);
    }
    case KwCrater:
        return Crater(a.data());
    case KwQfrac:
        return Qfrac(a.data(), count, X, Y);

    case KwFbm:
    case KwHetero:
    case KwHybrid:
    case KwMulti:
    case KwRidged: {
        const bool point = count >= 3;
        const double px = point ? a[0] : X, py = point ? a[1] : Y, pz = point ? a[2] : Z;
        const double H = count >= 4 ? a[3] : g.H;
        const double lacunarity = count >= 5 ? a[4] : g.lacunarity;
        const double octaves = count >= 6 ? a[5] : g.octaves;
        const double offset = count >= 7 ? a[6] : g.offset;
        const double gain = count >= 8 ? a[7] : g.fgain;
        switch (code) {
        case KwFbm:
            return Noise.Fbm(px, py, pz, H, lacunarity, octaves);
        case KwHetero:
            return Noise.HeteroTerrain(px, py, pz, H, lacunarity, octaves, offset);
        case KwHybrid:
            return Noise.HybridMultifractal(px, py, pz, H, lacunarity, octaves, offset);
        case KwMulti:
            return Noise.Multifractal(px, py, pz, H, lacunarity, octaves, offset, gain);
        default:
            return Noise.RidgedMultifractal(px, py, pz, H, lacunarity, octaves, offset, gain);
        }
    }
    default:
        return 0.0;
    }
}

} // namespace korvel
