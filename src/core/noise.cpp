#include "core/noise.h"

#include "core/random.h"

#include <bit>
#include <cmath>

namespace korvel {

namespace {

constexpr int32_t B = NoiseBasis::B;
constexpr int32_t Mask = B - 1;
constexpr int32_t Entries = 2 * B + 2;

// One coordinate's lattice cell (b0, b1), offsets to its two corners (r0, r1) and ease weight.
struct Axis {
    int32_t b0, b1;
    double r0, r1, s;
};

inline Axis Make(int64_t cell, double r0) {
    const auto b0 = static_cast<int32_t>(cell & Mask);
    return {b0, (b0 + 1) & Mask, r0, r0 - 1.0, r0 * r0 * (3.0 - 2.0 * r0)};
}

// Every double this large is an integer, so the point is a lattice point; infinity and NaN give
// NaN rather than an out-of-range conversion.
[[gnu::noinline, gnu::cold]] Axis SplitFar(double t) {
    const double m = std::fmod(t, 4096.0);
    return Make(std::isnan(m) ? 0 : static_cast<int64_t>(m), t - t);
}

inline Axis Split(double v) {
    const double t = v + 65536.0;
    if (!(std::fabs(t) < 0x1p52)) [[unlikely]]
        return SplitFar(t);
    // floor() through the integer conversion: a library call otherwise, and below -65536
    // truncation would round the wrong way and tear the field at every cell.
    auto cell = static_cast<int64_t>(t);
    cell -= static_cast<double>(cell) > t ? 1 : 0;
    return Make(cell, t - static_cast<double>(cell));
}

inline double Lerp(double s, double a, double b) {
    return a + s * (b - a);
}

// The four corners of the (x, y) cell, each the permutation entry that the z and w corners
// are added to: b00, b10, b01, b11.
struct Corners {
    int32_t b00, b10, b01, b11;
};

inline Corners CornersOf(const int32_t* p, const Axis& x, const Axis& y) {
    const int32_t i = p[x.b0];
    const int32_t j = p[x.b1];
    return {p[i + y.b0], p[j + y.b0], p[i + y.b1], p[j + y.b1]};
}

// Interpolates the four corners of the (x, y) cell along x, then y; at(bxy, rx, ry) gives the
// dot product of one corner's gradient with its offset.
template <class At> inline double Plane(const Corners& c, const Axis& x, const Axis& y, At at) {
    const double a = Lerp(x.s, at(c.b00, x.r0, y.r0), at(c.b10, x.r1, y.r0));
    const double b = Lerp(x.s, at(c.b01, x.r0, y.r1), at(c.b11, x.r1, y.r1));
    return Lerp(y.s, a, b);
}

// Draws `n` gradient components and scales them to unit length.
template <class Draw> void DrawUnit(double* v, int32_t n, Draw& component) {
    double sq = 0.0;
    for (int32_t k = 0; k < n; ++k) {
        v[k] = component();
        sq += v[k] * v[k];
    }
    const double length = std::sqrt(sq);
    if (length == 0.0) {
        // All components drew 0: no direction to keep, and 0/0 would poison the field with NaN.
        v[0] = 1.0;
        return;
    }
    for (int32_t k = 0; k < n; ++k)
        v[k] /= length;
}

double CappedOctaves(double octaves) {
    return octaves > NoiseBasis::MaxOctaves ? NoiseBasis::MaxOctaves : octaves;
}

} // namespace

double Bias(double t, double b) {
    return std::pow(t, std::log(b) / std::log(0.5));
}

NoiseBasis::NoiseBasis(RandomStream& random)
    : Random(random), P(Entries), G1(Entries), G2(2 * Entries), G3(3 * Entries), G4(4 * Entries) {}

void NoiseBasis::Rebuild() {
    auto draw = [this] { return static_cast<int32_t>(Random.RandomUniform() * 32767.0); };
    auto component = [&] { return static_cast<double>(draw() % (2 * B) - B) / B; };
    for (int32_t i = 0; i < B; ++i) {
        P[i] = i;
        G1[i] = component();
        DrawUnit(&G2[2 * i], 2, component);
        DrawUnit(&G3[3 * i], 3, component);
        DrawUnit(&G4[4 * i], 4, component);
    }
    for (int32_t i = B - 1; i > 0; --i) {
        const int32_t k = P[i];
        const int32_t j = draw() % B;
        P[i] = P[j];
        P[j] = k;
    }
    for (int32_t i = 0; i < B + 2; ++i) {
        P[B + i] = P[i];
        G1[B + i] = G1[i];
        for (int32_t k = 0; k < 2; ++k)
            G2[2 * (B + i) + k] = G2[2 * i + k];
        for (int32_t k = 0; k < 3; ++k)
            G3[3 * (B + i) + k] = G3[3 * i + k];
        for (int32_t k = 0; k < 4; ++k)
            G4[4 * (B + i) + k] = G4[4 * i + k];
    }
    Stale = false;
}

std::span<const int32_t> NoiseBasis::Permutation() {
    Ready();
    return P;
}

std::span<const double> NoiseBasis::Gradients(int32_t dims) {
    Ready();
    switch (dims) {
    case 1:
        return G1;
    case 2:
        return G2;
    case 3:
        return G3;
    case 4:
        return G4;
    default:
        return {};
    }
}

double NoiseBasis::Noise1(double x) {
    Ready();
    const Axis a = Split(x);
    return Lerp(a.s, a.r0 * G1[P[a.b0]], a.r1 * G1[P[a.b1]]);
}

double NoiseBasis::Noise2(double x, double y) {
    Ready();
    const Axis ax = Split(x);
    const Axis ay = Split(y);
    const double* g = G2.data();
    return Plane(CornersOf(P.data(), ax, ay), ax, ay, [g](int32_t b, double rx, double ry) {
        const double* q = g + 2 * b;
        return rx * q[0] + ry * q[1];
    });
}

[[gnu::always_inline]] inline double NoiseBasis::Lattice3(double x, double y, double z) const {
    const Axis ax = Split(x);
    const Axis ay = Split(y);
    const Axis az = Split(z);
    const Corners c = CornersOf(P.data(), ax, ay);
    const double* g = G3.data();
    auto plane = [&](int32_t bz, double rz) {
        return Plane(c, ax, ay, [g, bz, rz](int32_t b, double rx, double ry) {
            const double* q = g + 3 * (b + bz);
            return rx * q[0] + ry * q[1] + rz * q[2];
        });
    };
    return Lerp(az.s, plane(az.b0, az.r0), plane(az.b1, az.r1));
}

double NoiseBasis::Noise3(double x, double y, double z) {
    Ready();
    return Lattice3(x, y, z);
}

double NoiseBasis::Noise4(double x, double y, double z, double w) {
    Ready();
    const Axis ax = Split(x);
    const Axis ay = Split(y);
    const Axis az = Split(z);
    const Axis aw = Split(w);
    const int32_t* p = P.data();
    const Corners c = CornersOf(p, ax, ay);
    const double* g = G4.data();
    auto plane = [&](int32_t bz, double rz, int32_t bw, double rw) {
        return Plane(c, ax, ay, [=](int32_t b, double rx, double ry) {
            const double* q = g + 4 * (p[b + bz] + bw);
            return rx * q[0] + ry * q[1] + rz * q[2] + rw * q[3];
        });
    };
    auto cube = [&](int32_t bw, double rw) {
        return Lerp(az.s, plane(az.b0, az.r0, bw, rw), plane(az.b1, az.r1, bw, rw));
    };
    return Lerp(aw.s, cube(aw.b0, aw.r0), cube(aw.b1, aw.r1));
}

namespace {

// Sums read up to index ceil(octaves), and never less than 1.
size_t WeightCount(double octaves) {
    return octaves >= 1.0 ? static_cast<size_t>(octaves) + 2 : 2;
}

void FillWeights(std::vector<double>& weights, size_t count, double H, double lacunarity) {
    weights.resize(count);
    double f = 1.0;
    for (double& w : weights) {
        w = std::pow(f, -H);
        f *= lacunarity;
    }
}

} // namespace

const double* NoiseBasis::WeightsFor(double H, double lacunarity, double octaves) {
    // Stored definitions were made with the weights of the first call standing until the reset;
    // only a call that needs more entries than they have builds them afresh, from its own values.
    const size_t count = WeightCount(octaves);
    if (WeightsStale || Weights.size() < count) {
        FillWeights(Weights, count, H, lacunarity);
        WeightsStale = false;
    }
    return Weights.data();
}

const double* NoiseBasis::OwnWeightsFor(double H, double lacunarity, double octaves) {
    // Keyed by the bits of H and lacunarity, so a NaN does not force a rebuild per call.
    const size_t count = WeightCount(octaves);
    const bool same =
        std::bit_cast<uint64_t>(H) == std::bit_cast<uint64_t>(OwnWeightsH) &&
        std::bit_cast<uint64_t>(lacunarity) == std::bit_cast<uint64_t>(OwnWeightsLacunarity);
    if (!same || OwnWeights.size() < count) {
        FillWeights(OwnWeights, count, H, lacunarity);
        OwnWeightsH = H;
        OwnWeightsLacunarity = lacunarity;
    }
    return OwnWeights.data();
}

void NoiseBasis::FractalWeightsReset() {
    if (!WeightsStale)
        std::vector<double>().swap(Weights);
    WeightsStale = true;
}

double NoiseBasis::Fbm(double x, double y, double z, double H, double lacunarity, double octaves) {
    Ready();
    octaves = CappedOctaves(octaves);
    double sum = Lattice3(x, y, z);
    double rem = octaves - 1.0;
    if (rem <= 0.0)
        return sum;
    // weights[k] is f^(-H) with f = lacunarity^k built by the same products as here.
    const double* weights = OwnWeightsFor(H, lacunarity, octaves);
    for (size_t k = 1;; ++k) {
        x *= lacunarity;
        y *= lacunarity;
        z *= lacunarity;
        double w = weights[k];
        if (rem < 1.0)
            w *= rem;
        sum += Lattice3(x, y, z) * w;
        if (w < 0.0001)
            return sum;
        rem -= 1.0;
        if (!(rem > 0.0))
            return sum;
    }
}

double NoiseBasis::Multifractal(double x, double y, double z, double H, double lacunarity,
                                double octaves, double offset, double gain) {
    Ready();
    octaves = CappedOctaves(octaves);
    double prev = (Lattice3(x, y, z) + offset) * 0.5;
    double sum = prev;
    double rem = octaves - 1.0;
    if (rem <= 0.0)
        return sum;
    const double* weights = OwnWeightsFor(H, lacunarity, octaves);
    for (size_t k = 1;; ++k) {
        x *= lacunarity;
        y *= lacunarity;
        z *= lacunarity;
        double w = weights[k];
        if (rem < 1.0)
            w *= rem;
        double scale = prev / gain;
        if (scale > 1.0)
            scale = 1.0;
        else if (scale < 0.0)
            scale = 0.0;
        prev = (Lattice3(x, y, z) + offset) * scale * 0.5;
        sum += w * prev;
        if (scale < 0.0001 || w < 0.0001)
            return sum;
        rem -= 1.0;
        if (!(rem > 0.0))
            return sum;
    }
}

double NoiseBasis::HeteroTerrain(double x, double y, double z, double H, double lacunarity,
                                 double octaves, double offset) {
    Ready();
    octaves = CappedOctaves(octaves);
    const double* weights = WeightsFor(H, lacunarity, octaves);
    double value = offset + Lattice3(x, y, z);
    x *= lacunarity;
    y *= lacunarity;
    z *= lacunarity;
    int32_t i = 1;
    for (; i < octaves; ++i) {
        const double inc = (Lattice3(x, y, z) + offset) * weights[i] * value;
        value += inc;
        x *= lacunarity;
        y *= lacunarity;
        z *= lacunarity;
    }
    const double rem = octaves - std::trunc(octaves);
    if (rem != 0.0) {
        const double inc = (Lattice3(x, y, z) + offset) * weights[i];
        value += rem * inc * value;
    }
    return value;
}

double NoiseBasis::HybridMultifractal(double x, double y, double z, double H, double lacunarity,
                                      double octaves, double offset) {
    Ready();
    octaves = CappedOctaves(octaves);
    const double* weights = WeightsFor(H, lacunarity, octaves);
    double result = (Lattice3(x, y, z) + offset) * weights[0];
    double weight = result;
    x *= lacunarity;
    y *= lacunarity;
    z *= lacunarity;
    int32_t i = 1;
    for (; i < octaves; ++i) {
        if (weight > 1.0)
            weight = 1.0;
        const double signal = (Lattice3(x, y, z) + offset) * weights[i];
        result += weight * signal;
        weight *= signal;
        x *= lacunarity;
        y *= lacunarity;
        z *= lacunarity;
    }
    const double rem = octaves - std::trunc(octaves);
    if (rem != 0.0)
        result += rem * Lattice3(x, y, z) * weights[i];
    return result;
}

double NoiseBasis::RidgedMultifractal(double x, double y, double z, double H, double lacunarity,
                                      double octaves, double offset, double gain) {
    Ready();
    octaves = CappedOctaves(octaves);
    const double* weights = WeightsFor(H, lacunarity, octaves);
    double signal = offset - std::fabs(Lattice3(x, y, z));
    signal *= signal;
    double result = signal;
    for (int32_t i = 1; i < octaves; ++i) {
        x *= lacunarity;
        y *= lacunarity;
        z *= lacunarity;
        double weight = signal * gain;
        if (weight > 1.0)
            weight = 1.0;
        else if (weight < 0.0)
            weight = 0.0;
        signal = offset - std::fabs(Lattice3(x, y, z));
        signal *= signal;
        signal *= weight;
        result += signal * weights[i];
    }
    return result;
}

} // namespace korvel
