#include "formats/fixed_columns.h"

#include <cerrno>
#include <cstdlib>

namespace korvel {

namespace {

constexpr size_t LongestField = 40;

// The field as text: exponent letter D made E, stopped at the field's end.
bool FieldText(const uint8_t* at, size_t width, char (&text)[LongestField + 1]) {
    if (width > LongestField)
        return false;
    for (size_t i = 0; i < width; ++i) {
        const char c = static_cast<char>(at[i]);
        text[i] = c == 'D' || c == 'd' ? 'E' : c == '\0' ? ' ' : c;
    }
    text[width] = '\0';
    return true;
}

bool OnlyBlanks(const char* from) {
    for (; *from; ++from)
        if (*from != ' ')
            return false;
    return true;
}

} // namespace

bool FixedReal(const uint8_t* at, size_t width, double& value) {
    char text[LongestField + 1];
    if (!FieldText(at, width, text))
        return false;
    char* end = nullptr;
    errno = 0;
    const double parsed = std::strtod(text, &end);
    if (end == text || errno == ERANGE || !OnlyBlanks(end))
        return false;
    value = parsed;
    return true;
}

bool FixedInt(const uint8_t* at, size_t width, int64_t& value) {
    char text[LongestField + 1];
    if (!FieldText(at, width, text))
        return false;
    char* end = nullptr;
    errno = 0;
    const long long parsed = std::strtoll(text, &end, 10);
    if (end == text || errno == ERANGE || !OnlyBlanks(end))
        return false;
    value = parsed;
    return true;
}

} // namespace korvel
