#pragma once
// The FracParms block of definition files: surface-generation parameters as text.

#include "generate/block_values.h"

#include <cstdint>
#include <string>

namespace korvel {

struct FracParms;
class TokenReader;
class Builtins;

// 0 when FracParmsEnd was read (and consumed), -1 when the input ended first. Fields not in the
// block keep their values.
int32_t ReadFracParms(FracParms& record, TokenReader& reader, Builtins& builtins);
// The block as the writer lays it out, one item a line.
std::string FormatFracParms(const FracParms& record, RealDigits digits = RealDigits::Five);

} // namespace korvel
