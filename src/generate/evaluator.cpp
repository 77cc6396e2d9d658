#include "generate/evaluator.h"

#include "generate/keywords.h"

namespace korvel {

Evaluator::Evaluator(const Surface& surface, NoiseBasis& noise, RandomStream& random,
                     const FracParms& generation)
    : TheSurface(surface), Noise(noise), Random(random), Generation(generation) {}

double Evaluator::Evaluate(ExprNode& root, double x, double y, double z) {
    X = x;
    Y = y;
    Z = z;
    return EvaluateNode(root);
}

double Evaluator::EvaluateNode(ExprNode& node) {
    if (node.Kind == ExprConstant)
        return node.Values[0];
    // A node with more arguments than slots cannot be built by the parser; it gives 0.
    if (node.Kind != ExprOperation || node.Children.size() > node.Values.size())
        return 0.0;
    for (size_t i = 0; i < node.Children.size(); ++i)
        node.Values[i] = EvaluateNode(*node.Children[i]);
    return Builtin(node.Code, node.Values.data(), static_cast<int32_t>(node.Children.size()));
}

bool Evaluator::Foldable(int32_t code, int32_t count) const {
    switch (code) {
    case KwFbm:
    case KwHetero:
    case KwHybrid:
    case KwMulti:
    case KwRidged:
        return count >= 3; // fewer arguments take the point
    case KwDist:
        return count >= 2;
    case KwXrot:
    case KwYrot:
        return count >= 4;
    case KwFacing:
        return false; // reads the Surface as it is at evaluation time
    default:
        return true;
    }
}

} // namespace korvel
