#include "formats/ascii_grid.h"

#include "core/workspace.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>

namespace korvel {
namespace {

int32_t ReadText(const std::string& text, Workspace& ws, std::string* reason = nullptr) {
    return ReadAsciiGridBuffer(reinterpret_cast<const uint8_t*>(text.data()), text.size(), ws,
                               "dir/g.asc", reason);
}

TEST(AsciiGrid, ReadsNorthernRowFirstWithCentresAndNoData) {
    test::RecordingHost host;
    Workspace ws{host};
    ASSERT_EQ(ReadText("NCOLS 5\nnrows 2\nxllcenter 10\nyllcenter 20\ncellsize 0.5\n"
                       "NODATA_value -1\n1 2 3 4 5\n6 -1 8 9 10\n",
                       ws),
              0);
    const Surface& s = ws.TheSurface;
    ASSERT_EQ(s.XSize, 4);
    ASSERT_EQ(s.YSize, 2);
    EXPECT_EQ(std::vector<float>(s.Rows[1], s.Rows[1] + 4), std::vector<float>({1, 2, 3, 4}));
    EXPECT_EQ(s.Rows[0][0], 6);
    EXPECT_TRUE(std::isnan(s.Rows[0][1]));
    EXPECT_EQ(s.Rows[0][3], 9);
    // Centres at 10 and 20: the outline starts a quarter unit before them.
    EXPECT_DOUBLE_EQ(s.Left, 9.75);
    EXPECT_DOUBLE_EQ(s.Right, 11.75);
    EXPECT_DOUBLE_EQ(s.Bottom, 19.75);
    EXPECT_DOUBLE_EQ(s.Top, 20.75);
    EXPECT_DOUBLE_EQ(s.XRes, 0.5);
    EXPECT_EQ(s.Min, 1);
    EXPECT_EQ(s.Max, 9);
    EXPECT_EQ(ws.FileNotes, std::vector<std::string>(
                                {"g.asc: width 5 cut to 4: the editor's widths are multiples of 4",
                                 "g.asc: 1 no-data samples, read as NaN"}));
}

TEST(AsciiGrid, CornersAndSeparateCellSizes) {
    test::RecordingHost host;
    Workspace ws{host};
    ASSERT_EQ(ReadText("ncols 4 nrows 1 xllcorner -180 yllcorner -90 dx 90 dy 180\n0 1 2 3", ws),
              0);
    const Surface& s = ws.TheSurface;
    EXPECT_EQ(s.Left, -180);
    EXPECT_EQ(s.Right, 180);
    EXPECT_EQ(s.Top, 90);
    EXPECT_EQ(s.Bottom, -90);
    EXPECT_TRUE(ws.FileNotes.empty());
}

TEST(AsciiGrid, NanNoDataAsGdalWritesIt) {
    test::RecordingHost host;
    Workspace ws{host};
    ASSERT_EQ(ReadText("ncols 4 nrows 1 xllcorner 0 yllcorner 0 cellsize 1 NODATA_value nan\n"
                       "1.5 nan -2 1e3",
                       ws),
              0);
    EXPECT_EQ(ws.TheSurface.Rows[0][0], 1.5f);
    EXPECT_TRUE(std::isnan(ws.TheSurface.Rows[0][1]));
    EXPECT_EQ(ws.TheSurface.Rows[0][3], 1000);
}

TEST(AsciiGrid, RefusalsSayWhyAndChangeNothing) {
    const std::string header = "ncols 4\nnrows 2\nxllcorner 0\nyllcorner 0\ncellsize 1\n";
    const struct {
        const char* Name;
        std::string Text;
        int32_t Code;
        const char* Reason;
    } cases[] = {
        {"no header", "1 2 3 4", AsciiGridNotGrid, "not an ESRI ASCII grid (no ncols)"},
        {"unknown field", "ncols 4 colour 3", AsciiGridNotGrid, "unknown header field \"colour\""},
        {"no cell size", "ncols 4 nrows 1 xllcorner 0 yllcorner 0 1 2 3 4", AsciiGridNotGrid,
         "(no positive cellsize)"},
        {"too few heights", header + "1 2 3 4 5 6 7", AsciiGridTruncated, "(14 of 15 bytes"},
        {"missing last height", header + "1 2 3 4 5 6 7   ", AsciiGridTruncated,
         "(7 of 8 heights)"},
        {"huge promise", "ncols 100000 nrows 100000 xllcorner 0 yllcorner 0 cellsize 1\n1 2",
         AsciiGridTruncated, "after the header"},
        {"narrow", "ncols 3 nrows 2 xllcorner 0 yllcorner 0 cellsize 1\n1 2 3 4 5 6",
         AsciiGridBadSize, "ncols 3"},
        {"fractional size", "ncols 4.5 nrows 2 xllcorner 0 yllcorner 0 cellsize 1\n1 2 3 4",
         AsciiGridBadSize, "ncols 4.5"},
        {"word for a height", header + "1 2 x 4 5 6 7 8", AsciiGridBadValue, "\"x\" at height 3"},
        {"nan in the header", "ncols nan", AsciiGridBadValue, "ncols \"nan\""},
    };
    for (const auto& c : cases) {
        test::RecordingHost host;
        Workspace ws{host};
        ASSERT_EQ(ws.TheSurface.Resize(8, 8, 0), 0);
        ws.TheSurface.Rows[0][0] = 42;
        std::string reason;
        EXPECT_EQ(ReadText(c.Text, ws, &reason), c.Code) << c.Name;
        EXPECT_NE(reason.find(c.Reason), std::string::npos) << c.Name << ": " << reason;
        EXPECT_EQ(ws.TheSurface.XSize, 8) << c.Name;
        EXPECT_EQ(ws.TheSurface.Rows[0][0], 42) << c.Name;
    }
}

TEST(AsciiGrid, RoundTripIsExact) {
    test::RecordingHost host;
    Workspace ws{host};
    test::TempDir dir;
    Surface& s = ws.TheSurface;
    ASSERT_EQ(s.Resize(8, 3, 0), 0);
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 8; ++x)
            s.Rows[y][x] = std::ldexp(1.0f + float(x) / 3.0f, y * 10 - 12) * (x % 2 ? -1 : 1);
    s.Rows[2][5] = NAN;
    s.Left = -120.125, s.Right = -118.125, s.Top = 45.75, s.Bottom = 45.0;
    const std::string path = dir.File("r.asc");
    ASSERT_EQ(WriteAsciiGridFile(path, ws), 0);
    // Cells of 0.25 both ways: one cellsize line.
    EXPECT_TRUE(test::ReadFileText(path).starts_with(
        "ncols 8\nnrows 3\nxllcorner -120.125\nyllcorner 45\ncellsize 0.25\nNODATA_value -9999\n"));

    Workspace back{host};
    ASSERT_EQ(ReadAsciiGridFile(path, back), 0);
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 8; ++x) {
            if (std::isnan(s.Rows[y][x]))
                EXPECT_TRUE(std::isnan(back.TheSurface.Rows[y][x]));
            else
                EXPECT_EQ(back.TheSurface.Rows[y][x], s.Rows[y][x]) << x << "," << y;
        }
    EXPECT_EQ(back.TheSurface.Left, s.Left);
    EXPECT_EQ(back.TheSurface.Right, s.Right);
    EXPECT_EQ(back.TheSurface.Top, s.Top);
    EXPECT_EQ(back.TheSurface.Bottom, s.Bottom);
    EXPECT_EQ(WriteAsciiGridFile(dir.File("no/r.asc"), ws), AsciiGridCannotCreate);
}

} // namespace
} // namespace korvel
