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
        random.SeedRandom(4321);
        reference.SeedRandom(4321);
        parms.H = 0.8;
        parms.lacunarity = 2.1;
        parms.octaves = 4.5;
        parms.offset = 0.9;
        parms.fgain = 1.7;
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
    surface.Min = -2;
    surface.Max = 4;
    eval.Context = {3.0f, 4.0f, 2.5f};
    const double escaped = std::log10(65536.0) / 32; // 2 -> 4 -> 16 -> 256 -> 65536
    // clang-format off
    ExpectCases(*this, {
        {"1/0", 0}, {"0/1e-9", 0}, {"1/1e-8", 1e20}, {"-1/1e-8", -1e20}, {"x/y", 1e20, 1, 1e-8},
        {"pi", Pi}, {"r", 5, 3, 4}, {"el", std::atan2(2, 5), 3, 4}, {"asin(-1)", 0},
        {"ln(0)", -1e20}, {"log(-1e-8)", -1e20}, {"rem(-2.75)", -0.75}, {"sinc(r)", 1},
        {"sqrt(-4)", 2}, {"sqrt(1e-8)", 0}, {"scurve(0.25)", 0.15625}, {"pow(2)", 1},
        {"atan2(1)", 0}, {"bias(0.5,0.8)", 0.8}, {"sin()", 0},
        // The truth rule: above 1e-10 in magnitude is true; if picks its second argument on false.
        {"and(1e-11,1)", 0}, {"and(2e-10,-1)", 1}, {"or(1e-11,0)", 0}, {"xor(1,1)", 0},
        {"eq(1,1+1e-11)", 1}, {"ge(1,2)", 0}, {"if(1e-10,5,7)", 5}, {"if(gt(x,1),2,3)", 3, 3, 0},
        {"if(1,5)", 0}, {"dist()", 5, 3, 4}, {"dist(2*y+4)", 13, 3, 4}, {"dist(1,2,3,4,5)", 0},
        {"dist(1,2,3,2,4,5)", 3}, {"yrot(pi/2,1,1,0)", -std::sin(Pi / 2)},
        {"yrot(0,2,x-2)", 8, 3, 4}, {"xrot(0,1,5,5,2,1)", 3}, {"xrot()", 0, 3, 4},
        {"crater(0,0.5,1,-1,1)", -1}, {"crater(0.25,0.5,1,-1,2)", -0.5},
        {"crater(1.5,0.5,1,-1,1)", 0}, {"qfrac(2,0,0,0,10,512)", std::log10(256.0) / 2 / 8},
        {"qfrac(2,0,0,0,10,-5)", std::log10(16.0) / 2 / 4}, {"qfrac()", escaped, 2, 0},
        {"qfrac(1,2,3)", 0}, {"qfrac(0.5,0.5,0,0,10,1e300)", 0}, {"xmin", -3}, {"ysize", 16},
        {"zmax", 4}, {"iysize", 6}, {"rmax", 9}, {"cenr", 5}, {"curval", 2.5}
    });
    // clang-format on
}

TEST_F(EvaluatorTest, BesselFunctions) {
    // Published values of J0, J1, J2, Y0, Y1, Y2 at 1 and the first zero of J0.
    // clang-format off
    ExpectCases(*this, {
        {"besselj(0,1)", 0.7651976866}, {"besselj(1.9,1)", 0.4400505857},
        {"besselj(-1,1)", 0}, {"besselj(1,-1)", -0.4400505857}, {"besselj(0,2.404825557695773)", 0},
        {"besselj(300,1000)", 0}, {"besselj(5,7)", std::cyl_bessel_j(5.0, 7.0)},
        {"bessely(0,1)", 0.0882569642}, {"bessely(2,1)", -1.650682607},
        {"bessely(5,7)", std::cyl_neumann(5.0, 7.0)}, {"bessely(0,0)", -1e20},
        {"bessely(5,1e-300)", -1e20}, {"bessely(-1,1)", 0}
    });
    // clang-format on
    const double inf = std::numeric_limits<double>::infinity(), nan = std::nan("");
    for (const double n : {-2.0, 3.0, 250.0, 1e300, inf, nan})
        for (const double v : {-1e300, 0.0, 1e-300, 999.0, 1e300, -inf, nan}) {
            const double args[] = {n, v};
            double j = 0.0, y = 0.0;
            EXPECT_NO_THROW(j = eval.Builtin(KwBesselj, args, 2)) << n << ", " << v;
            EXPECT_NO_THROW(y = eval.Builtin(KwBessely, args, 2)) << n << ", " << v;
            if (std::isnan(v))
                continue;
            // J stays within [-1, 1] and Y finite and not below -1e20, never NaN.
            EXPECT_LE(std::fabs(j), 1.0) << n << ", " << v;
            EXPECT_TRUE(y >= -1e20 && y < 1e20) << n << ", " << v;
        }
}

