#include "generate/parser.h"

#include "generate/keywords.h"

#include <cmath>

namespace korvel {

int32_t FunctionArguments(int32_t code) {
    switch (code) {
    case KwX:
    case KwY:
    case KwZ:
    case KwR:
    case KwT:
    case KwAz:
    case KwEl:
    case KwE:
    case KwPi:
    case KwCurval:
    case KwXmin:
    case KwYmin:
    case KwXmax:
    case KwYmax:
    case KwXsize:
    case KwYsize:
    case KwZmin:
    case KwZmax:
    case KwCenr:
    case KwIxsize:
    case KwIysize:
    case KwRmax:
    case KwSlope:
        return 0;
    case KwAbs:
    case KwAcos:
    case KwAsin:
    case KwAtan:
    case KwCeil:
    case KwCos:
    case KwCosh:
    case KwExp:
    case KwFloor:
    case KwLn:
    case KwLog:
    case KwRand:
    case KwRem:
    case KwSin:
    case KwSinc:
    case KwSqrt:
    case KwTan:
    case KwTanh:
    case KwSqr:
    case KwScurve:
        return 1;
    case KwBias:
    case KwAtan2:
    case KwBesselj:
    case KwBessely:
    case KwPow:
    case KwAnd:
    case KwOr:
    case KwXor:
    case KwEq:
    case KwLt:
    case KwGt:
    case KwLe:
    case KwGe:
    case KwFacing:
        return 2;
    case KwIf:
        return 3;
    case KwNoise:
        return 4;
    case KwCrater:
        return 5;
    case KwDist:
    case KwQfrac:
    case KwXrot:
    case KwYrot:
    case KwFbm:
        return 6;
    case KwHetero:
    case KwHybrid:
        return 7;
    case KwMulti:
    case KwRidged:
        return 8;
    default:
        return -1;
    }
}

namespace {

bool IsMultiplicative(int32_t code) {
    return code == TokStar || code == TokSlash;
}
bool IsAdditive(int32_t code) {
    return code == TokPlus || code == TokMinus;
}

// Recursive descent over the reader's tokens. Every level of nesting counts against
// MaxExprNesting, so hostile input fails cleanly instead of exhausting the stack.
class Parser {
public:
    explicit Parser(TokenReader& reader) : Reader(reader) {}

    std::unique_ptr<ExprNode> Parse() {
        auto root = Expression();
        if (TooDeep)
            root.reset();
        return root;
    }

    bool TooDeep = false;
    // The first place where the text stopped making sense, kept even where the loose grammar
    // carries on past it.
    struct Problem {
        bool Found = false;
        bool AtEnd = false;
        size_t Column = 0;
        std::string Token;
        const char* Wanted = "";
    } FirstProblem;

    void Expect(const char* wanted) {
        if (FirstProblem.Found)
            return;
        FirstProblem = {true, Reader.Token() == TokEnd, Reader.Column(), Reader.Text(), wanted};
    }

private:
    class Level {
    public:
        explicit Level(Parser& parser) : Owner(parser) {
            if (++Owner.Depth > MaxExprNesting)
                Owner.TooDeep = true;
        }
        ~Level() { --Owner.Depth; }
        Level(const Level&) = delete;
        Level& operator=(const Level&) = delete;
        bool Ok() const { return !Owner.TooDeep; }

    private:
        Parser& Owner;
    };

    using Rule = std::unique_ptr<ExprNode> (Parser::*)();

    std::unique_ptr<ExprNode> Expression() {
        Level level(*this);
        if (!level.Ok())
            return nullptr;
        auto left = Primary();
        if (!left)
            return nullptr;
        if (IsMultiplicative(Reader.Token()) && !Join(left, &Parser::Term))
            return left;
        if (IsAdditive(Reader.Token()))
            Join(left, &Parser::Expression);
        return left;
    }

    std::unique_ptr<ExprNode> Term() {
        Level level(*this);
        if (!level.Ok())
            return nullptr;
        auto left = Primary();
        if (left && IsMultiplicative(Reader.Token()))
            Join(left, &Parser::Term);
        return left;
    }

    // Consumes the operator and makes it the parent of left and the right operand; false when
    // the right operand fails, which ends the expression there.
    bool Join(std::unique_ptr<ExprNode>& left, Rule rightOperand) {
        const int32_t op = Reader.Token();
        Reader.Next();
        auto right = (this->*rightOperand)();
        if (!right)
            return false;
        auto node = MakeOperation(op);
        node->Children.push_back(std::move(left));
        node->Children.push_back(std::move(right));
        left = std::move(node);
        return true;
    }

    std::unique_ptr<ExprNode> Primary() {
        switch (Reader.Token()) {
        case TokNumber: {
            auto node = MakeConstant(Reader.Number());
            Reader.Next();
            return node;
        }
        case TokLeftParen: {
            Reader.Next();
            auto inner = Expression();
            if (inner && Reader.Token() == TokRightParen)
                Reader.Next();
            else if (inner)
                Expect("\")\"");
            return inner;
        }
        case TokPlus:
        case TokMinus:
            return Signed();
        default:
            return Call();
        }
    }

