#include "commands/command_line_words.h"

namespace korvel {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

// The characters a backslash quotes inside double quotes; before any other it is kept.
bool EscapableInDoubleQuotes(char c) {
    return c == '$' || c == '`' || c == '"' || c == '\\' || c == '\n';
}

} // namespace

CommandLineWords SplitCommandLine(const std::string& line) {
    CommandLineWords result;
    std::string word;
    // A word has begun even when it is still empty: '' is an empty argument.
    bool inWord = false;
    const size_t n = line.size();
    for (size_t i = 0; i < n; ++i) {
        const char c = line[i];
        if (IsBlank(c)) {
            if (inWord)
                result.Words.push_back(word);
            word.clear();
            inWord = false;
        } else if (c == '\\') {
            if (i + 1 == n) {
                // Nothing left to quote: the backslash stands for itself, as sh has it.
                word += c;
            } else if (line[++i] != '\n') {
                word += line[i];
            } else if (!inWord) {
                continue;
            }
            inWord = true;
        } else if (c == '\'') {
            const size_t close = line.find('\'', i + 1);
            if (close == std::string::npos) {
                result.Failure =
                    "a ' quote opened at character " + std::to_string(i + 1) + " is not closed";
                return result;
            }
            word.append(line, i + 1, close - i - 1);
            i = close;
            inWord = true;
        } else if (c == '"') {
            const size_t open = i;
            for (++i; i < n && line[i] != '"'; ++i) {
                if (line[i] == '\\' && i + 1 < n && EscapableInDoubleQuotes(line[i + 1])) {
                    if (line[++i] != '\n')
                        word += line[i];
                } else {
                    word += line[i];
                }
            }
            if (i >= n) {
                result.Failure =
                    "a \" quote opened at character " + std::to_string(open + 1) + " is not closed";
                return result;
            }
            inWord = true;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        result.Words.push_back(word);
    return result;
}

std::string QuoteCommandWord(const std::string& word) {
    if (!word.empty() && word.find_first_of(" \t\n'\"\\$`") == std::string::npos)
        return word;
    std::string quoted = "'";
    for (const char c : word) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

} // namespace korvel
