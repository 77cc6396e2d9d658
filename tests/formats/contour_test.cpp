// Contour levels, CONREC segments, traced polylines and the two contour files, on small grids
// worked out by hand.
#include "formats/cc2_contours.h"
#include "formats/conrec.h"
#include "formats/contour_levels.h"
#include "formats/contour_tracer.h"
#include "formats/dxf_contours.h"

#include "core/workspace.h"
#include "support/failed_writes.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <sstream>

namespace korvel {
namespace {

TEST(ContourLevelsTest, CountsSpacingsAndRefusals) {
    const struct {
        const char* Name;
        int32_t (*Make)(double, double, double, ContourLevels&, std::string&);
        double Min, Max, Value;
        int32_t Code;
        double First, Spacing;
        int64_t Count;
        std::string Message;
    } cases[] = {
        {"10 levels of 0..100", LevelsByCount, 0, 100, 10, 0, 0, 10, 10, ""},
        // 0.3 / 0.1 is 2.9999999999999996: the count is the value itself.
        {"3 levels of 0..0.3", LevelsByCount, 0, 0.3, 3, 0, 0, 0.1, 3, ""},
        {"25 m on 13..90", LevelsBySpacing, 13, 90, 25, 0, 0, 25, 3, ""},
        {"100 m on -250..1000", LevelsBySpacing, -250, 1000, 100, 0, -200, 100, 12, ""},
        {"negative", LevelsBySpacing, 0, 10, -1, ContourNegativeValue, 0, 0, 0,
         "Value must be greater than or equal to 0"},
        {"zero spacing", LevelsBySpacing, 0, 10, 0, ContourZeroValue, 0, 0, 0,
         "Value must be greater than 0: a spacing or count of 0 gives no contours"},
        {"zero levels", LevelsByCount, 0, 10, 0, ContourZeroValue, 0, 0, 0,
         "Value must be greater than 0: a spacing or count of 0 gives no contours"},
        {"too many", LevelsBySpacing, 0, 1e9, 1, ContourTooManyLevels, 0, 0, 0,
         "Too many contour levels: 1000000000 (at most 100000)"},
        {"flat", LevelsByCount, 5, 5, 10, ContourFlatSurface, 0, 0, 0,
         "The surface has no contour information (completely flat)"},
        {"CC2 0..100 by 25", LevelsFromTo, 0, 100, 25, 0, 0, 25, 5, ""},
        {"CC2 upside down", LevelsFromTo, 10, 0, 25, 0, 10, 25, 0, ""},
    };
    for (const auto& c : cases) {
        ContourLevels levels;
        std::string message;
        EXPECT_EQ(c.Make(c.Min, c.Max, c.Value, levels, message), c.Code) << c.Name;
        EXPECT_EQ(message, c.Message) << c.Name;
        if (c.Code != 0)
            continue;
        EXPECT_DOUBLE_EQ(levels.First, c.First) << c.Name;
        EXPECT_DOUBLE_EQ(levels.Spacing, c.Spacing) << c.Name;
        EXPECT_EQ(levels.Count, c.Count) << c.Name;
    }
}

class Contours : public testing::Test {
public:
    // Rows given bottom first; map coordinates are sample numbers (x = column, y = row).
    void Grid(const std::vector<std::vector<float>>& rows) {
        Surface& s = ws.TheSurface;
        const auto h = static_cast<int32_t>(rows.size());
        const auto w = static_cast<int32_t>(rows[0].size());
        ASSERT_EQ(s.Resize(w, h, 0), 0);
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x)
                s.Rows[y][x] = rows[static_cast<size_t>(y)][static_cast<size_t>(x)];
        s.FindMinMax(s.Min, s.Max, ws.TheProgress);
        s.Left = 0;
        s.Right = w;
        s.Bottom = 0;
        s.Top = h;
    }
    // Level 0.5 on a ramp 0, 1, 2, 3 along every row: the line x = 0.5 from bottom to top.
    void Ramp() { Grid(std::vector<std::vector<float>>(3, {0, 1, 2, 3})); }
    // A 2 x 2 block of 1 in a 4 x 4 field of 0.
    void Bump() { Grid({{0, 0, 0, 0}, {0, 1, 1, 0}, {0, 1, 1, 0}, {0, 0, 0, 0}}); }

