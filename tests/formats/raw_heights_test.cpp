#include "formats/raw_heights.h"

#include "core/workspace.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace korvel {
namespace {

TEST(RawHeights, LayoutsPlaceTheFirstSample) {
    // 16 samples of 16 bits: sample i is the integer 0x0100 * i + 1 little-endian (bytes 01, i).
    std::vector<uint8_t> bytes;
    for (uint8_t i = 0; i < 16; ++i)
        bytes.insert(bytes.end(), {1, i});
    const struct {
        const char* Name;
        RawFields Layout;
        GreyRangeFields Range;
        int32_t Width, Height;
        float NorthWest, SouthWest; // Rows[Height - 1][0], Rows[0][0]
    } cases[] = {
        {"square, little-endian, north first", {}, {}, 4, 4, 1, 0x0C01},
        {"big-endian", {0, 0, 1, 0}, {}, 4, 4, 0x0100, 0x010C},
        {"south first", {0, 0, 0, 1}, {}, 4, 4, 0x0C01, 1},
        {"width given", {8, 0, 0, 0}, {}, 8, 2, 1, 0x0801},
        {"height given", {0, 2, 0, 0}, {}, 8, 2, 1, 0x0801},
        // 0..65535 over -100..555.35: each step 0.01.
        {"range", {}, {-100, 555.35}, 4, 4, -100 + 0.01f, float(-100 + 0x0C01 * 0.01)},
    };
    for (const auto& c : cases) {
        test::RecordingHost host;
        Workspace ws{host};
        ASSERT_EQ(ReadRawBuffer(bytes.data(), bytes.size(), 2, c.Layout, c.Range, ws), 0) << c.Name;
        const Surface& s = ws.TheSurface;
        ASSERT_EQ(s.XSize, c.Width) << c.Name;
        ASSERT_EQ(s.YSize, c.Height) << c.Name;
        EXPECT_FLOAT_EQ(s.Rows[c.Height - 1][0], c.NorthWest) << c.Name;
        EXPECT_FLOAT_EQ(s.Rows[0][0], c.SouthWest) << c.Name;
    }
}

TEST(RawHeights, RefusalsSayWhyAndChangeNothing) {
    const std::vector<uint8_t> bytes(50, 0);
    const struct {
        const char* Name;
        size_t Size;
        int32_t SampleBytes;
        RawFields Layout;
        int32_t Code;
        const char* Reason;
    } cases[] = {
        {"not a square", 48, 2, {}, RawSizeUnknown, "(48 bytes; give raw.Width and raw.Height)"},
        {"odd length", 49, 2, {}, RawSizeUnknown, "49 bytes"},
        {"size too large", 50, 2, {5, 6, 0, 0}, RawWrongLength, "(50 bytes where 5 x 6 takes 60)"},
        {"size too small", 50, 4, {4, 2, 0, 0}, RawWrongLength, "where 4 x 2 takes 32"},
        {"narrow", 50, 2, {3, 0, 0, 0}, RawBadSize, "(3 x 8)"},
        {"empty", 0, 4, {}, RawBadSize, "(0 x 0)"},
    };
    for (const auto& c : cases) {
        test::RecordingHost host;
        Workspace ws{host};
        ASSERT_EQ(ws.TheSurface.Resize(8, 8, 0), 0);
        std::string reason;
        EXPECT_EQ(
            ReadRawBuffer(bytes.data(), c.Size, c.SampleBytes, c.Layout, {}, ws, "x.r16", &reason),
            c.Code)
            << c.Name;
        EXPECT_NE(reason.find(c.Reason), std::string::npos) << c.Name << ": " << reason;
        EXPECT_EQ(ws.TheSurface.YSize, 8) << c.Name;
    }
}

TEST(RawHeights, RoundTrips) {
    for (const int32_t bytes : {2, 4})
        for (const int32_t order : {0, 1}) {
            test::RecordingHost host;
            Workspace ws{host};
            test::TempDir dir;
            Surface& s = ws.TheSurface;
            ASSERT_EQ(s.Resize(12, 5, 0), 0);
            for (int32_t y = 0; y < 5; ++y)
                for (int32_t x = 0; x < 12; ++x)
                    s.Rows[y][x] = static_cast<float>(std::sin(x * 0.7 + y) * 30.0 + 10.0);
            s.Rows[0][0] = -20;
            s.Rows[4][11] = 45.535f;
            s.Min = -20;
            s.Max = 45.535; // 65535 steps of 0.001
            ws.Raw.ByteOrder = order;
            const std::string path = dir.File(bytes == 2 ? "h.r16" : "h.r32");
            ASSERT_EQ(WriteRawFile(path, bytes, ws), 0);
            ws.GreyRange = {-20, 45.535};
            Workspace back{host};
            ASSERT_EQ(
                ReadRawBuffer(reinterpret_cast<const uint8_t*>(test::ReadFileText(path).data()),
                              size_t(12 * 5 * bytes), bytes, {12, 0, order, 0}, ws.GreyRange, back),
                0);
            for (int32_t y = 0; y < 5; ++y)
                for (int32_t x = 0; x < 12; ++x) {
                    if (bytes == 4)
                        EXPECT_EQ(back.TheSurface.Rows[y][x], s.Rows[y][x]);
                    else
                        EXPECT_NEAR(back.TheSurface.Rows[y][x], s.Rows[y][x], 0.0005 + 1e-5);
                }
            if (bytes == 2) {
                ASSERT_EQ(ws.FileNotes.size(), 1u);
                EXPECT_TRUE(
                    ws.FileNotes[0].starts_with("h.r16: 16-bit, step 0.001 m, worst error "))
                    << ws.FileNotes[0];
                EXPECT_TRUE(ws.FileNotes[0].ends_with(" m, 0 clipped")) << ws.FileNotes[0];
            }
        }
}

TEST(RawHeights, SixteenBitsClipOutsideTheExtremes) {
    test::RecordingHost host;
    Workspace ws{host};
    test::TempDir dir;
    Surface& s = ws.TheSurface;
    ASSERT_EQ(s.Resize(4, 1, 0), 0);
    // Steps of 1/128: every height in range is a whole step.
    const float heights[] = {-1, 0, 511.9921875f, NAN};
    std::copy(heights, heights + 4, s.Rows[0]);
    s.Min = 0;
    s.Max = 511.9921875;
    ASSERT_EQ(WriteRawFile(dir.File("c.r16"), 2, ws), 0);
    // -1 and NaN clipped to 0; the others exact.
    EXPECT_EQ(test::ReadFileText(dir.File("c.r16")), std::string("\0\0\0\0\xff\xff\0\0", 8));
    EXPECT_EQ(ws.FileNotes, std::vector<std::string>(
                                {"c.r16: 16-bit, step 0.00781 m, worst error 0 m, 2 clipped"}));
}

} // namespace
} // namespace korvel
