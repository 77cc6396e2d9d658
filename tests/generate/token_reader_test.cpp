#include "generate/keywords.h"
#include "generate/token_reader.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>

namespace korvel {
namespace {

using namespace std::string_literals;

TEST(KeywordTest, LookUpBothWays) {
    EXPECT_EQ(KeywordCode("FRACPARMSEND"), 175);
    EXPECT_EQ(KeywordCode("sinx"), 3); // an identifier, not sin
    EXPECT_EQ(KeywordCode(""), 3);
    EXPECT_EQ(KeywordName(131), "SeaEqual");
    for (const int32_t code : {40, 28, 186})
        EXPECT_EQ(KeywordName(code), "") << code;
}

TEST(TokenReaderTest, EveryTokenCode) {
    const std::tuple<std::string, int32_t, std::string> cases[] = {
        {"  \t ", 1, ""}, {"*)", 11, "*)"},    {"(*", 12, "(*"},        {". 5", 18, "."},
        {"-5", 26, "-"},  {"_a1 b", 3, "_a1"}, {"\"a 'b\"", 6, "a 'b"}, {"'open", 6, "open"},
        {"\"", 6, ""},    {"#", 2, "#"},       {"\xC3\xA9", 2, "\xC3"}};
    TokenReader reader;
    for (const auto& [line, code, text] : cases) {
        reader.SetLine(line);
        EXPECT_EQ(reader.Token(), code) << line;
        EXPECT_EQ(reader.Text(), text) << line;
    }
    reader.SetLine(std::string("a\0b", 3));
    EXPECT_EQ(reader.Text(), "a"); // SetLine turns the NUL into a space
    EXPECT_EQ(reader.Next(), 3);
    reader.SetLine(std::string(3000, 'q'));
    EXPECT_EQ(reader.Text(), std::string(TokenReader::TextCapacity, 'q'));
    EXPECT_EQ(reader.Next(), 0);
}

TEST(TokenReaderTest, NumbersAndAngles) {
    // The line, its number and the code of the token that follows.
    const std::tuple<const char*, double, int32_t> cases[] = {
        {"5.", 5.0, 0},   {"45d 30'", 45.5, 0}, {"10D 15M 36\" ,", 10.26, 10},
        {"36S", 0.01, 0}, {"45d 30", 30.0, 0},  {"1e999", HUGE_VAL, 0}};
    TokenReader reader;
    for (const auto& [line, value, after] : cases) {
        reader.SetLine(line);
        EXPECT_EQ(reader.Token(), 4) << line;
        EXPECT_DOUBLE_EQ(reader.Number(), value) << line;
        EXPECT_EQ(reader.Next(), after) << line;
    }
}

TEST(TokenReaderTest, TokenNamesAndUserNames) {
    TokenReader reader;
    for (const auto& [code, name] : {std::pair{11, "*/"}, {28, "-"}, {17, ""}, {2048, ""}})
        EXPECT_EQ(reader.TokenName(code), name) << code;
    EXPECT_EQ(reader.SetName(2047, "low"), -1);
    EXPECT_EQ(reader.SetName(65536, "high"), -2);
    EXPECT_EQ(reader.SetName(2050, "mine"), 0);
    EXPECT_EQ(reader.SetName(65535, "last"), 0);
    EXPECT_EQ(reader.TokenName(2050), "mine");
    EXPECT_EQ(reader.ClearName(2050), 0);
    EXPECT_EQ(reader.ClearName(100), -1);
    reader.ClearNames();
    EXPECT_EQ(reader.ClearName(3000), -3);
}

// Comment text is not lexed, so an apostrophe inside a comment cannot swallow its closer.
TEST(TokenReaderTest, FileCommentsAcrossLines) {
    test::TempDir dir;
    const std::string path = dir.File("def.txt");
    test::WriteFileText(
        path, "// header\n\nFracParms // note\n(* the user's comment\n"
              "   spans lines **) Type 3 /* it's */ Seed\nx\0y\n/* never closed\nSeed\n"s);
    TokenReader reader;
    EXPECT_EQ(reader.Open(dir.File("missing.txt")), -2);
    ASSERT_EQ(reader.Open(path), 0);
    EXPECT_EQ(reader.Open(path), -1);
    EXPECT_EQ(reader.Token(), 13);
    for (auto [code, line] :
         {std::pair{167, 3}, {111, 5}, {4, 5}, {168, 5}, {54, 6}, {2, 6}, {55, 6}}) {
        EXPECT_EQ(reader.Next(), code);
        EXPECT_EQ(reader.Line(), line);
    }
    EXPECT_EQ(reader.Next(), 0); // the unclosed comment runs to the end, and the end stays
    EXPECT_EQ(reader.Next(), 0);
    EXPECT_EQ(reader.Close(), 0);
    EXPECT_EQ(reader.Close(), -1);
}

// A 1 MB line arrives in pieces of 4095 characters, each counted as a line.
TEST(TokenReaderTest, MegabyteLineInPieces) {
    test::TempDir dir;
    test::WriteFileText(dir.File("long.txt"), std::string(1 << 20, 'a') + "\nSeed\n");
    const int32_t pieces = ((1 << 20) + 4094) / 4095;
    TokenReader reader;
    ASSERT_EQ(reader.Open(dir.File("long.txt")), 0);
    int32_t identifiers = 0;
    for (int32_t code = reader.Token(); code == 3; code = reader.Next())
        ++identifiers;
    EXPECT_EQ(identifiers, pieces);
    EXPECT_EQ(reader.Token(), 168);
    EXPECT_EQ(reader.Line(), pieces + 1);
}

} // namespace
} // namespace korvel
