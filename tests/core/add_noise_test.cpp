#include "core/add_noise.h"

#include "core/dialog_fields.h"
#include "core/progress.h"
#include "core/random.h"
#include "core/surface.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace korvel {
namespace {

// 4 x 2, row 0 first; with except 0.1 the first four are left alone.
constexpr std::array<float, 8> Samples{0.0f, 0.05f, -0.1f, 0.109f, 0.2f, -5.0f, 10.0f, 100.0f};
constexpr double Mean = 1000.0;
constexpr double Variance = 1.0;
constexpr std::array<uint8_t, 8> All{255, 255, 255, 255, 255, 255, 255, 255};

// The new value of one visited sample, drawn from an independent stream.
double Noisy(float h, RandomStream& r, int32_t type) {
    if (type == NoiseGaussian)
        return h + std::fabs(r.RandomGaussian()) * Variance + Mean;
    if (type == NoiseExponential)
        return h - Mean * std::log(1.0 - r.RandomUniform());
    return h + (r.RandomUniform() - 0.5) * 2.0 * Variance + Mean;
}

TEST(AddNoiseTest, NoiseOfEachTypeOnVisitedSamplesOnly) {
    const char* uniform = "Adding Uniform 1000.00 1.00 Noise to surface";
    const struct {
        int32_t Type;
        std::array<uint8_t, 8> Mask; // All stands for no mask
        const char* Text;
    } cases[] = {
        {NoiseUniform, All, uniform},
        {NoiseGaussian, All, uniform},
        {NoiseExponential, All, "Adding Exponential 1000.00 1.00 Noise to surface"},
        {NoiseRayleigh, All, uniform},
        {NoiseUniform, {255, 255, 0, 0, 255, 0, 255, 255}, uniform},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Type);
        test::RecordingHost host;
        const bool showTime = false;
        Progress progress(host, showTime);
        Surface s;
        ASSERT_EQ(s.Resize(4, 2, c.Mask == All ? 0 : Surface::SurfaceHasSelection), 0);
        for (int i = 0; i < 8; ++i) {
            s.Rows[i / 4][i % 4] = Samples[i];
            if (s.Mask.Exists())
                *s.Mask.RowPointer(i % 4, i / 4) = c.Mask[i];
        }
        RandomStream random, expected;
        random.SeedRandom(1234);
        expected.SeedRandom(1234);
        EXPECT_EQ(AddNoise(s, progress, random, c.Type, Mean, Variance, 0.1), 0);
        double lo = 1e30, hi = -1e30;
        for (int i = 0; i < 8; ++i) {
            const float got = s.Rows[i / 4][i % 4];
            if (c.Mask[i] == 0 || std::fabs(Samples[i]) < 0.11) {
                EXPECT_EQ(got, Samples[i]) << i; // untouched, bit for bit
                continue;
            }
            const double v = Noisy(Samples[i], expected, c.Type);
            EXPECT_NEAR(got, v, 1e-6 * std::fabs(v)) << i;
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
        // Extremes of the visited samples only: the others lie far below.
        EXPECT_NEAR(s.Min, lo, 1e-6 * std::fabs(lo));
        EXPECT_NEAR(s.Max, hi, 1e-6 * std::fabs(hi));
        EXPECT_EQ(host.ProgressTexts, std::vector<std::string>{c.Text});
        EXPECT_EQ(host.Pumps, 2); // after every row
    }
}

} // namespace
} // namespace korvel