TEST_F(EvaluatorTest, RandDrawsFromTheSharedStream) {
    // A constant call is folded: one draw at parse time, the same number at every sample.
    auto folded = ParseExpression("rand(2)", eval);
    ASSERT_TRUE(folded);
    const double once = 2.0 * reference.RandomUniform();
    EXPECT_EQ(eval.Evaluate(*folded, 0, 0, 0), once);
    EXPECT_EQ(eval.Evaluate(*folded, 1, 1, 1), once);
    auto perSample = ParseExpression("rand(x)", eval);
    for (const double x : {10.0, -3.0, 7.5})
        EXPECT_EQ(eval.Evaluate(*perSample, x, 0, 0), x * reference.RandomUniform());
}

TEST_F(EvaluatorTest, NoiseAndFractalsTakeTheRecordDefaults) {
    const double x = 0.3, y = 0.7, z = 1.1, H = 0.8, L = 2.1, O = 4.5, off = 0.9, g = 1.7;
    NoiseBasis& n = expected;
    const std::pair<const char*, double> cases[] = {
        {"noise(x)", n.Noise1(x)},
        {"noise(x,y,z,0.4)", n.Noise4(x, y, z, 0.4)},
        {"noise()", 0.0},
        {"fbm(1,2,3,0.5)", n.Fbm(1, 2, 3, 0.5, L, O)},
        {"hetero(1,2,3,0.5,3,2,0.2)", n.HeteroTerrain(1, 2, 3, 0.5, 3, 2, 0.2)},
        {"hybrid()", n.HybridMultifractal(x, y, z, H, L, O, off)},
        {"ridged(1,2,3,1,2,3,0.7)", n.RidgedMultifractal(1, 2, 3, 1, 2, 3, 0.7, g)}};
    for (const auto& [text, want] : cases)
        EXPECT_DOUBLE_EQ(Eval(text, x, y, z), want) << text;
}

// The neighbour normal of a plane a*column + b*row is (-6a, 6b, 1) times the record's scale
// 1 / max(|Max|, |Min|), shortened to (-3a, 6b, 1) on the first and last columns.
TEST_F(EvaluatorTest, SlopeAndFacingOfATiltedPlane) {
    const double a = 0.5, b = -0.25, scale = 0.5;
    Tilt(a, b);
    surface.Min = 0.0;
    surface.Max = 2.0;
    auto angle = [](double t) { return -t / std::numbers::pi - 0.25; };
    const double nx = -6 * a * scale, ny = 6 * b * scale, edgeX = -3 * a * scale;
    eval.Context = {2.0f, 3.0f, 0.0f};
    // clang-format off
    ExpectCases(*this, {
        {"slope", angle(std::atan2(1.0, std::hypot(nx, ny)))},
        {"facing()", angle(std::atan2(ny, nx))}, {"facing(3.9,2.9)", angle(std::atan2(ny, nx))},
        {"facing(0,2)", angle(std::atan2(ny, edgeX))}
    });
    // clang-format on
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

TEST(EvaluatorNoGridTest, SlopeAndFacingGiveZero) {
    Surface empty;
    RandomStream random;
    NoiseBasis noise{random};
    FracParms parms;
    Evaluator eval{empty, noise, random, parms};
    auto root = ParseExpression("slope+facing(1,1)+facing()", eval);
    ASSERT_TRUE(root);
    EXPECT_EQ(eval.Evaluate(*root, 0, 0, 0), 0.0);
}

} // namespace
} // namespace korvel
