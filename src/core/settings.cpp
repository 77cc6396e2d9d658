#include "core/settings.h"

#include "core/settings_store.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace korvel {

namespace {

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

template <class T> T& As(const SettingDescriptor& s) {
    return *static_cast<T*>(s.Variable);
}

// "%d" semantics (leading digits count, junk after them is ignored), but a number that does not
// fit 32 bits is a failed parse rather than a wrapped value; out is then untouched.
bool ParseInt(const std::string& text, int32_t& out) {
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(begin, &end, 10);
    if (end == begin || errno == ERANGE || v < INT32_MIN || v > INT32_MAX)
        return false;
    out = static_cast<int32_t>(v);
    return true;
}

// A float variable cannot take a finite double beyond its range (the conversion is undefined).
bool FitsVariable(const SettingDescriptor& s, double v) {
    return s.Type != SettingType::Float || !std::isfinite(v) ||
           std::fabs(v) <= static_cast<double>(std::numeric_limits<float>::max());
}

} // namespace

std::string SettingDescriptor::Name() const {
    if (!Persisted)
        return Section + "." + Key;
    return Section.empty() ? Key : Section + "/" + Key;
}

std::string FormatSetting(const SettingDescriptor& s) {
    char buf[512];
    switch (s.Type) {
    case SettingType::Bool:
        std::snprintf(buf, sizeof buf, "%d", As<bool>(s) ? 1 : 0);
        return buf;
    case SettingType::Int:
    case SettingType::Int7:
        std::snprintf(buf, sizeof buf, "%d", As<int32_t>(s));
        return buf;
    case SettingType::Long:
        std::snprintf(buf, sizeof buf, "%ld", static_cast<long>(As<int32_t>(s)));
        return buf;
    case SettingType::Double:
        std::snprintf(buf, sizeof buf, "%lf", As<double>(s));
        return buf;
    case SettingType::Float:
        std::snprintf(buf, sizeof buf, "%f", static_cast<double>(As<float>(s)));
        return buf;
    case SettingType::Text:
        return As<std::string>(s);
    case SettingType::Buffer:
        return std::string(static_cast<const char*>(s.Variable),
                           strnlen(static_cast<const char*>(s.Variable),
                                   static_cast<size_t>(std::max(s.Extra, 0))));
    default:
        return {};
    }
}

bool ParseSetting(const SettingDescriptor& s, const std::string& text) {
    switch (s.Type) {
    case SettingType::Bool: {
        int32_t v;
        if (!ParseInt(text, v))
            return false;
        As<bool>(s) = v != 0;
        return true;
    }
    case SettingType::Int:
    case SettingType::Int7:
    case SettingType::Long:
        return ParseInt(text, As<int32_t>(s));
    case SettingType::Double:
    case SettingType::Float: {
        double v;
        if (std::sscanf(text.c_str(), "%lf", &v) != 1 || !FitsVariable(s, v))
            return false;
        if (s.Type == SettingType::Double)
            As<double>(s) = v;
        else
            As<float>(s) = static_cast<float>(v);
        return true;
    }
    case SettingType::Text:
        As<std::string>(s) = text;
        return true;
    case SettingType::Buffer: {
        if (s.Extra <= 0)
            return false;
        auto* buffer = static_cast<char*>(s.Variable);
        const size_t n = std::min(text.size(), static_cast<size_t>(s.Extra - 1));
        std::memcpy(buffer, text.data(), n);
        buffer[n] = '\0';
        return true;
    }
    default:
        return false;
    }
}

bool AssignSetting(const SettingDescriptor& s, const std::string& text) {
    if (s.Type == SettingType::Text || s.Type == SettingType::Buffer)
        return ParseSetting(s, text);
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(begin, &end);
    while (end && std::isspace(static_cast<unsigned char>(*end)))
        ++end;
    if (end == begin || *end != '\0' || errno == ERANGE || !std::isfinite(v))
        return false;
    const bool integral = s.Type != SettingType::Double && s.Type != SettingType::Float;
    if (integral && (v != std::trunc(v) || v < INT32_MIN || v > INT32_MAX))
        return false;
    if (v < s.Lo || v > s.Hi || !FitsVariable(s, v))
        return false;
    switch (s.Type) {
    case SettingType::Bool:
        if (v != 0.0 && v != 1.0)
            return false;
        As<bool>(s) = v != 0.0;
        return true;
    case SettingType::Int:
    case SettingType::Int7:
    case SettingType::Long:
        As<int32_t>(s) = static_cast<int32_t>(v);
        return true;
    case SettingType::Double:
        As<double>(s) = v;
        return true;
    case SettingType::Float:
        As<float>(s) = static_cast<float>(v);
        return true;
    default:
        return false;
    }
}

const SettingDescriptor* FindSetting(const SettingsTable& table, std::string_view name) {
    const SettingDescriptor* found = nullptr;
    int matches = 0;
    const size_t dot = name.find('.');
    const size_t slash = name.find('/');
    for (const SettingDescriptor& s : table) {
        if (s.Type == SettingType::Skip)
            continue;
        bool match;
        if (slash != std::string_view::npos)
            match = s.Persisted && EqualNoCase(name.substr(0, slash), s.Section) &&
                    EqualNoCase(name.substr(slash + 1), s.Key);
        else if (dot != std::string_view::npos)
            match = !s.Persisted && EqualNoCase(name.substr(0, dot), s.Section) &&
                    EqualNoCase(name.substr(dot + 1), s.Key);
        else
            match = s.Persisted && EqualNoCase(name, s.Key);
        if (match) {
            found = &s;
            ++matches;
        }
    }
    return matches == 1 ? found : nullptr;
}

std::vector<SettingLoadFailure> LoadSettings(const SettingsTable& table, SettingsStore& store) {
    std::vector<SettingLoadFailure> failures;
    for (const SettingDescriptor& s : table) {
        if (s.Type == SettingType::Skip || !s.Persisted)
            continue;
        const std::string text =
            store.Read(SettingsStore::Subkey(s.Section), s.Key).value_or(FormatSetting(s));
        if (!ParseSetting(s, text))
            failures.push_back({s.Name(), text});
    }
    return failures;
}

void SaveSettings(const SettingsTable& table, SettingsStore& store) {
    for (const SettingDescriptor& s : table) {
        if (!s.Persisted)
            continue;
        store.Write(SettingsStore::Subkey(s.Section), s.Key, FormatSetting(s));
    }
}

} // namespace korvel
