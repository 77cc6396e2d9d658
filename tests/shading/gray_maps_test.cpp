#include "shading/gray_maps.h"

#include "commands/gray_map_commands.h"
#include "core/neighbour_directions.h"
#include "core/workspace.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

namespace korvel {
namespace {

using Draw = std::function<int32_t(Surface&, Progress&)>;

struct Bench {
    test::RecordingHost Host;
    Workspace Ws{Host};
    Surface& S = Ws.TheSurface;

    Bench(int32_t w, int32_t h, float fill, int32_t bits = 8) {
        EXPECT_EQ(S.Resize(w, h, 0), 0);
        EXPECT_EQ(S.Texture.Create(w, h, bits), 0);
        for (int32_t y = 0; y < h; ++y)
            std::fill_n(S.Rows[y], w, fill);
    }
    uint32_t At(int32_t x, int32_t y) const { return S.Texture.GetPixel(x, y); }
};

uint32_t Grey(uint32_t i) {
    return i * 0x010101u;
}

TEST(GrayMaps, FlatSurfaceGivesOneIndexEverywhere) {
    using namespace std::placeholders;
    SlopeRange range;
    // The index worked out by hand for the flat normal (0, 0, 1); all but the mask are grey.
    const std::tuple<Draw, float, uint32_t> cases[] = {
        // Stale Min/Max (0, 1) would give 5·255 = 1275 -> 251: the extremes must be refreshed.
        {DrawHeightMap, 5, 0},
        {std::bind(DrawSlopeMap, _1, _2, false, std::ref(range)), 5, 255},
        {std::bind(DrawLightMap, _1, _2, 315.0, 45.0), 5, 180}, // 255 sin 45°
        {std::bind(DrawLightMap, _1, _2, 90.0, -10.0), 5, 0},
        {DrawPhaseMap, 5, 172}, // 255·(1.1/2pi + 0.5)
        {std::bind(DrawQuiltMap, _1, _2, 2.0, 0.5), 5, 127},
        {std::bind(DrawSeaMask, _1, _2, 0.0, true), 5, 0},
        {std::bind(DrawSeaMask, _1, _2, 0.0, true), 0, 235},
        {std::bind(DrawSeaMask, _1, _2, 0.0, false), 5, 235},
        {DrawNeighbourMap, 5, 255},
    };
    for (const auto& [map, height, index] : cases) {
        Bench b(8, 5, height);
        ASSERT_EQ(map(b.S, b.Ws.TheProgress), 0);
        for (int32_t i = 0; i < 40; ++i)
            ASSERT_EQ(b.At(i % 8, i / 8), index) << index << " at " << i;
        EXPECT_EQ(b.S.Texture.Palette[index], index == 235 ? 0xFFFFFF : Grey(index)) << index;
    }
}

TEST(GrayMaps, HandMadeSurfaces) {
    // Height: rows -1, 0, 1, 2 spread over 0, 85, 170, 255.
    Bench h(4, 4, 0.0f, 24);
    for (int32_t y = 0; y < 4; ++y)
        std::fill_n(h.S.Rows[y], 4, static_cast<float>(y - 1));
    ASSERT_EQ(DrawHeightMap(h.S, h.Ws.TheProgress), 0);
    for (int32_t y = 0; y < 4; ++y)
        EXPECT_EQ(h.At(2, y), Grey(static_cast<uint32_t>(85 * y)));
    // Phase: nx = -2.99, ny = -0.01 at (1, 1), so theta = -pi + 0.00334 and the index
    // 255·1.17454 = 299.5 -> 299 shows as 43.
    Bench ph(4, 3, 0.0f);
    for (int32_t y = 0; y < 3; ++y)
        ph.S.Rows[y][2] = 10.0f;
    ph.S.Rows[0][0] = 0.1f;
    ph.S.Max = 10.0;
    ASSERT_EQ(DrawPhaseMap(ph.S, ph.Ws.TheProgress), 0);
    EXPECT_EQ(ph.At(1, 1), 43u);
}

TEST(GrayMaps, SlopeFullRange) {
    // Flat: one slope only, so everything is 0 and both ends are 90 degrees.
    Bench flat(4, 3, 2.0f);
    ASSERT_EQ(RunSlopeMap(flat.Ws), 0);
    EXPECT_EQ(flat.At(1, 1), 0u);
    EXPECT_EQ(flat.Host.Messages, (std::vector<std::string>{"Pixel value 0 is 90.00 degrees\n"
                                                            "Pixel value 255 is 90.00 degrees"}));
    // A slope ending in a flat shelf: the shelf must reach exactly 255, the steepest cells 0.
    Bench ramp(8, 4, 0.0f);
    for (int32_t i = 0; i < 32; ++i)
        ramp.S.Rows[i / 8][i % 8] = static_cast<float>(std::min(i % 8, 4) * 3);
    ramp.S.Max = 12.0;
    SlopeRange r;
    ASSERT_EQ(DrawSlopeMap(ramp.S, ramp.Ws.TheProgress, true, r), 0);
    EXPECT_FLOAT_EQ(r.Largest, 1.0f);
    EXPECT_EQ(ramp.At(7, 2), 255u);
    EXPECT_EQ(ramp.At(2, 2), 0u);
}

TEST(GrayMaps, NeighbourDirectionsPickTheHighestFirstInOrder) {
    // Rows bottom-up as stored. The ties between the two 5s keep the earlier code.
    const float grid[4][4] = {{0, 0, 0, 0}, {0, 5, 1, 0}, {0, 0, 0, 5}, {0, 0, 0, 0}};
    const std::vector<uint8_t> expected = {8, 8, 8, 8, 8, 8, 4, 8, 8, 1, 0, 8, 8, 8, 8, 8};
    Bench b(4, 4, 0.0f, 24);
    for (int32_t y = 0; y < 4; ++y)
        std::copy_n(grid[y], 4, b.S.Rows[y]);
    std::vector<uint8_t> codes;
    ASSERT_EQ(FindNeighbourDirections(b.S, b.Ws.TheProgress, codes), 0);
    EXPECT_EQ(codes, expected);
    ASSERT_EQ(RunEightWayNeighbors(b.Ws), 0);
    for (int32_t i = 0; i < 16; ++i)
        EXPECT_EQ(b.At(i % 4, i / 4), Grey(expected[i] == 0 ? 0u : 32u * expected[i] - 1u));
}

TEST(GrayMaps, ColorRampTouchesOnlyTheTop25Lines) {
    Bench b(260, 30, 0.0f);
    std::fill_n(b.S.Texture.Data(), b.S.Texture.ByteCount(), uint8_t{7});
    ASSERT_EQ(RunColorRamp(b.Ws), 0);
    for (int32_t i = 0; i < 30 * 260; ++i) {
        const int32_t x = i % 260;
        ASSERT_EQ(b.At(x, i / 260), i / 260 >= 5 && x < 255 ? static_cast<uint32_t>(x) : 7u) << i;
    }
}

Progress* Running = nullptr;

TEST(GrayMaps, DegenerateSurfacesAndCancel) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (auto run : {RunHeightMap, RunSlopeMap, RunPhaseMap, RunQuiltMap, RunLightMap, RunSeaMask,
                     RunEightWayNeighbors}) {
        Bench one(4, 1, nan);
        EXPECT_EQ(run(one.Ws), 0);
        // Escape at the first pump: rows after it keep their pixels, the flag is reset.
        Bench b(4, 12, 1.0f);
        b.S.Rows[1][1] = nan;
        Running = &b.Ws.TheProgress;
        b.Host.OnPump = [](int) { Running->CancelFlag = CancelKey; };
        b.S.Texture.SetIndex(0, 11, 99);
        EXPECT_EQ(run(b.Ws), -1);
        EXPECT_EQ(b.Ws.TheProgress.CancelFlag, 0);
        EXPECT_EQ(b.At(0, 11), 99u);
    }
}

} // namespace
} // namespace korvel
