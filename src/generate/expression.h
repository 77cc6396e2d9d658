#pragma once
// The expression tree the parser builds and the evaluator walks, and the folding of constant
// subtrees that happens once at parse time.

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace korvel {

enum ExprKind : int32_t { ExprOperation = 1, ExprConstant = 2 };

struct ExprNode {
    static constexpr int32_t MaxValues = 10;

    int32_t Kind = ExprOperation;
    bool IsConstant = false;
    // The token code of the operator or function.
    int32_t Code = 0;
    // The arguments, in order; the node owns them.
    std::vector<std::unique_ptr<ExprNode>> Children;
    // A constant's value is in slot 0; an operation receives its children's values here.
    std::array<double, MaxValues> Values{};
};

std::unique_ptr<ExprNode> MakeConstant(double value);
std::unique_ptr<ExprNode> MakeOperation(int32_t code);

// What folding needs from the evaluator: the value of one operation over argument values.
// Non-const because some built-ins (rand) advance shared state.
class Builtins {
public:
    virtual ~Builtins() = default;
    virtual double Builtin(int32_t code, const double* args, int32_t count) = 0;
    // False for calls whose missing arguments default to the point or read the Surface: their
    // value is not known until evaluation, whatever their arguments.
    virtual bool Foldable(int32_t /*code*/, int32_t /*count*/) const { return true; }
};

// Folds every operation whose children are all constant into one constant node, evaluating it
// once now. Operations without children (x, pi, slope) are never folded, so 2*pi stays an
// operation.
void FoldConstants(ExprNode& node, Builtins& builtins);

} // namespace korvel
