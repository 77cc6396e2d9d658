#include "core/noise.h"
#include "core/random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
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
    for (const double v : {0.0, 4096.0, -65536.0, -70001.0, 1e300}) {
        EXPECT_EQ(noise.Noise1(v) + noise.Noise2(v, -3.0), 0.0) << v;
        EXPECT_EQ(noise.Noise3(2.0, v, -5.0) + noise.Noise4(-1.0, 3.0, 11.0, v), 0.0) << v;
    }
    EXPECT_TRUE(std::isnan(noise.Noise3(INFINITY, 0.5, 0.5) + noise.Noise1(NAN)));
}

// Gradient noise written the other way round: a sum over the cell's corners.
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
        const int32_t h1 = p[b[0]], h2 = dims >= 2 ? p[h1 + b[1]] : h1;
        const int32_t h = dims == 3 ? h2 + b[2] : dims == 4 ? p[h2 + b[2]] + b[3] : h2;
        for (int32_t k = 0; k < dims; ++k)
            sum += weight * g[dims * h + k] * r[k];
    }
    return sum;
}

TEST_F(NoiseTest, MatchesTheCornerSum) {
    const double v[] = {-70000.3, 1.7, -2.45, 7.25};
    const double ours[] = {noise.Noise1(v[0]), noise.Noise2(v[0], v[1]),
                           noise.Noise3(v[0], v[1], v[2]), noise.Noise4(v[0], v[1], v[2], v[3])};
    for (size_t d = 1; d <= 4; ++d)
        EXPECT_NEAR(ours[d - 1], CornerSum(noise, {v, v + d}), 1e-12) << d << "D";
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
    const double c0 =
        (static_cast<int>(reference.RandomUniform() * 32767.0) % 8192 - 4096) / 4096.0;
    for (int i = 1; i < 10 * B + B - 1; ++i)
        reference.RandomUniform();
    EXPECT_EQ(a.RandomUniform(), reference.RandomUniform());
    EXPECT_EQ(na.Gradients(1)[0], c0);
}

TEST_F(NoiseTest, PermutationRepeatsItsHead) {
    const auto p = noise.Permutation();
    std::vector<int32_t> ids(B);
    std::iota(ids.begin(), ids.end(), 0);
    EXPECT_TRUE(std::ranges::is_permutation(p.first(B), ids));
    EXPECT_TRUE(std::ranges::equal(p.subspan(B), p.first(B + 2))); // B .. 2B + 1 repeat 0 .. B + 1
}

// Each sum against its terms written out from Noise3 at p * 2^k; H 0.5, lacunarity 2.
TEST_F(NoiseTest, FractalSumsMatchTheirTermsWrittenOut) {
    const double x = 0.3, y = 1.7, z = -2.45, off = 0.7;
    auto n = [&](int k) { return noise.Noise3(x * (1 << k), y * (1 << k), z * (1 << k)); };
    auto w = [](int k) { return std::pow(2.0, -0.5 * k); };
    auto clamp01 = [](double v) { return std::clamp(v, 0.0, 1.0); };
    auto ridge = [&](int k) { return (1.0 - std::fabs(n(k))) * (1.0 - std::fabs(n(k))); };
    const double m0 = (n(0) + off) * 0.5;
    // 2.5 octaves run i = 1 and 2 of "for i = 1 while i < octaves"; the fraction weighs i = 3.
    const double u0 = n(0) + off, s1 = (n(1) + off) * w(1), s2 = (n(2) + off) * w(2);
    const double u2 = u0 + std::min(u0, 1.0) * s1 + std::min(std::min(u0, 1.0) * s1, 1.0) * s2;
    const double g1 = clamp01(ridge(0) * 2.0), g2 = clamp01(ridge(1) * g1 * 2.0);
    const double r2 = ridge(0) + ridge(1) * g1 * w(1) + ridge(2) * g2 * w(2);
    const std::pair<double, double> cases[] = {
        {n(0) + n(1) * w(1) + n(2) * w(2) * 0.5, noise.Fbm(x, y, z, 0.5, 2, 2.5)},
        {m0 + w(1) * (n(1) + off) * clamp01(m0 / 0.2) * 0.5,
         noise.Multifractal(x, y, z, 0.5, 2.0, 2, off, 0.2)},
        {off + n(0) + 0.5 * (n(1) + off) * w(1) * (off + n(0)),
         noise.HeteroTerrain(x, y, z, 0.5, 2.0, 0.5, off)},
        {u2 + 0.5 * n(3) * w(3), noise.HybridMultifractal(x, y, z, 0.5, 2, 2.5, off)},
        {r2, noise.RidgedMultifractal(x, y, z, 0.5, 2, 3.0, 1, 2)},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_NEAR(cases[i].second, cases[i].first, 1e-12) << "case " << i;
}

// The weights of hetero, hybrid and ridged stay those of the call that built them until the
// reset; only a call with more octaves builds them again, from its own H. Ridged at 3 octaves
// written out as above, with the weights 2^(-H k) of the H given.
TEST_F(NoiseTest, WeightsKeepTheFirstCallsParametersUntilTheReset) {
    const double x = 0.3, y = 1.7, z = -2.45;
    auto n = [&](int k) { return noise.Noise3(x * (1 << k), y * (1 << k), z * (1 << k)); };
    auto ridge = [&](int k) { return (1.0 - std::fabs(n(k))) * (1.0 - std::fabs(n(k))); };
    auto clamp01 = [](double v) { return std::clamp(v, 0.0, 1.0); };
    auto writtenOut = [&](double H) {
        const double g1 = clamp01(ridge(0) * 2.0), g2 = clamp01(ridge(1) * g1 * 2.0);
        return ridge(0) + ridge(1) * g1 * std::pow(2.0, -H) + ridge(2) * g2 * std::pow(2.0, -2 * H);
    };
    auto ridged = [&](double H, double octaves) {
        return noise.RidgedMultifractal(x, y, z, H, 2.0, octaves, 1.0, 2.0);
    };
    const double fbm = noise.Fbm(x, y, z, 0.5, 2.0, 2.0);
    EXPECT_NEAR(ridged(1.0, 3.0), writtenOut(1.0), 1e-12);
    EXPECT_NEAR(ridged(0.5, 3.0), writtenOut(1.0), 1e-12); // the H of the first call
    EXPECT_EQ(noise.Fbm(x, y, z, 0.5, 2.0, 2.0), fbm);     // fBm weighs by its own H
    const double h05o8 = ridged(0.5, 8.0);                 // more octaves: built from H 0.5
    EXPECT_NEAR(ridged(1.0, 3.0), writtenOut(0.5), 1e-12);
    noise.FractalWeightsReset();
    EXPECT_NEAR(ridged(0.5, 3.0), writtenOut(0.5), 1e-12);
    noise.FractalWeightsReset();
    EXPECT_EQ(ridged(0.5, 8.0), h05o8);
    EXPECT_EQ(ridged(1.0, 1e12), ridged(1.0, NoiseBasis::MaxOctaves)); // absurd counts are bounded
    EXPECT_TRUE(std::isnan(noise.HeteroTerrain(0.3, 1.7, -2.45, 1, 2, std::nan(""), 0.7)));
}

} // namespace
} // namespace korvel
