#include "formats/hgt.h"

#include "core/workspace.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace korvel {
namespace {

TEST(Hgt, CornerFromTheName) {
    const struct {
        const char* Path;
        bool Ok;
        int32_t Latitude, Longitude;
    } cases[] = {
        {"N45W120.hgt", true, 45, -120}, {"tiles/s03e007.HGT", true, -3, 7},
        {"S90E180.hgt", true, -90, 180}, {"N91E000.hgt", false, 0, 0},
        {"X45W120.hgt", false, 0, 0},    {"N4W120.hgt", false, 0, 0},
        {"N45W12.hgt", false, 0, 0},     {"N45W181.hgt", false, 0, 0},
        {"N45W120/x.hgt", false, 0, 0},
    };
    for (const auto& c : cases) {
        int32_t lat = 0;
        int32_t lon = 0;
        EXPECT_EQ(HgtCornerFromName(c.Path, lat, lon), c.Ok) << c.Path;
        if (c.Ok) {
            EXPECT_EQ(lat, c.Latitude) << c.Path;
            EXPECT_EQ(lon, c.Longitude) << c.Path;
        }
    }
}

TEST(Hgt, ReadsBigEndianTileWithVoids) {
    constexpr int32_t side = 1201;
    std::vector<uint8_t> bytes(size_t(side) * side * 2, 0);
    const auto put = [&](int32_t row, int32_t column, int16_t value) {
        const size_t at = (size_t(row) * side + column) * 2;
        bytes[at] = static_cast<uint8_t>(uint16_t(value) >> 8);
        bytes[at + 1] = static_cast<uint8_t>(value);
    };
    put(0, 0, 1234);       // north-west
    put(1200, 0, -417);    // south-west, the Dead Sea shore
    put(1200, 1199, 8848); // the last column kept
    put(600, 600, -32768); // a void
    test::RecordingHost host;
    Workspace ws{host};
    ASSERT_EQ(ReadHgtBuffer(bytes.data(), bytes.size(), ws, "N45W120.hgt"), 0);
    const Surface& s = ws.TheSurface;
    ASSERT_EQ(s.XSize, 1200);
    ASSERT_EQ(s.YSize, 1201);
    EXPECT_EQ(s.Rows[1200][0], 1234);
    EXPECT_EQ(s.Rows[0][0], -417);
    EXPECT_EQ(s.Rows[0][1199], 8848);
    EXPECT_TRUE(std::isnan(s.Rows[600][600]));
    EXPECT_EQ(s.Min, -417);
    EXPECT_EQ(s.Max, 8848);
    // Samples on whole degrees, cells of 3 arc-seconds around them.
    const double half = 1.5 / 3600;
    EXPECT_DOUBLE_EQ(s.Left, -120 - half);
    EXPECT_DOUBLE_EQ(s.Top, 46 + half);
    EXPECT_DOUBLE_EQ(s.Bottom, 45 - half);
    EXPECT_DOUBLE_EQ(s.Right, -120 - half + 1200 * 3.0 / 3600);
    EXPECT_EQ(ws.FileNotes,
              std::vector<std::string>(
                  {"N45W120.hgt: width 1201 cut to 1200: the editor's widths are multiples of 4",
                   "N45W120.hgt: 1 no-data samples, read as NaN"}));
}

TEST(Hgt, RefusalsSayWhyAndChangeNothing) {
    const std::vector<uint8_t> bytes(1201 * 1201 * 2, 0);
    const struct {
        const char* Name;
        const char* Path;
        size_t Size;
        int32_t Code;
        const char* Reason;
    } cases[] = {
        {"no corner", "tile.hgt", bytes.size(), HgtBadName, "(\"tile.hgt\")"},
        {"short", "N45W120.hgt", bytes.size() - 1, HgtBadLength, "(2,884,801 bytes)"},
        {"empty", "N45W120.hgt", 0, HgtBadLength, "(0 bytes)"},
    };
    for (const auto& c : cases) {
        test::RecordingHost host;
        Workspace ws{host};
        ASSERT_EQ(ws.TheSurface.Resize(8, 8, 0), 0);
        std::string reason;
        EXPECT_EQ(ReadHgtBuffer(bytes.data(), c.Size, ws, c.Path, &reason), c.Code) << c.Name;
        EXPECT_NE(reason.find(c.Reason), std::string::npos) << c.Name << ": " << reason;
        EXPECT_EQ(ws.TheSurface.XSize, 8) << c.Name;
    }
}

} // namespace
} // namespace korvel
