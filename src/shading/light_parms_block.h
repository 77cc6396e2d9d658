#pragma once
// The LightParms block of lighting definition files: the whole lighting record as text, with
// its six colour lists and the fBm parameters nested.

#include "generate/block_values.h"

#include <cstdint>
#include <string>

namespace korvel {

struct LightParms;
class TokenReader;
class Builtins;

// 0 when LightParmsEnd was read (and consumed), -1 when the input ended first (also inside a
// nested block). Fields not in the block keep their values; nothing is range-checked.
int32_t ReadLightParms(LightParms& record, TokenReader& reader, Builtins& builtins);
// The block as the writer lays it out, one item a line.
std::string FormatLightParms(const LightParms& record, RealDigits digits = RealDigits::Five);

} // namespace korvel
