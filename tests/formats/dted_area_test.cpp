#include "formats/dted_area.h"

#include "core/workspace.h"
#include "support/elevation_files.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace korvel {
namespace {

TEST(DtedArea, CenterAndRadius) {
    const struct {
        const char* Name;
        double Lat;
        bool Correction;
        double Width, Height;
    } cases[] = {
        // 111096 m is one degree of latitude; the factor at 60 degrees is 2.
        {"latitude 60", 60.0, false, 4.0, 2.0},
        // 2 / cos(60 degrees) = 4.
        {"latitude 60, corrected", 60.0, true, 8.0, 2.0},
        {"equator", 0.0, false, 2.0, 2.0},
        {"latitude 85", -85.0, false, 12.0, 2.0},
    };
    for (const auto& c : cases) {
        const DtedArea a = DtedCircleArea(c.Lat, 10.0, 111096.0, 111096.0, c.Correction);
        EXPECT_NEAR(a.Right - a.Left, c.Width, 1e-9) << c.Name;
        EXPECT_NEAR(a.Top - a.Bottom, c.Height, 1e-12) << c.Name;
        EXPECT_NEAR((a.Left + a.Right) / 2, 10.0, 1e-12) << c.Name;
        EXPECT_NEAR((a.Top + a.Bottom) / 2, c.Lat, 1e-12) << c.Name;
    }
}

TEST(DtedArea, OncDirLabelsGiveTheCoverage) {
    const DiscCoverage c = ParseOncDir("ONC SHEET LIST\n         N45 first\n         S02\n"
                                       "    W121\n    E003\nfootnote\n");
    EXPECT_TRUE(c.Any);
    EXPECT_EQ(c.South, -2);
    EXPECT_EQ(c.North, 46);
    EXPECT_EQ(c.West, -121);
    EXPECT_EQ(c.East, 4);
    EXPECT_FALSE(ParseOncDir("nothing here\n").Any);
}

// A disc under dir holding the cells of the given longitudes at latitude 45, in lower case.
// Posts 0.25 degrees apart; post (line, point) = base + 100 line + 10 point.
void MakeDisc(const test::TempDir& dir, std::initializer_list<int32_t> westLongitudes) {
    namespace fs = std::filesystem;
    fs::create_directories(dir.Root() / "text");
    std::ofstream onc(dir.Root() / "text" / "onc.dir");
    onc << "         N45\n";
    for (const int32_t lon : westLongitudes) {
        onc << "    W" << lon << "\n";
        const fs::path folder = dir.Root() / "dted" / ("w" + std::to_string(lon));
        fs::create_directories(folder);
        char origin[16];
        std::snprintf(origin, sizeof origin, "%03d0000W", lon);
        const int32_t base = -lon * 10;
        const test::Bytes cell =
            test::DtedFile(origin, "0450000N", 5, 5, 9000, [base](int32_t line, int32_t point) {
                return base + 100 * line + 10 * point;
            });
        std::ofstream(folder / "n45.dt1", std::ios::binary)
            .write(reinterpret_cast<const char*>(cell.data()), std::streamsize(cell.size()));
    }
}

// 4 x 3 samples over the cells W121 and W120 at latitude 45.
DtedArea TwoCellArea() {
    DtedArea area;
    area.Left = -120.75;
    area.Right = -119.25;
    area.Top = 45.75;
    area.Bottom = 45.25;
    area.Width = 4;
    area.Height = 3;
    return area;
}

TEST(DtedArea, FillsFromTheCellsAndAsksForMissingCorners) {
    const DtedArea area = TwoCellArea();
    const struct {
        const char* Name;
        std::initializer_list<int32_t> Cells;
        size_t Questions;
    } cases[] = {
        // The eastern corners are missing: the same disc is "mounted" again, fills nothing new,
        // and the import stops there.
        {"one of two cells", {121}, 1},
        {"both cells", {121, 120}, 0},
    };
    for (const auto& c : cases) {
        test::TempDir dir;
        MakeDisc(dir, c.Cells);
        test::RecordingHost host;
        Workspace ws{host};
        ASSERT_EQ(ImportDtedArea(dir.Root().string(), area, ws), 1) << c.Name;
        const Surface& s = ws.TheSurface;
        ASSERT_EQ(s.XSize, 4);
        ASSERT_EQ(s.YSize, 3);
        EXPECT_DOUBLE_EQ(s.XRes, 0.5) << c.Name;
        EXPECT_DOUBLE_EQ(s.YRes, 0.25) << c.Name;
        EXPECT_EQ(host.Questions.size(), c.Questions) << c.Name;
        // Sample (x, y) lies at lon -120.75 + 0.5 x, lat 45.25 + 0.25 y: in cell W121 at line
        // 1 or 3, in W120 at line 1 or 3; point 1 + y.
        for (int32_t y = 0; y < 3; ++y) {
            EXPECT_FLOAT_EQ(s.Rows[y][0], float(-1210 + 100 + 10 * (1 + y))) << c.Name;
            EXPECT_FLOAT_EQ(s.Rows[y][1], float(-1210 + 300 + 10 * (1 + y))) << c.Name;
            const float east = c.Questions ? -32767.0f : float(-1200 + 100 + 10 * (1 + y));
            EXPECT_FLOAT_EQ(s.Rows[y][2], east) << c.Name;
        }
        EXPECT_EQ(ws.CurrentFile, dir.Root().string() + "/CDIMPORT.DTE") << c.Name;
        EXPECT_DOUBLE_EQ(ws.General.BaseLon, -120.0) << c.Name;
        EXPECT_DOUBLE_EQ(ws.General.BaseLat, 45.5) << c.Name;
    }
}

TEST(DtedArea, AQuestionNamesTheCornersFound) {
    test::TempDir dir;
    MakeDisc(dir, {121});
    DtedArea area = TwoCellArea();
    test::RecordingHost host;
    host.Answers = {false};
    Workspace ws{host};
    ASSERT_EQ(ImportDtedArea(dir.Root().string(), area, ws), 1);
    ASSERT_EQ(host.Questions.size(), 1u);
    EXPECT_EQ(host.Questions[0], "Not all corners have been found\nX O  X = data, O = no "
                                 "data\nX O\n\nPlease mount next CD-ROM");
    EXPECT_EQ(ws.TheSurface.Min, -1210 + 100 + 10);
    EXPECT_EQ(ws.TheSurface.Max, -1210 + 300 + 30);

    area.Left = 10;
    area.Right = 11;
    Workspace elsewhere{host};
    ASSERT_EQ(ImportDtedArea(dir.Root().string(), area, elsewhere), 1);
    EXPECT_EQ(host.Messages.back(), "Defined area not on this CD-ROM");
    Workspace noDisc{host};
    ASSERT_EQ(ImportDtedArea(dir.File("missing"), area, noDisc), 1);
    EXPECT_EQ(host.Messages.back(), "Error opening dted onc.dir text file");
}

} // namespace
} // namespace korvel
