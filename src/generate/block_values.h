#pragma once
// What every definition-block reader and writer shares: values followed by optional commas, and
// items formatted with the keyword's own spelling.

#include <cstdint>
#include <string>

namespace korvel {

class TokenReader;
class Builtins;

// One constant and the comma after it, if there is one.
double ReadBlockReal(TokenReader& reader, Builtins& builtins);
int32_t ReadBlockInt(TokenReader& reader, Builtins& builtins);

// How writers spell reals: five decimals as the files have always had them, or the fewest
// digits that read back as the same double (files that must restore a record exactly).
enum class RealDigits { Five, RoundTrip };
// value in fixed notation with a full stop whatever the locale; Five is "%0.5f" in the C locale.
std::string RealText(double value, RealDigits digits);

// printf into the end of out.
void AppendFormat(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
// The written name of a keyword code ("bias" for Bias).
std::string KeywordText(int32_t code);

} // namespace korvel
