#pragma once
// Evaluation of expression trees: every operator, variable and built-in function of the
// expression language. The same dispatcher folds constants at parse time.

#include "generate/expression.h"

#include <cstdint>

namespace korvel {

class Surface;
class NoiseBasis;
class RandomStream;
struct FracParms;

// What the flat procedural generator publishes before each sample.
struct EvalContext {
    float Row = 0.0f;
    float Column = 0.0f;
    float Current = 0.0f;
};

class Evaluator : public Builtins {
public:
    // The Surface gives the map-record variables and slope/facing; the generation record gives
    // the fractal built-ins their defaults.
    Evaluator(const Surface& surface, NoiseBasis& noise, RandomStream& random,
              const FracParms& generation);

    // Stores the point, then evaluates the tree.
    double Evaluate(ExprNode& root, double x, double y, double z);
    double EvaluateNode(ExprNode& node);
    double Builtin(int32_t code, const double* args, int32_t count) override;
    bool Foldable(int32_t code, int32_t count) const override;

    EvalContext Context;

private:
    const Surface& TheSurface;
    NoiseBasis& Noise;
    RandomStream& Random;
    const FracParms& Generation;
    double X = 0.0;
    double Y = 0.0;
    double Z = 0.0;
};

} // namespace korvel
