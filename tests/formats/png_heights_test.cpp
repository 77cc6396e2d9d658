#include "formats/png_heights.h"

#include "core/workspace.h"
#include "formats/world_file.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <vector>

namespace korvel {
namespace {

std::vector<uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

uint32_t Crc32(const uint8_t* data, size_t size) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void PutBE32(uint8_t* at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}

TEST(PngHeights, SixteenBitsSpanMinToMax) {
    test::RecordingHost host;
    Workspace ws{host};
    test::TempDir dir;
    Surface& s = ws.TheSurface;
    ASSERT_EQ(s.Resize(4, 2, 0), 0);
    // Min..Max of 0..32767.5: a step of 0.5 per integer.
    const float south[] = {0, 0.5f, 0.74f, 32767.5f};
    const float north[] = {100, 100.3f, -3, 40000};
    std::copy(south, south + 4, s.Rows[0]);
    std::copy(north, north + 4, s.Rows[1]);
    s.Min = 0;
    s.Max = 32767.5;
    s.Left = 10, s.Right = 12, s.Top = 50, s.Bottom = 49;
    const std::string path = dir.File("h.png");
    ASSERT_EQ(WritePngFile(path, ws), 0);
    EXPECT_EQ(ws.FileNotes, std::vector<std::string>(
                                {"h.png: 16-bit, step 0.5 m, worst error 0.24 m, 2 clipped"}));
    EXPECT_EQ(test::ReadFileText(dir.File("h.pgw")), "0.5\n0\n0\n-0.5\n10.25\n49.75\n");

    const std::vector<uint8_t> file = test::ReadFileBytes(path);
    Workspace codes{host};
    ASSERT_EQ(ReadPngBuffer(file.data(), file.size(), {}, codes), 0);
    // The northern row comes first in the file and lands in row 1.
    EXPECT_EQ(std::vector<float>(codes.TheSurface.Rows[1], codes.TheSurface.Rows[1] + 4),
              std::vector<float>({200, 201, 0, 65535}));
    EXPECT_EQ(std::vector<float>(codes.TheSurface.Rows[0], codes.TheSurface.Rows[0] + 4),
              std::vector<float>({0, 1, 1, 65535}));

    Workspace heights{host};
    ASSERT_EQ(ReadPngBuffer(file.data(), file.size(), {0, 32767.5}, heights), 0);
    EXPECT_EQ(heights.TheSurface.Rows[1][1], 100.5f);
    EXPECT_EQ(heights.TheSurface.Rows[0][2], 0.5f);
}

TEST(PngHeights, EightBitsRoundTripWithinHalfAStep) {
    test::RecordingHost host;
    Workspace ws{host};
    test::TempDir dir;
    Surface& s = ws.TheSurface;
    ASSERT_EQ(s.Resize(16, 9, 0), 0);
    for (int32_t y = 0; y < 9; ++y)
        for (int32_t x = 0; x < 16; ++x)
            s.Rows[y][x] = static_cast<float>(-50 + 7.3 * x + 11.1 * y);
    s.Min = -50;
    s.Max = -50 + 7.3 * 15 + 11.1 * 8;
    ws.RasterSave.PngBits = 8;
    const std::string path = dir.File("h8.png");
    ASSERT_EQ(WritePngFile(path, ws), 0);
    const double step = (s.Max - s.Min) / 255;
    Workspace back{host};
    const std::vector<uint8_t> file = test::ReadFileBytes(path);
    ASSERT_EQ(ReadPngBuffer(file.data(), file.size(), {s.Min, s.Max}, back), 0);
    for (int32_t y = 0; y < 9; ++y)
        for (int32_t x = 0; x < 16; ++x)
            EXPECT_NEAR(back.TheSurface.Rows[y][x], s.Rows[y][x], step / 2 + 1e-4);
    ws.RasterSave.PngBits = 12;
    std::string reason;
    EXPECT_EQ(WritePngFile(path, ws, &reason), PngBadOptions);
    EXPECT_EQ(reason, "png.BitDepth must be 8 or 16 (it is 12)");
    EXPECT_EQ(test::ReadFileText(path), std::string(file.begin(), file.end()));
}

TEST(PngHeights, RefusalsSayWhyAndChangeNothing) {
    test::RecordingHost host;
    Workspace source{host};
    test::TempDir dir;
    ASSERT_EQ(source.TheSurface.Resize(8, 8, 0), 0);
    source.TheSurface.Max = 1;
    ASSERT_EQ(WritePngFile(dir.File("ok.png"), source), 0);
    const std::vector<uint8_t> good = test::ReadFileBytes(dir.File("ok.png"));
    // The header claims 30000 x 30000 with a correct checksum: the bytes cannot hold it.
    std::vector<uint8_t> huge = good;
    PutBE32(huge.data() + 16, 30000);
    PutBE32(huge.data() + 20, 30000);
    PutBE32(huge.data() + 29, Crc32(huge.data() + 12, 17));
    std::vector<uint8_t> narrow = good;
    PutBE32(narrow.data() + 16, 3);
    PutBE32(narrow.data() + 29, Crc32(narrow.data() + 12, 17));
    const struct {
        const char* Name;
        std::vector<uint8_t> Bytes;
        int32_t Code;
        const char* Reason;
    } cases[] = {
        {"not a PNG", Bytes("GIF89a, not a PNG at all"), PngNotPng,
         "(it does not begin with the PNG signature)"},
        {"empty", {}, PngNotPng, "(empty)"},
        {"cut inside the data",
         {good.begin(), good.begin() + 45},
         PngTruncated,
         "PNG file is shorter"},
        {"huge size", huge, PngTruncated, "(30000 x 30000 from "},
        {"narrow", narrow, PngBadSize, "(3 x 8)"},
    };
    for (const auto& c : cases) {
        Workspace ws{host};
        ASSERT_EQ(ws.TheSurface.Resize(12, 12, 0), 0);
        std::string reason;
        EXPECT_EQ(ReadPngBuffer(c.Bytes.data(), c.Bytes.size(), {}, ws, "x.png", &reason), c.Code)
            << c.Name;
        EXPECT_NE(reason.find(c.Reason), std::string::npos) << c.Name << ": " << reason;
        EXPECT_EQ(ws.TheSurface.XSize, 12) << c.Name;
    }
}

TEST(WorldFile, NamesBesideThePicture) {
    const std::pair<const char*, const char*> cases[] = {
        {"out/terrain.bmp", "out/terrain.bpw"}, {"h.png", "h.pgw"}, {"a.TIF", "a.TFw"},
        {"dir.d/picture", "dir.d/picture.wld"}, {"x.", "x..wld"},
    };
    for (const auto& [picture, world] : cases)
        EXPECT_EQ(WorldFilePath(picture), world) << picture;
}

TEST(WorldFile, ParsesNorthUpPlacementsOnly) {
    const struct {
        const char* Name;
        const char* Text;
        bool Used;
        WorldPlacement Expected; // west, north, cell width, cell height
        const char* Why;
    } cases[] = {
        // Centre of the north-western cell at 10.5 E, 49.75 N, cells 1 by 0.5 degrees.
        {"plain", "1\n0\n0\n-0.5\n10.5\n49.75\n", true, {10, 50, 1, 0.5}, ""},
        {"spaces and exponents",
         " 2.5e-1 0 0 -2.5E-1 -179.875 89.875",
         true,
         {-180, 90, 0.25, 0.25},
         ""},
        {"five numbers", "1\n0\n0\n-1\n10\n", false, {}, "six numbers"},
        {"words", "one 0 0 -1 10 50", false, {}, "six numbers"},
        {"rotated", "1 0.1 0 -1 10 50", false, {}, "rotated"},
        {"south-up", "1 0 0 1 10 50", false, {}, "east- and south-going"},
        {"no width", "0 0 0 -1 10 50", false, {}, "east- and south-going"},
        {"infinite", "1 0 0 -1 inf 50", false, {}, "six numbers"},
    };
    for (const auto& c : cases) {
        WorldPlacement placement;
        std::string why;
        ASSERT_EQ(ParseWorldFile(c.Text, placement, why), c.Used) << c.Name;
        if (!c.Used) {
            EXPECT_NE(why.find(c.Why), std::string::npos) << c.Name << ": " << why;
            continue;
        }
        EXPECT_DOUBLE_EQ(placement.West, c.Expected.West) << c.Name;
        EXPECT_DOUBLE_EQ(placement.North, c.Expected.North) << c.Name;
        EXPECT_DOUBLE_EQ(placement.CellWidth, c.Expected.CellWidth) << c.Name;
        EXPECT_DOUBLE_EQ(placement.CellHeight, c.Expected.CellHeight) << c.Name;
    }
}

TEST(WorldFile, APngOpensWhereItsWorldFilePlacesIt) {
    test::RecordingHost host;
    Workspace ws{host};
    test::TempDir dir;
    ASSERT_EQ(ws.TheSurface.Resize(8, 4, 0), 0);
    ws.TheSurface.Max = 1;
    ASSERT_EQ(WritePngFile(dir.File("p.png"), ws), 0);
    test::WriteFileText(dir.File("p.pgw"), "0.5\n0\n0\n-0.25\n-119.75\n45.875\n");
    ASSERT_EQ(ws.TheSurface.Resize(4, 4, 0), 0);
    ws.FileNotes.clear();
    ASSERT_EQ(ReadPngFile(dir.File("p.png"), ws), 0);
    const Surface& s = ws.TheSurface;
    EXPECT_DOUBLE_EQ(s.Left, -120.0);
    EXPECT_DOUBLE_EQ(s.Right, -116.0);
    EXPECT_DOUBLE_EQ(s.Top, 46.0);
    EXPECT_DOUBLE_EQ(s.Bottom, 45.0);
    EXPECT_EQ(ws.FileNotes, std::vector<std::string>{"p.png: placed on the map by p.pgw"});

    // A rotated world file is named and passed over; the edges stay those of the last read.
    test::WriteFileText(dir.File("p.pgw"), "0.5 0.2 0 -0.25 -119.75 45.875");
    ws.FileNotes.clear();
    ASSERT_EQ(ReadPngFile(dir.File("p.png"), ws), 0);
    EXPECT_DOUBLE_EQ(ws.TheSurface.Left, -120.0);
    EXPECT_EQ(ws.FileNotes,
              std::vector<std::string>{"p.pgw: not used: the picture would be rotated"});

    // GDAL writes its world files as ".wld".
    std::filesystem::remove(dir.File("p.pgw"));
    test::WriteFileText(dir.File("p.wld"), "1 0 0 -1 10.5 49.5");
    ws.FileNotes.clear();
    ASSERT_EQ(ReadPngFile(dir.File("p.png"), ws), 0);
    EXPECT_DOUBLE_EQ(ws.TheSurface.Left, 10.0);
    EXPECT_DOUBLE_EQ(ws.TheSurface.Bottom, 46.0);
    EXPECT_EQ(ws.FileNotes, std::vector<std::string>{"p.png: placed on the map by p.wld"});
}

} // namespace
} // namespace korvel
