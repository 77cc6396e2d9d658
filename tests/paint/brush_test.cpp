#include "paint/brush.h"

#include "paint_fixture.h"

#include <cmath>

namespace korvel {
namespace {

using BrushTest = test::PaintFixture;

// Rebuild written out again in single precision, straight from its description.
struct Shape {
    std::vector<float> Data;
    std::vector<uint8_t> Mask;
};

Shape Transcribed(int32_t xs, int32_t ys, bool round, bool soft, float bias) {
    Shape out;
    const float k = std::log(bias) / std::log(0.5f);
    const float hx = static_cast<float>(xs) * 0.5f, hy = static_cast<float>(ys) * 0.5f;
    for (int32_t j = 0; j < ys; ++j) {
        for (int32_t i = 0; i < xs; ++i) {
            const float v = (static_cast<float>(j) - hy) / hy;
            const float u = (static_cast<float>(i) - hx) / hx;
            const float r = std::sqrt(u * u + v * v);
            out.Mask.push_back(round && r > 1.0f ? 0 : 1);
            float d = soft ? (r <= 1.0f ? 1.0f - std::pow(r, k) : 0.0f) : 1.0f;
            out.Data.push_back(d < 0.0f ? 0.0f : (d > 1.0f ? 1.0f : d));
        }
    }
    return out;
}

TEST_F(BrushTest, RebuildMatchesTheShapeFormula) {
    const struct {
        const char* Name;
        int32_t XSize, YSize;
        int32_t Type;
        float Bias;
    } cases[] = {
        {"round soft 11", 11, 11, BrushRound | BrushSoftEdge, 0.5f},
        {"round hard 7x13", 7, 13, BrushRound, 0.5f},
        {"square soft pointy", 9, 5, BrushSoftEdge, 0.2f},
        {"square hard", 5, 5, 0, 0.5f},
        {"round soft blunt", 21, 21, BrushRound | BrushSoftEdge, 0.9f},
    };
    for (const auto& c : cases) {
        Brush b;
        ASSERT_EQ(b.Set(c.XSize, c.YSize, c.Type, 1.0f, c.Bias, -1e30f, 1e30f, "1-r", "1-r", eval),
                  0);
        const Shape want = Transcribed(c.XSize, c.YSize, (c.Type & BrushRound) != 0,
                                       (c.Type & BrushSoftEdge) != 0, c.Bias);
        EXPECT_EQ(b.Data, want.Data) << c.Name;
        EXPECT_EQ(b.Mask, want.Mask) << c.Name;
    }
}

TEST_F(BrushTest, SetKeepsSizesOddCappedAndBiasInRange) {
    const struct {
        const char* Name;
        int32_t Size;
        float Bias;
        int32_t WantSize;
        float WantBias;
    } cases[] = {
        {"even grows", 10, 0.5f, 11, 0.5f},
        {"one becomes three", 1, 0.5f, 3, 0.5f},
        {"negative becomes three", -8, 0.5f, 3, 0.5f},
        {"huge is capped", 100000, 0.5f, Brush::MaxSize, 0.5f},
        {"tiny bias", 5, 0.00001f, 5, 0.0001f},
        {"bias one", 5, 1.0f, 5, 0.9999f},
    };
    for (const auto& c : cases) {
        Brush b;
        b.Set(c.Size, c.Size, 0, 1.0f, c.Bias, 0, 0, "", "", eval);
        EXPECT_EQ(b.XSize, c.WantSize) << c.Name;
        EXPECT_EQ(b.Data.size(), static_cast<size_t>(c.WantSize) * c.WantSize) << c.Name;
        EXPECT_FLOAT_EQ(b.Bias, c.WantBias) << c.Name;
    }
}

TEST_F(BrushTest, RoundSoftHalfBiasIsOneMinusR) {
    Brush b; // the defaults: 11 x 11, round, soft, bias 0.5
    // Cell (8, 5): u = 2.5/5.5, v = -0.5/5.5.
    const float u = 2.5f / 5.5f;
    const float v = -0.5f / 5.5f;
    EXPECT_NEAR(b.DataAt(8, 5), 1.0f - std::sqrt(u * u + v * v), 1e-6f);
    EXPECT_EQ(b.MaskAt(0, 0), 0); // r = sqrt(2)
    EXPECT_EQ(b.MaskAt(0, 5), 0); // u = -1, v = -1/11: just outside
    EXPECT_EQ(b.MaskAt(1, 5), 1); // u = -9/11
}

TEST_F(BrushTest, AdvancedFormEvaluatesBothExpressions) {
    Brush b;
    ASSERT_EQ(b.Set(5, 3, BrushAdvanced, 1, 0.5f, 0, 0, "x", "2*y+1", eval), 0);
    // Row 0: v = -1; column 3: u = 0.2 (mask on), column 2: u = -0.2 (off).
    EXPECT_FLOAT_EQ(b.DataAt(0, 0), -1.0f);
    EXPECT_FLOAT_EQ(b.DataAt(0, 2), 2.0f * (0.5f / 1.5f) + 1.0f);
    EXPECT_EQ(b.MaskAt(3, 1), 1);
    EXPECT_EQ(b.MaskAt(2, 1), 0);
}

TEST_F(BrushTest, FailuresFallBackSafely) {
    Brush bad;
    EXPECT_EQ(bad.Set(5, 5, BrushAdvanced | BrushRound, 1, 0.5f, 0, 0, "sin(x*", "1", eval),
              RebuildBadExpression);
    EXPECT_EQ(bad.Type & BrushAdvanced, 0);
    EXPECT_EQ(bad.MaskAt(0, 0), 0); // round again

    // ln of a negative number: the cells that are not numbers are switched off.
    Brush nan;
    ASSERT_EQ(nan.Set(5, 5, BrushAdvanced, 1, 0.5f, 0, 0, "1", "ln(x)", eval), 0);
    for (int32_t j = 0; j < 5; ++j) {
        EXPECT_EQ(nan.DataAt(0, j), 0.0f);
        EXPECT_EQ(nan.MaskAt(0, j), 0);
    }
    Brush negative;
    negative.Set(5, 5, BrushSoftEdge, 1, -0.5f, 0, 0, "", "", eval);
    // 1 - r^NaN inside the circle; 0 outside it.
    for (float d : negative.Data)
        EXPECT_EQ(d, 0.0f);
    EXPECT_EQ(negative.MaskAt(2, 2), 0);
}

TEST_F(BrushTest, PressureCopiesStayOddAndMoveTowardTheMaxima) {
    Brush source;
    source.Set(5, 5, BrushRound, 2.0f, 0.5f, 0, 0, "", "", eval);
    source.Flags = {1, 1, 1, 1};
    source.Maxima = {0.9f, 21, 30, 10.0f};
    const struct {
        const char* Name;
        float P;
        int32_t XSize, YSize;
        float Value;
    } cases[] = {
        {"none", 0.0f, 5, 5, 2.0f},
        // 5 + 16 * 0.5 = 13; 5 + 25 * 0.5 = 17.5 -> 17.
        {"half", 0.5f, 13, 17, 6.0f},
        // 5 + 16 * 0.25 = 9; 5 + 25 * 0.25 = 11.25 -> 11; 5 + 16 * 0.125 = 7.
        {"quarter", 0.25f, 9, 11, 4.0f},
        // 5 + 25 * 0.2 = 10 -> 11 (odd).
        {"fifth", 0.2f, 9, 11, 3.6f},
    };
    for (const auto& c : cases) {
        Brush b;
        b.CopyWithPressure(source, c.P, eval);
        EXPECT_EQ(b.XSize, c.XSize) << c.Name;
        EXPECT_EQ(b.YSize, c.YSize) << c.Name;
        EXPECT_FLOAT_EQ(b.Value, c.Value) << c.Name;
        EXPECT_EQ(b.Data.size(), static_cast<size_t>(c.XSize) * c.YSize) << c.Name;
    }
    // Maxima below the minimum still give a usable footprint.
    source.Maxima.XSize = -50;
    Brush shrunk;
    shrunk.CopyWithPressure(source, 1.0f, eval);
    EXPECT_EQ(shrunk.XSize, Brush::MinSize);
}

TEST_F(BrushTest, FootprintClipsToTheSurface) {
    Brush b; // 11 x 11: half 5
    const struct {
        const char* Name;
        int32_t X, Y;
        int32_t Code;
        FootprintRect Want;
    } cases[] = {
        {"inside", 20, 15, 0, {15, 10, 11, 11, 0, 0}},
        {"lower left corner", 0, 0, 0, {0, 0, 6, 6, 5, 5}},
        {"upper right corner", 39, 29, 0, {34, 24, 6, 6, 0, 0}},
        {"left of the surface", -6, 10, FootprintEmptyWidth, {}},
        {"above the surface", 10, 35, FootprintEmptyHeight, {}},
    };
    for (const auto& c : cases) {
        FootprintRect r;
        EXPECT_EQ(b.Footprint(c.X, c.Y, Width, Height, r), c.Code) << c.Name;
        if (c.Code != 0)
            continue;
        EXPECT_EQ(r.X0, c.Want.X0) << c.Name;
        EXPECT_EQ(r.Y0, c.Want.Y0) << c.Name;
        EXPECT_EQ(r.Width, c.Want.Width) << c.Name;
        EXPECT_EQ(r.Height, c.Want.Height) << c.Name;
        EXPECT_EQ(r.BrushX0, c.Want.BrushX0) << c.Name;
        EXPECT_EQ(r.BrushY0, c.Want.BrushY0) << c.Name;
    }
}

} // namespace
} // namespace korvel
