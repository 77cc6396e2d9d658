#include "core/surface.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

struct SampleCase {
    int32_t Type;
    double Bias, Tension, X, Y, Expected;
};

// An 8 x 4 grid, 0 but for a spike of 36 at (1, 1), 7 at the end of row 1 and 5 in the last row.
TEST(InterpolationTest, EachTypeOnASpike) {
    Surface s;
    ASSERT_EQ(s.Resize(8, 4, 0), 0);
    s.Rows[1][1] = 36.0f;
    s.Rows[1][7] = 7.0f;
    s.Rows[3][6] = 5.0f;
    // Worked by hand. Catmull-Rom weights at t = 1/2 are (-1, 9, 9, -1)/16 and at t = 0 pass the
    // sample through; B-spline weights are (1, 23, 23, 1)/48 at 1/2 and (1, 4, 1)/6 at 0. A
    // beta-spline with bias 1 and tension 0 has d = 12 and M/12 equal to the B-spline's M/6.
    const SampleCase cases[] = {
        {InterpNearest, 0, 0, 1.9, 1.9, 36.0},
        {InterpNearest, 0, 0, 0.9, 0.9, 0.0},
        {InterpLinear, 0, 0, 0.5, 0.5, 9.0},
        {InterpLinear, 0, 0, 1.25, 1.5, 13.5},
        {InterpCatmullRom, 0, 0, 1.0, 1.0, 36.0},
        {InterpCatmullRom, 0, 0, 1.5, 1.0, 20.25},
        {InterpCatmullRom, 0, 0, 1.5, 1.5, 11.390625},
        {InterpBSpline, 0, 0, 1.0, 1.0, 16.0},
        {InterpBSpline, 0, 0, 1.5, 1.0, 11.5},
        {InterpBetaSpline, 1, 0, 1.0, 1.0, 16.0},
        {InterpBetaSpline, 1, 0, 1.5, 1.0, 11.5},
        {9, 0, 0, 1.9, 1.9, 36.0},
        {-1, 0, 0, 1.9, 1.9, 36.0},
        // The last column and row give the stored sample whatever the type.
        {InterpLinear, 0, 0, 7.0, 1.5, 7.0},
        {InterpLinear, 0, 0, 7.9, 1.0, 7.0},
        {InterpCatmullRom, 0, 0, 6.5, 3.0, 5.0},
        {InterpBSpline, 0, 0, 6.5, 3.5, 5.0},
        {InterpLinear, 0, 0, -1.0, 1.0, 0.0},
        {InterpLinear, 0, 0, 1.0, -1.0, 0.0},
        {InterpLinear, 0, 0, 8.0, 1.0, 0.0},
        {InterpLinear, 0, 0, 1.0, 4.0, 0.0},
    };
    for (const SampleCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.Type << " at " << c.X << "," << c.Y);
        EXPECT_NEAR(s.SampleAt(c.X, c.Y, {c.Type, c.Bias, c.Tension}), c.Expected, 1e-12);
    }
}

// Inside the grid (away from the clamped border) the cubic types keep a plane a plane, and
// every type keeps a constant.
TEST(InterpolationTest, PlanesAndConstantsSurvive) {
    Surface plane;
    Surface flat;
    ASSERT_EQ(plane.Resize(8, 6, 0), 0);
    ASSERT_EQ(flat.Resize(8, 6, 0), 0);
    for (int32_t y = 0; y < 6; ++y)
        for (int32_t x = 0; x < 8; ++x) {
            plane.Rows[y][x] = static_cast<float>(2 * x + 3 * y);
            flat.Rows[y][x] = 4.0f;
        }
    const SampleCase cases[] = {
        {InterpLinear, 0, 0, 1.25, 2.5, 10.0},      {InterpCatmullRom, 0, 0, 1.25, 2.5, 10.0},
        {InterpCatmullRom, 0, 0, 4.5, 3.75, 20.25}, {InterpBSpline, 0, 0, 2.5, 1.75, 10.25},
        {InterpBetaSpline, 1, 0, 3.25, 2.5, 14.0},
    };
    for (const SampleCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.Type << " at " << c.X << "," << c.Y);
        EXPECT_NEAR(plane.SampleAt(c.X, c.Y, {c.Type, c.Bias, c.Tension}), c.Expected, 1e-12);
    }
    const InterpSettings constantKeepers[] = {{InterpBSpline, 0, 0},
                                              {InterpCatmullRom, 0, 0},
                                              {InterpBetaSpline, 2, 3},
                                              {InterpBetaSpline, 0.5, 10}};
    for (const InterpSettings& interp : constantKeepers)
        EXPECT_NEAR(flat.SampleAt(0.3, 4.6, interp), 4.0, 1e-12) << interp.Type;
}

} // namespace
} // namespace korvel
