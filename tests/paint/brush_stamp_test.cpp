#include "paint/brush_stamp.h"

#include "paint_fixture.h"

#include <cmath>

namespace korvel {
namespace {

class StampTest : public test::PaintFixture {
protected:
    int32_t StampOnce(Brush& b, int32_t x, int32_t y,
                      std::optional<SamplePosition> source = std::nullopt) {
        StampReport report;
        return Stamp(b, {ws.TheSurface, ws.TheProgress, ws.Random}, x, y, source, report);
    }
    Brush Made(int32_t size, int32_t type, float value, float lo = -1e30f, float hi = 1e30f) {
        Brush b;
        b.Set(size, size, type, value, 0.5f, lo, hi, "1-r", "1-r", eval);
        return b;
    }
    // Sum of the weights of masked brush cells whose Surface cell exists, centred on (x, y).
    double WeightInside(const Brush& b, int32_t x, int32_t y) const {
        double sum = 0.0;
        for (int32_t j = 0; j < b.YSize; ++j)
            for (int32_t i = 0; i < b.XSize; ++i) {
                const int32_t sx = x - b.XSize / 2 + i, sy = y - b.YSize / 2 + j;
                if (sx >= 0 && sy >= 0 && sx < Width && sy < Height && b.MaskAt(i, j))
                    sum += b.DataAt(i, j);
            }
        return sum;
    }
};

constexpr int32_t RoundSoft = BrushRound | BrushSoftEdge;

TEST_F(StampTest, AddChangesTheSumByValueTimesTheWeightsInside) {
    const struct {
        const char* Name;
        int32_t X, Y;
        float V;
    } cases[] = {{"centre", 20, 15, 3.0f}, {"corner", 0, 0, 2.5f}, {"edge", 39, 10, -1.0f}};
    for (const auto& c : cases) {
        Fill([](int32_t x, int32_t y) { return x * 0.5 + y; });
        Brush b = Made(11, WithOperation(RoundSoft, OperationAdd), c.V);
        const double before = Sum();
        ASSERT_EQ(StampOnce(b, c.X, c.Y), StampDone) << c.Name;
        EXPECT_NEAR(Sum() - before, c.V * WeightInside(b, c.X, c.Y), 1e-3) << c.Name;
    }
}

TEST_F(StampTest, OperationsOnOneCell) {
    // One masked cell of weight 1: a 3 x 3 square brush centred on (5, 5), E = 4, V = 2.
    const struct {
        const char* Name;
        int32_t Operation;
        float E, V, Want;
    } cases[] = {
        {"lerp", OperationLerp, 4, 2, 2},
        {"add", OperationAdd, 4, 2, 6},
        {"subtract", OperationSubtract, 4, 2, 2},
        {"multiply", OperationMultiply, 4, 2, 8},
        {"divide by w V V", OperationDivide, 4, 2, 1},
        {"divide by zero keeps", OperationDivide, 4, 0, 4},
        {"minimum", OperationMinimum, 4, 2, 2},
        {"maximum", OperationMaximum, 4, 2, 4},
        {"exponent", OperationExponent, 4, 0.5f, 2},
        {"exponent of a negative keeps", OperationExponent, -4, 0.5f, -4},
    };
    for (const auto& c : cases) {
        Fill([&](int32_t, int32_t) { return c.E; });
        Brush b = Made(3, WithOperation(0, c.Operation), c.V);
        ASSERT_EQ(StampOnce(b, 5, 5), StampDone) << c.Name;
        EXPECT_FLOAT_EQ(At(5, 5), c.Want) << c.Name;
        EXPECT_FLOAT_EQ(At(7, 5), c.E) << c.Name; // outside the footprint
    }
}

TEST_F(StampTest, ConditionsDecideWhichCellsChange) {
    // Columns hold -1, 0, 1 repeating; Lerp to 5 with a square hard brush over all of them.
    const struct {
        const char* Name;
        int32_t Condition;
        float Lo, Hi;
        bool Changes[3]; // for -1, 0, 1
    } cases[] = {
        {"always", ApplyAlways, 0, 0, {true, true, true}},
        {"above 0", ApplyIfAbove, 0, 0, {false, false, true}},
        {"above or equal 0", ApplyIfAboveOrEqual, 0, 0, {false, true, true}},
        {"below 0", ApplyIfBelow, 0, 0, {true, false, false}},
        {"below or equal 0", ApplyIfBelowOrEqual, 0, 0, {true, true, false}},
        {"between -1 1", ApplyIfBetween, -1, 1, {false, true, false}},
        {"between or equal -1 0", ApplyIfBetweenOrEqual, -1, 0, {true, true, false}},
        {"not between -1 1", ApplyIfNotBetween, -1, 1, {false, false, false}},
        {"not between or equal -1 1", ApplyIfNotBetweenOrEqual, -1, 1, {true, false, true}},
        {"never", ApplyNever, 0, 0, {false, false, false}},
    };
    for (const auto& c : cases) {
        Fill([](int32_t x, int32_t) { return x % 3 - 1; });
        Brush b = Made(9, c.Condition << 4, 5.0f, c.Lo, c.Hi);
        StampOnce(b, 10, 10);
        for (int32_t x = 6; x <= 14; ++x) {
            const float original = static_cast<float>(x % 3 - 1);
            EXPECT_EQ(At(x, 10), c.Changes[x % 3] ? 5.0f : original) << c.Name << " x=" << x;
        }
    }
}

TEST_F(StampTest, NeverLeavesEverythingAlone) {
    Fill([](int32_t x, int32_t y) { return x * y; });
    Brush b = Made(51, WithOperation(ApplyNever << 4, OperationAdd), 7.0f);
    const double before = Sum();
    EXPECT_EQ(StampOnce(b, 20, 15), StampOutside);
    EXPECT_EQ(Sum(), before);
}

TEST_F(StampTest, HardLerpSetsExactlyTheValueAndACornerStampStaysInside) {
    Fill([](int32_t, int32_t) { return 1.0; });
    Brush b = Made(11, BrushRound, 9.25f); // round, no soft edge: weight 1
    StampOnce(b, 0, 0);
    int32_t changed = 0;
    for (int32_t y = 0; y < Height; ++y)
        for (int32_t x = 0; x < Width; ++x) {
            const bool inMask = x <= 5 && y <= 5 && b.MaskAt(x + 5, y + 5);
            EXPECT_EQ(At(x, y), inMask ? 9.25f : 1.0f) << x << "," << y;
            changed += inMask ? 1 : 0;
        }
    EXPECT_GT(changed, 20);
}

TEST_F(StampTest, TheSelectionLimitsTheStamp) {
    Fill([](int32_t, int32_t) { return 0.0; });
    ws.TheSurface.Mask.Create(Width, Height);
    *ws.TheSurface.Mask.RowPointer(20, 15) = 255;
    Brush b = Made(5, 0, 3.0f);
    StampOnce(b, 20, 15);
    EXPECT_EQ(Sum(), 3.0);
    EXPECT_EQ(At(20, 15), 3.0f);
}

TEST_F(StampTest, NoiseIsReproducibleAfterSeeding) {
    Brush b = Made(11, WithOperation(WithKind(RoundSoft, BrushGaussianNoise), OperationAdd), 4.0f);
    std::vector<float> first;
    for (int run = 0; run < 2; ++run) {
        Fill([](int32_t, int32_t) { return 0.0; });
        ws.Random.SeedRandom(1234);
        StampOnce(b, 20, 15);
        std::vector<float> now(ws.TheSurface.Rows[15], ws.TheSurface.Rows[15] + Width);
        if (run == 0)
            first = now;
        else
            EXPECT_EQ(now, first);
    }
    EXPECT_NE(first[20], 0.0f);
}

TEST_F(StampTest, ConvolveBlursWithTheKernel) {
    // A 3 x 3 box over a ramp in x gives the ramp back; over a single spike, a ninth of it.
    Brush b = Made(5, WithKind(0, BrushConvolve), 0.0f);
    b.BrushKernel.SetSize(3, 1.0f, 0, 0);
    b.BrushKernel.MakeBox();
    Fill([](int32_t x, int32_t) { return 2.0 * x; });
    StampOnce(b, 20, 15);
    EXPECT_NEAR(At(20, 15), 40.0f, 1e-4);
    Fill([](int32_t x, int32_t y) { return x == 20 && y == 15 ? 9.0 : 0.0; });
    StampOnce(b, 20, 15);
    EXPECT_NEAR(At(21, 16), 1.0f, 1e-6);
    EXPECT_NEAR(At(20, 15), 1.0f, 1e-6);
}

TEST_F(StampTest, CloneWithASquareBrushCopiesTheSourceBlock) {
    Fill([](int32_t x, int32_t y) { return x * 100 + y; });
    Brush b = Made(5, 0, 0.0f); // square, weight 1, Lerp
    ASSERT_EQ(StampOnce(b, 10, 10, SamplePosition{30, 20}), StampDone);
    for (int32_t dy = -2; dy <= 2; ++dy)
        for (int32_t dx = -2; dx <= 2; ++dx)
            EXPECT_EQ(At(10 + dx, 10 + dy), (30 + dx) * 100 + 20 + dy) << dx << "," << dy;
    EXPECT_EQ(At(13, 10), 13 * 100 + 10);
}

TEST_F(StampTest, CloneFromPartlyOutsideCopiesOnlyWhatExists) {
    Fill([](int32_t x, int32_t y) { return x * 100 + y; });
    Brush b = Made(5, 0, 0.0f);
    // The source footprint, columns -1..3, has its first column off the Surface.
    StampOnce(b, 20, 10, SamplePosition{1, 10});
    for (int32_t dy = -2; dy <= 2; ++dy) {
        EXPECT_EQ(At(18, 10 + dy), 18 * 100 + 10 + dy) << "left alone";
        for (int32_t dx = -1; dx <= 2; ++dx)
            EXPECT_EQ(At(20 + dx, 10 + dy), (1 + dx) * 100 + 10 + dy);
    }
    EXPECT_EQ(StampOnce(b, 20, 10, SamplePosition{-10, 10}), StampOutside);
}

TEST_F(StampTest, CancelStopsAfterTheCurrentRow) {
    Fill([](int32_t, int32_t) { return 0.0; });
    Brush b = Made(9, WithOperation(0, OperationAdd), 1.0f);
    host.OnPump = [this](int) { ws.TheProgress.CancelFlag = CancelKey; };
    EXPECT_EQ(StampOnce(b, 20, 15), StampCancelled);
    // Rows 0..3 of the footprint were done before the pump on the fourth let the key in.
    EXPECT_EQ(Sum(), 4 * 9);
}

} // namespace
} // namespace korvel
