#include "formats/terrainbase.h"

#include "core/dialog_fields.h"
#include "core/workspace.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace korvel {
namespace {

// A world grid whose post (row, column) is column - 2 * row, so that every interpolation can be
// worked out by hand; a few posts are set apart.
std::vector<uint8_t> World() {
    std::vector<uint8_t> bytes(size_t(TerrainBaseColumns) * TerrainBaseRows * 2);
    for (int32_t r = 0; r < TerrainBaseRows; ++r)
        for (int32_t c = 0; c < TerrainBaseColumns; ++c) {
            const auto v = uint16_t(int16_t((c % 1000) - 2 * (r % 1000)));
            const size_t at = (size_t(r) * TerrainBaseColumns + c) * 2;
            bytes[at] = uint8_t(v);
            bytes[at + 1] = uint8_t(v >> 8);
        }
    return bytes;
}

TEST(TerrainBase, ValuesBetweenPosts) {
    const std::vector<uint8_t> world = World();
    const struct {
        const char* Name;
        double Lat, Lon, Expected;
    } cases[] = {
        // Row (90 - 45) * 12 = 540, column (10 + 180) * 12 = 2280: 280 - 1080.
        {"on a post", 45.0, 10.0, 280 - 1080},
        // A quarter of a post east and half a post south: 280.25 - 2 * 540.5.
        {"between posts", 45.0 - 0.5 / 12, 10.0 + 0.25 / 12, 280.25 - 1081},
        // Longitude 190 wraps to -170: column 120.
        {"east of 180", 45.0, 190.0, 120 - 1080},
        {"west of -180", 45.0, -190.0, (4200 % 1000) - 1080},
        // The last column's neighbour is column 0: 319 - 1080 and 0 - 1080, halfway.
        {"across the date line", 45.0, 180.0 - 0.5 / 12, 0.5 * (319 + 0) - 1080},
        // Row 2159 is the last; no wrap to the north pole's row.
        {"south pole", -90.0, 10.0, 280 - 2 * 159},
        {"north pole", 90.0, 10.0, 280},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(TerrainBaseAt(world.data(), c.Lat, c.Lon), c.Expected, 1e-9) << c.Name;
}

TEST(TerrainBase, FillReplacesOnlyTheSelectedSamples) {
    const std::vector<uint8_t> world = World();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        const char* Name;
        int32_t Mode;
        double Value1, Value2;
        std::vector<bool> Replaced; // of the samples -5, 0, 3, 7, 12, NaN
    } cases[] = {
        {"below 0", BackfillBelow, 0, 0, {true, true, false, false, false, true}},
        {"above 7", BackfillAbove, 7, 0, {false, false, false, true, true, true}},
        {"between 0 and 7", BackfillBetween, 0, 7, {false, true, true, true, false, true}},
    };
    const float samples[] = {-5, 0, 3, 7, 12, nan};
    for (const auto& c : cases) {
        test::RecordingHost host;
        Workspace ws{host};
        Surface& s = ws.TheSurface;
        ASSERT_EQ(s.Resize(8, 2, 0), 0);
        // Sample x of row y lies at longitude 10 + x / 8, latitude 45 + y / 24.
        s.SetEdges(10.0, 11.0, 45.0 + 2.0 / 24, 45.0);
        for (int32_t x = 0; x < 6; ++x)
            s.Rows[0][x] = samples[x];
        BackfillFields fill;
        fill.Mode = c.Mode;
        fill.Value1 = c.Value1;
        fill.Value2 = c.Value2;
        ASSERT_EQ(TerrainBaseFillBuffer(world.data(), world.size(), fill, ws), 0) << c.Name;
        for (int32_t x = 0; x < 6; ++x) {
            // Column (190 + x / 8) * 12 = 2280 + 1.5 x, row 540.
            const double grid = 280 + 1.5 * x - 1080;
            if (c.Replaced[x])
                EXPECT_NEAR(s.Rows[0][x], grid, 1e-4) << c.Name << " " << x;
            else
                EXPECT_EQ(s.Rows[0][x], samples[x]) << c.Name << " " << x;
        }
    }
}

TEST(TerrainBase, ClipsAndRefusesAFileOfTheWrongSize) {
    const std::vector<uint8_t> world = World();
    test::RecordingHost host;
    Workspace ws{host};
    Surface& s = ws.TheSurface;
    ASSERT_EQ(s.Resize(4, 1, 0), 0);
    s.SetEdges(10.0, 10.75, 45.0, 45.0);
    BackfillFields fill;
    fill.ClipLow = -799;
    ASSERT_EQ(TerrainBaseFillBuffer(world.data(), world.size(), fill, ws), 0);
    EXPECT_EQ(s.Rows[0][0], -799); // -800 clipped
    EXPECT_EQ(s.Min, -799);

    s.Rows[0][0] = -1;
    std::string reason;
    EXPECT_EQ(TerrainBaseFillBuffer(world.data(), world.size() - 2, fill, ws, &reason),
              TerrainBaseBadLength);
    EXPECT_EQ(reason, "TerrainBase file is not 4320 x 2160 16-bit samples (18,662,400 bytes) "
                      "(18,662,398 bytes)");
    EXPECT_EQ(s.Rows[0][0], -1);

    test::TempDir dir;
    EXPECT_EQ(TerrainBaseFill(dir.File("none.bin"), fill, ws, &reason), TerrainBaseCannotOpen);
    EXPECT_EQ(reason, "Can't open Terrainbase file " + dir.File("none.bin") +
                          ": No such file or directory");
}

} // namespace
} // namespace korvel
