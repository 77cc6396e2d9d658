#include "generate/keywords.h"
#include "generate/parser.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

namespace korvel {
namespace {

// Add, multiply, divide and negate by the operator codes, sqr, and a rand.
class Arithmetic : public Builtins {
public:
    double Builtin(int32_t code, const double* a, int32_t count) override {
        return code == 23   ? a[0] + a[1]
               : code == 25 ? a[0] * a[1]
               : code == 24 ? a[0] / a[1]
               : code == 28 ? -a[0]
               : code == 50 ? a[0] * a[0]
               : code == 44 ? 0.5 * a[0] + count
                            : 0.0;
    }
};

// "code(child,...)" for operations, "#value" for constants.
std::string Shape(const ExprNode& node) {
    std::ostringstream out;
    if (node.Kind == ExprConstant) {
        out << '#' << node.Values[0];
        return out.str();
    }
    out << node.Code;
    for (size_t i = 0; i < node.Children.size(); ++i)
        out << (i ? "," : "(") << Shape(*node.Children[i]);
    out << (node.Children.empty() ? "" : ")");
    return out.str();
}

// Same-level operators group to the right, so 10-3-2 is 10-(3-2) and 8/4/2 is 8/(4/2); what
// follows a complete expression is ignored, and constant parts are folded.
TEST(ParserTest, GrammarShapes) {
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {
        {"x-y-z", "26(54,26(55,56))"}, {"x/y*z", "24(54,25(55,56))"}, {"x*y+z", "23(25(54,55),56)"},
        {"-x*y", "25(28(54),55)"}, {"+x", "54"}, {"SIN(X)", "47(54)"}, {"sin()", "47"},
        {"pow(x,y,z)", "53(54,55)"}, {"pow(,y)", "53(55)"}, {"(x+y", "23(54,55)"}, {"2x", "#2"},
        {"x*", "54"}, {"sqr(3)+x", "23(#9,54)"}, {"if(x,1,2)", "87(54,#1,#2)"},
        {"/* c */ cenr // d", "69"}, {"8/4/2", "#4"}, {"-2*3", "#-6"}, {"--2", "#2"},
        {"1e+5", "#6"}, {"45d30m*2", "#91"}, {"2^3", "#2"}};
    // clang-format on
    Arithmetic arithmetic;
    for (const auto& [text, shape] : cases) {
        auto root = ParseExpression(text, arithmetic);
        ASSERT_TRUE(root) << text;
        EXPECT_EQ(Shape(*root), shape) << text;
    }
}

// The function table by argument count; a call given nine arguments keeps only that many.
TEST(ParserTest, ArgumentCounts) {
    const char* byCount[] = {"x slope", "abs rand", "pow facing", "if",    "noise",
                             "crater",  "dist fbm", "hybrid",     "ridged"};
    Arithmetic arithmetic;
    for (size_t count = 0; count < std::size(byCount); ++count) {
        std::istringstream list(byCount[count]);
        for (std::string name; list >> name;) {
            const std::string call = count == 0 ? name : name + "(x,x,x,x,x,x,x,x,x)";
            auto root = ParseExpression(call, arithmetic);
            ASSERT_TRUE(root) << call;
            EXPECT_EQ(root->Code, KeywordCode(name)) << call;
            EXPECT_EQ(root->Children.size(), count) << call;
        }
    }
}

TEST(ParserTest, FailuresGiveTheMessage) {
    const char* texts[] = {"", "foo", "Size", "sin x", "'s'", ")", "(-)", "// c", "/* open"};
    Arithmetic arithmetic;
    for (const char* text : texts) {
        std::string error;
        EXPECT_FALSE(ParseExpression(text, arithmetic, &error)) << text;
        EXPECT_EQ(error, std::string("Unable to parse expression\n\n\"") + text + "\"");
    }
}

TEST(ParserTest, ConstantReadersAndLimits) {
    const struct {
        const char* Text;
        double Real;
        int32_t Integer;
        bool Error;
    } cases[] = {{"1e10", 1e10, 2147483647, false},
                 {"-2147483646.9", -2147483646.9, -2147483646, false},
                 {"-1e10", -1e10, -2147483647, false},
                 {"x", 1e20, 2147483647, false},
                 {"1e999*0", std::nan(""), 2147483647, false},
                 {"Size", 1e20, 2147483647, true},
                 {"/* only a comment */", 1e20, 2147483647, true}};
    Arithmetic arithmetic;
    for (const auto& c : cases) {
        bool error = !c.Error;
        const double real = EvaluateConstantText(c.Text, arithmetic, &error);
        if (std::isnan(c.Real))
            EXPECT_TRUE(std::isnan(real)) << c.Text;
        else
            EXPECT_DOUBLE_EQ(real, c.Real) << c.Text;
        EXPECT_EQ(error, c.Error) << c.Text;
        EXPECT_EQ(EvaluateConstantTextInt(c.Text, arithmetic), c.Integer) << c.Text;
    }
}

// Values of a definition file, across line ends and comments, with optional commas.
TEST(ParserTest, ConstantsFromAFile) {
    test::TempDir dir;
    const std::string path = dir.File("def.txt");
    test::WriteFileText(path, "Bounds 45d30m, -10, 10,\n"
                              "  (* next line *)\n"
                              "  -45d30m Size 7\n");
    TokenReader reader;
    Arithmetic arithmetic;
    ASSERT_EQ(reader.Open(path), 0);
    EXPECT_EQ(reader.Token(), 174);
    reader.Next();
    for (double expected : {45.5, -10.0, 10.0, -45.5}) {
        EXPECT_DOUBLE_EQ(ParseConstant(reader, arithmetic), expected);
        if (reader.Token() == TokComma)
            reader.Next();
    }
    EXPECT_FALSE(reader.ExprError());
    EXPECT_EQ(ParseConstantInt(reader, arithmetic), 2147483647);
    EXPECT_TRUE(reader.ExprError());
    // The failed value stays reported after a good one.
    reader.Next();
    EXPECT_EQ(ParseConstantInt(reader, arithmetic), 7);
    EXPECT_TRUE(reader.ExprError());
}

// Hostile input fails the parse cleanly; nothing overflows the stack or a buffer.
TEST(ParserTest, HostileInput) {
    Arithmetic arithmetic;
    std::string error;
    const std::string deep(100000, '(');
    EXPECT_FALSE(ParseExpression(deep + "1", arithmetic, &error));
    EXPECT_EQ(error, "Expression nested too deeply\n\n\"" + std::string(4095, '(') + "\"");
    EXPECT_FALSE(ParseExpression(std::string(100000, '-') + "1", arithmetic));
    std::string chain = "1";
    for (int32_t i = 0; i < 2000; ++i)
        chain += "-1";
    EXPECT_FALSE(ParseExpression(chain, arithmetic));

    auto nul = ParseExpression(std::string("1+\0 2", 5), arithmetic);
    ASSERT_TRUE(nul);
    EXPECT_EQ(nul->Values[0], 3.0);
}

} // namespace
} // namespace korvel
