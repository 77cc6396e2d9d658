#include "formats/exr.h"

#include "core/workspace.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <ImfChannelList.h>
#include <ImfFrameBuffer.h>
#include <ImfHeader.h>
#include <ImfOutputFile.h>
#include <half.h>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace korvel {
namespace {

// A file made by OpenEXR itself: the given channels, each holding values (north row first).
void MakeExr(const std::string& path, int width, int height, Imf::PixelType type,
             const std::vector<const char*>& channels, const std::vector<float>& values) {
    Imf::Header header(width, height);
    for (const char* name : channels)
        header.channels().insert(name, Imf::Channel(type));
    Imf::OutputFile file(path.c_str(), header);
    Imf::FrameBuffer frame;
    std::vector<float> copy = values;
    const std::vector<half> halves(values.begin(), values.end());
    for (const char* name : channels)
        frame.insert(name, type == Imf::HALF
                               ? Imf::Slice::Make(type, halves.data(), header.dataWindow())
                               : Imf::Slice::Make(type, copy.data(), header.dataWindow()));
    file.setFrameBuffer(frame);
    file.writePixels(height);
}

TEST(Exr, FloatRoundTripIsBitForBit) {
    test::RecordingHost host;
    Workspace ws{host};
    test::TempDir dir;
    Surface& s = ws.TheSurface;
    ASSERT_EQ(s.Resize(8, 5, 0), 0);
    for (int32_t y = 0; y < 5; ++y)
        for (int32_t x = 0; x < 8; ++x)
            s.Rows[y][x] = std::ldexp(1.0f + float(x) / 7.0f, y * 9 - 20) * (x % 3 ? 1 : -1);
    s.Rows[4][7] = NAN;
    ASSERT_EQ(WriteExrFile(dir.File("h.exr"), ws), 0);
    const std::vector<uint8_t> file = test::ReadFileBytes(dir.File("h.exr"));
    Workspace back{host};
    ASSERT_EQ(ReadExrBuffer(file.data(), file.size(), back, "h.exr"), 0);
    for (int32_t y = 0; y < 5; ++y)
        for (int32_t x = 0; x < 8; ++x)
            EXPECT_EQ(std::bit_cast<uint32_t>(back.TheSurface.Rows[y][x]),
                      std::bit_cast<uint32_t>(s.Rows[y][x]))
                << x << "," << y;
}

TEST(Exr, ReadsTheHeightChannelOfFilesOthersMake) {
    // Exact in half floats: the largest half, a negative power of two and fractions.
    const std::vector<float> values = {65504, -2, 0.5f, 1024, 0.125f, -0.75f, 3, 7};
    const struct {
        const char* Name;
        Imf::PixelType Type;
        std::vector<const char*> Channels;
    } cases[] = {
        {"half Y", Imf::HALF, {"Y"}},
        {"RGB takes R", Imf::FLOAT, {"B", "G", "R"}},
        {"one channel of any name", Imf::HALF, {"height"}},
    };
    for (const auto& c : cases) {
        test::TempDir dir;
        MakeExr(dir.File("o.exr"), 4, 2, c.Type, c.Channels, values);
        const std::vector<uint8_t> file = test::ReadFileBytes(dir.File("o.exr"));
        test::RecordingHost host;
        Workspace ws{host};
        ASSERT_EQ(ReadExrBuffer(file.data(), file.size(), ws, "o.exr"), 0) << c.Name;
        EXPECT_EQ(std::vector<float>(ws.TheSurface.Rows[1], ws.TheSurface.Rows[1] + 4),
                  std::vector<float>(values.begin(), values.begin() + 4))
            << c.Name;
        EXPECT_EQ(ws.TheSurface.Rows[0][3], 7) << c.Name;
    }
}

TEST(Exr, RefusalsSayWhyAndChangeNothing) {
    test::TempDir dir;
    MakeExr(dir.File("two.exr"), 4, 1, Imf::FLOAT, {"A", "B"}, {1, 2, 3, 4});
    MakeExr(dir.File("narrow.exr"), 3, 1, Imf::FLOAT, {"Y"}, {1, 2, 3});
    MakeExr(dir.File("good.exr"), 64, 64, Imf::FLOAT, {"Y"}, std::vector<float>(64 * 64, 1.5f));
    const std::vector<uint8_t> good = test::ReadFileBytes(dir.File("good.exr"));
    // The data window's maximum (x, y) as 30000: far more samples than the bytes can hold.
    std::vector<uint8_t> huge = good;
    const std::vector<uint8_t> window = {63, 0, 0, 0, 63, 0, 0, 0};
    auto at = std::search(huge.begin(), huge.end(), window.begin(), window.end());
    ASSERT_NE(at, huge.end());
    const std::vector<uint8_t> bigger = {0x30, 0x75, 0, 0, 0x30, 0x75, 0, 0};
    std::copy(bigger.begin(), bigger.end(), at);
    std::vector<uint8_t> wide = good;
    at = std::search(wide.begin(), wide.end(), window.begin(), window.end());
    const std::vector<uint8_t> wider = {0x00, 0x00, 0x07, 0, 63, 0, 0, 0};
    std::copy(wider.begin(), wider.end(), at);
    // A channel list one byte shorter than its entries: OpenEXR would read on past it.
    std::vector<uint8_t> shortList = good;
    const std::string chlist = "chlist";
    at = std::search(shortList.begin(), shortList.end(), chlist.begin(), chlist.end());
    ASSERT_NE(at, shortList.end());
    --at[int(chlist.size()) + 1];
    std::vector<uint8_t> multiPart = good;
    multiPart[5] |= 0x10;
    const std::string garbage = "GIF89a and more";
    const struct {
        const char* Name;
        std::vector<uint8_t> Bytes;
        int32_t Code;
        const char* Reason;
    } cases[] = {
        {"not EXR", {garbage.begin(), garbage.end()}, ExrNotExr, "(no OpenEXR magic number)"},
        {"empty", {}, ExrNotExr, "(no OpenEXR magic number)"},
        {"two other channels", test::ReadFileBytes(dir.File("two.exr")), ExrUnsupported,
         "(no channel Y, Z or R, and more than one other)"},
        {"narrow", test::ReadFileBytes(dir.File("narrow.exr")), ExrBadSize, "(3 x 1)"},
        {"cut short", {good.begin(), good.begin() + good.size() / 2}, ExrTruncated, "EXR file"},
        // Refused from the header, before OpenEXR allocates lines of that width.
        {"huge window", huge, ExrTruncated, "(30001 x 30001 from "},
        {"window past the Surface's limits", wide, ExrBadSize, "(458753 x 64)"},
        {"multi-part", multiPart, ExrUnsupported, "(a multi-part or deep file)"},
        {"channel list past its size", shortList, ExrTruncated,
         "(attribute \"channels\" of type chlist claims 18 bytes where its value runs past them)"},
    };
    for (const auto& c : cases) {
        test::RecordingHost host;
        Workspace ws{host};
        ASSERT_EQ(ws.TheSurface.Resize(12, 12, 0), 0);
        std::string reason;
        EXPECT_EQ(ReadExrBuffer(c.Bytes.data(), c.Bytes.size(), ws, "x.exr", &reason), c.Code)
            << c.Name;
        EXPECT_NE(reason.find(c.Reason), std::string::npos) << c.Name << ": " << reason;
        EXPECT_EQ(ws.TheSurface.XSize, 12) << c.Name;
    }
}

} // namespace
} // namespace korvel
