#pragma once
// A command line cut into a program and its arguments the way a POSIX shell quotes words, with no
// shell involved: blanks separate words, '...' keeps everything, "..." keeps everything but
// \$ \` \" \\ and a backslash-newline, and an unquoted backslash keeps the next character.
// Variables, globs and ~ stay as written.

#include <string>
#include <vector>

namespace korvel {

struct CommandLineWords {
    std::vector<std::string> Words;
    // Why the line cannot be cut (a quote left open); empty when it was.
    std::string Failure;
};

CommandLineWords SplitCommandLine(const std::string& line);

// The word quoted so that SplitCommandLine gives it back unchanged (a browsed path with blanks).
std::string QuoteCommandWord(const std::string& word);

} // namespace korvel
