// Writing heights at the 2^n + 1 sizes game engines take.
#include "formats/height_raster.h"
#include "formats/png_heights.h"
#include "formats/raw_heights.h"
#include "formats/world_file.h"

#include "core/workspace.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>

namespace korvel {
namespace {

TEST(EngineSize, SideIsTheSmallestTwoToTheNPlusOneThatHoldsIt) {
    const int32_t cases[][2] = {{1, 2},       {2, 2},       {3, 3},          {4, 5},
                                {5, 5},       {6, 9},       {1024, 1025},    {1025, 1025},
                                {1026, 2049}, {4096, 4097}, {149996, 262145}};
    for (const auto& [side, engine] : cases)
        EXPECT_EQ(EngineSide(side), engine) << side;
}

// A 4 x 2 Surface of one degree cells from 10 E, 50 N: north row 1 2 3 4, south row 5 6 7 8.
void FillSmall(Surface& s) {
    ASSERT_EQ(s.Resize(4, 2, 0), 0);
    const float south[] = {5, 6, 7, 8}, north[] = {1, 2, 3, 4};
    std::copy(south, south + 4, s.Rows[0]);
    std::copy(north, north + 4, s.Rows[1]);
    s.SetEdges(10, 14, 50, 48);
    s.Min = 1, s.Max = 8;
}

std::vector<std::vector<float>> AllRows(StoredGrid& grid, bool southFirst) {
    std::vector<std::vector<float>> rows;
    for (int32_t r = 0; r < grid.Height; ++r)
        rows.emplace_back(grid.Row(r, southFirst), grid.Row(r, southFirst) + grid.Width);
    return rows;
}

TEST(EngineSize, StoredGridsByMode) {
    using Rows = std::vector<std::vector<float>>;
    // Resampled to 5 x 5: columns at 0, 0.75, 1.5, 2.25, 3 and rows (from north) at 0, 0.25,
    // 0.5, 0.75, 1 of the Surface's; the north row 1 2 3 4 stretches to 1 1.75 2.5 3.25 4 and
    // each row below adds 4 x 0.25.
    const Rows resampled = {{1, 1.75f, 2.5f, 3.25f, 4},
                            {2, 2.75f, 3.5f, 4.25f, 5},
                            {3, 3.75f, 4.5f, 5.25f, 6},
                            {4, 4.75f, 5.5f, 6.25f, 7},
                            {5, 5.75f, 6.5f, 7.25f, 8}};
    const struct {
        const char* Name;
        int32_t Mode;
        bool SouthFirst;
        Rows Expected;
        double Left, Top, CellWidth, CellHeight;
    } cases[] = {
        {"as is", EngineSizeAsIs, false, {{1, 2, 3, 4}, {5, 6, 7, 8}}, 10, 50, 1, 1},
        {"as is, south first", EngineSizeAsIs, true, {{5, 6, 7, 8}, {1, 2, 3, 4}}, 10, 50, 1, 1},
        {"extended",
         EngineSizeExtended,
         false,
         {{1, 2, 3, 4, 4}, {5, 6, 7, 8, 8}, {5, 6, 7, 8, 8}, {5, 6, 7, 8, 8}, {5, 6, 7, 8, 8}},
         10,
         50,
         1,
         1},
        // Cells of 3/4 by 1/4 degree whose first and last centres stay at 10.5 E and 49.5 N...
        {"resampled", EngineSizeResampled, false, resampled, 10.125, 49.625, 0.75, 0.25},
        {"resampled, south first", EngineSizeResampled, true,
         Rows(resampled.rbegin(), resampled.rend()), 10.125, 49.625, 0.75, 0.25},
    };
    for (const auto& c : cases) {
        test::RecordingHost host;
        Workspace ws{host};
        FillSmall(ws.TheSurface);
        StoredGrid grid(ws.TheSurface, c.Mode);
        EXPECT_EQ(AllRows(grid, c.SouthFirst), c.Expected) << c.Name;
        EXPECT_DOUBLE_EQ(grid.Left, c.Left) << c.Name;
        EXPECT_DOUBLE_EQ(grid.Top, c.Top) << c.Name;
        EXPECT_DOUBLE_EQ(grid.CellWidth, c.CellWidth) << c.Name;
        EXPECT_DOUBLE_EQ(grid.CellHeight, c.CellHeight) << c.Name;
    }
}

TEST(EngineSize, ResamplingKeepsCornersExactAndNeverReadsAcrossANoDataNeighbourAtWeightZero) {
    test::RecordingHost host;
    Workspace ws{host};
    FillSmall(ws.TheSurface);
    ws.TheSurface.Rows[0][1] = std::nanf("");
    StoredGrid grid(ws.TheSurface, EngineSizeResampled);
    const auto rows = AllRows(grid, false);
    // Column 0 and the north row lie exactly on samples beside the NaN, not across it.
    EXPECT_EQ(rows[4][0], 5.0f);
    EXPECT_EQ(rows[0][1], 1.75f);
    EXPECT_TRUE(std::isnan(rows[4][1]));
    EXPECT_EQ(rows[4][4], 8.0f);
}

TEST(EngineSize, WritersStoreTheEngineGridAndSaySo) {
    test::RecordingHost host;
    Workspace ws{host};
    test::TempDir dir;
    FillSmall(ws.TheSurface);
    ws.Raw.EngineSize = EngineSizeExtended;
    ASSERT_EQ(WriteRawFile(dir.File("e.r32"), 4, ws), 0);
    const auto bytes = test::ReadFileBytes(dir.File("e.r32"));
    ASSERT_EQ(bytes.size(), 5u * 5 * 4);
    // The last sample of the first row repeats 4, the last row repeats the southern one.
    float first[5], last[5];
    std::memcpy(first, bytes.data(), sizeof first);
    std::memcpy(last, bytes.data() + 4 * 5 * 4, sizeof last);
    EXPECT_EQ(std::vector<float>(first, first + 5), (std::vector<float>{1, 2, 3, 4, 4}));
    EXPECT_EQ(std::vector<float>(last, last + 5), (std::vector<float>{5, 6, 7, 8, 8}));
    EXPECT_EQ(ws.FileNotes,
              std::vector<std::string>{"e.r32: written as 5 x 5, edge-extended from 4 x 2"});

    // The PNG's world file places the resampled cells: 0.75 degrees wide, the first centre at
    // 10.5 E, 49.5 N as before.
    ws.RasterSave.EngineSize = EngineSizeResampled;
    ws.FileNotes.clear();
    ASSERT_EQ(WritePngFile(dir.File("e.png"), ws), 0);
    EXPECT_EQ(test::ReadFileText(dir.File("e.pgw")), "0.75\n0\n0\n-0.25\n10.5\n49.5\n");
    ASSERT_EQ(ws.FileNotes.size(), 2u);
    EXPECT_EQ(ws.FileNotes[0], "e.png: written as 5 x 5, resampled from 4 x 2");
}

} // namespace
} // namespace korvel
