#pragma once
// The ColorList block of definition files and colour-list files: a colour ramp as text.

#include "generate/block_values.h"

#include <cstdint>
#include <string>

namespace korvel {

class ColorList;
class TokenReader;
class Builtins;

// 0 when ColorListEnd was read (and consumed), -1 when the input ended first. Items not in the
// block keep their values; Data replaces the entries.
int32_t ReadColorList(ColorList& list, TokenReader& reader, Builtins& builtins);
// The block as the writer lays it out, one entry a line.
std::string FormatColorList(const ColorList& list, RealDigits digits = RealDigits::Five);

// value with five decimals and a full stop whatever the locale, as "%0.5f" gives in the C locale.
std::string FixedText(double value);

} // namespace korvel
