#include "generate/keywords.h"
#include "generate/token_reader.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace korvel {
namespace {

TEST(KeywordTest, LookUpBothWays) {
    const std::pair<const char*, int32_t> byName[] = {
        {"BIAS", 33}, {"p3", 98}, {"FRACPARMSEND", 175}, {"Simple", 185}, {"sinx", 3}, {"", 3}};
    for (const auto& [name, code] : byName)
        EXPECT_EQ(KeywordCode(name), code) << name;
    const std::pair<int32_t, const char*> byCode[] = {
        {33, "bias"}, {131, "SeaEqual"}, {185, "Simple"}, {40, ""}, {28, ""}, {186, ""}};
    for (const auto& [code, name] : byCode)
        EXPECT_EQ(KeywordName(code), name) << code;
}

TEST(TokenReaderTest, EveryTokenCode) {
    const struct {
        std::string Line;
        int32_t Code;
        std::string Text;
    } cases[] = {{"  \t ", 1, ""}, {"*)", 11, "*)"},        {"(*", 12, "(*"},
                 {"//", 13, "//"}, {". 5", 18, "."},        {"-5", 26, "-"},
                 {"**", 38, "**"}, {"_a1 b", 3, "_a1"},     {"SIN", 47, "SIN"},
                 {".5", 4, ".5"},  {"\"a 'b\"", 6, "a 'b"}, {"'open", 6, "open"},
                 {"\"", 6, ""},    {"#", 2, "#"},           {"\xC3\xA9", 2, "\xC3"}};
    TokenReader reader;
    for (const auto& c : cases) {
        reader.SetLine(c.Line);
        EXPECT_EQ(reader.Token(), c.Code) << c.Line;
        EXPECT_EQ(reader.Text(), c.Text) << c.Line;
    }
}

TEST(TokenReaderTest, NumbersAndAngles) {
    const struct {
        const char* Line;
        double Value;
        int32_t After; // code of the token that follows
    } cases[] = {{"5.", 5.0, 0},   {"1e3", 1000.0, 0},   {"1e+5", 1.0, 23},
                 {"2x", 2.0, 54},  {"45d 30'", 45.5, 0}, {"10D 15M 36\" ,", 10.26, 10},
                 {"36S", 0.01, 0}, {"45d 30", 45.0, 4},  {"1e999", HUGE_VAL, 0}};
    TokenReader reader;
    for (const auto& c : cases) {
        reader.SetLine(c.Line);
        EXPECT_EQ(reader.Token(), 4) << c.Line;
        EXPECT_DOUBLE_EQ(reader.Number(), c.Value) << c.Line;
        EXPECT_EQ(reader.Next(), c.After) << c.Line;
    }
}

TEST(TokenReaderTest, TokenNamesAndUserNames) {
    TokenReader reader;
    const std::pair<int32_t, const char*> names[] = {
        {29, "abs"}, {175, "FracParmsEnd"}, {11, "*/"}, {28, "-"}, {17, ""}, {40, ""}, {2048, ""}};
    for (const auto& [code, name] : names)
        EXPECT_EQ(reader.TokenName(code), name) << code;

    EXPECT_EQ(reader.SetName(2047, "low"), -1);
    EXPECT_EQ(reader.SetName(65536, "high"), -2);
    EXPECT_EQ(reader.SetName(2050, "mine"), 0);
    EXPECT_EQ(reader.SetName(65535, "last"), 0);
    EXPECT_EQ(reader.TokenName(2050), "mine");
    EXPECT_EQ(reader.ClearName(2050), 0);
    EXPECT_EQ(reader.TokenName(2050), "");
    EXPECT_EQ(reader.ClearName(100), -1);
    EXPECT_EQ(reader.ClearName(70000), -2);
    reader.ClearNames();
    EXPECT_EQ(reader.ClearName(3000), -3);
    EXPECT_EQ(reader.TokenName(65535), "");
}

// Codes and line numbers of the significant tokens of a file. Comment text is not lexed, so
// an apostrophe inside a comment cannot swallow its closer.
TEST(TokenReaderTest, FileCommentsAcrossLines) {
    test::TempDir dir;
    const std::string path = dir.File("def.txt");
    test::WriteFileText(path, "// header\n"
                              "\n"
                              "FracParms // note\n"
                              "(* the user's comment\n"
                              "   spans lines **) Type 3 /* it's */ Seed\n"
                              "x\n"
                              "/* never closed\n"
                              "Seed\n");
    TokenReader reader;
    EXPECT_EQ(reader.Open(dir.File("missing.txt")), -2);
    ASSERT_EQ(reader.Open(path), 0);
    EXPECT_EQ(reader.Open(path), -1);
    EXPECT_EQ(reader.Token(), 13);
    for (auto [code, line] : {std::pair{167, 3}, {111, 5}, {4, 5}, {168, 5}, {54, 6}}) {
        EXPECT_EQ(reader.Next(), code);
        EXPECT_EQ(reader.Line(), line);
    }
    EXPECT_EQ(reader.Next(), 0); // the unclosed comment runs to the end, and the end stays
    EXPECT_EQ(reader.Next(), 0);
    EXPECT_EQ(reader.Close(), 0);
    EXPECT_EQ(reader.Close(), -1);
}

TEST(TokenReaderTest, NulBytesAndLongTokens) {
    test::TempDir dir;
    const std::string path = dir.File("nul.txt");
    test::WriteFileText(path, std::string("x\0y\n", 4));
    TokenReader reader;
    ASSERT_EQ(reader.Open(path), 0);
    EXPECT_EQ(reader.Token(), 54);
    EXPECT_EQ(reader.Next(), 2);
    EXPECT_EQ(reader.Text(), std::string(1, '\0'));
    EXPECT_EQ(reader.Next(), 55);
    reader.Close();

    // SetLine turns the NUL into a space.
    reader.SetLine(std::string("a\0b", 3));
    EXPECT_EQ(reader.Text(), "a");
    EXPECT_EQ(reader.Next(), 3);
    EXPECT_EQ(reader.Text(), "b");

    reader.SetLine(std::string(3000, 'q'));
    EXPECT_EQ(reader.Token(), 3);
    EXPECT_EQ(reader.Text(), std::string(TokenReader::TextCapacity, 'q'));
    EXPECT_EQ(reader.Next(), 0);
}

// A 1 MB line arrives in pieces of 4095 characters, each counted as a line.
TEST(TokenReaderTest, MegabyteLineInPieces) {
    test::TempDir dir;
    const std::string path = dir.File("long.txt");
    const size_t length = 1 << 20;
    test::WriteFileText(path, std::string(length, 'a') + "\nSeed\n");
    const int32_t pieces = static_cast<int32_t>((length + 4094) / 4095);
    TokenReader reader;
    ASSERT_EQ(reader.Open(path), 0);
    int32_t identifiers = 0;
    for (int32_t code = reader.Token(); code == 3; code = reader.Next()) {
        ++identifiers;
        EXPECT_LE(reader.Text().size(), 2047u);
    }
    EXPECT_EQ(identifiers, pieces);
    EXPECT_EQ(reader.Token(), 168);
    EXPECT_EQ(reader.Line(), pieces + 1);
}

} // namespace
} // namespace korvel
