#include "commands/command_line_words.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

struct SplitCase {
    const char* Name;
    std::string Line;
    std::vector<std::string> Words;
};

// Worked out by the POSIX quoting rules (and the same lines given to dash's printf '[%s]').
const SplitCase SplitCases[] = {
    {"blanks separate words", "  povray\t+Iscene.pov  +W640 ", {"povray", "+Iscene.pov", "+W640"}},
    {"nothing but blanks", " \t \n ", {}},
    {"single quotes keep blanks and backslashes",
     R"(view 'My Maps/a\b.bmp')",
     {"view", R"(My Maps/a\b.bmp)"}},
    {"double quotes keep blanks", R"(view "My Maps/a b.bmp")", {"view", "My Maps/a b.bmp"}},
    {"backslash in double quotes quotes only $ ` \" \\",
     R"(x "a\"b\\c\$d\`e\f")",
     {"x", R"(a"b\c$d`e\f)"}},
    {"unquoted backslash keeps the next character", R"(x a\ b \'c\")", {"x", "a b", R"('c")"}},
    {"quoted parts join the word around them", R"(x a"b c"d'e f'g)", {"x", "ab cde fg"}},
    {"empty quotes make an empty argument", R"(x '' "" y)", {"x", "", "", "y"}},
    {"backslash-newline continues the line", "x a\\\nb \"c\\\nd\"", {"x", "ab", "cd"}},
    {"a backslash-newline alone is no word", "x \\\n y", {"x", "y"}},
    {"a trailing backslash stands for itself", R"(x a\)", {"x", R"(a\)"}},
    {"no expansion of variables, globs or ~",
     "ls $HOME *.mdr ~/x",
     {"ls", "$HOME", "*.mdr", "~/x"}},
    {"a single quote inside double quotes", R"(echo "it's")", {"echo", "it's"}},
};

TEST(SplitCommandLine, CutsWordsAsAShellQuotesThem) {
    for (const SplitCase& c : SplitCases) {
        const CommandLineWords result = SplitCommandLine(c.Line);
        EXPECT_EQ(result.Failure, "") << c.Name;
        EXPECT_EQ(result.Words, c.Words) << c.Name;
    }
}

TEST(SplitCommandLine, AnOpenQuoteIsRefusedNamingWhereItOpened) {
    const struct {
        const char* Name;
        std::string Line;
        std::string Failure;
    } cases[] = {
        {"single", "view 'a b", "a ' quote opened at character 6 is not closed"},
        {"double", "x \"a\\\"", "a \" quote opened at character 3 is not closed"},
        {"double inside single is closed", "x '\"' \"'",
         "a \" quote opened at character 7 is not closed"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitCommandLine(c.Line).Failure, c.Failure) << c.Name;
}

TEST(QuoteCommandWord, GivesBackTheSameWordWhenSplit) {
    const struct {
        const char* Name;
        std::string Word;
        std::string Quoted;
    } cases[] = {
        {"plain path stays bare", "/usr/bin/povray", "/usr/bin/povray"},
        {"blank", "/opt/My Renderer/run", "'/opt/My Renderer/run'"},
        {"single quote", "it's", R"('it'\''s')"},
        {"empty", "", "''"},
        {"dollar and backslash", R"(a$b\c)", R"('a$b\c')"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(QuoteCommandWord(c.Word), c.Quoted) << c.Name;
        EXPECT_EQ(SplitCommandLine(c.Quoted).Words, std::vector<std::string>{c.Word}) << c.Name;
    }
}

} // namespace
} // namespace korvel
