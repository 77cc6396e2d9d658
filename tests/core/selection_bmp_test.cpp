#include "core/selection_operations.h"
#include "core/surface.h"
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

struct BmpShape {
    int32_t Width, Height;
    uint32_t Bits = 8, Compression = 0, Colours = 0, InfoSize = 40;
};

// A BMP laid out by hand: palette entry i is (blue i, green 255 - i, red 0) unless grey; the
// pixel at (x, file row r) is 10 * r + x.
std::vector<uint8_t> MakeBmp(const BmpShape& f, bool grey = true) {
    const uint32_t entries = f.Colours ? f.Colours : 256;
    const uint32_t offset = 14 + f.InfoSize + 4 * entries;
    const uint32_t stride = (static_cast<uint32_t>(f.Width) + 3) / 4 * 4;
    const uint32_t rows = static_cast<uint32_t>(f.Height < 0 ? -f.Height : f.Height);
    std::vector<uint8_t> b(offset + stride * rows);
    const uint32_t fields[][2] = {
        {0, 'B' + ('M' << 8)},    {2, uint32_t(b.size())}, {10, offset},
        {14, f.InfoSize},         {18, uint32_t(f.Width)}, {22, uint32_t(f.Height)},
        {26, 1 + (f.Bits << 16)}, {30, f.Compression},     {46, f.Colours}};
    for (const auto& [at, value] : fields)
        Put(b, at, value);
    for (uint32_t i = 0; i < entries; ++i) {
        const size_t at = 14 + f.InfoSize + 4 * i;
        b[at] = static_cast<uint8_t>(i);
        b[at + 1] = static_cast<uint8_t>(grey ? i : 255 - i);
        b[at + 2] = static_cast<uint8_t>(grey ? i : 0);
    }
    for (uint32_t r = 0; r < rows; ++r)
        for (uint32_t x = 0; x < stride; ++x)
            b[offset + r * stride + x] =
                static_cast<uint8_t>(x < uint32_t(f.Width) ? 10 * r + x : 99);
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
    EXPECT_EQ(file.substr(54 + 4 * 200, 4), std::string({char(200), char(200), char(200), 0}));
    EXPECT_EQ(uint8_t(file[1078 + 51 * 100 + 99]), uint8_t(3 * 99 + 7 * 51));

    ASSERT_EQ(s.Mask.SelectNone(), 0);
    std::string message = "old";
    ASSERT_EQ(LoadSelectionBmp(s.Mask, path, message), 0);
    EXPECT_EQ(message, "");
    EXPECT_EQ(s.Mask.IsSelected(99, 51), uint8_t(3 * 99 + 7 * 51));
    EXPECT_EQ(SaveBmp(s.Mask, dir.File("missing/sel.bmp")), -2);
    EXPECT_EQ(LoadSelectionBmp(s.Mask, dir.File("missing.bmp"), message), -2);
}

// Accepted files into a 4 x 2 Surface (mask 4 x 4): the greys of rows 0 and 1.
TEST(SelectionBmpTest, LoadsOrientationPaddingAndPalettes) {
    const struct {
        BmpShape Shape;
        bool Grey;
        std::vector<uint8_t> Want;
    } cases[] = {
        {{6, 2}, true, {0, 1, 2, 3, 10, 11, 12, 13}},
        {{4, -2}, true, {10, 11, 12, 13, 0, 1, 2, 3}},
        {{4, 2, 8, 0, 0, 124}, true, {0, 1, 2, 3, 10, 11, 12, 13}},
        // blue i, green 255 - i: (0.114 i + 0.587 (255 - i)) rounded
        {{4, 2}, false, {150, 149, 149, 148, 145, 144, 144, 144}},
        // past a 2-entry palette everything is unselected
        {{4, 2, 8, 0, 2}, true, {0, 1, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Shape.Width << "x" << c.Shape.Height << " "
                                        << c.Shape.InfoSize << " " << c.Shape.Colours << c.Grey);
        Surface s;
        ASSERT_EQ(s.Resize(4, 2, Surface::SurfaceHasSelection), 0);
        std::memset(s.Mask.RowPointer(0, 2), 77, 8);
        const std::vector<uint8_t> file = MakeBmp(c.Shape, c.Grey);
        std::string message;
        ASSERT_EQ(LoadSelectionBmpBuffer(s, file.data(), file.size(), message), 0) << message;
        const uint8_t* mask = s.Mask.RowPointer(0, 0);
        EXPECT_EQ(std::vector<uint8_t>(mask, mask + 8), c.Want);
        EXPECT_EQ(mask[15], 77); // rows past the Surface stay
    }
}

TEST(SelectionBmpTest, RefusesHostileFiles) {
    const char* notBmp = "Not a BMP file";
    const char* unsupported = "Only 8-bit uncompressed BMP files can be loaded as a selection";
    const char* truncated = "The BMP file is truncated";
    const std::vector<uint8_t> valid = MakeBmp({4, 4});
    const auto patched = [&](size_t at, uint32_t value) {
        std::vector<uint8_t> file = valid;
        Put(file, at, value);
        return file;
    };
    const struct {
        std::vector<uint8_t> File;
        int32_t Code;
        std::string Message;
    } cases[] = {
        {{}, -3, notBmp},
        {{'P', '5', 0, 0}, -3, notBmp},
        {MakeBmp({4, 4, 24}), -4, unsupported},
        {MakeBmp({4, 4, 8, 1}), -4, unsupported},
        {MakeBmp({4, 4, 8, 0, 0, 12}), -4, unsupported},
        {MakeBmp({4, 4, 8, 0, 300}), -3, notBmp},
        {patched(10, 54), -3, notBmp},
        {patched(10, 5000), -3, truncated},
        {patched(14, 5000), -3, truncated},
        {patched(18, static_cast<uint32_t>(-4)), -3, notBmp},
        {patched(22, 0), -3, notBmp},
        {MakeBmp({8, 4}), -5, "Selection file is 8 x 4 but the surface is 4 x 4"},
        {MakeBmp({4, -5}), -5, "Selection file is 4 x 5 but the surface is 4 x 4"},
    };
    std::vector<uint8_t> huge = patched(18, 0x7fffffff);
    Put(huge, 22, 0x80000000);
    SelectionMask mask;
    ASSERT_EQ(mask.Create(4, 4), 0);
    ASSERT_EQ(mask.SelectAll(), 0);
    std::string message;
    EXPECT_EQ(LoadSelectionBmpBuffer(mask, huge.data(), huge.size(), message), -5);
    EXPECT_EQ(message, "Selection file is 2147483647 x 2147483648 but the surface is 4 x 4");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Message + " size " + std::to_string(c.File.size()));
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
    for (int32_t i = 0; i < 16; ++i)
        EXPECT_EQ(mask.IsSelected(i % 4, i / 4), 255);
    SelectionMask none;
    EXPECT_EQ(LoadSelectionBmpBuffer(none, valid.data(), valid.size(), message), -1);
}

} // namespace
} // namespace korvel
