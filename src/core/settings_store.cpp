#include "core/settings_store.h"

#include "core/atomic_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace korvel {

// File layout: "[Section]" lines, each followed by its "Key=value" lines. A value is everything
// after the first '=', byte for byte, so '=', spaces at either end and empty values need no
// escaping and Windows paths stay readable. Only a text the line structure cannot hold as it is
// (a line break anywhere, a leading '"', and for keys an '=' or a leading '[') is written in
// double quotes, with \\, \", \n and \r escaped inside. Blank and malformed lines are skipped.

namespace {

bool NeedsQuotes(const std::string& text, bool isKey) {
    if (!text.empty() && (text.front() == '"' || (isKey && text.front() == '[')))
        return true;
    for (const char c : text)
        if (c == '\n' || c == '\r' || (isKey && c == '='))
            return true;
    return false;
}

std::string Encode(const std::string& text, bool isKey) {
    if (!NeedsQuotes(text, isKey))
        return text;
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    out += '"';
    return out;
}

// The inverse of Encode for a text that starts and ends with '"'; anything else is taken as it is.
std::string Decode(const std::string& text) {
    if (text.size() < 2 || text.front() != '"' || text.back() != '"')
        return text;
    std::string out;
    const size_t end = text.size() - 1;
    for (size_t i = 1; i < end; ++i) {
        char c = text[i];
        if (c == '\\' && i + 1 < end) {
            c = text[++i];
            if (c == 'n')
                c = '\n';
            else if (c == 'r')
                c = '\r';
        }
        out += c;
    }
    return out;
}

// Where the key of a "Key=value" line ends (the position of its '='), or npos when the line has
// none.
size_t KeyEnd(const std::string& line) {
    if (line.empty() || line.front() != '"')
        return line.find('=');
    for (size_t i = 1; i < line.size(); ++i) {
        if (line[i] == '\\')
            ++i;
        else if (line[i] == '"')
            return i + 1 < line.size() && line[i + 1] == '=' ? i + 1 : std::string::npos;
    }
    return std::string::npos;
}

} // namespace

std::optional<std::string> MemorySettingsStore::Read(const std::string& section,
                                                     const std::string& key) {
    const auto found = Values.find({section, key});
    if (found == Values.end())
        return std::nullopt;
    return found->second;
}

void MemorySettingsStore::Write(const std::string& section, const std::string& key,
                                const std::string& value) {
    Values[{section, key}] = value;
}

IniSettingsStore::IniSettingsStore(std::string path) : FilePath(std::move(path)) {
    errno = 0;
    std::ifstream in(FilePath, std::ios::binary);
    if (!in.is_open()) {
        Failure = errno != 0 ? std::strerror(errno) : "it cannot be opened";
        return;
    }
    std::string line;
    std::optional<std::string> section;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            section = Decode(line.substr(1, line.size() - 2));
            continue;
        }
        const size_t equals = KeyEnd(line);
        if (!section || equals == std::string::npos)
            continue;
        Contents.Write(*section, Decode(line.substr(0, equals)), Decode(line.substr(equals + 1)));
    }
    // A directory opens but cannot be read.
    if (in.bad())
        Failure = "it cannot be read";
}

std::optional<std::string> IniSettingsStore::Read(const std::string& section,
                                                  const std::string& key) {
    return Contents.Read(section, key);
}

void IniSettingsStore::Write(const std::string& section, const std::string& key,
                             const std::string& value) {
    Contents.Write(section, key, value);
}

bool IniSettingsStore::Flush() {
    std::string text;
    const std::string* section = nullptr;
    for (const auto& [where, value] : Contents.Values) {
        if (!section || *section != where.first) {
            if (section)
                text += '\n';
            section = &where.first;
            text += '[' + Encode(*section, false) + "]\n";
        }
        text += Encode(where.second, true) + '=' + Encode(value, false) + '\n';
    }
    return WriteFileAtomically(FilePath, text.data(), text.size());
}

} // namespace korvel
