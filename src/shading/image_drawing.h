#pragma once
// Drawing on an Image as on a screen: x to the right, y down from the top line, so that the
// overlays and the vector file draw as the user sees the picture (row 0 of the Image is its
// bottom line). Coordinates are doubles and segments are clipped before any conversion to pixels,
// so far-off or huge positions cost nothing and never overflow.

#include "core/image.h"

#include <cstdint>
#include <vector>

namespace korvel {

// What a pen or fill lays down: a palette index, or a colour (on an 8-bit picture the nearest
// colour of its palette).
struct Ink {
    static Ink Index(int32_t index) { return {true, static_cast<uint32_t>(index & 0xFF)}; }
    static Ink Color(PackedColor color) { return {false, color & 0xFFFFFFu}; }
    bool IsIndex = false;
    uint32_t Value = 0;
};

// A pen wider than this is drawn this wide: a few stray digits cannot flood the picture.
constexpr int32_t MaxPenWidth = 64;

struct Pen {
    Ink TheInk;
    // Pixels across; 0 or less draws one pixel wide, as a cosmetic pen does.
    int32_t Width = 1;
};

struct PointD {
    double X = 0.0;
    double Y = 0.0;
};

// The part of the segment a..b inside x0..x1, y0..y1 (Liang-Barsky); false when none is, or
// when a coordinate is not a number.
bool ClipSegment(PointD& a, PointD& b, double x0, double y0, double x1, double y1);

// The palette entry nearest to color (the first of equals).
int32_t NearestPaletteIndex(const Image& image, PackedColor color);

class ImageDrawing {
public:
    // Draws on the first width x height pixels of image (the Surface's size; the picture may be
    // wider, its width rounded up to a multiple of 4). Larger sizes are cut to the picture.
    ImageDrawing(Image& image, int32_t width, int32_t height);
    explicit ImageDrawing(Image& image) : ImageDrawing(image, image.Width(), image.Height()) {}

    int32_t Width() const { return W; }
    int32_t Height() const { return H; }

    void SetPen(const Pen& pen);
    // The pen's footprint centred on the pixel that holds (x, y).
    void Point(double x, double y);
    // Every pixel of a Bresenham line between the pixels of a and b, with the pen's footprint.
    void Line(PointD a, PointD b);
    // Lines between consecutive points; one point draws a point.
    void Polyline(const std::vector<PointD>& points);
    // One pixel in the pen's ink, whatever its width.
    void Pixel(int32_t x, int32_t y);
    // Replaces the 4-connected region of pixels equal to the one at (x, y) with ink; nothing
    // when (x, y) is outside. Returns the pixels changed.
    int64_t FloodFill(int32_t x, int32_t y, Ink ink);
    // The value stored at (x, y), y from the top: an index or a packed colour.
    uint32_t At(int32_t x, int32_t y) const;

private:
    uint32_t Resolve(Ink ink) const;
    void Stamp(int32_t x, int32_t y);
    void Put(int32_t x, int32_t y, uint32_t value);

    Image& Picture;
    int32_t W = 0;
    int32_t H = 0;
    uint32_t PenValue = 0;
    int32_t PenWidth = 1;
    // The footprint of a wide pen: offsets from the centre pixel.
    std::vector<std::pair<int32_t, int32_t>> Footprint{{0, 0}};
};

} // namespace korvel
