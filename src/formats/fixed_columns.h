#pragma once
// Numbers in fixed byte columns, as the USGS DEM and DTED records keep them. A field is read
// within its columns only: neighbours packed against it ("3.000000D+003.0D+00") or a NUL inside
// a header do not run into it.

#include <cstddef>
#include <cstdint>

namespace korvel {

// A real in at[0..width), blanks around it allowed, "D" or "d" as exponent letter; false when
// the columns hold no number or something after it.
bool FixedReal(const uint8_t* at, size_t width, double& value);
// A whole number (optional sign) in at[0..width), blanks around it allowed.
bool FixedInt(const uint8_t* at, size_t width, int64_t& value);

} // namespace korvel
