#include "generate/expression.h"

namespace korvel {

std::unique_ptr<ExprNode> MakeConstant(double value) {
    auto node = std::make_unique<ExprNode>();
    node->Kind = ExprConstant;
    node->IsConstant = true;
    node->Values[0] = value;
    return node;
}

std::unique_ptr<ExprNode> MakeOperation(int32_t code) {
    auto node = std::make_unique<ExprNode>();
    node->Code = code;
    return node;
}

void FoldConstants(ExprNode& node, Builtins& builtins) {
    if (node.Kind == ExprConstant) {
        node.IsConstant = true;
        return;
    }
    if (node.Kind != ExprOperation || node.Children.empty())
        return;
    bool allConstant = true;
    for (const auto& child : node.Children) {
        FoldConstants(*child, builtins);
        allConstant = allConstant && child->IsConstant;
    }
    // The parser never gives more than 8 arguments; a hand-built node with more is not folded.
    const auto count = static_cast<int32_t>(node.Children.size());
    if (!allConstant || node.Children.size() > node.Values.size() ||
        !builtins.Foldable(node.Code, count))
        return;
    std::array<double, ExprNode::MaxValues> args{};
    for (size_t i = 0; i < node.Children.size(); ++i)
        args[i] = node.Children[i]->Values[0];
    const double value = builtins.Builtin(node.Code, args.data(), count);
    node.Children.clear();
    node.Kind = ExprConstant;
    node.IsConstant = true;
    node.Values = {};
    node.Values[0] = value;
}

} // namespace korvel