    test::RecordingHost host;
    Workspace ws{host};
    test::TempDir dir;
    const ContourLevels Half{0.5, 1.0, 1};
};

TEST_F(Contours, ConrecSegmentsOfARamp) {
    Ramp();
    std::vector<ContourSegment> segments;
    EXPECT_TRUE(ContourGrid(ws.TheSurface, Half, ws.TheProgress, [&](const ContourSegment& g) {
        segments.push_back(g);
        return true;
    }));
    // Each of the two cells of column 0 gives two segments, centre to bottom and to top edge.
    ASSERT_EQ(segments.size(), 4u);
    double length = 0;
    for (const ContourSegment& g : segments) {
        EXPECT_DOUBLE_EQ(g.X1, 0.5);
        EXPECT_DOUBLE_EQ(g.X2, 0.5);
        EXPECT_EQ(g.Z, 0.5);
        length += std::abs(g.Y2 - g.Y1);
    }
    EXPECT_DOUBLE_EQ(length, 2.0);
}

TEST_F(Contours, DxfFileLinesMergedOrNot) {
    Ramp();
    const struct {
        bool Merge, Elevations;
        int64_t Lines;
        const char* FirstLine;
    } cases[] = {
        {false, false, 4,
         "0\nLINE\n8\n0\n10\n0.500000\n20\n0.500000\n11\n0.500000\n21\n0.000000\n"},
        // Four segments on one straight line: a polyline of its two ends.
        {true, true, 1,
         "0\nPOLYLINE\n8\n0\n66\n1\n10\n0.0\n20\n0.0\n30\n0.500000\n70\n0\n"
         "0\nVERTEX\n8\n0\n10\n0.500000\n20\n0.000000\n"
         "0\nVERTEX\n8\n0\n10\n0.500000\n20\n2.000000\n0\nSEQEND\n8\n0\n"},
    };
    for (const auto& c : cases) {
        const std::string path = dir.File("c.dxf");
        DxfContourOptions options{Half, c.Merge, c.Elevations};
        int64_t lines = 0;
        ASSERT_EQ(WriteDxfContourFile(path, ws.TheSurface, options, ws.TheProgress, lines), 0);
        EXPECT_EQ(lines, c.Lines);
        const std::string text = test::ReadFileText(path);
        const std::string head = "999\nCreated by Korvel\n0\nSECTION\n2\nENTITIES\n";
        EXPECT_EQ(text.substr(0, head.size() + std::strlen(c.FirstLine)), head + c.FirstLine);
        EXPECT_TRUE(text.ends_with("0\nENDSEC\n0\nEOF\n"));
        EXPECT_FALSE(std::filesystem::exists(path + ".$RV"));
    }
}

TEST_F(Contours, TracerFollowsOpenAndClosedLines) {
    const struct {
        const char* Name;
        void (Contours::*Make)();
        std::vector<std::pair<float, float>> Points;
        bool Closed;
    } cases[] = {
        {"ramp", &Contours::Ramp, {{0.5f, 0}, {0.5f, 1}, {0.5f, 2}}, false},
        {"bump",
         &Contours::Bump,
         {{1, 0.5f},
          {0.5f, 1},
          {0.5f, 2},
          {1, 2.5f},
          {2, 2.5f},
          {2.5f, 2},
          {2.5f, 1},
          {2, 0.5f},
          {1, 0.5f}},
         true},
    };
    for (const auto& c : cases) {
        (this->*c.Make)();
        std::vector<std::vector<std::pair<float, float>>> lines;
        std::vector<bool> closed;
        EXPECT_EQ(TraceContours(ws.TheSurface, 0.5,
                                [&](const std::vector<TracePoint>& points, bool isClosed) {
                                    lines.emplace_back();
                                    for (const TracePoint& p : points)
                                        lines.back().emplace_back(p.X, p.Y);
                                    closed.push_back(isClosed);
                                    return 0;
                                }),
                  0);
        ASSERT_EQ(lines.size(), 1u) << c.Name;
        EXPECT_EQ(lines[0], c.Points) << c.Name;
        EXPECT_EQ(closed[0], c.Closed) << c.Name;
    }
}

uint32_t Le(const std::string& b, size_t at, int n) {
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i)
        v = v << 8 | static_cast<uint8_t>(b[at + static_cast<size_t>(i)]);
    return v;
}

