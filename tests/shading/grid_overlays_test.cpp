#include "shading/grid_overlays.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

namespace korvel {
namespace {

constexpr PackedColor White = 0xFFFFFF;
constexpr PackedColor Red = 0x0000FF;
const MapEdges World{-180, 180, 90, -90};

struct Picture {
    Image TheImage;
    Picture(int32_t w, int32_t h) { EXPECT_EQ(TheImage.Create(w, h, 24), 0); }
    ImageDrawing Canvas() { return ImageDrawing(TheImage); }
    uint32_t At(int32_t x, int32_t y) { return Canvas().At(x, y); }
    int64_t Count(uint32_t value) {
        int64_t n = 0;
        for (int32_t y = 0; y < TheImage.Height(); ++y)
            for (int32_t x = 0; x < TheImage.Width(); ++x)
                n += At(x, y) == value;
        return n;
    }
};

HexGridSettings Hex(float radius, PackedColor contrast, int32_t contrastWeight) {
    HexGridSettings hex;
    hex.Radius = radius;
    hex.Color = static_cast<int32_t>(White);
    hex.Weight = 1;
    hex.BColor = static_cast<int32_t>(contrast);
    hex.BWeight = contrastWeight;
    return hex;
}

TEST(GridOverlays, HexagonsOfRadiusTenInPixels) {
    // Column 0's first centre is (0, 8.66): its corners (5, 0), (10, 8), (5, 17), (-5, 17)...;
    // column 2's centre (30, 8.66) has corners at x 40 and 20. The contrast pen (3 wide) shows
    // beside the edges pen (1 wide) drawn on top.
    Picture p(100, 100);
    ImageDrawing canvas = p.Canvas();
    std::string message;
    ASSERT_EQ(DrawHexGrid(canvas, Hex(10, Red, 3), GridPixels, World, message), 0);
    EXPECT_TRUE(message.empty());
    const struct {
        int32_t X, Y;
        uint32_t Color;
    } expected[] = {{3, 0, White},  {3, 1, Red},    {3, 16, Red},   {3, 17, White},
                    {3, 18, Red},   {3, 19, 0},     {3, 15, 0},     {0, 8, 0},
                    {10, 8, White}, {5, 17, White}, {40, 8, White}, {20, 8, White}};
    for (const auto& e : expected)
        EXPECT_EQ(p.At(e.X, e.Y), e.Color) << e.X << ", " << e.Y;
}

TEST(GridOverlays, HexagonsInDegreesCountFromTheBottomEdge) {
    // One degree a pixel. With Left = -180 and R = 30 the first column sits at x = 0; its first
    // centre is half a row (25.98 pixels) above the bottom line, so its right corner is in the
    // 25th row from the bottom: row 154 from the top, not row 25.
    Picture p(360, 180);
    ImageDrawing canvas = p.Canvas();
    std::string message;
    ASSERT_EQ(DrawHexGrid(canvas, Hex(30, White, 1), GridDegrees, World, message), 0);
    EXPECT_EQ(p.At(30, 154), White);
    EXPECT_EQ(p.At(30, 25), 0u);
}

TEST(GridOverlays, SpacingUnderOnePixelDrawsNothing) {
    struct Case {
        const char* Name;
        float Radius;
        GridUnits Units;
        bool Drawn;
    };
    const Case cases[] = {
        {"radius 0", 0.0f, GridPixels, false},
        {"negative radius", -4.0f, GridPixels, false},
        {"half a pixel", 0.5f, GridPixels, false},
        {"not a number", std::nanf(""), GridPixels, false},
        {"a thousandth of a degree", 0.001f, GridDegrees, false},
        {"one pixel", 1.0f, GridPixels, true},
        {"one degree of a 360-pixel world", 1.0f, GridDegrees, true},
    };
    for (const Case& c : cases) {
        Picture p(360, 4);
        ImageDrawing canvas = p.Canvas();
        std::string message;
        const int32_t code = DrawHexGrid(canvas, Hex(c.Radius, White, 1), c.Units, World, message);
        EXPECT_EQ(code, c.Drawn ? 0 : -1) << c.Name;
        EXPECT_EQ(message.find("Hex Grid: the radius of") == 0, !c.Drawn) << c.Name << message;
        EXPECT_EQ(p.Count(White) > 0, c.Drawn) << c.Name;
    }
}

RectGridSettings Rect(float dx, float dy, float ox, float oy, int32_t units) {
    RectGridSettings grid;
    grid.XInterval = dx;
    grid.YInterval = dy;
    grid.OfsX = ox;
    grid.OfsY = oy;
    grid.Units = units;
    grid.Color = static_cast<int32_t>(White);
    grid.BColor = static_cast<int32_t>(Red);
    return grid;
}

TEST(GridOverlays, RectangularGridLinesFallOnTheirColumnsAndRows) {
    struct Case {
        const char* Name;
        RectGridSettings Grid;
        MapEdges Edges;
        int32_t W, H;
        std::set<int32_t> Columns, Rows;
    };
    // In degrees at 10 degrees a pixel over -175..185 and -85..95: meridian -150 lies at pixel
    // 2.5 (column 2), parallel -60 at 2.5 pixels from the bottom (row 17 - 2 from the top).
    const Case cases[] = {
        {"pixels", Rect(4, 3, 1, 0, GridPixels), World, 12, 8, {1, 5, 9}, {0, 3, 6}},
        {"offset beyond one interval",
         Rect(4, 3, 9, 7, GridPixels),
         World,
         12,
         8,
         {1, 5, 9},
         {1, 4, 7}},
        {"degrees",
         Rect(30, 30, 0, 0, GridDegrees),
         {-175, 185, 95, -85},
         36,
         18,
         {2, 5, 8, 11, 14, 17, 20, 23, 26, 29, 32, 35},
         {0, 3, 6, 9, 12, 15}},
        // Bottom 95, Top -85: row p from the bottom is latitude 95 - 10 p; 90 lies at p = 0.5.
        {"degrees on a map whose top is south",
         Rect(30, 30, 0, 0, GridDegrees),
         {-175, 185, -85, 95},
         36,
         18,
         {2, 5, 8, 11, 14, 17, 20, 23, 26, 29, 32, 35},
         {17, 14, 11, 8, 5, 2}},
    };
    for (const Case& c : cases) {
        Picture p(c.W, c.H);
        ImageDrawing canvas = p.Canvas();
        std::string message;
        ASSERT_EQ(DrawRectangularGrid(canvas, c.Grid, c.Edges, message), 0) << c.Name;
        for (int32_t y = 0; y < c.H; ++y)
            for (int32_t x = 0; x < c.W; ++x) {
                const bool onLine = c.Columns.count(x) > 0 || c.Rows.count(y) > 0;
                ASSERT_EQ(p.At(x, y), onLine ? White : 0u) << c.Name << " at " << x << ", " << y;
            }
    }
}

TEST(GridOverlays, RectangularIntervalUnderOnePixelIsRefused) {
    struct Case {
        const char* Name;
        RectGridSettings Grid;
        const char* Says;
    };
    const Case cases[] = {
        {"x half a pixel", Rect(0.5f, 10, 0, 0, GridPixels), "the X interval of 0.5 pixels"},
        {"y zero", Rect(10, 0, 0, 0, GridPixels), "the Y interval of 0 pixels"},
        {"y one degree of 180 over 18 rows", Rect(10, 1, 0, 0, GridDegrees),
         "the Y interval of 1 degrees is 0.1 pixels"},
    };
    for (const Case& c : cases) {
        Picture p(36, 18);
        ImageDrawing canvas = p.Canvas();
        std::string message;
        EXPECT_EQ(DrawRectangularGrid(canvas, c.Grid, World, message), -1) << c.Name;
        EXPECT_NE(message.find(c.Says), std::string::npos) << c.Name << ": " << message;
        EXPECT_EQ(p.Count(0), 36 * 18) << c.Name;
    }
}

} // namespace
} // namespace korvel
