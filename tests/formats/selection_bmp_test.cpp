#include "core/surface.h"
#include "formats/selection_bmp.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace korvel {
namespace {

void Put(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// Palette entry i is (blue i, green 255 - i, red 0) unless grey; pixel (x, file row r) is 10r + x.
std::vector<uint8_t> MakeBmp(int32_t width, int32_t height, uint32_t bits = 8, uint32_t colours = 0,
                             uint32_t infoSize = 40, bool grey = true) {
    const uint32_t entries = colours ? colours : 256;
    const uint32_t offset = 14 + infoSize + 4 * entries;
    const uint32_t stride = (static_cast<uint32_t>(width) + 3) / 4 * 4;
    const uint32_t rows = static_cast<uint32_t>(height < 0 ? -height : height);
    std::vector<uint8_t> b(offset + stride * rows);
    const uint32_t fields[][2] = {
        {0, 'B' + ('M' << 8)}, {2, uint32_t(b.size())}, {10, offset},           {14, infoSize},
        {18, uint32_t(width)}, {22, uint32_t(height)},  {26, 1 + (bits << 16)}, {46, colours}};
    for (const auto& [at, value] : fields)
        Put(b, at, value);
    for (uint32_t i = 0; i < entries; ++i)
        Put(b, 14 + infoSize + 4 * i, grey ? i * 0x10101 : i + ((255 - i) << 8));
    for (uint32_t r = 0; r < rows; ++r)
        for (uint32_t x = 0; x < stride; ++x)
            b[offset + r * stride + x] = uint8_t(x < uint32_t(width) ? 10 * r + x : 99);
    return b;
}

TEST(SelectionBmpTest, SaveWritesTheLayoutAndLoadsBack) {
    test::TempDir dir;
    Surface s;
    ASSERT_EQ(s.Resize(100, 50, Surface::SurfaceHasSelection), 0);
    for (int32_t y = 0; y < 52; ++y)
        for (int32_t x = 0; x < 100; ++x)
            *s.Mask.RowPointer(x, y) = static_cast<uint8_t>(3 * x + 7 * y);
    const std::string path = dir.File("sel.bmp");
    ASSERT_EQ(SaveBmp(s.Mask, path), 0);
    const std::string file = test::ReadFileText(path);
    ASSERT_EQ(file.size(), 100u * 52 + 1078);
    const uint8_t head[54] = {'B', 'M', 0x86, 0x18, 0, 0, 0,   0, 0, 0, 0x36, 4,
                              0,   0,   40,   0,    0, 0, 100, 0, 0, 0, 52,   0,
                              0,   0,   1,    0,    8, 0, 0,   0, 0, 0, 0x50, 0x14};
    EXPECT_EQ(std::memcmp(file.data(), head, 54), 0);
    ASSERT_EQ(s.Mask.SelectNone(), 0);
    std::string message;
    ASSERT_EQ(LoadSelectionBmp(s.Mask, path, message), 0);
    EXPECT_EQ(s.Mask.IsSelected(99, 51), uint8_t(3 * 99 + 7 * 51));
    EXPECT_EQ(SaveBmp(s.Mask, dir.File("missing/sel.bmp")), -2);
    EXPECT_EQ(LoadSelectionBmp(s.Mask, dir.File("missing.bmp"), message), -2);
    EXPECT_EQ(message,
              "Error reading from \"" + dir.File("missing.bmp") + "\": No such file or directory");
}

// Accepted files into a 4 x 2 Surface (mask 4 x 4): the greys of rows 0 and 1.
TEST(SelectionBmpTest, LoadsOrientationPaddingAndPalettes) {
    const struct {
        std::vector<uint8_t> File, Want;
    } cases[] = {
        {MakeBmp(6, 2), {0, 1, 2, 3, 10, 11, 12, 13}},
        {MakeBmp(4, -2), {10, 11, 12, 13, 0, 1, 2, 3}},
        {MakeBmp(4, 2, 8, 0, 124), {0, 1, 2, 3, 10, 11, 12, 13}},
        // blue i, green 255 - i: (0.114 i + 0.587 (255 - i)) rounded
        {MakeBmp(4, 2, 8, 0, 40, false), {150, 149, 149, 148, 145, 144, 144, 144}},
        {MakeBmp(4, 2, 8, 2), {0, 1, 0, 0, 0, 0, 0, 0}}, // past the palette: unselected
    };
    for (const auto& c : cases) {
        Surface s;
        ASSERT_EQ(s.Resize(4, 2, Surface::SurfaceHasSelection), 0);
        std::string message;
        ASSERT_EQ(LoadSelectionBmpBuffer(s, c.File.data(), c.File.size(), message), 0) << message;
        const uint8_t* mask = s.Mask.RowPointer(0, 0);
        EXPECT_EQ(std::vector<uint8_t>(mask, mask + 8), c.Want);
    }
}

TEST(SelectionBmpTest, RefusesHostileFiles) {
    const char* notBmp = "Not a BMP file";
    const char* truncated = "The BMP file is truncated";
    const std::vector<uint8_t> valid = MakeBmp(4, 4);
    std::vector<uint8_t> longer = valid, huge = valid;
    Put(longer, 10, 5000);
    Put(huge, 18, 0x7fffffff);
    Put(huge, 22, 0x80000000);
    const struct {
        std::vector<uint8_t> File;
        int32_t Code;
        std::string Message;
    } cases[] = {
        {{}, -3, notBmp},
        {MakeBmp(4, 4, 24), -4, "Only 8-bit uncompressed BMP files can be loaded as a selection"},
        {longer, -3, truncated},
        {MakeBmp(8, 4), -5, "Selection file is 8 x 4 but the surface is 4 x 4"},
        {huge, -5, "Selection file is 2147483647 x 2147483648 but the surface is 4 x 4"},
    };
    SelectionMask mask;
    ASSERT_EQ(mask.Create(4, 4), 0);
    std::string message;
    for (const auto& c : cases) {
        EXPECT_EQ(LoadSelectionBmpBuffer(mask, c.File.data(), c.File.size(), message), c.Code);
        EXPECT_EQ(message, c.Message);
    }
    // Every shorter copy sits in a block of exactly its size, so an overread trips the sanitizer.
    for (size_t length = 2; length < valid.size(); ++length) {
        auto copy = std::make_unique<uint8_t[]>(length);
        std::memcpy(copy.get(), valid.data(), length);
        ASSERT_EQ(LoadSelectionBmpBuffer(mask, copy.get(), length, message), -3) << length;
        ASSERT_EQ(message, truncated) << length;
    }
    SelectionMask none;
    EXPECT_EQ(LoadSelectionBmpBuffer(none, valid.data(), valid.size(), message), -1);
}

} // namespace
} // namespace korvel
