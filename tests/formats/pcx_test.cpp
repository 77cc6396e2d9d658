#include "formats/pcx.h"

#include "core/workspace.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <tuple>

namespace korvel {
namespace {

using Bytes = std::vector<uint8_t>;

// A 256-colour header for width x height with bytesPerLine, then the row codes.
Bytes MakePcx(int width, int height, int bytesPerLine, const Bytes& codes) {
    Bytes b(128 + codes.size(), 0);
    b[0] = 10, b[1] = 5, b[2] = 1, b[3] = 8, b[65] = 1;
    b[8] = uint8_t(width - 1), b[10] = uint8_t(height - 1), b[66] = uint8_t(bytesPerLine);
    std::copy(codes.begin(), codes.end(), b.begin() + 128);
    return b;
}

struct Pcx : testing::Test {
    test::RecordingHost host;
    Workspace ws{host};
    test::TempDir dir;
    std::string path = dir.File("t.pcx");
};

TEST_F(Pcx, RowsAreRunLengthCodedWithinTheRow) {
    const std::pair<Bytes, Bytes> cases[] = {{Bytes(100, 7), {0xFF, 7, 0xE5, 7}}, // 63 + 37
                                             {{200, 1, 1, 255}, {0xC1, 200, 0xC2, 1, 0xC1, 255}},
                                             {{5, 6, 7, 191}, {5, 6, 7, 191}}};
    for (const auto& [row, codes] : cases) {
        Image image;
        ASSERT_EQ(image.Create(int32_t(row.size()), 1, 8), 0);
        std::copy(row.begin(), row.end(), image.Row(0));
        ASSERT_EQ(WritePcx256(path, image, ws.TheProgress), 0);
        const std::string file = test::ReadFileText(path);
        ASSERT_EQ(file.size(), 128 + codes.size() + 769);
        EXPECT_EQ(Bytes(file.begin() + 128, file.end() - 769), codes);
    }
}

TEST_F(Pcx, TwentyFourBitRowsAreRedGreenBluePlanesTopFirst) {
    Image image;
    ASSERT_EQ(image.Create(4, 2, 24), 0);
    for (int i = 0; i < 8; ++i) // the top line first
        image.SetPixel(i % 4, i / 4, i < 4 ? PackColor(9, 9, 200) : PackColor(1, 2, 3));
    ASSERT_EQ(WritePcx24(path, image, ws.TheProgress), 0);
    const std::string file = test::ReadFileText(path);
    // manufacturer, version, encoding, bits; Xmax 3, Ymax 1, resolutions 4 and 2.
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 16),
              Bytes({10, 5, 1, 8, 0, 0, 0, 0, 3, 0, 1, 0, 4, 0, 2, 0}));
    EXPECT_EQ(Bytes(file.begin() + 65, file.begin() + 70), Bytes({3, 4, 0, 1, 0}));
    EXPECT_EQ(Bytes(file.begin() + 128, file.end()),
              Bytes({0xC4, 1, 0xC4, 2, 0xC4, 3, 0xC4, 9, 0xC4, 9, 0xC4, 200}));
}

TEST_F(Pcx, PicturesAndSurfacesReadBackWhatWasWritten) {
    Image image;
    ASSERT_EQ(image.Create(8, 3, 8), 0);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 8; ++x)
            image.SetPixel(x, y, x < 3 ? 250u : uint32_t(40 * y + x));
    for (uint32_t i = 0; i < 256; ++i)
        image.Palette[i] = PackColor(uint8_t(i), uint8_t(255 - i), 17);
    ASSERT_EQ(WritePcx256(path, image, ws.TheProgress), 0);
    Image back;
    ASSERT_EQ(ReadPcxTexture(path, back, ws.TheProgress), 0);
    EXPECT_EQ(back.Palette, image.Palette);
    ASSERT_EQ(ReadPcxSurface(path, ws), 0);
    ASSERT_EQ(ws.TheSurface.XSize, 8);
    EXPECT_EQ(ws.TheSurface.Rows[0][5], 85.0f); // row 0 is the top line, the picture's last
}

// The red, green and blue planes of a row make 24-bit pixels; a run may run on from one plane
// into the next. The surface reader takes palette indices only.
TEST_F(Pcx, ThreePlaneFilesReadAsTwentyFourBitPictures) {
    Bytes file = MakePcx(4, 2, 4, {1, 2, 3, 4, 0xC4, 50, 9, 8, 7, 6, 0xCC, 77});
    file[65] = 3;
    Image image;
    ASSERT_EQ(ReadPcxTextureBuffer(file.data(), file.size(), image, ws.TheProgress), 0);
    ASSERT_EQ(image.BitsPerPixel(), 24);
    const std::tuple<int, int, PackedColor> pixels[] = {
        {0, 1, PackColor(1, 50, 9)}, {3, 1, PackColor(4, 50, 6)}, {2, 0, PackColor(77, 77, 77)}};
    for (const auto& [x, y, colour] : pixels)
        EXPECT_EQ(image.GetPixel(x, y), colour) << x << ", " << y;
    EXPECT_EQ(ReadPcxSurfaceBuffer(file.data(), file.size(), ws), -1);

    Image written;
    ASSERT_EQ(written.Create(8, 3, 24), 0);
    for (int i = 0; i < 24; ++i)
        written.SetPixel(i % 8, i / 8, PackColor(uint8_t(i * 10), uint8_t(255 - i), 200));
    ASSERT_EQ(WritePcx24(path, written, ws.TheProgress), 0);
    Image back;
    ASSERT_EQ(ReadPcxTexture(path, back, ws.TheProgress), 0);
    EXPECT_EQ(Bytes(back.Data(), back.Data() + back.ByteCount()),
              Bytes(written.Data(), written.Data() + written.ByteCount()));
}

TEST_F(Pcx, RunsStopAtTheRowAndAFileWithoutPaletteIsGrey) {
    const Bytes file = MakePcx(4, 2, 4, {0xC9, 5, 1, 2, 3, 0xC1, 4}); // a run of 9 in a row of 4
    Image image;
    ASSERT_EQ(ReadPcxTextureBuffer(file.data(), file.size(), image, ws.TheProgress), 0);
    EXPECT_EQ(Bytes(image.Data(), image.Data() + 8), Bytes({1, 2, 3, 4, 5, 5, 5, 5}));
    EXPECT_EQ(image.Palette[9], PackColor(9, 9, 9));
}

TEST_F(Pcx, HostileFilesAreRefused) {
    for (const auto& [at, value, code] : {std::tuple{0, 11, -1}, {8, 2, -4}}) {
        Bytes b = MakePcx(4, 1, 4, {1, 2, 3, 4});
        b[size_t(at)] = uint8_t(value);
        EXPECT_EQ(ReadPcxSurfaceBuffer(b.data(), b.size(), ws), code) << at;
    }
    // Every cut of a two-row file before its last code; a run whose value is missing.
    const Bytes whole = MakePcx(4, 2, 4, {0xC4, 200, 1, 2, 3, 0xC1, 4});
    for (size_t n = 0; n < whole.size(); ++n) {
        const Bytes cut(whole.begin(), whole.begin() + long(n));
        EXPECT_EQ(ReadPcxSurfaceBuffer(cut.data(), cut.size(), ws), -3) << n;
    }
}

} // namespace
} // namespace korvel
