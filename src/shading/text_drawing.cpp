#include "shading/text_drawing.h"

#include "core/extremes.h"
#include "shading/bitmap_font.h"

#include <algorithm>
#include <cmath>

namespace korvel {

namespace {

// Calls visit(column, row from the bottom) for every pixel under a dot, inside width x height.
template <class Visit>
int64_t ForEachTextPixel(const std::string& text, const TextPlace& place, int32_t width,
                         int32_t height, Visit visit) {
    const int64_t scale = place.Scale;
    // The top dot row's lowest pixel row, counted from the bottom.
    const int64_t top = int64_t{place.Y} + (GlyphHeight - 1) * scale;
    int64_t count = 0;
    for (const TextDot& dot : TextDots(text)) {
        const int64_t x0 = place.X + dot.X * scale;
        const int64_t y0 = top - dot.Y * scale;
        for (int64_t y = std::max<int64_t>(y0, 0); y < std::min<int64_t>(y0 + scale, height); ++y)
            for (int64_t x = std::max<int64_t>(x0, 0); x < std::min<int64_t>(x0 + scale, width);
                 ++x) {
                visit(static_cast<int32_t>(x), static_cast<int32_t>(y));
                ++count;
            }
    }
    return count;
}

} // namespace

std::string CheckText(const std::string& text, const TextPlace& place) {
    if (text.empty())
        return "Text Message: there is no text to draw.";
    if (text.size() > MaxTextLength)
        return "Text Message: the text has " + std::to_string(text.size()) +
               " characters; at most " + std::to_string(MaxTextLength) + " can be drawn.";
    if (place.Scale < 1 || place.Scale > MaxTextScale)
        return "Text Message: the scale " + std::to_string(place.Scale) + " is not in 1 to " +
               std::to_string(MaxTextScale) + ".";
    return {};
}

int64_t DrawText(ImageDrawing& canvas, const std::string& text, const TextPlace& place, Ink ink) {
    canvas.SetPen({ink, 1});
    const int32_t h = canvas.Height();
    return ForEachTextPixel(text, place, canvas.Width(), h,
                            [&](int32_t x, int32_t y) { canvas.Pixel(x, h - 1 - y); });
}

int64_t StampText(Surface& s, const std::string& text, const TextPlace& place, float value,
                  TextHeights how, bool useMask) {
    if (!s.HasGrid())
        return 0;
    const bool masked = useMask && s.Mask.Exists();
    const int64_t count =
        ForEachTextPixel(text, place, s.XSize, s.YSize, [&](int32_t x, int32_t y) {
            float& h = s.Rows[y][x];
            const float target = how == TextHeights::Set ? value : h + value;
            h = masked ? static_cast<float>(h + s.Mask.Weight(x, y) * (target - h)) : target;
        });
    if (count > 0) {
        Extremes e;
        for (int32_t y = 0; y < s.YSize; ++y)
            e.AddFinite(s.Rows[y], s.XSize);
        s.Min = e.Lo;
        s.Max = e.Hi;
    }
    return count;
}

} // namespace korvel
