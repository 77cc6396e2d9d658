#include "formats/bmp.h"

#include "core/workspace.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

namespace korvel {
namespace {

using Bytes = std::vector<uint8_t>;

void Put(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// Palette entry i is (blue i, green 2i, red 3i); file row r, byte i is 16 * r + i.
Bytes MakeBmp(int32_t width, int32_t height, uint32_t bits = 8, uint32_t colours = 0,
              uint32_t compression = 0) {
    const uint32_t entries = bits == 8 ? (colours ? colours : 256) : 0;
    const uint32_t offset = 54 + 4 * entries;
    const uint32_t stride = (uint32_t(width) * bits / 8 + 3) / 4 * 4;
    const uint32_t rows = uint32_t(height < 0 ? -height : height);
    Bytes b(offset + stride * rows);
    b[0] = 'B', b[1] = 'M';
    const uint32_t fields[][2] = {{10, offset},           {14, 40},   {18, uint32_t(width)},
                                  {22, uint32_t(height)}, {28, bits}, {30, compression},
                                  {46, colours}};
    for (const auto& [at, v] : fields)
        Put(b, at, v);
    for (uint32_t i = 0; i < entries; ++i)
        Put(b, 54 + 4 * i, i | (2 * i & 255) << 8 | (3 * i & 255) << 16);
    for (uint32_t r = 0; r < rows; ++r)
        for (uint32_t i = 0; i < stride; ++i)
            b[offset + r * stride + i] = static_cast<uint8_t>(16 * r + i);
    return b;
}

class Bmp : public testing::Test {
public:
    test::RecordingHost host;
    Workspace ws{host};
    test::TempDir dir;
};

TEST_F(Bmp, ImagesWriteTheirHeaderAndPalette) {
    Image image;
    ASSERT_EQ(image.Create(4, 2, 8), 0);
    for (size_t i = 0; i < image.ByteCount(); ++i)
        image.Data()[i] = static_cast<uint8_t>(7 * i + 1);
    image.Palette[1] = PackColor(10, 20, 30);
    ASSERT_EQ(WriteBmpImage(dir.File("t.bmp"), image, ws.TheProgress), 0);
    const std::string file = test::ReadFileText(dir.File("t.bmp"));
    ASSERT_EQ(file.size(), 1078 + image.ByteCount());
    // The file size and data offset, then palette entry 1 as blue, green, red.
    EXPECT_EQ(file.substr(2, 12), std::string("\x3e\x04\0\0\0\0\0\0\x36\x04\0\0", 12));
    EXPECT_EQ(file.substr(58, 4), std::string("\x1e\x14\x0a\0", 4));
    EXPECT_EQ(std::memcmp(file.data() + 1078, image.Data(), image.ByteCount()), 0);
    EXPECT_EQ(ReadBmpImage(dir.File("no.bmp"), image, ws.TheProgress), -2);
}

TEST_F(Bmp, ImagesReadPaddedTopDownAndShortPaletteFiles) {
    Image image;
    // 24 bits, 5 wide: rows padded to 16, column 5 dropped; top-down: the bottom is file row 1.
    Bytes file = MakeBmp(5, -2, 24);
    ASSERT_EQ(ReadBmpImageBuffer(file.data(), file.size(), image, ws.TheProgress), 0);
    ASSERT_EQ(image.Width(), 4);
    EXPECT_EQ(image.GetPixel(0, 0), PackColor(18, 17, 16));
    EXPECT_EQ(image.GetPixel(3, 1), PackColor(11, 10, 9));
    // 8 bits with a 2-entry palette: the rest is black.
    file = MakeBmp(4, 1, 8, 2);
    ASSERT_EQ(ReadBmpImageBuffer(file.data(), file.size(), image, ws.TheProgress), 0);
    EXPECT_EQ(image.Palette[1], PackColor(3, 2, 1));
    EXPECT_EQ(image.Palette[2], 0u);
    EXPECT_EQ(image.GetPixel(3, 0), 3u);
}

TEST_F(Bmp, HostileImagesAreRefused) {
    Bytes huge = MakeBmp(4, 4);
    Put(huge, 18, 0x7fffffff);
    Put(huge, 22, 0x80000000);
    const std::pair<Bytes, int32_t> cases[] = {
        {MakeBmp(4, 4, 8, 0, 1), -3}, {MakeBmp(3, 4), -4}, {huge, -5}}; // RLE, 3 wide, 2^31 rows
    Image image;
    ASSERT_EQ(image.Create(8, 1, 24), 0);
    image.SetPixel(7, 0, 42);
    for (const auto& [file, code] : cases)
        EXPECT_EQ(ReadBmpImageBuffer(file.data(), file.size(), image, ws.TheProgress), code)
            << file.size();
    // Every shorter copy sits in a block of exactly its size, so an overread trips the sanitizer.
    const Bytes valid = MakeBmp(6, 4);
    for (size_t length = 2; length < valid.size(); ++length) {
        const Bytes copy(valid.begin(), valid.begin() + std::ptrdiff_t(length));
        ASSERT_EQ(ReadBmpImageBuffer(copy.data(), length, image, ws.TheProgress), -5) << length;
        ASSERT_EQ(ReadBmpSurfaceBuffer(copy.data(), length, ws), -6) << length;
    }
    EXPECT_EQ(image.GetPixel(7, 0), 42u);
}

TEST_F(Bmp, SurfacesWriteGreyIndices) {
    Surface& s = ws.TheSurface;
    ASSERT_EQ(s.Resize(4, 4, 0), 0);
    // Min 10, Max 20: the scale 25.5 is exact; 25 and 5 lie outside stale extremes.
    const float samples[] = {10, 12, 15.5f, 20, 25, 5};
    const uint8_t expected[] = {0, 51, 140, 255, 255, 0};
    for (int i = 0; i < 16; ++i)
        s.Rows[i / 4][i % 4] = samples[i % 6];
    s.Min = 10, s.Max = 20;
    ASSERT_EQ(WriteBmpSurface(dir.File("s.bmp"), ws), 0);
    const std::string file = test::ReadFileText(dir.File("s.bmp"));
    ASSERT_EQ(file.size(), 1078u + 16);
    EXPECT_EQ(file.substr(54 + 4 * 200, 4), std::string("\xc8\xc8\xc8\0", 4));
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(uint8_t(file[1078 + size_t(i)]), expected[i % 6]) << i;
    EXPECT_EQ(WriteBmpSurface(dir.File("no/s.bmp"), ws), -1);
    EXPECT_EQ(ReadBmpSurface(dir.File("no.bmp"), ws), -1);
    EXPECT_EQ(host.Messages,
              std::vector<std::string>({"Error writing to \"" + dir.File("no/s.bmp") + "\"",
                                        "Error reading from \"" + dir.File("no.bmp") + "\""}));
}

TEST_F(Bmp, SurfaceReaderCutsColumnsAndRefusesOthers) {
    Surface& s = ws.TheSurface;
    // 10 wide: rows of 12 bytes, the first 8 kept; row 0 is the first in the file.
    const Bytes wide = MakeBmp(10, 4);
    ASSERT_EQ(ReadBmpSurfaceBuffer(wide.data(), wide.size(), ws, "w"), 0);
    ASSERT_EQ(s.XSize, 8);
    EXPECT_FLOAT_EQ(s.Rows[0][7], 7 / 255.0f);

    const std::tuple<Bytes, int32_t, std::string> cases[] = {
        {{'P', '2'}, -3, "x appears not to be a BMP file"},
        {MakeBmp(4, 4, 8, 0, 1), -4, "Only 8-bit uncompressed BMP files supported"},
        {MakeBmp(4, 3), -5, "File width or height too small (minimum 4 pixels)"},
    };
    for (const auto& [file, code, message] : cases) {
        host.Messages.clear();
        EXPECT_EQ(ReadBmpSurfaceBuffer(file.data(), file.size(), ws, "x"), code) << message;
        EXPECT_EQ(host.Messages, std::vector<std::string>({message}));
    }
    EXPECT_FLOAT_EQ(s.Rows[3][0], 48 / 255.0f);
}

} // namespace
} // namespace korvel
