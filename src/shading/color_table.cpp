#include "shading/color_table.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace korvel {

namespace {

int32_t Channel(PackedColor c, int32_t k) {
    return static_cast<int32_t>((c >> (8 * k)) & 0xFF);
}

// The segment of a position u after the gamma, as ColorAt finds it: Index from the rounded
// quotient, Fraction from the exact remainder, and Whole the exact quotient. Where Index and
// Whole differ (the quotient rounded up) ColorAt pairs a segment with the remainder of the one
// before; such cells are left to it.
struct Segment {
    int32_t Index = 0;
    double Whole = 0.0;
    float Fraction = 0.0f;
};

Segment SegmentOf(float u, float s) {
    const float remainder = std::fmod(u, s);
    // u - remainder is an exact multiple of s, so the rounded quotient is the whole one.
    return {static_cast<int32_t>(u / s), std::round((static_cast<double>(u) - remainder) / s),
            remainder / s};
}

// Catmull-Rom channel values before truncation, with ColorAt's arithmetic.
std::array<double, 3> CubicChannels(const std::array<PackedColor, 4>& p, double f1) {
    const double f2 = f1 * f1, f3 = f2 * f1;
    const double w0 = 0.5 * (-f3 + 2.0 * f2 - f1);
    const double w1 = 0.5 * (3.0 * f3 - 5.0 * f2 + 2.0);
    const double w2 = 0.5 * (-3.0 * f3 + 4.0 * f2 + f1);
    const double w3 = 0.5 * (f3 - f2);
    std::array<double, 3> v{};
    for (int32_t k = 0; k < 3; ++k)
        v[static_cast<size_t>(k)] = w0 * Channel(p[0], k) + w1 * Channel(p[1], k) +
                                    w2 * Channel(p[2], k) + w3 * Channel(p[3], k);
    return v;
}

// True when the exact cubic of channel k turns (its slope is 0) anywhere in [lo, hi], widened a
// little: there a value between the ends may leave the band the ends share.
bool CubicTurns(const std::array<PackedColor, 4>& p, int32_t k, double lo, double hi) {
    const double p0 = Channel(p[0], k), p1 = Channel(p[1], k), p2 = Channel(p[2], k),
                 p3 = Channel(p[3], k);
    // Slope 3a f^2 + 2b f + c; the coefficients and the discriminant are exact in double.
    const double a = 0.5 * (-p0 + 3.0 * p1 - 3.0 * p2 + p3);
    const double b = 0.5 * (2.0 * p0 - 5.0 * p1 + 4.0 * p2 - p3);
    const double c = 0.5 * (p2 - p0);
    constexpr double Widen = 1e-9;
    const auto inside = [&](double f) { return f >= lo - Widen && f <= hi + Widen; };
    if (a == 0.0)
        return b != 0.0 && inside(-c / (2.0 * b));
    const double d = 4.0 * b * b - 12.0 * a * c;
    if (d < 0.0)
        return false;
    const double root = std::sqrt(d);
    return inside((-2.0 * b + root) / (6.0 * a)) || inside((-2.0 * b - root) / (6.0 * a));
}

// The truncated, clamped channel for every value in [lo, hi], or -1 when the range comes within
// Margin of a step (far more than the rounding of the blend, about 1e-13).
int32_t SureChannel(double lo, double hi) {
    constexpr double Margin = 1e-7;
    if (hi < 1.0 - Margin)
        return 0;
    if (lo > 255.0 + Margin)
        return 255;
    const double whole = std::floor(lo);
    if (lo - whole > Margin && hi < whole + 1.0 - Margin && whole >= 1.0 && whole <= 254.0)
        return static_cast<int32_t>(whole);
    return -1;
}

} // namespace

void ColorTable::Build() {
    const ColorList& list = *List;
    // A gamma that is not a positive number keeps ColorAt for every position.
    if (!(list.Gamma > 0.0 && std::isfinite(list.Gamma)))
        return;
    Table.resize(Cells);
    for (int32_t cell = 0; cell < Cells; ++cell)
        Table[static_cast<size_t>(cell)] = CellColor(cell);
}

// Every step from t to ColorAt's colour is monotonic within one segment: the gamma, the
// segment's remainder, the nearest index and the linear blend exactly so, the cubic blend
// wherever its exact curve does not turn (its rounding stays far below Margin). So the ends of a
// cell bound everything between them.
PackedColor ColorTable::CellColor(int32_t cell) const {
    const ColorList& list = *List;
    const int32_t n = list.Count();
    constexpr auto Count = static_cast<float>(Cells);
    const float first = cell == 0 ? std::nextafter(0.0f, 1.0f) : static_cast<float>(cell) / Count;
    const float last = std::nextafter(static_cast<float>(cell + 1) / Count, 0.0f);
    const auto gamma = [&](float t) {
        return list.Gamma != 1.0 ? static_cast<float>(std::pow(static_cast<double>(t), list.Gamma))
                                 : t;
    };
    const float ua = gamma(first), ub = gamma(last);
    if (n == 0)
        return 0;
    if (list.Mode == 0) {
        const auto index = [&](float u) {
            return std::clamp(static_cast<int32_t>(static_cast<float>(n - 1) * u + 0.5f), 0, n - 1);
        };
        return index(ua) == index(ub) ? list.Entry(index(ua)) : Unsure;
    }
    if (n == 1)
        return list.Entry(0);
    const float s = 1.0f / static_cast<float>(n - 1);
    const Segment a = SegmentOf(ua, s), b = SegmentOf(ub, s);
    if (a.Index != b.Index || a.Whole != a.Index || b.Whole != b.Index)
        return Unsure;
    const int32_t i = a.Index;
    if (list.Mode == 1 || n == 2) {
        const PackedColor ca = list.ColorAt(first), cb = list.ColorAt(last);
        return ca == cb ? ca : Unsure;
    }
    const std::array<PackedColor, 4> p = {list.Entry(i - 1), list.Entry(i), list.Entry(i + 1),
                                          list.Entry(i + 2)};
    const double fa = std::min(a.Fraction, b.Fraction), fb = std::max(a.Fraction, b.Fraction);
    const std::array<double, 3> va = CubicChannels(p, fa), vb = CubicChannels(p, fb);
    PackedColor color = 0;
    for (int32_t k = 0; k < 3; ++k) {
        const auto at = static_cast<size_t>(k);
        if (CubicTurns(p, k, fa, fb))
            return Unsure;
        const int32_t c = SureChannel(std::min(va[at], vb[at]), std::max(va[at], vb[at]));
        if (c < 0)
            return Unsure;
        color |= static_cast<PackedColor>(c) << (8 * k);
    }
    return color;
}

} // namespace korvel
