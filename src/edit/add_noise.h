#pragma once
// Noise added to the elevations, drawn from the program's random stream.

#include <cstdint>

namespace korvel {

class Surface;
class Progress;
class RandomStream;

// type: NoiseType of dialog_fields.h. Samples with |h| - except < 0.01 are left alone.
int32_t AddNoise(Surface& s, Progress& p, RandomStream& random, int32_t type, double mean,
                 double variance, double except);

} // namespace korvel
