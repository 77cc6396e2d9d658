#include "edit/add_noise.h"

#include "core/dialog_fields.h"
#include "core/random.h"
#include "edit/point_loop.h"

#include <cmath>
#include <cstdio>
#include <optional>
#include <string>

namespace korvel {

namespace {

std::string NoiseText(int32_t type, double mean, double variance) {
    // Room for two %0.2f of the largest doubles (309 digits each).
    char text[1024];
    std::snprintf(text, sizeof text, "Adding %s %0.2f %0.2f Noise to surface",
                  type == NoiseExponential ? "Exponential" : "Uniform", mean, variance);
    return text;
}

} // namespace

int32_t AddNoise(Surface& s, Progress& p, RandomStream& random, int32_t type, double mean,
                 double variance, double except) {
    auto noisy = [&](float h) -> std::optional<float> {
        if (std::fabs(h) - except < 0.01)
            return std::nullopt;
        double n;
        if (type == NoiseGaussian) {
            n = std::fabs(random.RandomGaussian()) * variance + mean;
        } else if (type == NoiseExponential) {
            // Exponentially distributed with the given mean; 1 - u lies in (0, 1], so the
            // logarithm stays finite.
            n = -mean * std::log1p(-random.RandomUniform());
        } else {
            // Uniform and Rayleigh alike: uniform over mean +/- variance.
            n = (random.RandomUniform() - 0.5) * 2.0 * variance + mean;
        }
        return static_cast<float>(h + n);
    };
    return ForEachSample(s, p, NoiseText(type, mean, variance), true, 1, noisy);
}

} // namespace korvel
