#pragma once
// A built-in 5 x 7 dot font for the printable ASCII characters, so that text can be drawn into
// the picture or the height field without a windowing toolkit. Each character takes 6 columns
// (one blank between characters); any other character is drawn as '?'.

#include <cstdint>
#include <string>
#include <vector>

namespace korvel {

constexpr int32_t GlyphWidth = 5;
constexpr int32_t GlyphHeight = 7;
constexpr int32_t GlyphAdvance = 6;

// True when the dot at column (0..4) and row (0..6, from the top) of the character is set.
bool GlyphDot(char c, int32_t column, int32_t row);

struct TextDot {
    int32_t X = 0; // dot column from the left of the text
    int32_t Y = 0; // dot row from the top of the text
};

// Every set dot of a one-line text, left to right.
std::vector<TextDot> TextDots(const std::string& text);
// The text's size in dots: 6 per character less the last blank column, 7 high; 0 x 0 when empty.
int32_t TextWidth(const std::string& text);

} // namespace korvel
