#include "formats/tga.h"

#include "core/workspace.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes FileBytes(const std::string& path) {
    const std::string text = test::ReadFileText(path);
    return Bytes(text.begin(), text.end());
}

// A 4 x 2 true-colour file with an identification field of idLength bytes; file pixel i is
// (blue i, green 10 + i, red 20 + i).
Bytes MakeTga(uint8_t descriptor, uint8_t idLength = 0) {
    Bytes b(18 + idLength + 24, 0xEE);
    const uint8_t header[18] = {idLength, 0, 2, 0, 0, 0, 0, 0,  0,
                                0,        0, 0, 4, 0, 2, 0, 24, descriptor};
    std::copy(std::begin(header), std::end(header), b.begin());
    for (uint8_t i = 0; i < 8; ++i) {
        const size_t at = 18 + idLength + 3 * size_t{i};
        b[at] = i, b[at + 1] = uint8_t(10 + i), b[at + 2] = uint8_t(20 + i);
    }
    return b;
}

class Tga : public testing::Test {
public:
    test::RecordingHost host;
    Workspace ws{host};
    test::TempDir dir;
    std::string path = dir.File("t.tga");
};

TEST_F(Tga, FractintSurfacesHoldTheHeightInRedAndGreen) {
    Surface& s = ws.TheSurface;
    ASSERT_EQ(s.Resize(4, 2, 0), 0);
    for (int x = 0; x < 4; ++x)
        s.Rows[0][x] = 1000.0f;
    // Truncated toward zero; remainder and quotient of C division, low bytes.
    const float heights[] = {-1.0f, -300.7f, 70000.0f, 65535.9f};
    std::copy(std::begin(heights), std::end(heights), s.Rows[1]);
    ASSERT_EQ(WriteFractintTga(path, ws), 0);
    const Bytes file = FileBytes(path);
    EXPECT_EQ(file, Bytes({0, 0,    2,    0, 0,    0,    0, 0,    0,    0, 0,    0,   4, 0,   2,
                           0, 24,   0x20, 0, 232,  3,    0, 232,  3,    0, 232,  3,   0, 232, 3,
                           0, 0xFF, 0,    0, 0xD4, 0xFF, 0, 0x70, 0x11, 0, 0xFF, 0xFF}));

    ASSERT_EQ(ReadFractintTga(path, ws), 0);
    EXPECT_EQ(s.Rows[0][2], 1000.0f);
    const float back[] = {255.0f, 65492.0f, 4464.0f, 65535.0f};
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(s.Rows[1][x], back[x]) << x;
    EXPECT_EQ(s.Min, 255.0);
    EXPECT_EQ(s.Max, 65535.0);
}

TEST_F(Tga, TexturesAreWrittenTopFirstAsBlueGreenRed) {
    Image image;
    ASSERT_EQ(image.Create(4, 2, 8), 0);
    image.Palette[1] = PackColor(10, 20, 30);
    image.Palette[2] = PackColor(40, 50, 60);
    image.SetPixel(0, 1, 1); // the top line
    image.SetPixel(3, 0, 2);
    ASSERT_EQ(WriteTgaTexture8(path, image, ws.TheProgress), 0);
    const Bytes file = FileBytes(path);
    ASSERT_EQ(file.size(), 18u + 24u);
    EXPECT_EQ(file[17], 0x20);
    EXPECT_EQ(Bytes(file.begin() + 18, file.begin() + 21), Bytes({30, 20, 10}));
    EXPECT_EQ(Bytes(file.end() - 3, file.end()), Bytes({60, 50, 40}));

    Image colour;
    ASSERT_EQ(colour.Create(4, 2, 24), 0);
    colour.SetPixel(0, 1, PackColor(7, 8, 9));
    EXPECT_EQ(WriteTgaTexture8(path, colour, ws.TheProgress), -5);
    ASSERT_EQ(WriteTgaTexture24(path, colour, ws.TheProgress), 0);
    EXPECT_EQ(FileBytes(path)[18], 9);
}

TEST_F(Tga, ChannelsFollowTheOriginBitsAndSkipTheIdentification) {
    // Descriptor, identification length, channel; the file pixel expected at the top-left cell.
    const struct {
        uint8_t Descriptor;
        uint8_t IdLength;
        int32_t Channel;
        uint8_t Expected;
    } cases[] = {
        {0x20, 0, 0, 20}, {0x20, 5, 1, 10}, {0x20, 0, 2, 0}, // top first: pixel 0
        {0x00, 3, 0, 24},                                    // bottom first: pixel 4
        {0x30, 0, 0, 23},                                    // right to left: pixel 3
    };
    Image& texture = ws.TheSurface.Texture;
    for (uint32_t i = 0; i < 256; ++i)
        texture.Palette[i] = PackColor(uint8_t(i), uint8_t(255 - i), 7);
    for (const auto& c : cases) {
        const Bytes file = MakeTga(c.Descriptor, c.IdLength);
        ASSERT_EQ(ReadTgaChannelBuffer(file.data(), file.size(), c.Channel, ws), 0);
        ASSERT_EQ(ws.TheSurface.XSize, 4);
        EXPECT_EQ(texture.GetPixel(0, 1), PackColor(c.Expected, uint8_t(255 - c.Expected), 7))
            << int(c.Descriptor) << " " << c.Channel;
    }
}

TEST_F(Tga, HostileFilesAreRefusedWithoutChangingAnything) {
    ASSERT_EQ(ws.TheSurface.Resize(12, 5, 0), 0);
    const struct {
        size_t At;
        uint8_t Value;
        int32_t Code;
    } cases[] = {{2, 10, -1},
                 {16, 32, -1},
                 {1, 2, -1},
                 {12, 3, -4},
                 {14, 0, -4},
                 // a colour map of 1 entry of 3 bytes now sits where the pixels were
                 {1, 1, -3}};
    for (const auto& c : cases) {
        Bytes b = MakeTga(0x20);
        b[c.At] = c.Value;
        if (c.At == 1 && c.Value == 1)
            b[5] = 1, b[7] = 24;
        EXPECT_EQ(ReadFractintTgaBuffer(b.data(), b.size(), ws), c.Code) << c.At;
    }
    const Bytes whole = MakeTga(0x20, 2);
    EXPECT_EQ(ReadTgaChannelBuffer(whole.data(), whole.size(), 3, ws), -1);
    for (size_t n = 0; n < whole.size(); ++n) {
        const Bytes cut(whole.begin(), whole.begin() + long(n));
        EXPECT_EQ(ReadFractintTgaBuffer(cut.data(), cut.size(), ws), -3) << n;
    }
    EXPECT_EQ(ws.TheSurface.XSize, 12);
    EXPECT_EQ(ReadFractintTga(dir.File("missing.tga"), ws), -2);
}

} // namespace
} // namespace korvel
