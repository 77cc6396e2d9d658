#include "formats/usgs_dem.h"

#include "core/workspace.h"
#include "support/elevation_files.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvel {
namespace {

int32_t Read(const std::string& file, Workspace& ws, std::string* reason = nullptr) {
    return ReadUsgsDemBuffer(reinterpret_cast<const uint8_t*>(file.data()), file.size(), ws,
                             "q.dem", reason);
}

TEST(UsgsDem, ReadsProfilesIntoColumnsSouthFirst) {
    const struct {
        const char* Name;
        double Res;
        int32_t Columns, Rows;
        int32_t Width, Height; // worked out from the corners and resolution
    } cases[] = {
        // (120 / 30) + 1 = 5 profiles, cut to 4 columns; 4 rows.
        {"30 arc-seconds", 30.0, 5, 4, 4, 4},
        // At 3 arc-seconds the post on the far edge is dropped: (36 - 2) / 3 + 1 = 12.
        {"3 arc-seconds", 3.0, 13, 13, 12, 12},
        // 200 elevations: 146 in the first record of a profile, 54 in the next.
        {"profiles over two records", 30.0, 4, 200, 4, 200},
    };
    for (const auto& c : cases) {
        test::DemLayout layout;
        layout.Res = c.Res;
        layout.Columns = c.Columns;
        layout.Rows = c.Rows;
        layout.Min = -5;
        layout.Max = 1234;
        test::RecordingHost host;
        Workspace ws{host};
        ASSERT_EQ(Read(test::DemFile(layout), ws), 0) << c.Name;
        const Surface& s = ws.TheSurface;
        ASSERT_EQ(s.XSize, c.Width) << c.Name;
        ASSERT_EQ(s.YSize, c.Height) << c.Name;
        for (int32_t y = 0; y < s.YSize; ++y)
            for (int32_t x = 0; x < s.XSize; ++x)
                ASSERT_EQ(s.Rows[y][x], 100 * x + y) << c.Name << " at " << x << "," << y;
        EXPECT_DOUBLE_EQ(s.Left, -120.0) << c.Name;
        EXPECT_DOUBLE_EQ(s.Bottom, 45.0) << c.Name;
        EXPECT_DOUBLE_EQ(s.Right, -120.0 + (c.Columns - 1) * c.Res / 3600) << c.Name;
        EXPECT_DOUBLE_EQ(s.Top, 45.0 + (c.Rows - 1) * c.Res / 3600) << c.Name;
        EXPECT_DOUBLE_EQ(s.XRes, c.Res / 3600) << c.Name;
        EXPECT_DOUBLE_EQ(s.YRes, c.Res / 3600) << c.Name;
        // The record's extremes, not the samples'.
        EXPECT_EQ(s.Min, -5) << c.Name;
        EXPECT_EQ(s.Max, 1234) << c.Name;
    }
}

TEST(UsgsDem, HeaderFieldsAreReadByTheirColumns) {
    test::DemLayout layout;
    const std::string file = test::DemFile(layout);
    // The three resolutions touch: "3.000000D+01" twice and "1.000000D+00".
    ASSERT_EQ(file.substr(816, 36), "3.000000D+013.000000D+011.000000D+00");
    DemHeader h;
    ASSERT_EQ(ReadDemHeader(reinterpret_cast<const uint8_t*>(file.data()), file.size(), h), 0);
    EXPECT_EQ(h.MapLabel, "TEST QUAD");
    EXPECT_EQ(h.PlaneUnits, 3);
    EXPECT_EQ(h.Profiles, 5);
    EXPECT_DOUBLE_EQ(h.Corners[2][0], -120 * 3600.0 + 120);
    const std::string report = DescribeDemHeader(h);
    EXPECT_NE(report.find("Map label: TEST QUAD\r\n"), std::string::npos);
    EXPECT_NE(report.find("Spatial Resolution:        30.00000,        30.00000,         "
                          "1.00000 \r\n"),
              std::string::npos);
    EXPECT_NE(report.find("map size is 1x 5\r\n"), std::string::npos);
}

TEST(UsgsDem, FileEndingWithinTheProfilesStopsCleanly) {
    test::DemLayout layout;
    layout.Columns = 5;
    std::string file = test::DemFile(layout);
    file.resize(1024 * 3 + 100); // two whole profiles, then part of a header
    test::RecordingHost host;
    Workspace ws{host};
    ASSERT_EQ(Read(file, ws), 0);
    const Surface& s = ws.TheSurface;
    ASSERT_EQ(s.XSize, 4);
    EXPECT_EQ(s.Rows[3][1], 103);
    EXPECT_EQ(s.Rows[0][2], -32767);
    EXPECT_EQ(s.Rows[3][3], -32767);
    EXPECT_EQ(ws.FileNotes,
              std::vector<std::string>(
                  {"q.dem: the file ends after 2 of 4 profiles; the rest read as -32767",
                   "q.dem: width 5 cut to 4: the editor's widths are multiples of 4"}));
}

TEST(UsgsDem, HostileFilesAreRefusedAndChangeNothing) {
    const std::string good = test::DemFile(test::DemLayout{});
    auto patched = [&](size_t at, const std::string& text) {
        std::string file = good;
        file.replace(at, text.size(), text);
        return file;
    };
    const struct {
        const char* Name;
        std::string File;
        int32_t Code;
        const char* Reason;
    } cases[] = {
        {"shorter than a record", good.substr(0, 1000), DemShort,
         "USGS DEM: the file is shorter than its header promises (1,000 of 1,024 bytes)"},
        {"zero resolution", patched(816, test::DemReal(0.0, 12)), DemBadResolution,
         "USGS DEM: the spatial resolution is not a positive number (0, 30)"},
        {"negative resolution", patched(828, "-3.00000D+01"), DemBadResolution,
         "USGS DEM: the spatial resolution is not a positive number (30, -30)"},
        {"corner not finite", patched(546, "                     NaN"), DemBadCorners,
         "USGS DEM: a corner coordinate is not a finite number (nan, 162000)"},
        {"letters for the profile count", patched(858, "  five"), DemBadField,
         "USGS DEM: a field of the type A record is not a number (number of profiles)"},
        {"a height of a billion rows", patched(618, test::DemReal(45 * 3600.0 + 3e10)), DemBadSize,
         "USGS DEM: the grid has a size the Surface cannot take (5 x 1000000001)"},
        {"a height beyond any integer", patched(618, test::DemReal(1e300)), DemBadSize,
         "USGS DEM: the grid has a size the Surface cannot take (5 x 3.333333333e+298)"},
        {"more rows than the file holds", patched(618, test::DemReal(45 * 3600.0 + 30 * 9999)),
         DemShort,
         "USGS DEM: the file is shorter than its header promises (5 x 10000 needs at least "
         "6,144 of 151,024 bytes)"},
    };
    for (const auto& c : cases)
        test::ExpectRefusedUntouched(c.Name, c.Code, c.Reason, [&](Workspace& ws, std::string* r) {
            return Read(c.File, ws, r);
        });
}

} // namespace
} // namespace korvel
