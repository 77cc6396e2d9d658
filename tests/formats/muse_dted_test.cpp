#include "formats/muse_dted.h"

#include "core/workspace.h"
#include "formats/binary_grid.h"
#include "formats/format_support.h"
#include "support/elevation_files.h"
#include "support/failed_writes.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace korvel {
namespace {

using Bytes = std::vector<uint8_t>;

// A MUSE file of width x height samples x * 10 + y (row 0 first), edges from -120, 45 on a
// 0.01-degree grid, written field by field.
Bytes MuseFile(int32_t width, int32_t height) {
    Bytes file(MuseHeaderBytes, 0);
    PutF64(file.data() + 40, 0.01);
    PutF64(file.data() + 48, 0.02);
    PutF64(file.data() + 74, -120.0);
    PutF64(file.data() + 82, -120.0 + 0.01 * (width - 1));
    PutF64(file.data() + 90, 45.0);
    PutF64(file.data() + 98, 45.0 + 0.02 * (height - 1));
    PutU32(file.data() + 184, uint32_t(width));
    PutU32(file.data() + 188, uint32_t(height));
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            const size_t at = file.size();
            file.resize(at + 2);
            PutU16(file.data() + at, uint16_t(int16_t(x * 10 + y)));
        }
    return file;
}

TEST(MuseDted, WrittenAndReadBackKeepsTheMapAndWholeNumbers) {
    test::TempDir dir;
    test::RecordingHost host;
    Workspace ws{host};
    Surface& s = ws.TheSurface;
    ASSERT_EQ(s.Resize(8, 3, 0), 0);
    s.SetEdges(-120.0, -119.93, 45.06, 45.0);
    const float samples[] = {1.9f,
                             -1.9f,
                             40000.0f,
                             -40000.0f,
                             32767.5f,
                             -32768.5f,
                             std::numeric_limits<float>::quiet_NaN(),
                             0.0f};
    const float expected[] = {1, -1, 32767, -32768, 32767, -32768, 0, 0};
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 8; ++x)
            s.Rows[y][x] = x == 0 ? float(y) : samples[x];
    s.Min = -40000;
    s.Max = 40000;
    const std::string path = dir.File("t.dte");
    ASSERT_EQ(WriteMuseDtedFile(path, ws), 0);
    const Bytes file = test::ReadFileBytes(path);
    ASSERT_EQ(file.size(), 1024u + 8 * 3 * 2);
    EXPECT_EQ(GetI32(file.data() + 2), 80000000);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(file.data() + 6)), "KORVEL");
    EXPECT_EQ(GetI16(file.data() + 56), 7);
    EXPECT_EQ(GetI16(file.data() + 204), 4);
    EXPECT_EQ(GetI32(file.data() + 196), 16);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(file.data() + 512)), "CMapCompressedX");
    EXPECT_EQ(std::memcmp(file.data() + 544, "IMAG\0\0\0\0\0\0\0\0\x08\0\0\0", 16), 0);

    Workspace back{host};
    ASSERT_EQ(ReadMuseDtedFile(path, back), 0);
    const Surface& r = back.TheSurface;
    ASSERT_EQ(r.XSize, 8);
    ASSERT_EQ(r.YSize, 3);
    for (double Surface::*edge : {&Surface::Left, &Surface::Right, &Surface::Top, &Surface::Bottom,
                                  &Surface::XRes, &Surface::YRes})
        EXPECT_DOUBLE_EQ(r.*edge, s.*edge);
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 1; x < 8; ++x)
            EXPECT_EQ(r.Rows[y][x], expected[x]) << x << "," << y;
    EXPECT_EQ(r.Rows[2][0], 2);
    EXPECT_EQ(r.Min, -32768);
    EXPECT_EQ(r.Max, 32767);
    EXPECT_EQ(back.CurrentFile, path);
}

TEST(MuseDted, ReadWindows) {
    const struct {
        const char* Name;
        int32_t FileWidth, FileHeight;
        MuseSettings Window;
        int32_t Width, Height;
        double Left, Right, Bottom, Top;
    } cases[] = {
        // 10 columns skipped, 100 read: Left moves east by 10 x 0.01.
        {"skip 10, 100 wide",
         400,
         3,
         {0, 10, 0, 100, 0},
         100,
         3,
         -119.9,
         -119.9 + 0.99,
         45.0,
         45.04},
        {"rows skipped", 8, 6, {0, 0, 2, 0, 3}, 8, 3, -120.0, -119.93, 45.04, 45.08},
        {"clamped to the grid", 8, 6, {0, 4, 5, 100, 100}, 4, 1, -119.96, -119.93, 45.1, 45.1},
    };
    for (const auto& c : cases) {
        const Bytes file = MuseFile(c.FileWidth, c.FileHeight);
        test::RecordingHost host;
        Workspace ws{host};
        ASSERT_EQ(ReadMuseDtedBuffer(file.data(), file.size(), c.Window, ws), 0) << c.Name;
        const Surface& s = ws.TheSurface;
        ASSERT_EQ(s.XSize, c.Width) << c.Name;
        ASSERT_EQ(s.YSize, c.Height) << c.Name;
        EXPECT_EQ(s.Rows[0][0], c.Window.SkipX * 10 + c.Window.SkipY) << c.Name;
        EXPECT_EQ(s.Rows[c.Height - 1][c.Width - 1],
                  (c.Window.SkipX + c.Width - 1) * 10 + c.Window.SkipY + c.Height - 1)
            << c.Name;
        EXPECT_NEAR(s.Left, c.Left, 1e-12) << c.Name;
        EXPECT_NEAR(s.Right, c.Right, 1e-12) << c.Name;
        EXPECT_NEAR(s.Bottom, c.Bottom, 1e-12) << c.Name;
        EXPECT_NEAR(s.Top, c.Top, 1e-12) << c.Name;
    }
}

