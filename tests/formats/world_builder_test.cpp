#include "formats/world_builder.h"

#include "core/workspace.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace korvel {
namespace {

void Put(std::string& b, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        b += static_cast<char>(v >> (8 * i) & 255);
}

// A bottom-up BMP whose pixel (x, y), y from the top, is value(x, y): a packed colour (red low)
// at 24 bits, a palette index at 8 bits (palette entry i is red i, green 255 - i, blue 7).
std::string Bmp(int32_t w, int32_t h, int bits, const std::function<uint32_t(int, int)>& value) {
    const int32_t stride = (w * bits / 8 + 3) & ~3;
    const uint32_t palette = bits == 8 ? 1024 : 0;
    std::string b = "BM";
    Put(b, 54 + palette + stride * h, 4);
    Put(b, 0, 4);
    Put(b, 54 + palette, 4);
    Put(b, 40, 4);
    Put(b, w, 4);
    Put(b, h, 4);
    Put(b, 1, 2);
    Put(b, bits, 2);
    for (int i = 0; i < 6; ++i)
        Put(b, 0, 4);
    for (uint32_t i = 0; i < palette / 4; ++i)
        Put(b, 7 | (255 - i) << 8 | i << 16, 4); // blue, green, red, 0
    for (int32_t row = h - 1; row >= 0; --row) {
        std::string line;
        for (int32_t x = 0; x < w; ++x) {
            const uint32_t v = value(x, row);
            if (bits == 8)
                line += static_cast<char>(v);
            else
                line +=
                    {static_cast<char>(v >> 16), static_cast<char>(v >> 8), static_cast<char>(v)};
        }
        line.resize(static_cast<size_t>(stride), 0);
        b += line;
    }
    return b;
}

// Black but for entry 9 (a red) and entry 20 (a green).
std::array<PackedColor, 256> TwoColours(Workspace&) {
    std::array<PackedColor, 256> palette{};
    palette[9] = PackColor(200, 10, 10);
    palette[20] = PackColor(10, 200, 10);
    return palette;
}

class WorldBuilder : public testing::Test {
public:
    std::string Write(const std::string& name, const std::string& bytes) {
        const std::string path = dir.File(name);
        test::WriteFileText(path, bytes);
        return path;
    }
    test::RecordingHost host;
    Workspace ws{host};
    test::TempDir dir;
};

// An 8 x 5 map whose pixels say where they are: red the column, green the row.
uint32_t Where(int x, int y) {
    return PackColor(static_cast<uint8_t>(x), static_cast<uint8_t>(y), 0);
}

struct Pick {
    int32_t X, Y; // working picture, row 0 at the top
    int32_t Sx, Sy;
};
// Worked by hand for H = 5 (latitudes 90, 45, 0, -45, -90) and 8 columns (longitude x x 360/7 -
// 180): the poles are the middles of the top and bottom edges, the equator's ends the corners
// of the bottom edge (the equator counts as south), lon -25.7 and 25.7 fall at u = 5/14, 9/14.
const Pick Picks[] = {
    {0, 0, 3, 0}, {7, 0, 3, 0}, {0, 4, 3, 4}, {5, 4, 3, 4},
    {0, 2, 0, 4}, {7, 2, 7, 4}, {3, 2, 2, 2}, {4, 2, 4, 2},
};

TEST_F(WorldBuilder, ResamplesTheDiamondAsWorkedByHand) {
    const std::string heights = Write("h24.bmp", Bmp(8, 5, 24, Where));
    ASSERT_EQ(ImportWorldBuilder(ws, heights, heights, TwoColours), 0);
    const Surface& s = ws.TheSurface;
    // 2H = 10, rounded down to 8 like the working picture's width.
    ASSERT_EQ(s.XSize, 8);
    ASSERT_EQ(s.YSize, 5);
    EXPECT_EQ(s.Left, -180.0);
    EXPECT_EQ(s.Top, 90.0);
    const Image& picture = s.Texture.AsIs();
    EXPECT_FALSE(s.Texture.Stale());
    for (const Pick& p : Picks) {
        SCOPED_TRACE(std::to_string(p.X) + "," + std::to_string(p.Y));
        EXPECT_EQ(s.Rows[4 - p.Y][p.X], static_cast<float>(p.Sx)); // red
        EXPECT_EQ(picture.GetPixel(p.X, 4 - p.Y), Where(p.Sx, p.Sy));
    }
    EXPECT_EQ(s.Min, 0.0);
    EXPECT_EQ(s.Max, 7.0);
}

// The source pixel of working pixel (x, y), row 0 at the top, for a map of sw x sh and a world
// of height h, by the diamond's rules.
std::pair<int32_t, int32_t> DiamondSource(int32_t x, int32_t y, int32_t sw, int32_t sh, int32_t h) {
    const int32_t width = (2 * h) & ~3;
    const double lat = 90.0 - y * 180.0 / (h - 1);
    const double lon = x * 360.0 / (width - 1) - 180.0;
    // |lat| / 90, taken for the south as lat times -1/90, as the rules compute it.
    const double a = lat <= 0.0 ? lat * (-1.0 / 90.0) : lat / 90.0, c = 1.0 - a;
    double u = 0.0, w = c;
    if (lon < -90.0) {
        u = a / 2.0;
        w = (lon + 180.0) / 90.0 * c;
    } else if (lon < 90.0) {
        u = (lon / 90.0 * c + 1.0) / 2.0;
    } else {
        u = (c + 1.0) / 2.0;
        w = (1.0 - (lon - 90.0) / 90.0) * c;
    }
    const double v = lat > 0.0 ? w / 2.0 : 1.0 - w / 2.0;
    return {static_cast<int32_t>((sw - 1) * u), static_cast<int32_t>((sh - 1) * v)};
}

TEST_F(WorldBuilder, EveryRowBlockFollowsTheDiamond) {
    // Rows are resampled 64 at a time on two threads: a last block of two rows and a climate map
    // of another size than the heights must still give every pixel the rules give.
    struct Case {
        const char* Name;
        int32_t Height, ClimateWidth, ClimateHeight;
    };
    const Case cases[] = {
        {"blocks of 64, 64 and 2 rows", 130, 300, 130},
        {"climate map of another size", 67, 92, 41},
    };
    const auto colour = [](int x, int y) {
        return PackColor(static_cast<uint8_t>(x), static_cast<uint8_t>(y),
                         static_cast<uint8_t>(x >> 8));
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const int32_t h = c.Height, sw = (2 * h) & ~3;
        const std::string heights = Write("rows.bmp", Bmp(sw, h, 24, colour));
        const std::string climate =
            Write("climate.bmp", Bmp(c.ClimateWidth, c.ClimateHeight, 24, colour));
        ws.TheSurface.Lighting.BitDepth = 24;
        ASSERT_EQ(ImportWorldBuilder(ws, heights, climate, TwoColours), 0);
        const Surface& s = ws.TheSurface;
        const Image& picture = s.Texture.AsIs();
        ASSERT_EQ(s.YSize, h);
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < s.XSize; ++x) {
                const int32_t hx = DiamondSource(x, y, sw, h, h).first;
                ASSERT_EQ(s.Rows[h - 1 - y][x], static_cast<float>(hx & 255)) << x << "," << y;
                const auto [cx, cy] = DiamondSource(x, y, c.ClimateWidth, c.ClimateHeight, h);
                ASSERT_EQ(picture.GetPixel(x, h - 1 - y), colour(cx, cy)) << x << "," << y;
            }
    }
}

