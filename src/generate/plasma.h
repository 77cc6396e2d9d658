#pragma once
// Plasma fractal surfaces (surface type 0): recursive midpoint displacement along single rows
// and columns. The result depends only on the seed, rf, irf and the Surface size.

#include <cstdint>

namespace korvel {

class Progress;
class RandomStream;
class Surface;

constexpr int32_t PlasmaCancelled = -3;

// Fills every sample of s with a value in [-1, 1], drawing from random after seeding it with
// seed. The displacement of a midpoint is (d1 * span + d2 * irf) / rf for two signed draws.
// The map record, Min and Max are left to the caller. Returns 0, or PlasmaCancelled when the
// cancel flag stopped it: the corners and edges are then complete, samples not yet reached
// keep their old values, and the flag is left set for the command to clear.
int32_t GeneratePlasma(Surface& s, Progress& p, RandomStream& random, int32_t seed, double rf,
                       double irf, bool showProgress);

} // namespace korvel
