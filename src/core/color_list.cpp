#include "core/color_list.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace korvel {

namespace {

double ClampGamma(double gamma) {
    // NaN compares false everywhere; treat it like "no gamma".
    if (!(gamma == gamma))
        return 1.0;
    return std::clamp(gamma, ColorList::GammaLow, ColorList::GammaHigh);
}

int32_t Channel(PackedColor c, int32_t shift) {
    return static_cast<int32_t>((c >> shift) & 0xFF);
}

} // namespace

ColorList::ColorList(const ColorList& other)
    : Entries(other.Entries), Mode(other.Mode), Gamma(ClampGamma(other.Gamma)),
      LastColor(other.LastColor) {}

ColorList& ColorList::operator=(const ColorList& other) {
    if (this != &other) {
        Entries = other.Entries;
        Mode = other.Mode;
        Gamma = ClampGamma(other.Gamma);
        LastColor = other.LastColor;
    }
    return *this;
}

PackedColor ColorList::ColorAt(float t) const {
    const int32_t n = Count();
    if (n == 0)
        return 0;
    if (!(t > 0.0f))
        return Entries.front();
    if (t >= 1.0f)
        return Entries.back();
    if (Gamma != 1.0) {
        t = static_cast<float>(std::pow(static_cast<double>(t), Gamma));
        // A gamma of 0 or below (a file may hold one) throws t out of 0..1, up to infinity.
        if (!(t < 1.0f))
            return Entries.back();
    }
    const auto entry = [&](int32_t i) {
        return Entries[static_cast<size_t>(std::clamp(i, 0, n - 1))];
    };
    if (Mode == 0)
        return entry(static_cast<int32_t>(static_cast<float>(n - 1) * t + 0.5f));
    if (n == 1)
        return Entries.front();
    const float s = 1.0f / static_cast<float>(n - 1);
    const auto i = static_cast<int32_t>(t / s);
    const float f = std::fmod(t, s) / s;
    PackedColor result = 0;
    if (Mode == 1 || n == 2) {
        const PackedColor a = entry(i), b = entry(i + 1);
        for (int32_t shift = 0; shift <= 16; shift += 8) {
            const int32_t ca = Channel(a, shift), cb = Channel(b, shift);
            const auto v =
                static_cast<int32_t>(static_cast<float>(ca) + static_cast<float>(cb - ca) * f);
            result |= static_cast<PackedColor>(std::clamp(v, 0, 255)) << shift;
        }
        return result;
    }
    // Catmull-Rom through entries i-1 .. i+2.
    const double f1 = f, f2 = f1 * f1, f3 = f2 * f1;
    const double w0 = 0.5 * (-f3 + 2.0 * f2 - f1);
    const double w1 = 0.5 * (3.0 * f3 - 5.0 * f2 + 2.0);
    const double w2 = 0.5 * (-3.0 * f3 + 4.0 * f2 + f1);
    const double w3 = 0.5 * (f3 - f2);
    const PackedColor p0 = entry(i - 1), p1 = entry(i), p2 = entry(i + 1), p3 = entry(i + 2);
    for (int32_t shift = 0; shift <= 16; shift += 8) {
        const double v = w0 * Channel(p0, shift) + w1 * Channel(p1, shift) +
                         w2 * Channel(p2, shift) + w3 * Channel(p3, shift);
        const auto c = static_cast<int32_t>(std::clamp(v, 0.0, 255.0));
        result |= static_cast<PackedColor>(c) << shift;
    }
    return result;
}

Rgb ColorList::ColorAtRGB(float t) const {
    const PackedColor c = ColorAt(t);
    constexpr double k = 0.00392156862745098;
    return {Channel(c, 0) * k, Channel(c, 8) * k, Channel(c, 16) * k};
}

int32_t ColorList::Insert(int32_t index, PackedColor color) {
    if (index < 0)
        return -1;
    const auto at = static_cast<size_t>(std::min(index, Count()));
    Entries.insert(Entries.begin() + static_cast<std::ptrdiff_t>(at), color);
    return 0;
}

int32_t ColorList::Replace(int32_t index, PackedColor color) {
    if (index < 0 || index >= Count())
        return -1;
    Entries[static_cast<size_t>(index)] = color;
    return 0;
}

int32_t ColorList::Remove(int32_t index) {
    if (index < 0 || index >= Count())
        return -1;
    Entries.erase(Entries.begin() + index);
    return 0;
}

PackedColor ColorList::Entry(int32_t index) const {
    if (Entries.empty())
        return 0;
    return Entries[static_cast<size_t>(std::clamp(index, 0, Count() - 1))];
}

void ColorList::FillTerrainRamp(double start, double end, int32_t count) {
    Entries.clear();
    if (count < 2) {
        Entries.push_back(TerrainRampColor(start));
        return;
    }
    for (int32_t i = 0; i < count; ++i)
        Entries.push_back(TerrainRampColor(start + (end - start) * i / (count - 1)));
}

PackedColor TerrainRampColor(double t) {
    constexpr double pi = std::numbers::pi;
    t = std::clamp(t, 0.0, 1.0);
    const double u = 1.25 * t - 0.25;
    const double w = 1.0 - u;
    double a = 2.0 * pi * u + pi / 2.0;
    double r = 1.0 + (2.0 / 3.0) * w * std::sin(a + 2.8797932657906435);
    a += pi / 4.0;
    double g = 1.0 + 0.5 * w * std::sin(a - 2.0943951023931953);
    double b = 1.0 + w * std::sin(a);
    const double k = 1.0 - 0.5 * std::sqrt(w);
    r = std::clamp(r * k, 0.0, 1.0);
    g = std::clamp(g * k, 0.0, 1.0);
    b = std::clamp(b * k, 0.0, 1.0);
    return static_cast<PackedColor>(255.0 * r) | (static_cast<PackedColor>(255.0 * g) << 8) |
           (static_cast<PackedColor>(255.0 * b) << 16);
}

} // namespace korvel
