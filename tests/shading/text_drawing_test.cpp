#include "shading/altitude_key.h"
#include "shading/bitmap_font.h"
#include "shading/text_drawing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <utility>

namespace korvel {
namespace {

using Pixels = std::set<std::pair<int32_t, int32_t>>;

Pixels DrawnText(const std::string& text, TextPlace place) {
    Image image;
    EXPECT_EQ(image.Create(8, 8, 8), 0);
    ImageDrawing canvas(image);
    const int64_t count = DrawText(canvas, text, place, Ink::Index(1));
    Pixels drawn;
    for (int32_t y = 0; y < 8; ++y)
        for (int32_t x = 0; x < 8; ++x)
            if (canvas.At(x, y) == 1)
                drawn.insert({x, y});
    EXPECT_EQ(count, static_cast<int64_t>(drawn.size())) << text;
    return drawn;
}

TEST(TextDrawing, LettersLandWhereTheirDotsAre) {
    struct Case {
        const char* Name;
        std::string Text;
        TextPlace Place;
        Pixels Expected; // x, y from the top of an 8 x 8 picture
    };
    // "I" is a bar of three dots over a stem of five and a bar of three; its bottom line on row
    // 0 from the bottom is row 7 from the top, so its top bar is on row 1.
    const Pixels i = {{2, 1}, {3, 1}, {4, 1}, {3, 2}, {3, 3}, {3, 4},
                      {3, 5}, {3, 6}, {2, 7}, {3, 7}, {4, 7}};
    // "." is a 2 x 2 block in the glyph's columns 1-2 and rows 5-6; at scale 2 a 4 x 4 block.
    const Case cases[] = {
        {"capital I", "I", {1, 0, 1}, i},
        {"unprintable drawn as question mark", "\x01", {0, 0, 1}, Pixels{}},
        {"period at scale 2",
         ".",
         {0, 0, 2},
         {{2, 4},
          {3, 4},
          {4, 4},
          {5, 4},
          {2, 5},
          {3, 5},
          {4, 5},
          {5, 5},
          {2, 6},
          {3, 6},
          {4, 6},
          {5, 6},
          {2, 7},
          {3, 7},
          {4, 7},
          {5, 7}}},
        {"clipped at the right", ".", {6, 0, 1}, {{7, 6}, {7, 7}}},
        {"wholly outside", "I", {-100, 0, 1}, {}},
        {"raised two rows", ".", {0, 2, 1}, {{1, 4}, {2, 4}, {1, 5}, {2, 5}}},
    };
    for (const Case& c : cases) {
        Pixels expected = c.Expected;
        if (c.Text == "\x01")
            expected = DrawnText("?", c.Place);
        EXPECT_EQ(DrawnText(c.Text, c.Place), expected) << c.Name;
    }
    EXPECT_EQ(TextWidth("ab"), 11);
    EXPECT_EQ(TextWidth(""), 0);
}

TEST(TextDrawing, TextsThatCannotBeDrawnAreRefused) {
    const std::pair<std::string, TextPlace> refused[] = {
        {"", {0, 0, 1}}, {std::string(257, 'x'), {0, 0, 1}}, {"a", {0, 0, 0}}, {"a", {0, 0, 65}}};
    for (const auto& [text, place] : refused)
        EXPECT_EQ(CheckText(text, place).rfind("Text Message: ", 0), 0u) << text.size();
    EXPECT_EQ(CheckText(std::string(256, 'x'), {0, 0, 64}), "");
}

TEST(TextDrawing, StampSetsOrRaisesTheSamplesUnderTheDots) {
    struct Case {
        const char* Name;
        TextHeights How;
        float Start, Value;
        bool Masked;
        float AtCorner; // sample (1, 0), weighted 51/255 when masked
    };
    // "." covers samples (1, 0), (2, 0), (1, 1), (2, 1) of an 8 x 3 Surface.
    const Case cases[] = {
        {"set", TextHeights::Set, 0, 7, false, 7},
        {"raise", TextHeights::Add, 1, 2, false, 3},
        {"set under a fifth of a mask", TextHeights::Set, 0, 10, true, 2},
        {"raise under a fifth of a mask", TextHeights::Add, 4, 5, true, 5},
    };
    for (const Case& c : cases) {
        Surface s;
        ASSERT_EQ(s.Resize(8, 3, 0), 0);
        std::fill_n(s.Rows[0], 24, c.Start);
        if (c.Masked) {
            ASSERT_EQ(s.Mask.Create(8, 3), 0);
            s.Mask.SelectAll();
            *s.Mask.RowPointer(1, 0) = 51;
        }
        EXPECT_EQ(StampText(s, ".", {0, 0, 1}, c.Value, c.How, c.Masked), 4) << c.Name;
        EXPECT_FLOAT_EQ(s.Rows[0][1], c.AtCorner) << c.Name;
        const float full = c.How == TextHeights::Set ? c.Value : c.Start + c.Value;
        for (const auto& [x, y] : {std::pair{2, 0}, {1, 1}, {2, 1}})
            EXPECT_FLOAT_EQ(s.Rows[y][x], full) << c.Name;
        EXPECT_FLOAT_EQ(s.Rows[2][1], c.Start) << c.Name;
        EXPECT_EQ(s.Max, full) << c.Name;
        EXPECT_EQ(s.Min, c.Start) << c.Name;
    }
}

TEST(AltitudeKeyLabels, LabelsStepDownFromTheTop) {
    struct Case {
        const char* Name;
        bool Absolute;
        double Min, Max;
        std::string Labels;
    };
    // Surface range 0..100 (the absolute range -100..700 when asked for); printf rounds halves
    // to even: 87.5 -> 88, 62.5 -> 62.
    const Case cases[] = {
        {"0 to 100", false, 0, 100, "100 m|88 m|75 m|62 m|50 m|38 m|25 m|12 m|0 m|"},
        {"absolute range", true, 0, 100, "700 m|600 m|500 m|400 m|300 m|200 m|100 m|0 m|-100 m|"},
        {"flat", false, 5, 5, "5 m|"},
        {"not a number", false, std::nan(""), 5, ""},
    };
    for (const Case& c : cases) {
        LightParms lp;
        lp.AbsColor = c.Absolute;
        lp.AbsMin = -100;
        lp.AbsMax = 700;
        const AltitudeKey key = BuildAltitudeKey(lp, PaletteLayout{}, c.Min, c.Max, 4);
        std::string labels = key.Labels;
        for (size_t at = 0; (at = labels.find("\n\n\n", at)) != std::string::npos;)
            labels.replace(at, 3, "|");
        EXPECT_EQ(labels, c.Labels) << c.Name;
        EXPECT_EQ(key.Band.size(), 4u) << c.Name;
    }
}

} // namespace
} // namespace korvel