    std::unique_ptr<ExprNode> Signed() {
        Level level(*this);
        if (!level.Ok())
            return nullptr;
        const bool negate = Reader.Token() == TokMinus;
        Reader.Next();
        auto operand = Primary();
        if (!operand || !negate)
            return operand;
        auto node = MakeOperation(TokUnaryMinus);
        node->Children.push_back(std::move(operand));
        return node;
    }

    std::unique_ptr<ExprNode> Call() {
        const int32_t code = Reader.Token();
        // "^" and "**" carry exp's code but are not its name.
        const std::string& text = Reader.Text();
        const bool isName = !text.empty() && ((text[0] >= 'a' && text[0] <= 'z') ||
                                              (text[0] >= 'A' && text[0] <= 'Z'));
        const int32_t count = isName ? FunctionArguments(code) : -1;
        if (count < 0) {
            Expect("a value");
            return nullptr;
        }
        Reader.Next();
        auto node = MakeOperation(code);
        if (count == 0)
            return node;
        if (Reader.Token() != TokLeftParen) {
            Expect("\"(\"");
            return nullptr;
        }
        Reader.Next();
        // Each "," uses up one argument, whether or not an argument stood before it: an empty
        // argument takes its default.
        for (int32_t used = 0; used < count && !TooDeep; ++used) {
            const bool empty = Reader.Token() == TokComma || Reader.Token() == TokRightParen;
            if (!empty)
                if (auto argument = Expression())
                    node->Children.push_back(std::move(argument));
            // A comma after the last argument the function takes is not the call's.
            if (Reader.Token() != TokComma || used + 1 == count)
                break;
            Reader.Next();
        }
        if (Reader.Token() == TokRightParen)
            Reader.Next();
        else
            Expect("\")\"");
        return node;
    }

    TokenReader& Reader;
    int32_t Depth = 0;
};

// 'expression "sin(x*" ends at position 6 where a value was expected'.
std::string DescribeProblem(std::string_view text, const Parser::Problem& problem) {
    std::string out = "expression \"" + std::string(text) + "\" ";
    if (problem.AtEnd)
        out += "ends";
    else
        out += "has \"" + problem.Token + "\"";
    out += " at position " + std::to_string(problem.Column) + " where " + problem.Wanted +
           " was expected";
    return out;
}

int32_t ToInt(double value) {
    if (std::isnan(value) || value >= 2147483647.0)
        return NotConstantInt;
    if (value <= -2147483647.0)
        return -2147483647;
    return static_cast<int32_t>(value);
}

} // namespace

std::unique_ptr<ExprNode> ParseExpression(std::string_view text, Builtins& builtins,
                                          std::string* error) {
    TokenReader reader;
    reader.SetLine(text);
    reader.SkipInsignificant();
    Parser parser(reader);
    auto root = parser.Parse();
    if (root && !parser.FirstProblem.Found && reader.Token() != TokEnd)
        parser.Expect("the end");
    const std::string_view kept = text.substr(0, TokenReader::LineCapacity);
    if (parser.TooDeep) {
        root.reset();
        if (error)
            *error = "Expression nested too deeply\n\n\"" + std::string(kept) + "\"";
    } else if (parser.FirstProblem.Found) {
        root.reset();
        if (error)
            *error = DescribeProblem(kept, parser.FirstProblem);
    }
    if (root)
        FoldConstants(*root, builtins);
    return root;
}

std::string ExpressionProblem(std::string_view text) {
    // Folding would evaluate built-ins, and some of them draw random numbers.
    struct NoFolding : Builtins {
        double Builtin(int32_t, const double*, int32_t) override { return 0.0; }
        bool Foldable(int32_t, int32_t) const override { return false; }
    } builtins;
    std::string error;
    return ParseExpression(text, builtins, &error) ? std::string() : error;
}

double ParseConstant(TokenReader& reader, Builtins& builtins) {
    reader.SkipInsignificant();
    Parser parser(reader);
    auto root = parser.Parse();
    if (!root) {
        reader.SetExprError();
        return NotConstant;
    }
    FoldConstants(*root, builtins);
    return root->IsConstant ? root->Values[0] : NotConstant;
}

int32_t ParseConstantInt(TokenReader& reader, Builtins& builtins) {
    return ToInt(ParseConstant(reader, builtins));
}

double EvaluateConstantText(std::string_view text, Builtins& builtins, bool* exprError) {
    TokenReader reader;
    reader.SetLine(text);
    const double value = ParseConstant(reader, builtins);
    if (exprError)
        *exprError = reader.ExprError();
    return value;
}

int32_t EvaluateConstantTextInt(std::string_view text, Builtins& builtins, bool* exprError) {
    return ToInt(EvaluateConstantText(text, builtins, exprError));
}

} // namespace korvel
