#include "shading/image_drawing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>
#include <vector>

namespace korvel {
namespace {

using Pixels = std::set<std::pair<int32_t, int32_t>>;
constexpr double NaN = std::nan("");

// The pixels (x, y from the top) of the picture that are not 0.
Pixels Drawn(const ImageDrawing& canvas) {
    Pixels set;
    for (int32_t y = 0; y < canvas.Height(); ++y)
        for (int32_t x = 0; x < canvas.Width(); ++x)
            if (canvas.At(x, y) != 0)
                set.insert({x, y});
    return set;
}

Image Blank(int32_t w, int32_t h, int32_t bits) {
    Image image;
    EXPECT_EQ(image.Create(w, h, bits), 0);
    return image;
}

TEST(ImageDrawing, LinesAndPointsCoverTheHandWorkedPixels) {
    struct Case {
        const char* Name;
        PointD A, B;
        int32_t Width;
        Pixels Expected;
    };
    // Bresenham by hand: y = x/2 rounds its halves (x = 1, 3) away from the start.
    const Case cases[] = {
        {"horizontal", {0, 1}, {3, 1}, 1, {{0, 1}, {1, 1}, {2, 1}, {3, 1}}},
        {"vertical upwards", {2, 4}, {2, 2}, 1, {{2, 2}, {2, 3}, {2, 4}}},
        {"diagonal", {0, 0}, {3, 3}, 1, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
        {"shallow", {0, 0}, {4, 2}, 1, {{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}}},
        {"fractions fall in their pixel", {2.7, 3.2}, {2.7, 3.2}, 1, {{2, 3}}},
        {"far ends clipped",
         {-1e12, 2},
         {1e12, 2},
         1,
         {{0, 2}, {1, 2}, {2, 2}, {3, 2}, {4, 2}, {5, 2}, {6, 2}, {7, 2}}},
        {"huge diagonal clipped",
         {-1e9, -1e9},
         {1e9, 1e9},
         1,
         {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}}},
        {"wholly outside", {10, 10}, {20, 20}, 1, {}},
        {"not a number", {NaN, 0}, {3, 3}, 1, {}},
        {"infinite end", {-INFINITY, 1}, {3, 1}, 1, {}},
        {"width 0 is one pixel", {2, 2}, {2, 2}, 0, {{2, 2}}},
        {"width 2 point", {2, 2}, {2, 2}, 2, {{2, 2}, {3, 2}, {2, 3}, {3, 3}}},
        {"width 3 point",
         {2, 2},
         {2, 2},
         3,
         {{1, 1}, {2, 1}, {3, 1}, {1, 2}, {2, 2}, {3, 2}, {1, 3}, {2, 3}, {3, 3}}},
        // A disc 4 across centred between pixels 2 and 3: the corner centres lie 2.12 away.
        {"width 4 point",
         {2, 2},
         {2, 2},
         4,
         {{2, 1},
          {3, 1},
          {1, 2},
          {2, 2},
          {3, 2},
          {4, 2},
          {1, 3},
          {2, 3},
          {3, 3},
          {4, 3},
          {2, 4},
          {3, 4}}},
        {"wide pen reaches in from outside",
         {-1, 0},
         {-1, 4},
         3,
         {{0, 0}, {0, 1}, {0, 2}, {0, 3}, {0, 4}}},
    };
    for (const Case& c : cases) {
        Image image = Blank(8, 5, 8);
        ImageDrawing canvas(image);
        canvas.SetPen({Ink::Index(1), c.Width});
        canvas.Line(c.A, c.B);
        EXPECT_EQ(Drawn(canvas), c.Expected) << c.Name;
    }
}

TEST(ImageDrawing, TopLineIsTheLastRowOfThePicture) {
    Image image = Blank(4, 3, 24);
    ImageDrawing canvas(image);
    canvas.SetPen({Ink::Color(0x123456), 1});
    canvas.Point(1, 0);
    EXPECT_EQ(image.GetPixel(1, 2), 0x123456u);
    EXPECT_EQ(image.GetPixel(1, 0), 0u);
}

TEST(ImageDrawing, DrawingStopsAtTheGivenSize) {
    // A 5-sample-wide Surface has a picture 8 wide: columns 5..7 are not the map's.
    Image image = Blank(5, 2, 8);
    ImageDrawing canvas(image, 5, 2);
    canvas.SetPen({Ink::Index(9), 1});
    canvas.Line({0, 0}, {100, 0});
    EXPECT_EQ(image.GetPixel(4, 1), 9u);
    EXPECT_EQ(image.GetPixel(5, 1), 0u);
}

TEST(ImageDrawing, InkBecomesWhatThePictureStores) {
    struct Case {
        const char* Name;
        int32_t Bits;
        Ink TheInk;
        uint32_t Stored;
    };
    // Palette: 0 black, 1 red, 2 white. Red 128 is 127 from red and 128 from black.
    const Case cases[] = {
        {"index into 8 bits", 8, Ink::Index(2), 2},
        {"colour to the nearest entry", 8, Ink::Color(0xF0F0F0), 2},
        {"dark red nearer red than black", 8, Ink::Color(0x000080), 1},
        {"index into 24 bits is its colour", 24, Ink::Index(1), 0x0000FF},
        {"colour into 24 bits", 24, Ink::Color(0xABCDEF), 0xABCDEF},
    };
    for (const Case& c : cases) {
        Image image = Blank(4, 1, c.Bits);
        image.Palette[1] = PackColor(255, 0, 0);
        image.Palette[2] = PackColor(255, 255, 255);
        ImageDrawing canvas(image);
        canvas.SetPen({c.TheInk, 1});
        canvas.Point(0, 0);
        EXPECT_EQ(canvas.At(0, 0), c.Stored) << c.Name;
    }
}

TEST(ImageDrawing, ClipSegmentKeepsThePartInside) {
    struct Case {
        const char* Name;
        PointD A, B;
        bool Inside;
        PointD ClippedA, ClippedB;
    };
    const Case cases[] = {
        {"inside stays", {1, 1}, {3, 2}, true, {1, 1}, {3, 2}},
        {"across", {-10, 5}, {10, 5}, true, {0, 5}, {4, 5}},
        {"through the corners", {-2, -2}, {6, 6}, true, {0, 0}, {4, 4}},
        {"reversed", {6, 6}, {-2, -2}, true, {4, 4}, {0, 0}},
        {"parallel outside", {-1, 0}, {-1, 4}, false, {}, {}},
        {"point inside", {2, 2}, {2, 2}, true, {2, 2}, {2, 2}},
        {"not a number", {NaN, 1}, {2, 2}, false, {}, {}},
    };
    for (const Case& c : cases) {
        PointD a = c.A;
        PointD b = c.B;
        ASSERT_EQ(ClipSegment(a, b, 0, 0, 4, 10), c.Inside) << c.Name;
        if (!c.Inside)
            continue;
        EXPECT_DOUBLE_EQ(a.X, c.ClippedA.X) << c.Name;
        EXPECT_DOUBLE_EQ(a.Y, c.ClippedA.Y) << c.Name;
        EXPECT_DOUBLE_EQ(b.X, c.ClippedB.X) << c.Name;
        EXPECT_DOUBLE_EQ(b.Y, c.ClippedB.Y) << c.Name;
    }
}

TEST(ImageDrawing, FloodFillTakesTheFourConnectedArea) {
    struct Case {
        const char* Name;
        Pixels Walls;
        int32_t X, Y;
        int64_t Changed;
    };
    // A 5 x 4 picture of 0 with walls of 1; the fill starts at (X, Y) with 5.
    const Case cases[] = {
        {"around a gap", {{2, 0}, {2, 1}, {2, 2}}, 0, 0, 17},
        {"closed wall", {{2, 0}, {2, 1}, {2, 2}, {2, 3}}, 0, 0, 8},
        {"diagonal does not leak", {{1, 0}, {0, 1}}, 0, 0, 1},
        {"wall itself", {{1, 0}, {0, 1}}, 1, 0, 1},
        {"outside", {}, 5, 0, 0},
        {"below the picture", {}, 0, -1, 0},
    };
    for (const Case& c : cases) {
        Image image = Blank(5, 4, 8);
        ImageDrawing canvas(image, 5, 4);
        canvas.SetPen({Ink::Index(1), 1});
        for (const auto& [x, y] : c.Walls)
            canvas.Pixel(x, y);
        EXPECT_EQ(canvas.FloodFill(c.X, c.Y, Ink::Index(5)), c.Changed) << c.Name;
        int64_t fives = 0;
        for (int32_t y = 0; y < 4; ++y)
            for (int32_t x = 0; x < 5; ++x)
                fives += canvas.At(x, y) == 5;
        EXPECT_EQ(fives, c.Changed) << c.Name;
    }
    Image image = Blank(4, 4, 8);
    ImageDrawing canvas(image);
    EXPECT_EQ(canvas.FloodFill(0, 0, Ink::Index(0)), 0) << "same value";
}

} // namespace
} // namespace korvel
