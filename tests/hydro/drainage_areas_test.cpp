#include "hydro/drainage_areas.h"

#include "core/headless_host.h"
#include "core/neighbour_directions.h"
#include "core/workspace.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace korvel {
namespace {

struct Grid {
    HeadlessHost Host;
    Workspace Ws{Host};
    Surface& S = Ws.TheSurface;

    Grid(int32_t w, int32_t h, const std::vector<float>& heights) {
        EXPECT_EQ(S.Resize(w, h, 0), 0);
        std::copy(heights.begin(), heights.end(), S.Rows[0]);
    }
    std::vector<int64_t> Counts() {
        std::vector<uint8_t> codes;
        EXPECT_EQ(FindNeighbourDirections(S, Ws.TheProgress, codes), 0);
        std::vector<int64_t> counts;
        EXPECT_EQ(DrainageCounts(codes, S.XSize, S.YSize, counts), DrainageDone);
        return counts;
    }
};

// 8 x 5 with a border of 0 and the interior rising 1 .. 18 row by row, worked by hand: rows 1
// and 2 climb to the sample right and above ((6, y) straight up), row 3 to the right, to the 18
// at (6, 3), which every path reaches (2 + 3 + 12 + its own start = 18 paths).
std::vector<float> HandGrid() {
    return {0, 0,  0,  0,  0,  0,  0,  0, //
            0, 1,  2,  3,  4,  5,  6,  0, //
            0, 7,  8,  9,  10, 11, 12, 0, //
            0, 13, 14, 15, 16, 17, 18, 0, //
            0, 0,  0,  0,  0,  0,  0,  0};
}

std::vector<float> Cone(int32_t w, int32_t h, float cx, float cy) {
    std::vector<float> e(static_cast<size_t>(w * h));
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x)
            e[static_cast<size_t>(y * w + x)] =
                100.0f - std::hypot(static_cast<float>(x) - cx, static_cast<float>(y) - cy);
    return e;
}

std::vector<float> Bumpy(int32_t w, int32_t h) {
    std::vector<float> e(static_cast<size_t>(w * h));
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x)
            e[static_cast<size_t>(y * w + x)] =
                std::sin(0.7f * static_cast<float>(x)) * std::cos(0.43f * static_cast<float>(y)) +
                0.01f * static_cast<float>((x * 13 + y * 7) % 11);
    return e;
}

// Every path walked as the definition says: each sample left on the way counts one.
std::vector<int64_t> WalkedCounts(const std::vector<uint8_t>& codes, int32_t w, int32_t h) {
    std::vector<int64_t> k(codes.size(), 0);
    for (int32_t start = 0; start < w * h; ++start) {
        int32_t x = start % w, y = start / w;
        while (codes[static_cast<size_t>(y * w + x)] != NoHigherNeighbour) {
            const uint8_t code = codes[static_cast<size_t>(y * w + x)];
            ++k[static_cast<size_t>(y * w + x)];
            x += NeighbourSteps[code].Dx;
            y += NeighbourSteps[code].Dy;
        }
    }
    return k;
}

TEST(DrainageAreas, CountsWorkedByHand) {
    Grid g(8, 5, HandGrid());
    const std::vector<int64_t> expected = {0, 0, 0, 0, 0, 0,  0, 0, //
                                           0, 1, 1, 1, 1, 1,  1, 0, //
                                           0, 1, 2, 2, 2, 2,  3, 0, //
                                           0, 1, 3, 6, 9, 12, 0, 0, //
                                           0, 0, 0, 0, 0, 0,  0, 0};
    EXPECT_EQ(g.Counts(), expected);
}

TEST(DrainageAreas, AgreesWithWalkingEveryPath) {
    struct Case {
        const char* Name;
        int32_t W, H;
        std::vector<float> Heights;
    };
    const Case cases[] = {
        {"cone", 16, 15, Cone(16, 15, 7.0f, 7.0f)},
        {"off-centre cone", 20, 9, Cone(20, 9, 13.3f, 2.6f)},
        {"bumps", 48, 37, Bumpy(48, 37)},
        {"flat", 12, 6, std::vector<float>(72, 3.0f)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Grid g(c.W, c.H, c.Heights);
        std::vector<uint8_t> codes;
        ASSERT_EQ(FindNeighbourDirections(g.S, g.Ws.TheProgress, codes), 0);
        for (int32_t y = 0; y < c.H; ++y)
            for (int32_t x = 0; x < c.W; ++x) {
                const uint8_t code = codes[static_cast<size_t>(y * c.W + x)];
                if (code == NoHigherNeighbour)
                    continue;
                const NeighbourStep n = NeighbourSteps[code];
                ASSERT_GT(g.S.Rows[y + n.Dy][x + n.Dx], g.S.Rows[y][x]) << x << ", " << y;
            }
        EXPECT_EQ(g.Counts(), WalkedCounts(codes, c.W, c.H));
    }
}

TEST(DrainageAreas, ConeSummitCountsNothingAndItsNeighboursMost) {
    Grid g(16, 15, Cone(16, 15, 7.0f, 7.0f));
    const std::vector<int64_t> k = g.Counts();
    const int64_t largest = *std::max_element(k.begin(), k.end());
    EXPECT_EQ(k[7 * 16 + 7], 0);
    int64_t ring = 0;
    for (int32_t dy = -1; dy <= 1; ++dy)
        for (int32_t dx = -1; dx <= 1; ++dx)
            if (dx != 0 || dy != 0)
                ring = std::max(ring, k[static_cast<size_t>((7 + dy) * 16 + 7 + dx)]);
    EXPECT_EQ(ring, largest);
    EXPECT_GT(largest, 1);
}

TEST(DrainageAreas, Pictures) {
    struct Case {
        const char* Name;
        std::vector<float> Heights;
        int32_t Bits;
        // Expected greys by sample, worked from the counts: trunc(K * 255 / largest).
        std::vector<uint8_t> Greys;
    };
    // K 1, 2, 3, 6, 9, 12 of largest 12: 21.25, 42.5, 63.75, 127.5, 191.25, 255.
    const std::vector<uint8_t> hand = {0, 0,  0,  0,   0,   0,   0,  0, //
                                       0, 21, 21, 21,  21,  21,  21, 0, //
                                       0, 21, 42, 42,  42,  42,  63, 0, //
                                       0, 21, 63, 127, 191, 255, 0,  0, //
                                       0, 0,  0,  0,   0,   0,   0,  0};
    const Case cases[] = {
        {"8-bit", HandGrid(), 8, hand},
        {"24-bit", HandGrid(), 24, hand},
        {"flat is black", std::vector<float>(40, 1.0f), 8, std::vector<uint8_t>(40, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Grid g(8, 5, c.Heights);
        Image picture;
        ASSERT_EQ(picture.Create(8, 5, c.Bits), 0);
        ASSERT_EQ(DrawDrainageAreas(g.S, picture, g.Ws.TheProgress), DrainageDone);
        for (int32_t i = 0; i < 40; ++i) {
            const uint32_t grey = c.Greys[static_cast<size_t>(i)];
            const uint32_t pixel = picture.GetPixel(i % 8, i / 8);
            ASSERT_EQ(c.Bits == 8 ? picture.Palette[pixel] : pixel, grey * 0x010101u) << i;
        }
    }
}

} // namespace
} // namespace korvel
