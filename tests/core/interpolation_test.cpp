#include "core/surface.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

struct SampleCase {
    int32_t Type;
    double Bias, Tension, X, Y, Expected;
    bool Flat = false; // on the constant 4, not the plane
};

// An 8 x 4 grid, 0 but for a spike of 36 at (1, 1), 7 at the end of row 1 and 5 in the last row.
TEST(InterpolationTest, EachTypeOnASpike) {
    Surface s;
    ASSERT_EQ(s.Resize(8, 4, 0), 0);
    s.Rows[1][1] = 36.0f;
    s.Rows[1][7] = 7.0f;
    s.Rows[3][6] = 5.0f;
    // By hand: Catmull-Rom weighs (-1, 9, 9, -1)/16 at t = 1/2 and passes samples at t = 0; the
    // B-spline weighs (1, 23, 23, 1)/48 at 1/2; a beta-spline of bias 1, tension 0 is the B-spline.
    const SampleCase cases[] = {
        {InterpLinear, 0, 0, 1.25, 1.5, 13.5},
        {InterpCatmullRom, 0, 0, 1.0, 1.0, 36.0},
        {InterpCatmullRom, 0, 0, 1.5, 1.5, 11.390625},
        {InterpBetaSpline, 1, 0, 1.5, 1.0, 11.5},
        {InterpNearest, 0, 0, 1.9, 1.9, 36.0},
        {9, 0, 0, 0.9, 0.9, 0.0}, // unknown types are nearest
        // The last column and row give the stored sample whatever the type; outside is 0.
        {InterpLinear, 0, 0, 7.9, 1.0, 7.0},
        {InterpBSpline, 0, 0, 6.5, 3.5, 5.0},
        {InterpLinear, 0, 0, -1.0, 1.0, 0.0},
    };
    for (const SampleCase& c : cases)
        EXPECT_NEAR(s.SampleAt(c.X, c.Y, {c.Type, c.Bias, c.Tension}), c.Expected, 1e-12)
            << "type " << c.Type << " at " << c.X << "," << c.Y;
}

// Away from the clamped border the types keep a plane a plane; beta-splines keep a constant.
TEST(InterpolationTest, PlanesAndConstantsSurvive) {
    Surface plane, flat;
    ASSERT_EQ(plane.Resize(8, 6, 0), 0);
    ASSERT_EQ(flat.Resize(8, 6, 0), 0);
    for (int32_t i = 0; i < 48; ++i) {
        plane.Rows[i / 8][i % 8] = static_cast<float>(2 * (i % 8) + 3 * (i / 8));
        flat.Rows[i / 8][i % 8] = 4.0f;
    }
    const SampleCase cases[] = {{InterpLinear, 0, 0, 1.25, 2.5, 10.0},
                                {InterpCatmullRom, 0, 0, 4.5, 3.75, 20.25},
                                {InterpBSpline, 0, 0, 2.5, 1.75, 10.25},
                                {InterpBetaSpline, 1, 0, 3.25, 2.5, 14.0},
                                {InterpBetaSpline, 2, 3, 0.3, 4.6, 4.0, true},
                                {InterpBetaSpline, 0.5, 10, 0.3, 4.6, 4.0, true}};
    for (const SampleCase& c : cases)
        EXPECT_NEAR((c.Flat ? flat : plane).SampleAt(c.X, c.Y, {c.Type, c.Bias, c.Tension}),
                    c.Expected, 1e-12)
            << "type " << c.Type << " at " << c.X << "," << c.Y;
}

} // namespace
} // namespace korvel
