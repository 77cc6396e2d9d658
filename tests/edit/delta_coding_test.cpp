#include "edit/delta_coding.h"

#include "core/dialog_fields.h"
#include "core/surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace korvel {
namespace {

using Grid = std::vector<float>; // 4 x 3, row 0 first

void Fill(Surface& s, const Grid& g, double min, double max) {
    ASSERT_EQ(s.Resize(4, 3, 0), 0);
    std::copy(g.begin(), g.end(), s.Rows[0]);
    s.Min = min, s.Max = max;
}

// Code differences along row 0 left to right (from column 1), row 1 right to left, row 2 left
// to right; sample (0, 0) keeps its elevation.
TEST(DeltaCodingTest, EncodesDifferencesAlongTheAlternatingPath) {
    const auto check = [](double min, double max, const Grid& in, const Grid& out) {
        Surface s;
        Fill(s, in, min, max);
        DeltaCodingFields fields;
        EXPECT_EQ(DeltaEncode(s, fields), 0);
        EXPECT_EQ(std::pair(fields.Lo, fields.Hi), std::pair(min, max));
        EXPECT_EQ(Grid(s.Rows[0], s.Rows[0] + 12), out) << min << ".." << max;
    };
    // k = 0.5: codes 5 10 15 32767 / 0 3 50 25 / 32766 1 2 4.
    check(0.0, 65534.0, {10, 20, 31, 65534, 0, 7, 100, 50, 65533, 2, 4, 9},
          {10, 5, 5, 32752, -3, -47, 25, -32742, 32766, -32765, 1, 2});
    // k = 1 with stale extremes: 39999 and -70000 wrap to 16 bits.
    check(0.0, 32767.0, {1, 40000, -30000, 5, 5, 5, 5, 5, 5, 5, 5, 5},
          {1, -25537, -4464, 30005, 0, 0, 0, 0, 0, 0, 0, 0});
    check(3.0, 3.0, Grid(12, 3.0f), {3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
}

TEST(DeltaCodingTest, DecodesFromTheFirstElevationAsCode) {
    Surface s;
    Fill(s, {7.9f, 1, -2, 32767, 4, 0, 0, 0, 0, 0, 0, -1}, 0, 0);
    DeltaCodingFields fields;
    fields.Lo = 100.0, fields.Hi = 100.0 + 2 * 32767.0;
    EXPECT_EQ(DeltaDecode(s, fields), 0);
    // Codes 7 | 8 6 -32763 (wrapped) | from the right -32763 x3, -32759 | -32759 x3, -32760.
    const float a = -32759 * 2 + 100, b = -32763 * 2 + 100;
    EXPECT_EQ(Grid(s.Rows[0], s.Rows[0] + 12),
              (Grid{7.9f, 116, 112, b, a, b, b, b, a, a, a, -32760 * 2 + 100}));
    // With lo = 0 and k = 1 the first elevation is its own code: integers in range come back.
    const Grid in{0, 32767, 12, 5, 900, 1, 2, 3, 30000, 4, 17, 8};
    Fill(s, in, 0.0, 32767.0);
    ASSERT_EQ(DeltaEncode(s, fields), 0);
    ASSERT_EQ(DeltaDecode(s, fields), 0);
    EXPECT_EQ(Grid(s.Rows[0], s.Rows[0] + 12), in);
}

} // namespace
} // namespace korvel
