#include "formats/dted.h"

#include "core/workspace.h"
#include "support/elevation_files.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <string>

namespace korvel {
namespace {

// Posts as line * 100 + point, negative on odd lines, so that signed magnitude shows.
int32_t Post(int32_t line, int32_t point) {
    return (line % 2 ? -1 : 1) * (line * 100 + point);
}

TEST(Dted, SignedMagnitudeReadsAsTheNegativeOfItsLowBits) {
    test::Bytes file = test::DtedFile("1200000W", "0450000N", 3, 3, 300, Post);
    // Line 0, point 1 made 0x8005 by hand.
    file[3428 + 8 + 2] = 0x80;
    file[3428 + 8 + 3] = 0x05;
    DtedHeader h;
    ASSERT_EQ(ReadDtedHeader(file.data(), file.size(), h), 0);
    EXPECT_EQ(DtedPost(file.data(), h, 0, 1), -5);
    EXPECT_EQ(DtedPost(file.data(), h, 1, 2), -102);
    EXPECT_EQ(DtedPost(file.data(), h, 2, 0), 200);
}

TEST(Dted, HeaderWithANulIsReadByItsColumns) {
    const test::Bytes file = test::DtedFile("0071530E", "0100000S", 3, 5, 300, Post);
    ASSERT_EQ(file[40], 0);
    DtedHeader h;
    ASSERT_EQ(ReadDtedHeader(file.data(), file.size(), h), 0);
    EXPECT_DOUBLE_EQ(h.OriginLon, 7.0 + 15.0 / 60 + 30.0 / 3600);
    EXPECT_DOUBLE_EQ(h.OriginLat, -10.0);
    EXPECT_EQ(h.LonInterval, 300);
    EXPECT_EQ(h.Lines, 3);
    EXPECT_EQ(h.Points, 5);
}

TEST(Dted, CellsAndWindows) {
    const struct {
        const char* Name;
        MuseSettings Window;
        int32_t Width, Height;
        int32_t FirstLine, FirstPoint;
    } cases[] = {
        // 9 lines of 7 points: 8 x 6 read, the last line and point left out.
        {"whole cell", {}, 8, 6, 0, 0},
        {"skipped and sized", {0, 2, 1, 4, 3}, 4, 3, 2, 1},
        // Asking past the cell's edge is clamped to it: 9 - 5 lines, 7 - 4 points.
        {"clamped to the cell", {0, 5, 4, 100, 100}, 4, 3, 5, 4},
    };
    const test::Bytes file = test::DtedFile("1200000W", "0450000N", 9, 7, 30, Post);
    for (const auto& c : cases) {
        test::RecordingHost host;
        Workspace ws{host};
        ASSERT_EQ(ReadDtedCellBuffer(file.data(), file.size(), c.Window, ws), 0) << c.Name;
        const Surface& s = ws.TheSurface;
        ASSERT_EQ(s.XSize, c.Width) << c.Name;
        ASSERT_EQ(s.YSize, c.Height) << c.Name;
        for (int32_t y = 0; y < s.YSize; ++y)
            for (int32_t x = 0; x < s.XSize; ++x)
                ASSERT_EQ(s.Rows[y][x], Post(c.FirstLine + x, c.FirstPoint + y)) << c.Name;
        const double step = 3.0 / 3600; // 30 tenths of an arc-second
        EXPECT_DOUBLE_EQ(s.XRes, step) << c.Name;
        EXPECT_DOUBLE_EQ(s.Left, -120 + c.FirstLine * step) << c.Name;
        EXPECT_DOUBLE_EQ(s.Right, s.Left + c.Width * step) << c.Name;
        EXPECT_DOUBLE_EQ(s.Bottom, 45 + c.FirstPoint * step) << c.Name;
        EXPECT_DOUBLE_EQ(s.Top, s.Bottom + c.Height * step) << c.Name;
    }
}

TEST(Dted, HostileCellsAreRefusedAndChangeNothing) {
    const test::Bytes good = test::DtedFile("1200000W", "0450000N", 9, 7, 30, Post);
    auto patched = [&](size_t at, const char* text) {
        test::Bytes file = good;
        std::copy(text, text + std::strlen(text), file.begin() + at);
        return file;
    };
    const struct {
        const char* Name;
        test::Bytes File;
        MuseSettings Window;
        int32_t Code;
        const char* Reason;
    } cases[] = {
        {"no label",
         patched(0, "VOL"),
         {},
         DtedBadHeader,
         "DTED: the file has no user header label (UHL) this reader understands (it does not "
         "begin with \"UHL\")"},
        {"a hemisphere letter missing",
         patched(11, "X"),
         {},
         DtedBadHeader,
         "DTED: the file has no user header label (UHL) this reader understands (origin)"},
        {"zero interval",
         patched(20, "0000"),
         {},
         DtedBadHeader,
         "DTED: the file has no user header label (UHL) this reader understands (data "
         "interval)"},
        {"one line",
         patched(47, "0001"),
         {},
         DtedBadSize,
         "DTED: the cell's size or the read window is not usable (1 lines of 7 points)"},
        {"more lines than records",
         patched(47, "9999"),
         {},
         DtedShort,
         "DTED: the file is shorter than its header promises (3,662 of 263,402 bytes)"},
        {"last record cut",
         test::Bytes(good.begin(), good.end() - 1),
         {},
         DtedShort,
         "DTED: the file is shorter than its header promises (3,661 of 3,662 bytes)"},
        {"window past the cell",
         good,
         {0, 8, 0, 0, 0},
         DtedBadSize,
         "DTED: the cell's size or the read window is not usable (skipping 8 x 0 of a cell of "
         "9 x 7)"},
        {"shorter than the label",
         test::Bytes(good.begin(), good.begin() + 60),
         {},
         DtedShort,
         "DTED: the file is shorter than its header promises (60 of 80 bytes)"},
    };
    for (const auto& c : cases)
        test::ExpectRefusedUntouched(c.Name, c.Code, c.Reason, [&](Workspace& ws, std::string* r) {
            return ReadDtedCellBuffer(c.File.data(), c.File.size(), c.Window, ws, "c.dt1", r);
        });
}

} // namespace
} // namespace korvel
