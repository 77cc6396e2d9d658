#include "generate/keywords.h"
#include "generate/parser.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <tuple>

namespace korvel {
namespace {

// Add, multiply, divide and negate by the operator codes, sqr, and a rand.
struct Arithmetic : Builtins {
    double Builtin(int32_t code, const double* a, int32_t count) override {
        return code == 23   ? a[0] + a[1]
               : code == 25 ? a[0] * a[1]
               : code == 24 ? a[0] / a[1]
               : code == 28 ? -a[0]
               : code == 50 ? a[0] * a[0]
               : code == 44 ? 0.5 * a[0] + count
                            : 0.0;
    }
} arithmetic;

// "code(child,...)" for operations, "#value" for constants.
std::string Shape(const ExprNode& node) {
    std::ostringstream out;
    if (node.Kind == ExprConstant)
        out << '#' << node.Values[0];
    else
        out << node.Code;
    for (size_t i = 0; i < node.Children.size(); ++i)
        out << (i ? "," : "(") << Shape(*node.Children[i]);
    out << (node.Children.empty() ? "" : ")");
    return out.str();
}

// Same-level operators group to the right (8/4/2 is 8/(4/2)); an empty argument is left out;
// constant parts are folded.
TEST(ParserTest, GrammarShapes) {
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {
        {"x-y-z", "26(54,26(55,56))"}, {"x*y+z", "23(25(54,55),56)"}, {"-x*y", "25(28(54),55)"},
        {"SIN(X)", "47(54)"}, {"sin()", "47"}, {"pow(,y)", "53(55)"}, {"sqr(3)+x", "23(#9,54)"},
        {"if(x,1,2)", "87(54,#1,#2)"}, {"/* c */ cenr // d", "69"}, {"8/4/2", "#4"},
        {"-2*3", "#-6"}, {"1e+5", "#6"}, {"45d30m*2", "#91"}};
    // clang-format on
    for (const auto& [text, shape] : cases) {
        auto root = ParseExpression(text, arithmetic);
        ASSERT_TRUE(root) << text;
        EXPECT_EQ(Shape(*root), shape) << text;
    }
}

// The function table by argument count.
TEST(ParserTest, ArgumentCounts) {
    const char* byCount[] = {"x slope", "abs rand", "pow facing", "if",    "noise",
                             "crater",  "dist fbm", "hybrid",     "ridged"};
    for (size_t count = 0; count < std::size(byCount); ++count) {
        std::istringstream list(byCount[count]);
        for (std::string name; list >> name;) {
            std::string call = name;
            for (size_t i = 0; i < count; ++i)
                call += i == 0 ? "(x" : ",x";
            if (count > 0)
                call += ")";
            auto root = ParseExpression(call, arithmetic);
            ASSERT_TRUE(root) << call;
            EXPECT_EQ(root->Code, KeywordCode(name)) << call;
            EXPECT_EQ(root->Children.size(), count) << call;
        }
    }
}

TEST(ParserTest, ConstantReadersAndLimits) {
    const std::tuple<const char*, double, int32_t, bool> cases[] = {
        {"-1e10", -1e10, -2147483647, false},
        {"1e999*0", NAN, 2147483647, false},
        {"-2147483646.9", -2147483646.9, -2147483646, false},
        {"/* c */", 1e20, 2147483647, true}};
    for (const auto& [text, real, integer, failed] : cases) {
        bool error = !failed;
        const double got = EvaluateConstantText(text, arithmetic, &error);
        EXPECT_TRUE(got == real || (std::isnan(got) && std::isnan(real))) << text;
        EXPECT_EQ(error, failed) << text;
        EXPECT_EQ(EvaluateConstantTextInt(text, arithmetic), integer) << text;
    }
}

TEST(ParserTest, FileValuesKeepAFailureReported) {
    test::TempDir dir;
    test::WriteFileText(dir.File("def.txt"), "-45d30m Size 7");
    TokenReader reader;
    ASSERT_EQ(reader.Open(dir.File("def.txt")), 0);
    EXPECT_DOUBLE_EQ(ParseConstant(reader, arithmetic), -45.5);
    EXPECT_EQ(ParseConstantInt(reader, arithmetic), 2147483647);
    reader.Next();
    EXPECT_EQ(ParseConstantInt(reader, arithmetic), 7);
    EXPECT_TRUE(reader.ExprError());
}

// A whole expression must be complete and end with its text; the message says where it stops
// making sense (positions from 0).
TEST(ParserTest, IncompleteOrTrailingTextIsRefusedWithItsPosition) {
    const std::pair<const char*, const char*> cases[] = {
        {"sin(x*", "ends at position 6 where a value was expected"},
        {"x*", "ends at position 2 where a value was expected"},
        {"(x+y", "ends at position 4 where \")\" was expected"},
        {"2x", "has \"x\" at position 1 where the end was expected"},
        {"sin(x) y", "has \"y\" at position 7 where the end was expected"},
        {"pow(x,y,z)", "has \",\" at position 7 where \")\" was expected"},
        {"sin x", "has \"x\" at position 4 where \"(\" was expected"},
        {")(", "has \")\" at position 0 where a value was expected"},
        {"  ", "ends at position 2 where a value was expected"},
    };
    for (const auto& [text, where] : cases) {
        std::string error;
        EXPECT_FALSE(ParseExpression(text, arithmetic, &error)) << text;
        const std::string want = "expression \"" + std::string(text) + "\" " + where;
        EXPECT_EQ(error, want);
        EXPECT_EQ(ExpressionProblem(text), want);
    }
    EXPECT_EQ(ExpressionProblem("rand(2) + sin(x)"), "");
}

// Bad and hostile input fails the parse cleanly; nothing overflows the stack or a buffer.
TEST(ParserTest, BadAndHostileInput) {
    for (const char* text : {"", "foo", "Size", "sin x", "'s'", ")", "(-)", "// c", "/* open"})
        EXPECT_FALSE(ParseExpression(text, arithmetic)) << text;
    std::string error;
    EXPECT_FALSE(ParseExpression(std::string(100000, '(') + "1", arithmetic, &error));
    EXPECT_EQ(error, "Expression nested too deeply\n\n\"" + std::string(4095, '(') + "\"");
    EXPECT_FALSE(ParseExpression(std::string(100000, '-') + "1", arithmetic));
    std::string chain = "1"; // 2000 subtractions
    while (chain.size() < 4001)
        chain += "-1";
    EXPECT_FALSE(ParseExpression(chain, arithmetic));
    auto nul = ParseExpression(std::string("1+\0 2", 5), arithmetic);
    ASSERT_TRUE(nul);
    EXPECT_EQ(nul->Values[0], 3.0);
}

} // namespace
} // namespace korvel
