#include "core/noise.h"
#include "core/random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numeric>
#include <utility>
#include <vector>

namespace korvel {
namespace {

constexpr int32_t B = NoiseBasis::B;

struct NoiseTest : testing::Test {
    NoiseTest() { random.SeedRandom(12345); }
    RandomStream random;
    NoiseBasis noise{random};
};

TEST_F(NoiseTest, ZeroAtEveryLatticePoint) {
    // Below -65536 the lattice offset no longer makes a point positive.
    for (const double v : {0.0, 4096.0, -65536.0, -70001.0, 1e300}) {
        SCOPED_TRACE(v);
        EXPECT_EQ(noise.Noise1(v) + noise.Noise2(v, -3.0), 0.0);
        EXPECT_EQ(noise.Noise3(2.0, v, -5.0) + noise.Noise4(-1.0, 3.0, 11.0, v), 0.0);
    }
    EXPECT_TRUE(std::isnan(noise.Noise3(INFINITY, 0.5, 0.5) + noise.Noise1(NAN)));
}

// Gradient noise written the other way round: over the cell's corners, gradient . offset
// weighted by the product of the eased distances, with the cell found by floor.
double CornerSum(NoiseBasis& noise, const std::vector<double>& v) {
    const auto dims = static_cast<int32_t>(v.size());
    const auto p = noise.Permutation();
    const auto g = noise.Gradients(dims);
    double sum = 0.0;
    for (int32_t corner = 0; corner < (1 << dims); ++corner) {
        int32_t b[4];
        double r[4], weight = 1.0;
        for (int32_t k = 0; k < dims; ++k) {
            const double t = v[k] + 65536.0, f = t - std::floor(t), s = f * f * (3.0 - 2.0 * f);
            const bool high = (corner >> k) & 1;
            b[k] = static_cast<int32_t>((static_cast<int64_t>(std::floor(t)) + high) & 4095);
            r[k] = high ? f - 1.0 : f;
            weight *= high ? s : 1.0 - s;
        }
        int32_t h = p[b[0]];
        if (dims >= 2)
            h = p[h + b[1]];
        if (dims == 3)
            h += b[2];
        if (dims == 4)
            h = p[h + b[2]] + b[3];
        for (int32_t k = 0; k < dims; ++k)
            sum += weight * g[dims * h + k] * r[k];
    }
    return sum;
}

TEST_F(NoiseTest, MatchesTheCornerSum) {
    // Below -65536 a truncating cell split would round the wrong way.
    const double v[] = {-70000.3, 1.7, -2.45, 7.25};
    for (size_t d = 1; d <= 4; ++d) {
        SCOPED_TRACE(testing::Message() << d << "D");
        const double ours = d == 1   ? noise.Noise1(v[0])
                            : d == 2 ? noise.Noise2(v[0], v[1])
                            : d == 3 ? noise.Noise3(v[0], v[1], v[2])
                                     : noise.Noise4(v[0], v[1], v[2], v[3]);
        EXPECT_NEAR(ours, CornerSum(noise, {v, v + d}), 1e-12);
        EXPECT_NE(ours, 0.0);
    }
}

TEST(NoiseTables, DrawnFromTheStreamAtTheFirstCallAfterInvalidate) {
    RandomStream a, reference;
    NoiseBasis na(a);
    a.SeedRandom(7);
    na.NoiseInvalidate();
    a.RandomUniform(); // drawn before the first noise call: the tables start after it
    na.Noise1(0.5);
    // One draw per component (1 + 2 + 3 + 4 per entry), then B - 1 for the shuffle.
    reference.SeedRandom(7);
    reference.RandomUniform();
    std::vector<double> c(3);
    for (double& v : c)
        v = (static_cast<int>(reference.RandomUniform() * 32767.0) % 8192 - 4096) / 4096.0;
    for (int i = 3; i < 10 * B + B - 1; ++i)
        reference.RandomUniform();
    EXPECT_EQ(a.RandomUniform(), reference.RandomUniform());
    EXPECT_EQ(na.Gradients(1)[0], c[0]);
    EXPECT_DOUBLE_EQ(na.Gradients(2)[1], c[2] / std::hypot(c[1], c[2]));
}

TEST_F(NoiseTest, PermutationAndUnitGradients) {
    const auto p = noise.Permutation();
    std::vector<int32_t> ids(B);
    std::iota(ids.begin(), ids.end(), 0);
    EXPECT_TRUE(std::ranges::is_permutation(p.first(B), ids));
    EXPECT_TRUE(std::ranges::equal(p.subspan(B), p.first(B + 2))); // B .. 2B + 1 repeat 0 .. B + 1
    for (int32_t dims = 1; dims <= 4; ++dims) {
        const auto g = noise.Gradients(dims);
        EXPECT_TRUE(std::ranges::equal(g.subspan(dims * B), g.first(dims * (B + 2))));
        for (int32_t i = 0; dims > 1 && i < B; ++i) {
            const auto v = g.subspan(dims * i, dims);
            ASSERT_NEAR(std::inner_product(v.begin(), v.end(), v.begin(), 0.0), 1.0, 1e-12) << i;
        }
    }
}

// Each sum against its terms written out from Noise3 at p * 2^k; H 0.5, lacunarity 2.
TEST_F(NoiseTest, FractalSumsMatchTheirTermsWrittenOut) {
    const double x = 0.3, y = 1.7, z = -2.45, off = 0.7;
    auto n = [&](int k) { return noise.Noise3(x * (1 << k), y * (1 << k), z * (1 << k)); };
    auto w = [](int k) { return std::pow(2.0, -0.5 * k); };
    auto clamp01 = [](double v) { return std::clamp(v, 0.0, 1.0); };
    auto ridge = [&](int k) { return (1.0 - std::fabs(n(k))) * (1.0 - std::fabs(n(k))); };
    double fbm7 = 0.0;
    for (int k = 0; k <= 7; ++k)
        fbm7 += n(k) * std::pow(4.0, -k);
    const double m0 = (n(0) + off) * 0.5;
    // 2.5 octaves run i = 1 and 2 of "for i = 1 while i < octaves"; the fraction weighs i = 3.
    const double u0 = n(0) + off, s1 = (n(1) + off) * w(1), s2 = (n(2) + off) * w(2);
    const double u2 = u0 + std::min(u0, 1.0) * s1 + std::min(std::min(u0, 1.0) * s1, 1.0) * s2;
    const double g1 = clamp01(ridge(0) * 2.0), g2 = clamp01(ridge(1) * g1 * 2.0);
    const double r2 = ridge(0) + ridge(1) * g1 * w(1) + ridge(2) * g2 * w(2);
    auto ridged = [&](double o) { return noise.RidgedMultifractal(x, y, z, 0.5, 2, o, 1, 2); };
    const std::pair<double, std::function<double()>> cases[] = {
        {n(0) + n(1) * w(1) + n(2) * w(2) * 0.5, [&] { return noise.Fbm(x, y, z, 0.5, 2, 2.5); }},
        // H 2: the weight 4^-7 is the first below 0.0001, the last term added.
        {fbm7, [&] { return noise.Fbm(x, y, z, 2.0, 2.0, 10); }},
        {m0 + w(1) * (n(1) + off) * clamp01(m0 / 0.2) * 0.5,
         [&] { return noise.Multifractal(x, y, z, 0.5, 2.0, 2, off, 0.2); }},
        {off + n(0) + 0.5 * (n(1) + off) * w(1) * (off + n(0)),
         [&] { return noise.HeteroTerrain(x, y, z, 0.5, 2.0, 0.5, off); }},
        {u2 + 0.5 * n(3) * w(3),
         [&] { return noise.HybridMultifractal(x, y, z, 0.5, 2, 2.5, off); }},
        {r2, [&] { return ridged(3.0); }},
        {r2, [&] { return ridged(2.2); }}, // ridged ignores the fraction
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_NEAR(cases[i].second(), cases[i].first, 1e-12) << "case " << i;
}

TEST_F(NoiseTest, WeightsFollowEachCallsOwnParameters) {
    auto ridged = [&](double H, double octaves) {
        return noise.RidgedMultifractal(0.3, 1.7, -2.45, H, 2.0, octaves, 1.0, 2.0);
    };
    // 3 octaves builds a short table; 8 needs more, a new H needs other values.
    const double h1o3 = ridged(1.0, 3.0), h1o8 = ridged(1.0, 8.0), h05o8 = ridged(0.5, 8.0);
    noise.FractalWeightsReset();
    EXPECT_EQ(ridged(0.5, 8.0), h05o8);
    EXPECT_EQ(ridged(1.0, 8.0), h1o8);
    EXPECT_EQ(ridged(1.0, 3.0), h1o3);
    // Absurd octave counts stay bounded; NaN gives no crash.
    EXPECT_EQ(ridged(1.0, 1e12), ridged(1.0, NoiseBasis::MaxOctaves));
    EXPECT_TRUE(std::isnan(noise.HeteroTerrain(0.3, 1.7, -2.45, 1, 2, std::nan(""), 0.7)));
}

TEST(NoiseBias, PerlinIdentities) {
    for (const double v : {0.0, 0.1, 0.9, 1.0}) {
        EXPECT_NEAR(Bias(v, 0.5), v, 1e-15);
        EXPECT_NEAR(Bias(0.5, v + 0.01), v + 0.01, 1e-15);
        EXPECT_EQ(Bias(1.0, 0.2 + 0.6 * v), 1.0);
    }
}

} // namespace
} // namespace korvel
