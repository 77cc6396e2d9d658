#include "formats/tga.h"

#include "core/workspace.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <tuple>

namespace korvel {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes FileBytes(const std::string& path) {
    const std::string text = test::ReadFileText(path);
    return Bytes(text.begin(), text.end());
}

// 4 x 2 true colour after idLength bytes of identification; pixel i is (blue i, 10+i, 20+i).
Bytes MakeTga(uint8_t descriptor, uint8_t idLength = 0) {
    Bytes b(18 + idLength + 24, 0xEE);
    const uint8_t header[18] = {idLength, 0, 2, 0, 0, 0, 0, 0,  0,
                                0,        0, 0, 4, 0, 2, 0, 24, descriptor};
    std::copy(std::begin(header), std::end(header), b.begin());
    for (size_t i = 0; i < 24; ++i)
        b[18 + idLength + i] = static_cast<uint8_t>(i % 3 * 10 + i / 3);
    return b;
}

struct Tga : testing::Test {
    test::RecordingHost host;
    Workspace ws{host};
    test::TempDir dir;
    std::string path = dir.File("t.tga");
};

TEST_F(Tga, FractintSurfacesHoldTheHeightInRedAndGreen) {
    Surface& s = ws.TheSurface;
    ASSERT_EQ(s.Resize(4, 2, 0), 0);
    std::fill_n(s.Rows[0], 4, 1000.0f);
    // Truncated toward zero; remainder and quotient of C division, low bytes.
    const float heights[] = {-1.0f, -300.7f, 70000.0f, 65535.9f};
    std::copy(std::begin(heights), std::end(heights), s.Rows[1]);
    ASSERT_EQ(WriteFractintTga(path, ws), 0);
    EXPECT_EQ(FileBytes(path),
              Bytes({0,   0, 2,  0,    0, 0,   0,    0,    0,   0,    0,    0,   4,    0,
                     2,   0, 24, 0x20, 0, 232, 3,    0,    232, 3,    0,    232, 3,    0,
                     232, 3, 0,  0xFF, 0, 0,   0xD4, 0xFF, 0,   0x70, 0x11, 0,   0xFF, 0xFF}));
    ASSERT_EQ(ReadFractintTga(path, ws), 0);
    EXPECT_EQ(std::vector<float>(s.Rows[1], s.Rows[1] + 4),
              (std::vector<float>{255.0f, 65492.0f, 4464.0f, 65535.0f}));
}

TEST_F(Tga, TexturesAreWrittenTopFirstAsBlueGreenRed) {
    Image image;
    ASSERT_EQ(image.Create(4, 2, 8), 0);
    image.Palette[1] = PackColor(10, 20, 30), image.Palette[2] = PackColor(40, 50, 60);
    image.SetPixel(0, 1, 1), image.SetPixel(3, 0, 2); // the top line first
    ASSERT_EQ(WriteTgaTexture8(path, image, ws.TheProgress), 0);
    const Bytes file = FileBytes(path);
    ASSERT_EQ(file.size(), 18u + 24u);
    EXPECT_EQ(file[17], 0x20);
    EXPECT_EQ(Bytes(file.begin() + 18, file.begin() + 21), Bytes({30, 20, 10}));
    EXPECT_EQ(Bytes(file.end() - 3, file.end()), Bytes({60, 50, 40}));

    Image colour;
    ASSERT_EQ(colour.Create(4, 2, 24), 0);
    colour.SetPixel(0, 1, PackColor(7, 8, 9));
    ASSERT_EQ(WriteTgaTexture24(path, colour, ws.TheProgress), 0);
    EXPECT_EQ(FileBytes(path)[18], 9);
}

TEST_F(Tga, ChannelsFollowTheOriginBitsAndSkipTheIdentification) {
    // Descriptor, identification length, channel, file pixel at the top left (top first: pixel 0;
    // bottom first: pixel 4; right to left: pixel 3).
    const std::tuple<uint8_t, uint8_t, int32_t, uint8_t> cases[] = {
        {0x20, 0, 0, 20}, {0x20, 5, 1, 10}, {0x20, 0, 2, 0}, {0x00, 3, 0, 24}, {0x30, 0, 0, 23}};
    Image& texture = ws.TheSurface.Texture.AsIs();
    for (uint32_t i = 0; i < 256; ++i)
        texture.Palette[i] = PackColor(uint8_t(i), uint8_t(255 - i), 7);
    for (const auto& [descriptor, idLength, channel, expected] : cases) {
        const Bytes file = MakeTga(descriptor, idLength);
        ASSERT_EQ(ReadTgaChannelBuffer(file.data(), file.size(), channel, ws), 0);
        EXPECT_EQ(texture.GetPixel(0, 1), PackColor(expected, uint8_t(255 - expected), 7))
            << int(descriptor) << " " << channel;
    }
}

TEST_F(Tga, HostileFilesAreRefused) {
    for (const auto& [at, value, code] : {std::tuple{2, 10, -1}, {12, 3, -4}}) { // type 10, 3 wide
        Bytes b = MakeTga(0x20);
        b[size_t(at)] = uint8_t(value);
        EXPECT_EQ(ReadFractintTgaBuffer(b.data(), b.size(), ws), code) << at;
    }
    const Bytes whole = MakeTga(0x20, 2);
    for (size_t n = 0; n < whole.size(); ++n) {
        const Bytes cut(whole.begin(), whole.begin() + long(n));
        EXPECT_EQ(ReadFractintTgaBuffer(cut.data(), cut.size(), ws), -3) << n;
    }
}

} // namespace
} // namespace korvel
