#include "formats/pcx.h"

#include "core/workspace.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes FileBytes(const std::string& path) {
    const std::string text = test::ReadFileText(path);
    return {text.begin(), text.end()};
}

// A 256-colour header for width x height with bytesPerLine, then the row codes.
Bytes MakePcx(int width, int height, int bytesPerLine, const Bytes& codes) {
    Bytes b(128 + codes.size(), 0);
    b[0] = 10, b[1] = 5, b[2] = 1, b[3] = 8, b[65] = 1;
    b[8] = uint8_t(width - 1), b[10] = uint8_t(height - 1), b[66] = uint8_t(bytesPerLine);
    std::copy(codes.begin(), codes.end(), b.begin() + 128);
    return b;
}

class Pcx : public testing::Test {
public:
    test::RecordingHost host;
    Workspace ws{host};
    test::TempDir dir;
    std::string path = dir.File("t.pcx");
};

TEST_F(Pcx, RowsAreRunLengthCodedWithinTheRow) {
    const struct {
        Bytes Row;
        Bytes Codes;
    } cases[] = {
        {Bytes(100, 7), {0xFF, 7, 0xE5, 7}}, // 63 + 37
        {{200, 1, 1, 255}, {0xC1, 200, 0xC2, 1, 0xC1, 255}},
        {{5, 6, 7, 191}, {5, 6, 7, 191}},
    };
    for (const auto& c : cases) {
        Image image;
        ASSERT_EQ(image.Create(int32_t(c.Row.size()), 1, 8), 0);
        std::copy(c.Row.begin(), c.Row.end(), image.Row(0));
        image.Palette[255] = PackColor(1, 2, 3);
        ASSERT_EQ(WritePcx256(path, image, ws.TheProgress), 0);
        const Bytes file = FileBytes(path);
        ASSERT_EQ(file.size(), 128 + c.Codes.size() + 769);
        EXPECT_EQ(Bytes(file.begin() + 128, file.end() - 769), c.Codes);
        EXPECT_EQ(file[file.size() - 769], 12);
        EXPECT_EQ(Bytes(file.end() - 3, file.end()), Bytes({1, 2, 3}));
    }
}

TEST_F(Pcx, TwentyFourBitRowsAreRedGreenBluePlanesTopFirst) {
    Image image;
    ASSERT_EQ(image.Create(4, 2, 24), 0);
    for (int x = 0; x < 4; ++x) {
        image.SetPixel(x, 1, PackColor(1, 2, 3)); // the top line
        image.SetPixel(x, 0, PackColor(9, 9, 200));
    }
    ASSERT_EQ(WritePcx24(path, image, ws.TheProgress), 0);
    const Bytes file = FileBytes(path);
    // manufacturer, version, encoding, bits; Xmax 3, Ymax 1, resolutions 4 and 2.
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 16),
              Bytes({10, 5, 1, 8, 0, 0, 0, 0, 3, 0, 1, 0, 4, 0, 2, 0}));
    EXPECT_EQ(Bytes(file.begin() + 65, file.begin() + 70), Bytes({3, 4, 0, 1, 0}));
    EXPECT_EQ(Bytes(file.begin() + 128, file.end()),
              Bytes({0xC4, 1, 0xC4, 2, 0xC4, 3, 0xC4, 9, 0xC4, 9, 0xC4, 200}));
    EXPECT_EQ(WritePcx256(path, image, ws.TheProgress), -5);
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
    ASSERT_EQ(back.ByteCount(), 24u);
    EXPECT_EQ(Bytes(back.Data(), back.Data() + 24), Bytes(image.Data(), image.Data() + 24));
    EXPECT_EQ(back.Palette, image.Palette);

    ASSERT_EQ(ReadPcxSurface(path, ws), 0);
    const Surface& s = ws.TheSurface;
    ASSERT_EQ(s.XSize, 8);
    // Surface row 0 is the top line, the picture's last row.
    EXPECT_EQ(s.Rows[0][5], 85.0f);
    EXPECT_EQ(s.Rows[2][0], 250.0f);
    EXPECT_EQ(s.Min, 3.0);
    EXPECT_EQ(s.Max, 250.0);
    EXPECT_EQ(ReadPcxSurface(dir.File("missing.pcx"), ws), -2);
}

TEST_F(Pcx, RunsStopAtTheRowAndAFileWithoutPaletteIsGrey) {
    // A run of 9 in a row of 4 is cut there, not carried into the next row.
    const Bytes file = MakePcx(4, 2, 4, {0xC9, 5, 1, 2, 3, 0xC1, 4});
    Image image;
    ASSERT_EQ(ReadPcxTextureBuffer(file.data(), file.size(), image, ws.TheProgress), 0);
    EXPECT_EQ(Bytes(image.Data(), image.Data() + 8), Bytes({1, 2, 3, 4, 5, 5, 5, 5}));
    EXPECT_EQ(image.Palette[9], PackColor(9, 9, 9));
}

TEST_F(Pcx, HostileFilesAreRefusedWithoutChangingAnything) {
    Bytes bad = MakePcx(4, 1, 4, {1, 2, 3, 4});
    const struct {
        size_t At;
        uint8_t Value;
        int32_t Code;
    } cases[] = {{0, 11, -1}, {3, 4, -1}, {65, 3, -1}, {66, 3, -1}, {8, 2, -4}, {4, 9, -1}};
    ASSERT_EQ(ws.TheSurface.Resize(12, 5, 0), 0);
    for (const auto& c : cases) {
        Bytes b = bad;
        b[c.At] = c.Value;
        EXPECT_EQ(ReadPcxSurfaceBuffer(b.data(), b.size(), ws), c.Code) << c.At;
    }
    // Every cut of a two-row file before its last code; a run whose value is missing.
    const Bytes whole = MakePcx(4, 2, 4, {0xC4, 200, 1, 2, 3, 0xC1, 4});
    for (size_t n = 0; n < whole.size(); ++n) {
        const Bytes cut(whole.begin(), whole.begin() + long(n));
        EXPECT_EQ(ReadPcxSurfaceBuffer(cut.data(), cut.size(), ws), -3) << n;
    }
    EXPECT_EQ(ws.TheSurface.XSize, 12);
    EXPECT_EQ(ws.TheSurface.YSize, 5);
}

} // namespace
} // namespace korvel
