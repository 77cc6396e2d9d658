#pragma once
// The expression grammar and the constant readers used for every numeric value of a definition
// file.
//
// expression: primary [("*" | "/") term] [("+" | "-") expression]
// term:       primary [("*" | "/") term]
// Operators of one level group to the right, as they always have in Korvel's files: 10-3-2 is
// 10-(3-2) = 9 and 8/4/2 is 8/(4/2) = 4. A whole expression (ParseExpression) must be complete
// and end with its text. The constant readers of definition files are looser: after the first
// operand a bad argument is dropped, a bad right operand ends the value and what follows is the
// file's next token.

#include "generate/expression.h"
#include "generate/token_reader.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace korvel {

// Deeper nesting (parentheses, signs, arguments, chained operators) fails the whole parse.
constexpr int32_t MaxExprNesting = 256;
// What the constant readers give for an expression that is not a constant or did not parse.
constexpr double NotConstant = 1e20;
constexpr int32_t NotConstantInt = 2147483647;

// The most arguments a function takes (a call may give fewer), 0 for a name used without
// parentheses, -1 when the code cannot start a call.
int32_t FunctionArguments(int32_t code);

// The folded tree of one line of text, or nullptr when it does not parse; then error (when
// given) receives why: where the text ends early or has something else than the grammar wants,
// as in 'expression "sin(x*" ends at position 6 where a value was expected' (positions count
// from 0), or "Expression nested too deeply" followed by a blank line and the text in quotes.
std::unique_ptr<ExprNode> ParseExpression(std::string_view text, Builtins& builtins,
                                          std::string* error = nullptr);
// Why text does not parse as ParseExpression would say it; empty when it parses. Nothing is
// evaluated (rand draws nothing).
std::string ExpressionProblem(std::string_view text);

// Parse an expression starting at the reader's current token (after any comment or line end
// there), fold it and leave the reader on the first token after it. Not a constant: NotConstant.
// A failed parse also sets the reader's ExprError.
double ParseConstant(TokenReader& reader, Builtins& builtins);
// The constant truncated toward zero; NotConstantInt when it is not a constant (or NaN) or is
// 2147483647 or more, -2147483647 when it is at or below -2147483647.
int32_t ParseConstantInt(TokenReader& reader, Builtins& builtins);

// The same on one line of text; exprError (when given) tells whether the parse failed.
double EvaluateConstantText(std::string_view text, Builtins& builtins, bool* exprError = nullptr);
int32_t EvaluateConstantTextInt(std::string_view text, Builtins& builtins,
                                bool* exprError = nullptr);

} // namespace korvel
