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

// Positions where a lookup is most likely to go wrong: both ends of every cell, either side of
// every knot, the ends of the range and what lies beyond it, and many positions at random.
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
    for (int32_t k = 0; k <= knots; ++k) {
        float knot = static_cast<float>(k) / static_cast<float>(knots);
        for (int32_t step = 0; step < 4; ++step)
            knot = std::nextafter(knot, 0.0f);
        for (int32_t step = 0; step < 8; ++step, knot = std::nextafter(knot, 1.0f))
            t.push_back(knot);
    }
    std::mt19937 random(12345);
    std::uniform_real_distribution<float> uniform(0.0f, 1.0f);
    for (int32_t k = 0; k < 200000; ++k)
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
