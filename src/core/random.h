#pragma once
// The program's one random stream (RANMAR lagged Fibonacci), seeded from one integer. Every
// random quantity of the program is drawn from it, so a seed reproduces a result exactly.

#include <cstdint>

namespace korvel {

class RandomStream {
public:
    static constexpr int32_t InitialSeed = 270820881;

    void SeedRandom(int32_t seed);
    // In [0, 1); seeds itself with the last seed on first use.
    double RandomUniform();
    // Approximately normal with mean 0 and variance 1: sqrt(3) * (sum of four uniforms - 2).
    double RandomGaussian();

    int32_t LastSeed() const { return Seed; }

private:
    double U[98] = {};
    double C = 0.0;
    double Cd = 0.0;
    double Cm = 0.0;
    int32_t I97 = 97;
    int32_t J97 = 33;
    bool Seeded = false;
    int32_t Seed = InitialSeed;
};

} // namespace korvel
