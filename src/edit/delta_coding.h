#pragma once
// The delta-coding test: samples replaced by 16-bit differences of quantised codes along a
// boustrophedon path, and rebuilt from them.

#include <cstdint>

namespace korvel {

class Surface;
struct DeltaCodingFields;

// Remembers Min and Max in fields for decoding.
int32_t DeltaEncode(Surface& s, DeltaCodingFields& fields);
int32_t DeltaDecode(Surface& s, const DeltaCodingFields& fields);

} // namespace korvel
