#include "generate/block_values.h"

#include "generate/keywords.h"
#include "generate/parser.h"
#include "generate/token_reader.h"

#include <array>
#include <charconv>
#include <cstdarg>
#include <cstdio>
#include <vector>

namespace korvel {

double ReadBlockReal(TokenReader& reader, Builtins& builtins) {
    const double value = ParseConstant(reader, builtins);
    if (reader.Token() == TokComma)
        reader.Next();
    return value;
}

int32_t ReadBlockInt(TokenReader& reader, Builtins& builtins) {
    const int32_t value = ParseConstantInt(reader, builtins);
    if (reader.Token() == TokComma)
        reader.Next();
    return value;
}

void AppendFormat(std::string& out, const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    if (length > 0) {
        std::vector<char> line(static_cast<size_t>(length) + 1);
        std::vsnprintf(line.data(), line.size(), format, again);
        out.append(line.data(), static_cast<size_t>(length));
    }
    va_end(again);
}

std::string RealText(double value, RealDigits digits) {
    // Fixed notation of the smallest subnormal needs 324 decimals, of the largest double 309
    // integer digits.
    std::array<char, 400> text{};
    const auto result = digits == RealDigits::Five
                            ? std::to_chars(text.data(), text.data() + text.size(), value,
                                            std::chars_format::fixed, 5)
                            : std::to_chars(text.data(), text.data() + text.size(), value,
                                            std::chars_format::fixed);
    return std::string(text.data(), result.ptr);
}

std::string KeywordText(int32_t code) {
    return std::string(KeywordName(code));
}

} // namespace korvel
