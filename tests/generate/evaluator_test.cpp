#include "generate/evaluator.h"

#include "core/noise.h"
#include "core/random.h"
#include "core/surface.h"
#include "generate/keywords.h"
#include "generate/parser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

namespace korvel {
namespace {

constexpr double Pi = 3.14159265359;

struct EvaluatorTest : testing::Test {
    EvaluatorTest() {
        random.SeedRandom(4321), reference.SeedRandom(4321);
        parms.H = 0.8, parms.lacunarity = 2.1, parms.octaves = 4.5;
        parms.offset = 0.9, parms.fgain = 1.7;
    }
    double Eval(const std::string& text, double x = 0.0, double y = 0.0, double z = 0.0) {
        auto root = ParseExpression(text, eval);
        EXPECT_TRUE(root) << text;
        return root ? eval.Evaluate(*root, x, y, z) : NAN;
    }
    // A plane h = a*column + b*row on an 8 x 6 grid.
    void Tilt(double a, double b) {
        ASSERT_EQ(surface.Resize(8, 6, 0), 0);
        for (int32_t r = 0; r < 6; ++r)
            for (int32_t c = 0; c < 8; ++c)
                surface.Rows[r][c] = static_cast<float>(a * c + b * r);
    }

    Surface surface;
    RandomStream random, reference;
    NoiseBasis noise{random}, expected{reference};
    FracParms parms;
    Evaluator eval{surface, noise, random, parms};
};

struct Case {
    const char* Text;
    double Want, X = 0.0, Y = 0.0;
};

void ExpectCases(EvaluatorTest& t, std::initializer_list<Case> cases) {
    for (const Case& c : cases)
        EXPECT_NEAR(t.Eval(c.Text, c.X, c.Y, 2.0), c.Want, 1e-9 * std::max(1.0, std::fabs(c.Want)))
            << c.Text << " at " << c.X << ", " << c.Y;
}

// Calls whose defaults read the point are given a variable argument: with constant arguments
// alone the parser folds them at parse time, at whatever point was evaluated last.
TEST_F(EvaluatorTest, OperatorsFunctionsAndVariables) {
    ASSERT_EQ(surface.Resize(8, 6, 0), 0);
    surface.SetEdges(-3, 5, 7, -9);
    surface.Min = -2, surface.Max = 4;
    eval.Context = {3.0f, 4.0f, 2.5f};
    const double escaped = std::log10(65536.0) / 32; // 2 -> 4 -> 16 -> 256 -> 65536
    const FracParms& f = parms;
    NoiseBasis& n = expected;
    // clang-format off
    ExpectCases(*this, {
        {"1/0", 0}, {"-1/1e-8", -1e20}, {"x/y", 1e20, 1, 1e-8}, {"pi", Pi},
        {"el", std::atan2(2, 5), 3, 4}, {"ln(0)", -1e20}, {"rem(-2.75)", -0.75}, {"sinc(r)", 1},
        {"sqrt(-4)", 2}, {"scurve(0.25)", 0.15625}, {"pow(2)", 1}, {"sin()", 0},
        // The truth rule: above 1e-10 in magnitude is true; if picks its second argument on false.
        {"and(1e-11,1)", 0}, {"and(2e-10,-1)", 1}, {"eq(1,1+1e-11)", 1}, {"if(1e-10,5,7)", 5},
        {"if(gt(x,1),2,3)", 3, 3, 0}, {"if(1,5)", 0}, {"dist(2*y+4)", 13, 3, 4},
        {"dist(1,2,3,4,5)", 0}, {"yrot(0,2,x-2)", 8, 3, 4}, {"xrot(0,1,5,5,2,1)", 3},
        {"crater(0,0.5,1,-1,1)", -1}, {"crater(0.25,0.5,1,-1,2)", -0.5},
        {"crater(1.5,0.5,1,-1,1)", 0}, {"qfrac()", escaped, 2, 0},
        {"qfrac(2,0,0,0,10,-5)", std::log10(16.0) / 2 / 4}, {"qfrac(0.5,0.5,0,0,10,1e300)", 0},
        {"ysize", 16}, {"rmax", 9}, {"cenr", 5}, {"curval", 2.5},
        // Published Bessel values at 1; orders are truncated and negative ones give 0.
        {"besselj(0,1)", 0.7651976866}, {"besselj(1.9,1)", 0.4400505857}, {"besselj(-1,1)", 0},
        {"besselj(1,-1)", -0.4400505857}, {"besselj(5,7)", std::cyl_bessel_j(5.0, 7.0)},
        {"bessely(0,1)", 0.0882569642}, {"bessely(2,1)", -1.650682607}, {"bessely(-1,1)", 0},
        {"bessely(5,7)", std::cyl_neumann(5.0, 7.0)}, {"bessely(0,0)", -1e20},
        // Noise and fractals take the record's parameters where arguments are left out.
        {"noise(x)", n.Noise1(0.3), 0.3}, {"noise()", 0.0},
        {"noise(x,y,z,0.4)", n.Noise4(0.3, 0.7, 2, 0.4), 0.3, 0.7},
        {"hybrid()", n.HybridMultifractal(0.3, 0.7, 2, f.H, f.lacunarity, f.octaves, f.offset),
         0.3, 0.7},
        {"ridged(1,2,3,1,2,3,0.7)", n.RidgedMultifractal(1, 2, 3, 1, 2, 3, 0.7, f.fgain)}
    });
    // clang-format on
}

TEST_F(EvaluatorTest, BesselSurvivesHostileArguments) {
    // J stays within [-1, 1], Y finite and not below -1e20.
    const double inf = std::numeric_limits<double>::infinity();
    for (const double n : {-2.0, 250.0, 1e300, inf, std::nan("")})
        for (const double v : {-1e300, 1e-300, 999.0, -inf}) {
            const double args[] = {n, v}, j = eval.Builtin(KwBesselj, args, 2);
            const double y = eval.Builtin(KwBessely, args, 2);
            EXPECT_TRUE(std::fabs(j) <= 1.0 && y >= -1e20 && y < 1e20) << n << ", " << v;
        }
}

TEST_F(EvaluatorTest, RandDrawsFromTheSharedStream) {
    // A constant call is folded: one draw at parse time, the same number at every sample.
    auto folded = ParseExpression("rand(2)", eval), perSample = ParseExpression("rand(x)", eval);
    ASSERT_TRUE(folded && perSample);
    EXPECT_EQ(eval.Evaluate(*folded, 1, 1, 1), 2.0 * reference.RandomUniform());
    for (const double x : {10.0, -3.0, 7.5})
        EXPECT_EQ(eval.Evaluate(*perSample, x, 0, 0), x * reference.RandomUniform());
}

// The neighbour normal of a plane a*column + b*row is (-6a, 6b, 1) times the record's scale
// 1 / max(|Max|, |Min|), shortened to (-3a, 6b, 1) on the first and last columns.
TEST_F(EvaluatorTest, SlopeAndFacingOfATiltedPlane) {
    EXPECT_EQ(Eval("slope+facing(1,1)+facing()"), 0.0); // without a grid
    const double a = 0.5, b = -0.25, scale = 0.5;
    Tilt(a, b);
    surface.Min = 0.0, surface.Max = 2.0;
    auto angle = [](double t) { return -t / std::numbers::pi - 0.25; };
    const double nx = -6 * a * scale, ny = 6 * b * scale, edgeX = -3 * a * scale;
    eval.Context = {2.0f, 3.0f, 0.0f};
    ExpectCases(*this, {{"slope", angle(std::atan2(1.0, std::hypot(nx, ny)))},
                        {"facing()", angle(std::atan2(ny, nx))},
                        {"facing(0,2)", angle(std::atan2(ny, edgeX))}});
    // Far outside the grid reads the nearest corner, never beyond the rows.
    eval.Context = {1e9f, -5.0f, 0.0f};
    EXPECT_DOUBLE_EQ(Eval("facing()"), Eval("facing(0,5)"));
    EXPECT_NEAR(Eval("slope"), angle(std::atan2(1.0, std::hypot(edgeX, 3 * b * scale))), 1e-12);
    eval.Context = {NAN, NAN, 0.0f};
    EXPECT_DOUBLE_EQ(Eval("facing()"), Eval("facing(0,0)"));
    Tilt(0.0, 0.0);
    surface.Max = surface.Min;
    ExpectCases(*this, {{"slope", -0.75}, {"facing(4,4)", -0.25}});
}

} // namespace
} // namespace korvel