TEST_F(WorldBuilder, EightBitMapsGiveIndicesAndPaletteColours) {
    const auto index = [](int x, int y) { return static_cast<uint32_t>(10 * y + x); };
    const std::string map = Write("h8.bmp", Bmp(8, 5, 8, index));
    ws.TheSurface.Lighting.BitDepth = 24;
    ASSERT_EQ(ImportWorldBuilder(ws, map, map, TwoColours), 0);
    const Surface& s = ws.TheSurface;
    for (const Pick& p : Picks) {
        const uint32_t i = index(p.Sx, p.Sy);
        EXPECT_EQ(s.Rows[4 - p.Y][p.X], static_cast<float>(i));
        EXPECT_EQ(s.Texture.AsIs().GetPixel(p.X, 4 - p.Y),
                  PackColor(static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), 7));
    }
}

TEST_F(WorldBuilder, EightBitPictureTakesTheNearestPaletteEntry) {
    ws.TheSurface.Lighting.BitDepth = 8;
    const std::string climate =
        Write("c.bmp", Bmp(8, 5, 24, [](int x, int) { return x < 4 ? 0xF0u : 0xF000u; }));
    ASSERT_EQ(ImportWorldBuilder(ws, climate, climate, TwoColours), 0);
    const Image& picture = ws.TheSurface.Texture.AsIs();
    ASSERT_EQ(picture.BitsPerPixel(), 8);
    EXPECT_EQ(picture.GetPixel(3, 2), 9u);  // from source column 2: red 240
    EXPECT_EQ(picture.GetPixel(4, 2), 20u); // from source column 4: green 240
}

TEST_F(WorldBuilder, RefusalsSayWhyAndKeepWhatTheyShould) {
    ASSERT_EQ(ws.TheSurface.Resize(8, 4, 0), 0);
    ws.TheSurface.Rows[0][0] = 5.0f;
    struct Case {
        const char* Name;
        std::string Heights;
        int32_t Code;
        const char* Message;
    };
    const Case cases[] = {
        {"not_a_bmp", Write("x.bmp", "not a bitmap"), WorldBuilderBadHeights,
         "Error reading BMP file"},
        {"three_rows", Write("short.bmp", Bmp(8, 3, 24, Where)), WorldBuilderBadHeights,
         "Sorry, there appears to be no information in this file"},
        // 2 x 75000 columns is past the Surface's limit of 150000.
        {"too_tall", Write("tall.bmp", Bmp(4, 75000, 8, [](int, int) { return 1u; })),
         WorldBuilderBadSize, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        host.Messages.clear();
        EXPECT_EQ(ImportWorldBuilder(ws, c.Heights, "", TwoColours), c.Code);
        ASSERT_EQ(host.Messages.size(), 1u);
        if (c.Message) {
            EXPECT_EQ(host.Messages[0], c.Message);
        }
        EXPECT_EQ(ws.TheSurface.XSize, 8);
        EXPECT_EQ(ws.TheSurface.Rows[0][0], 5.0f);
    }
    // A bad climate map keeps the heights just imported.
    host.Messages.clear();
    const std::string heights = Write("h.bmp", Bmp(8, 5, 24, Where));
    EXPECT_EQ(ImportWorldBuilder(ws, heights, dir.File("none.bmp"), TwoColours),
              WorldBuilderBadClimate);
    EXPECT_EQ(host.Messages, std::vector<std::string>{"Error reading BMP file"});
    EXPECT_EQ(ws.TheSurface.XSize, 8);
    EXPECT_EQ(ws.TheSurface.YSize, 5);
    EXPECT_EQ(ws.TheSurface.Rows[4][0], 3.0f);
}

} // namespace
} // namespace korvel