TEST_F(Contours, Cc2EntityOfTheBump) {
    Bump();
    for (const int32_t smoothing : {0, 1}) {
        Cc2Options options;
        options.LowerRightX = 8; // x' = 2x, y' = -y
        options.LowerRightY = -4;
        options.Levels = Half;
        options.Smoothing = smoothing;
        const std::string path = dir.File("c.fcw");
        ASSERT_EQ(WriteCc2File(path, ws.TheSurface, options, ws.TheProgress), 0);
        const std::string b = test::ReadFileText(path);
        ASSERT_EQ(b.size(), Cc2HeaderBytes + 38 + 8 * 9);
        EXPECT_EQ(b.substr(0, 47), "FCW (FastCAD for Windows) 5.14 drawing file.\r\n\x1A");
        const size_t e = Cc2HeaderBytes;
        EXPECT_EQ(Le(b, e, 4), 110u);
        EXPECT_EQ(Le(b, e + 4, 1), 3u);
        EXPECT_EQ(Le(b, e + 6, 1), 64u);
        EXPECT_EQ(Le(b, e + 8, 2), 4u);
        EXPECT_EQ(Le(b, e + 20, 4), 6827u);
        EXPECT_EQ(Le(b, e + 24, 1), static_cast<uint32_t>(smoothing));
        EXPECT_EQ(Le(b, e + 25, 1), 8u);
        EXPECT_EQ(Le(b, e + 30, 4), 0x41000000u); // 8.0f
        EXPECT_EQ(Le(b, e + 34, 2), smoothing ? 8u : 9u);
        EXPECT_EQ(Le(b, e + 38, 4), 0x40000000u); // x' of (1, 0.5): 2.0f
        EXPECT_EQ(Le(b, e + 42, 4), 0xBF000000u); // y': -0.5f
    }
}

TEST_F(Contours, FailedExportsKeepTheOldFile) {
    Grid(std::vector<std::vector<float>>(64, std::vector<float>(64, 0.0f)));
    for (int32_t y = 0; y < 64; ++y)
        for (int32_t x = 0; x < 64; ++x)
            ws.TheSurface.Rows[y][x] = static_cast<float>((x * 7 + y * 13) % 17);
    ws.TheSurface.FindMinMax(ws.TheSurface.Min, ws.TheSurface.Max, ws.TheProgress);
    const ContourLevels levels{0.5, 1.0, 16};
    const auto dxf = [&](const std::string& path, std::string* reason) {
        int64_t lines = 0;
        return WriteDxfContourFile(path, ws.TheSurface, {levels, false, true}, ws.TheProgress,
                                   lines, reason);
    };
    const auto cc2 = [&](const std::string& path, std::string* reason) {
        Cc2Options options;
        options.Levels = levels;
        return WriteCc2File(path, ws.TheSurface, options, ws.TheProgress, reason);
    };
    const struct {
        const char* Name;
        std::function<int32_t(const std::string&, std::string*)> Write;
        int32_t CannotCreate, Cancelled, Failed;
    } cases[] = {
        {"DXF", dxf, DxfContourRawFailed, DxfContourCancelled, DxfContourWriteFailed},
        {"CC2", cc2, Cc2CannotCreate, Cc2Cancelled, Cc2WriteFailed},
    };
    for (const auto& c : cases) {
        std::string reason;
        EXPECT_EQ(c.Write(dir.File("no/such/folder/x"), &reason), c.CannotCreate) << c.Name;
        EXPECT_TRUE(reason.ends_with("No such file or directory")) << c.Name << reason;
        const test::FailedWriteCodes codes = test::TryFailedWrites(
            host, ws.TheProgress, dir, c.Name,
            [&](const std::string& path) { return c.Write(path, nullptr); }, 2);
        EXPECT_EQ(codes.Cancelled, c.Cancelled) << c.Name;
        // A full disk may stop the raw file of the DXF export before the DXF itself.
        EXPECT_TRUE(codes.DiskFull == c.Failed || codes.DiskFull == DxfContourRawFailed)
            << c.Name << " " << codes.DiskFull;
    }
}

} // namespace
} // namespace korvel
