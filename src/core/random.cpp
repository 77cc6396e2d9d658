#include "core/random.h"

#include <cmath>
#include <cstdlib>

namespace korvel {

void RandomStream::SeedRandom(int32_t seed) {
    Seed = seed;
    // 64-bit magnitude: |INT32_MIN| does not fit an int32.
    const auto ij = static_cast<int32_t>(std::llabs(static_cast<long long>(seed)) % 31329);
    const auto kl = static_cast<int32_t>((static_cast<uint32_t>(seed) >> 16) % 30082u);
    int32_t i = (ij / 177) % 177 + 2;
    int32_t j = ij % 177 + 2;
    int32_t k = (kl / 169) % 178 + 1;
    int32_t l = kl % 169;
    for (int n = 1; n <= 97; ++n) {
        double s = 0.0;
        double t = 0.5;
        for (int bit = 0; bit < 24; ++bit) {
            const int32_t m = ((i * j) % 179 * k) % 179;
            i = j;
            j = k;
            k = m;
            l = (53 * l + 1) % 169;
            if ((l * m) % 64 >= 32)
                s += t;
            t *= 0.5;
        }
        U[n] = s;
    }
    C = 362436.0 / 16777216.0;
    Cd = 7654321.0 / 16777216.0;
    Cm = 16777213.0 / 16777216.0;
    I97 = 97;
    J97 = 33;
    Seeded = true;
}

double RandomStream::RandomUniform() {
    if (!Seeded)
        SeedRandom(Seed);
    double r = U[I97] - U[J97];
    if (r < 0.0)
        r += 1.0;
    U[I97] = r;
    if (--I97 == 0)
        I97 = 97;
    if (--J97 == 0)
        J97 = 97;
    C -= Cd;
    if (C < 0.0)
        C += Cm;
    r -= C;
    if (r < 0.0)
        r += 1.0;
    return r;
}

double RandomStream::RandomGaussian() {
    constexpr int N = 4;
    static const double scale = 2.0 * std::sqrt(3.0 * N) / N;
    static const double shift = std::sqrt(3.0 * N);
    float sum = 0.0f;
    for (int n = 0; n < N; ++n)
        sum += static_cast<float>(RandomUniform());
    return sum * scale - shift;
}

} // namespace korvel
