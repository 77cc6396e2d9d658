#include "core/delta_coding.h"

#include "core/dialog_fields.h"
#include "core/surface.h"

#include <gtest/gtest.h>

#include <array>

namespace korvel {
namespace {

using Grid = std::array<float, 12>; // 4 x 3, row 0 first

void Fill(Surface& s, const Grid& g) {
    ASSERT_EQ(s.Resize(4, 3, 0), 0);
    for (int i = 0; i < 12; ++i)
        s.Rows[i / 4][i % 4] = g[i];
}

Grid Read(const Surface& s) {
    Grid g{};
    for (int i = 0; i < 12; ++i)
        g[i] = s.Rows[i / 4][i % 4];
    return g;
}

// Code differences along row 0 left to right (from column 1), row 1 right to left, row 2 left
// to right; sample (0, 0) keeps its elevation.
TEST(DeltaCodingTest, EncodesDifferencesAlongTheAlternatingPath) {
    const struct {
        double Min, Max;
        Grid In, Out;
    } cases[] = {
        // k = 0.5: codes 5 10 15 32767 / 0 3 50 25 / 32766 1 2 4.
        {0.0,
         65534.0,
         {10, 20, 31, 65534, 0, 7, 100, 50, 65533, 2, 4, 9},
         {10, 5, 5, 32752, -3, -47, 25, -32742, 32766, -32765, 1, 2}},
        // k = 1 with stale extremes: 39999 and -70000 wrap to 16 bits.
        {0.0,
         32767.0,
         {1, 40000, -30000, 5, 5, 5, 5, 5, 5, 5, 5, 5},
         {1, -25537, -4464, 30005, 0, 0, 0, 0, 0, 0, 0, 0}},
        {3.0, 3.0, {3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3}, {3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Min << ".." << c.Max);
        Surface s;
        Fill(s, c.In);
        s.Min = c.Min;
        s.Max = c.Max;
        DeltaCodingFields fields;
        EXPECT_EQ(DeltaEncode(s, fields), 0);
        EXPECT_EQ(fields.Lo, c.Min);
        EXPECT_EQ(fields.Hi, c.Max);
        EXPECT_EQ(Read(s), c.Out);
    }
}

TEST(DeltaCodingTest, DecodesFromTheFirstElevationAsCode) {
    Surface s;
    Fill(s, {7.9f, 1, -2, 32767, 4, 0, 0, 0, 0, 0, 0, -1});
    DeltaCodingFields fields;
    fields.Lo = 100.0;
    fields.Hi = 100.0 + 2 * 32767.0;
    EXPECT_EQ(DeltaDecode(s, fields), 0);
    // Codes 7 | 8 6 -32763 (wrapped) | from the right -32763 x3, -32759 | -32759 x3, -32760.
    const float a = -32759 * 2 + 100;
    const float b = -32763 * 2 + 100;
    EXPECT_EQ(Read(s), (Grid{7.9f, 116, 112, b, a, b, b, b, a, a, a, -32760 * 2 + 100}));

    // With lo = 0 and k = 1 the first elevation is its own code: integers in range come back.
    const Grid in{0, 32767, 12, 5, 900, 1, 2, 3, 30000, 4, 17, 8};
    Fill(s, in);
    s.Min = 0.0;
    s.Max = 32767.0;
    ASSERT_EQ(DeltaEncode(s, fields), 0);
    ASSERT_EQ(DeltaDecode(s, fields), 0);
    EXPECT_EQ(Read(s), in);
}

} // namespace
} // namespace korvel
