#pragma once
// Text in the built-in dot font, drawn into the picture or stamped into the height field. The
// text's place is the column of its left edge and the row of its bottom line counted from the
// bottom, as the position readout shows samples; each dot of the font covers scale x scale
// pixels. Whatever falls outside is clipped.

#include "core/surface.h"
#include "shading/image_drawing.h"

#include <cstdint>
#include <string>

namespace korvel {

constexpr int32_t MaxTextScale = 64;
// Longer texts are refused: a pasted page must not become millions of dots.
constexpr size_t MaxTextLength = 256;

struct TextPlace {
    int32_t X = 0;
    int32_t Y = 0;
    int32_t Scale = 1;
};

// Empty when text can be drawn at place; otherwise why not (empty text, too long, bad scale).
std::string CheckText(const std::string& text, const TextPlace& place);

// The pixels drawn, after CheckText found nothing to say.
int64_t DrawText(ImageDrawing& canvas, const std::string& text, const TextPlace& place, Ink ink);

enum class TextHeights { Set, Add };
// Each sample under a dot gets value (Set) or value more (Add), weighted by the selection mask
// when there is one; the Surface's Min and Max follow. The samples changed.
int64_t StampText(Surface& s, const std::string& text, const TextPlace& place, float value,
                  TextHeights how, bool useMask);

} // namespace korvel
