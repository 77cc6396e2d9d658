#include "edit/add_noise.h"

#include "core/dialog_fields.h"
#include "core/progress.h"
#include "core/random.h"
#include "core/surface.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace korvel {
namespace {

// 4 x 2, row 0 first; with except 0.1 the first four are left alone.
constexpr std::array<float, 8> Samples{0.0f, 0.05f, -0.1f, 0.109f, 0.2f, -5.0f, 10.0f, 100.0f};
constexpr double Mean = 1000.0, Variance = 1.0;
constexpr std::array<uint8_t, 8> All{255, 255, 255, 255, 255, 255, 255, 255}; // for no mask
const bool NoTimes = false;

// The new value of one visited sample, drawn from an independent stream.
double Noisy(float h, RandomStream& r, int32_t type) {
    return type == NoiseGaussian      ? h + std::fabs(r.RandomGaussian()) * Variance + Mean
           : type == NoiseExponential ? h - Mean * std::log(1.0 - r.RandomUniform())
                                      : h + (r.RandomUniform() - 0.5) * 2.0 * Variance + Mean;
}

TEST(AddNoiseTest, NoiseOfEachTypeOnVisitedSamplesOnly) {
    const int32_t types[] = {NoiseUniform, NoiseGaussian, NoiseExponential, NoiseRayleigh,
                             NoiseUniform};
    for (size_t run = 0; run < std::size(types); ++run) {
        const int32_t type = types[run]; // the last run is Uniform through a mask
        const std::array<uint8_t, 8> mask =
            run < 4 ? All : std::array<uint8_t, 8>{255, 255, 0, 0, 255, 0, 255, 255};
        test::RecordingHost host;
        Progress progress(host, NoTimes);
        Surface s;
        ASSERT_EQ(s.Resize(4, 2, mask == All ? 0 : Surface::SurfaceHasSelection), 0);
        std::copy(Samples.begin(), Samples.end(), s.Rows[0]);
        if (s.Mask.Exists())
            std::copy(mask.begin(), mask.end(), s.Mask.RowPointer(0, 0));
        RandomStream random, expected;
        random.SeedRandom(1234), expected.SeedRandom(1234);
        EXPECT_EQ(AddNoise(s, progress, random, type, Mean, Variance, 0.1), 0);
        double lo = 1e30, hi = -1e30;
        for (int i = 0; i < 8; ++i) {
            const bool kept = mask[i] == 0 || std::fabs(Samples[i]) < 0.11;
            const double v = kept ? Samples[i] : Noisy(Samples[i], expected, type);
            EXPECT_NEAR(s.Rows[i / 4][i % 4], v, 1e-6 * std::fabs(v)) << type << " at " << i;
            lo = kept ? lo : std::min(lo, v), hi = kept ? hi : std::max(hi, v);
        }
        EXPECT_NEAR(s.Min, lo, 1e-6 * std::fabs(lo)); // of the visited samples only
        EXPECT_NEAR(s.Max, hi, 1e-6 * std::fabs(hi));
    }
}

} // namespace
} // namespace korvel
