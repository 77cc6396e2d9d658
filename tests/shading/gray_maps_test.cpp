#include "shading/gray_maps.h"

#include "commands/gray_map_commands.h"
#include "core/neighbour_directions.h"
#include "core/workspace.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

namespace korvel {
namespace {

struct Bench {
    test::RecordingHost Host;
    Workspace Ws{Host};
    Surface& S = Ws.TheSurface;

    Bench(int32_t w, int32_t h, float fill, int32_t bits = 8) {
        EXPECT_EQ(S.Resize(w, h, 0), 0);
        EXPECT_EQ(S.Texture.Create(w, h, bits), 0);
        S.Texture.MarkFresh(); // as if shaded: the maps draw over it
        std::fill_n(S.Rows[0], int64_t{w} * h, fill);
    }
    Image& Picture() { return S.Texture.AsIs(); }
    uint32_t At(int32_t x, int32_t y) const { return S.Texture.AsIs().GetPixel(x, y); }
    static uint32_t Grey(uint32_t i) { return i * 0x010101u; }
};

TEST(GrayMaps, FlatSurfaceGivesOneIndexEverywhere) {
    using namespace std::placeholders;
    SlopeRange range;
    // Indices by hand for the flat normal (0, 0, 1); all but the mask are grey. Stale Min/Max
    // would give height 5 the index 251. Lit from 45 degrees: 255 sin 45; phase 255 (1.1/2pi+.5).
    // clang-format off
    const std::tuple<std::function<int32_t(Surface&, Image&, Progress&)>, float, uint32_t> cases[] = {
        {DrawHeightMap, 5, 0}, {std::bind(DrawSlopeMap, _1, _2, _3, false, std::ref(range)), 5, 255},
        {DrawPhaseMap, 5, 172}, {std::bind(DrawLightMap, _1, _2, _3, 315.0, 45.0), 5, 180},
        {DrawNeighbourMap, 5, 255}, {std::bind(DrawQuiltMap, _1, _2, _3, 2.0, 0.5), 5, 127},
        {std::bind(DrawSeaMask, _1, _2, _3, 0.0, true), 5, 0},
        {std::bind(DrawSeaMask, _1, _2, _3, 0.0, true), 0, 235}};
    // clang-format on
    for (const auto& [map, height, index] : cases) {
        Bench b(8, 5, height);
        ASSERT_EQ(map(b.S, b.Picture(), b.Ws.TheProgress), 0);
        for (int32_t i = 0; i < 40; ++i)
            ASSERT_EQ(b.At(i % 8, i / 8), index) << index << " at " << i;
        EXPECT_EQ(b.Picture().Palette[index], index == 235 ? 0xFFFFFF : Bench::Grey(index));
    }
}

TEST(GrayMaps, HeightsSpreadOverTheFullRange) {
    // Height: rows -1, 0, 1, 2 spread over 0, 85, 170, 255.
    Bench h(4, 4, 0.0f, 24);
    for (int32_t i = 0; i < 16; ++i)
        h.S.Rows[i / 4][i % 4] = static_cast<float>(i / 4 - 1);
    ASSERT_EQ(DrawHeightMap(h.S, h.Picture(), h.Ws.TheProgress), 0);
    for (int32_t y = 0; y < 4; ++y)
        EXPECT_EQ(h.At(2, y), Bench::Grey(static_cast<uint32_t>(85 * y)));
}

TEST(GrayMaps, PhaseIndicesWrapRoundTheRamp) {
    // h = x - 0.0035 y: theta = atan2(-0.0035, -1) = -pi + 0.0035, so
    // 255 ((1.1 - theta) / 2pi + 0.5) = 299.5: index 299, shown as 299 - 256 = 43.
    Bench b(4, 4, 0.0f);
    for (int32_t i = 0; i < 16; ++i)
        b.S.Rows[i / 4][i % 4] = static_cast<float>(i % 4 - 0.0035 * (i / 4));
    b.S.Min = -0.0105;
    b.S.Max = 3.0;
    ASSERT_EQ(DrawPhaseMap(b.S, b.Picture(), b.Ws.TheProgress), 0);
    EXPECT_EQ(b.At(1, 1), 43u);
}

TEST(GrayMaps, SlopeFullRange) { // flat: one slope only, both ends 90 degrees
    Bench flat(4, 3, 2.0f);
    ASSERT_EQ(RunSlopeMap(flat.Ws), 0);
    EXPECT_EQ(flat.Host.Messages.at(0),
              "Pixel value 0 is 90.00 degrees\nPixel value 255 is 90.00 degrees");
    // A slope ending in a flat shelf: the shelf must reach exactly 255, the steepest cells 0.
    Bench ramp(8, 4, 0.0f);
    for (int32_t i = 0; i < 32; ++i)
        ramp.S.Rows[i / 8][i % 8] = static_cast<float>(std::min(i % 8, 4) * 3);
    ramp.S.Max = 12.0;
    SlopeRange r;
    ASSERT_EQ(DrawSlopeMap(ramp.S, ramp.Picture(), ramp.Ws.TheProgress, true, r), 0);
    EXPECT_EQ(std::pair(ramp.At(7, 2), ramp.At(2, 2)), std::pair(255u, 0u));
}

TEST(GrayMaps, NeighbourDirectionsPickTheHighestFirstInOrder) {
    // Rows bottom-up as stored. The ties between the two 5s keep the earlier code.
    const float grid[16] = {0, 0, 0, 0, 0, 5, 1, 0, 0, 0, 0, 5, 0, 0, 0, 0};
    const std::vector<uint8_t> expected = {8, 8, 8, 8, 8, 8, 4, 8, 8, 1, 0, 8, 8, 8, 8, 8};
    Bench b(4, 4, 0.0f, 24);
    std::copy_n(grid, 16, b.S.Rows[0]);
    std::vector<uint8_t> codes;
    ASSERT_EQ(FindNeighbourDirections(b.S, b.Ws.TheProgress, codes), 0);
    EXPECT_EQ(codes, expected);
}

TEST(GrayMaps, DegenerateSurfacesAndCancel) {
    for (auto run : {RunHeightMap, RunSlopeMap, RunPhaseMap, RunQuiltMap, RunLightMap, RunSeaMask,
                     RunEightWayNeighbors}) {
        Bench one(4, 1, NAN);
        EXPECT_EQ(run(one.Ws), 0);
        Bench b(4, 12, 1.0f); // cancelled at the first pump: later rows keep their pixels

        b.S.Rows[1][1] = NAN;
        b.Host.OnPump = test::CancelAtPump(b.Ws.TheProgress, b.Host.Pumps + 1);
        b.Picture().SetIndex(0, 11, 99);
        EXPECT_EQ(run(b.Ws), -1);
        EXPECT_EQ(b.Ws.TheProgress.CancelFlag, 0);
        EXPECT_EQ(b.At(0, 11), 99u);
    }
}

} // namespace
} // namespace korvel
