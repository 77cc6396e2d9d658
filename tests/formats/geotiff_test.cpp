#include "formats/geotiff.h"

#include "core/workspace.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace korvel {
namespace {

class GeoTiffTest : public ::testing::Test {
protected:
    void SetUp() override {
        Surface& s = ws.TheSurface;
        ASSERT_EQ(s.Resize(8, 6, 0), 0);
        for (int32_t y = 0; y < 6; ++y)
            for (int32_t x = 0; x < 8; ++x)
                s.Rows[y][x] = 0.25f * float(x) + 4.0f * float(y) - 20.25f;
        s.Rows[5][0] = NAN;
        s.Left = 7.5, s.Right = 9.5, s.Top = 46.25, s.Bottom = 44.75; // cells of 0.25
        s.Min = -20.25, s.Max = 1.5;
    }
    std::vector<uint8_t> Written(int32_t dataType) {
        ws.RasterSave.TiffDataType = dataType;
        ws.FileNotes.clear();
        const std::string path = dir.File("h.tif");
        EXPECT_EQ(WriteGeoTiffFile(path, ws), 0);
        return test::ReadFileBytes(path);
    }
    test::RecordingHost host;
    Workspace ws{host};
    test::TempDir dir;
};

// Replaces the first run of from in bytes by to (same length); false when there is none.
bool Patch(std::vector<uint8_t>& bytes, const std::vector<uint8_t>& from,
           const std::vector<uint8_t>& to) {
    const auto at = std::search(bytes.begin(), bytes.end(), from.begin(), from.end());
    if (at == bytes.end())
        return false;
    std::copy(to.begin(), to.end(), at);
    return true;
}

TEST_F(GeoTiffTest, Float32RoundTripIsBitForBit) {
    const std::vector<uint8_t> file = Written(0);
    EXPECT_TRUE(ws.FileNotes.empty());
    Workspace back{host};
    ASSERT_EQ(ReadGeoTiffBuffer(file.data(), file.size(), back, "h.tif"), 0);
    const Surface& s = ws.TheSurface;
    const Surface& b = back.TheSurface;
    ASSERT_EQ(b.XSize, 8);
    ASSERT_EQ(b.YSize, 6);
    for (int32_t y = 0; y < 6; ++y)
        for (int32_t x = 0; x < 8; ++x)
            EXPECT_EQ(std::bit_cast<uint32_t>(b.Rows[y][x]), std::bit_cast<uint32_t>(s.Rows[y][x]))
                << x << "," << y;
    EXPECT_EQ(b.Left, 7.5);
    EXPECT_EQ(b.Right, 9.5);
    EXPECT_EQ(b.Top, 46.25);
    EXPECT_EQ(b.Bottom, 44.75);
    EXPECT_EQ(back.FileNotes, std::vector<std::string>({"h.tif: 1 no-data samples, read as NaN"}));
}

TEST_F(GeoTiffTest, IntegersRoundToWholeUnitsWithNoData) {
    const struct {
        const char* Name;
        int32_t DataType;
        const char* Note;
        float Lowest; // what -20.25 comes back as
    } cases[] = {
        // Heights on quarters: -19.5 is the worst, half a unit from -20 and -19.
        {"Int16", 1, "h.tif: 16-bit, step 1 m, worst error 0.5 m, 0 clipped", -20},
        // Below -0.5 cannot be stored: the five southern rows are clipped to 0.
        {"UInt16", 2, "h.tif: 16-bit, step 1 m, worst error 0.5 m, 40 clipped", 0},
    };
    for (const auto& c : cases) {
        const std::vector<uint8_t> file = Written(c.DataType);
        EXPECT_EQ(ws.FileNotes, std::vector<std::string>({c.Note})) << c.Name;
        Workspace back{host};
        ASSERT_EQ(ReadGeoTiffBuffer(file.data(), file.size(), back, "h.tif"), 0) << c.Name;
        const Surface& s = ws.TheSurface;
        const Surface& b = back.TheSurface;
        EXPECT_TRUE(std::isnan(b.Rows[5][0])) << c.Name;
        EXPECT_EQ(b.Rows[0][0], c.Lowest) << c.Name;
        for (int32_t y = 0; y < 6; ++y)
            for (int32_t x = 0; x < 8; ++x)
                if (s.Rows[y][x] >= 0) {
                    EXPECT_NEAR(b.Rows[y][x], s.Rows[y][x], 0.5) << c.Name << " " << x << "," << y;
                }
    }
}

TEST_F(GeoTiffTest, PixelIsPointAndProjectedFiles) {
    std::vector<uint8_t> file = Written(0);
    // GeoKey entries (key, location, count, value), little-endian: raster type 1025 from area
    // (1) to point (2), model type 1024 from geographic (2) to projected (1).
    ASSERT_TRUE(Patch(file, {1, 4, 0, 0, 1, 0, 1, 0}, {1, 4, 0, 0, 1, 0, 2, 0}));
    Workspace point{host};
    ASSERT_EQ(ReadGeoTiffBuffer(file.data(), file.size(), point, "p.tif"), 0);
    // The tie point is now the centre of the north-western cell.
    EXPECT_DOUBLE_EQ(point.TheSurface.Left, 7.375);
    EXPECT_DOUBLE_EQ(point.TheSurface.Top, 46.375);
    EXPECT_DOUBLE_EQ(point.TheSurface.Right, 9.375);
    EXPECT_DOUBLE_EQ(point.TheSurface.Bottom, 44.875);

    ASSERT_TRUE(Patch(file, {0, 4, 0, 0, 1, 0, 2, 0}, {0, 4, 0, 0, 1, 0, 1, 0}));
    Workspace projected{host};
    ASSERT_EQ(ReadGeoTiffBuffer(file.data(), file.size(), projected, "p.tif"), 0);
    EXPECT_EQ(projected.FileNotes.front(),
              "p.tif: projected (EPSG 0): the edges are its plane coordinates, not longitude "
              "and latitude");
}

TEST_F(GeoTiffTest, RefusalsSayWhyAndChangeNothing) {
    const std::vector<uint8_t> good = Written(0);
    std::vector<uint8_t> huge = good;
    // ImageWidth (256) and ImageLength (257) as SHORT entries: 8 x 6 becomes 32767 x 32767.
    ASSERT_TRUE(Patch(huge, {0, 1, 3, 0, 1, 0, 0, 0, 8, 0}, {0, 1, 3, 0, 1, 0, 0, 0, 0xff, 0x7f}));
    ASSERT_TRUE(Patch(huge, {1, 1, 3, 0, 1, 0, 0, 0, 6, 0}, {1, 1, 3, 0, 1, 0, 0, 0, 0xff, 0x7f}));
    std::vector<uint8_t> narrow = good;
    ASSERT_TRUE(Patch(narrow, {0, 1, 3, 0, 1, 0, 0, 0, 8, 0}, {0, 1, 3, 0, 1, 0, 0, 0, 3, 0}));
    std::vector<uint8_t> rgb = good;
    // SamplesPerPixel (277) 1 to 3.
    ASSERT_TRUE(Patch(rgb, {0x15, 1, 3, 0, 1, 0, 0, 0, 1, 0}, {0x15, 1, 3, 0, 1, 0, 0, 0, 3, 0}));
    const std::string garbage = "GIF89a and then some";
    const struct {
        const char* Name;
        std::vector<uint8_t> Bytes;
        int32_t Code;
        const char* Reason;
    } cases[] = {
        {"not a TIFF", {garbage.begin(), garbage.end()}, GeoTiffNotTiff, "not a TIFF file"},
        {"empty", {}, GeoTiffNotTiff, "not a TIFF file"},
        {"huge size", huge, GeoTiffTruncated, "(32767 x 32767 from "},
        {"narrow", narrow, GeoTiffBadSize, "(3 x 6)"},
        {"three bands", rgb, GeoTiffUnsupported, "(3 bands of 32-bit samples of format 3)"},
        {"strips cut off", {good.begin(), good.begin() + 100}, GeoTiffNotTiff, "not a TIFF"},
    };
    for (const auto& c : cases) {
        Workspace other{host};
        ASSERT_EQ(other.TheSurface.Resize(12, 12, 0), 0);
        std::string reason;
        EXPECT_EQ(ReadGeoTiffBuffer(c.Bytes.data(), c.Bytes.size(), other, "x.tif", &reason),
                  c.Code)
            << c.Name;
        EXPECT_NE(reason.find(c.Reason), std::string::npos) << c.Name << ": " << reason;
        EXPECT_EQ(other.TheSurface.XSize, 12) << c.Name;
    }
    ws.RasterSave.TiffDataType = 3;
    EXPECT_EQ(WriteGeoTiffFile(dir.File("h.tif"), ws), GeoTiffBadOptions);
    EXPECT_EQ(test::ReadFileText(dir.File("h.tif")), std::string(good.begin(), good.end()));
}

} // namespace
} // namespace korvel
