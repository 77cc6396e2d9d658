#include "shading/color_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace korvel {
namespace {

std::vector<PackedColor> TerrainRamp(double start, double end, int32_t count) {
    ColorList list;
    list.FillTerrainRamp(start, end, count);
    return list.Entries;
}

// 256 entries whose red, in every fifth segment from 4 on, dips to a minimum a little below a whole
// number (1.99879, 5.99971, 3.99808, 10.99974, 10.99869) while the ends of its cell stay above.
std::vector<PackedColor> Dips() {
    const int32_t quads[][4] = {
        {0, 4, 26, 238}, {0, 8, 31, 255}, {0, 10, 19, 187}, {0, 10, 23, 119}, {0, 12, 34, 238}};
    std::vector<PackedColor> entries(256, 0);
    for (size_t at = 3; at + 4 <= entries.size(); at += 5)
        for (size_t k = 0; k < 4; ++k)
            entries[at + k] = PackColor(static_cast<uint8_t>(quads[at / 5 % 5][k]), 0, 0);
    return entries;
}

// Positions where a lookup is most likely to go wrong: both ends of every cell, either side of
// every knot and segment middle, the ends of the range and what lies beyond it, and many positions
// at random.
std::vector<float> Probes(int32_t knots) {
    constexpr float Cells = ColorTable::Cells;
    std::vector<float> t = {-1.0f,
                            -0.0f,
                            0.0f,
                            std::numeric_limits<float>::denorm_min(),
                            std::numeric_limits<float>::min(),
                            1.0f,
                            1.5f,
                            std::numeric_limits<float>::quiet_NaN(),
                            std::nextafter(1.0f, 0.0f)};
    for (int32_t k = 1; k < ColorTable::Cells; ++k) {
        const float edge = static_cast<float>(k) / Cells;
        t.push_back(edge);
        t.push_back(std::nextafter(edge, 0.0f));
    }
    // Knots, and the middles of segments, where a symmetric blend turns.
    for (int32_t k = 0; k <= 2 * knots; ++k) {
        float knot = static_cast<float>(k) / static_cast<float>(2 * knots);
        for (int32_t step = 0; step < 16; ++step)
            knot = std::nextafter(knot, 0.0f);
        for (int32_t step = 0; step < 32; ++step, knot = std::nextafter(knot, 1.0f))
            t.push_back(knot);
    }
    std::mt19937 random(12345);
    std::uniform_real_distribution<float> uniform(0.0f, 1.0f);
    for (int32_t k = 0; k < 20000; ++k)
        t.push_back(uniform(random));
    return t;
}

TEST(ColorTable, GivesColorAtsColourEverywhere) {
    const std::vector<PackedColor> overshoot = {PackColor(0, 255, 0), PackColor(255, 0, 255),
                                                PackColor(0, 255, 0)};
    const std::vector<PackedColor> flat = {PackColor(255, 40, 0), PackColor(255, 40, 0),
                                           PackColor(255, 90, 0), PackColor(255, 90, 1)};
    const struct {
        const char* Name;
        std::vector<PackedColor> Entries;
    } lists[] = {
        {"terrain ramp of 32", TerrainRamp(0.333, 1.0, 32)},
        {"sea ramp of 4", TerrainRamp(0.06, 0.2, 4)},
        {"overshooting cubic", overshoot},
        {"flat channels", flat},
        {"blends dipping just below a whole value inside a cell", Dips()},
        {"two entries", {PackColor(10, 200, 30), PackColor(250, 0, 90)}},
        {"one entry", {PackColor(1, 2, 3)}},
        {"empty", {}},
        {"long ramp of 400", TerrainRamp(0.0, 1.0, 400)},
    };
    const double gammas[] = {1.0, 0.5, 2.2, ColorList::GammaLow, ColorList::GammaHigh, 0.0, -1.0};
    for (const auto& l : lists) {
        const std::vector<float> probes =
            Probes(std::max<int32_t>(static_cast<int32_t>(l.Entries.size()) - 1, 1));
        for (int32_t mode = 0; mode <= 3; ++mode) {
            for (const double gamma : gammas) {
                ColorList list;
                list.Entries = l.Entries;
                list.Mode = mode;
                list.Gamma = gamma; // as a file may set it: not clamped
                ColorTable table(list);
                table.Build();
                for (const float t : probes)
                    ASSERT_EQ(table.At(t), list.ColorAt(t))
                        << l.Name << ", mode " << mode << ", gamma " << gamma << ", t "
                        << std::hexfloat << t;
            }
        }
    }
}

} // namespace
} // namespace korvel