TEST(MuseDted, HostileFilesAreRefusedAndChangeNothing) {
    const Bytes good = MuseFile(8, 3);
    auto sized = [&](int32_t width, int32_t height) {
        Bytes file = good;
        PutU32(file.data() + 184, uint32_t(width));
        PutU32(file.data() + 188, uint32_t(height));
        return file;
    };
    const struct {
        const char* Name;
        Bytes File;
        MuseSettings Window;
        int32_t Code;
        const char* Reason;
    } cases[] = {
        {"header cut",
         Bytes(good.begin(), good.begin() + 1000),
         {},
         MuseShortHeader,
         "READ HEADER: the file is shorter than the 1,024-byte MUSE DTED header (1,000 of 1,024 "
         "bytes)"},
        {"zero width",
         sized(0, 3),
         {},
         MuseBadSize,
         "SIZE PROBLEM: the width or height is not in 1..65535, or the window is outside the "
         "grid (0 x 3)"},
        {"negative height",
         sized(8, -3),
         {},
         MuseBadSize,
         "SIZE PROBLEM: the width or height is not in 1..65535, or the window is outside the "
         "grid (8 x -3)"},
        {"more rows than the file",
         sized(8, 30000),
         {},
         MuseShortRows,
         "READ: the file is shorter than its header promises (1,072 of 481,024 bytes)"},
        {"window outside",
         good,
         {0, 8, 0, 0, 0},
         MuseBadSize,
         "SIZE PROBLEM: the width or height is not in 1..65535, or the window is outside the "
         "grid (skipping 8 x 0 of 8 x 3)"},
    };
    for (const auto& c : cases)
        test::ExpectRefusedUntouched(c.Name, c.Code, c.Reason, [&](Workspace& ws, std::string* r) {
            return ReadMuseDtedBuffer(c.File.data(), c.File.size(), c.Window, ws, "m.dte", r);
        });
}

TEST(MuseDted, HeaderReportNamesTheCodes) {
    Bytes header(MuseHeaderBytes, 0);
    PutU32(header.data() + 2, 80000000);
    std::memcpy(header.data() + 6, "KORVEL", 6);
    PutU16(header.data() + 56, 7);
    PutU16(header.data() + 106, 1);
    PutU16(header.data() + 108, 9);
    PutF64(header.data() + 40, 0.25);
    PutU16(header.data() + 204, 4);
    const std::string report = DescribeMuseHeader(header.data());
    for (const char* line :
         {"Magic:\t80000000\r\n", "Source:\tKORVEL\r\n",
          "H Units:\t0 (DD     decimal degrees (STANDARD))\r\n", "H Res:\t0.250000\r\n",
          "Map Proj:\t7 (GRAPH     Non equal x, y (STANDARD))\r\n",
          "H Datum:\t1 (HD_WGS84 WGS 84 (STANDARD))\r\n", "V Datum:\t9 (UNKNOWN)\r\n",
          "# Type:\t4 (SINT_16BIT signed 16 bit (-32768 -> 32767))\r\n"})
        EXPECT_NE(report.find(line), std::string::npos) << line;
}

// The MUSE writer and the binary export, which write the same 16-bit rows.
TEST(MuseDted, FailedSavesKeepTheOldFile) {
    const struct {
        const char* Name;
        int32_t (*Write)(const std::string&, Workspace&, std::string*);
        int32_t Cancelled, DiskFull;
    } cases[] = {
        {"MUSE", WriteMuseDtedFile, MuseWriteCancelled, MuseLineFailed},
        {"binary", ExportBinaryFile, BinaryWriteCancelled, BinaryWriteFailed},
    };
    for (const auto& c : cases) {
        test::TempDir dir;
        test::RecordingHost host;
        Workspace ws{host};
        ASSERT_EQ(ws.TheSurface.Resize(1024, 64, 0), 0);
        const test::FailedWriteCodes codes =
            test::TryFailedWrites(host, ws.TheProgress, dir, c.Name, [&](const std::string& path) {
                return c.Write(path, ws, nullptr);
            });
        EXPECT_EQ(codes.Cancelled, c.Cancelled) << c.Name;
        EXPECT_EQ(codes.DiskFull, c.DiskFull) << c.Name;
    }
}

} // namespace
} // namespace korvel
