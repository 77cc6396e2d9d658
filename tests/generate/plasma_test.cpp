#include "generate/plasma.h"

#include "core/progress.h"
#include "core/random.h"
#include "core/surface.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

namespace korvel {
namespace {

constexpr float Untouched = 7.0f;

struct PlasmaTest : testing::Test {
    test::RecordingHost host;
    bool showTime = false;
    Progress progress{host, showTime};
    RandomStream random;
    Surface s;

    void Make(Surface& t, int32_t x, int32_t y) {
        ASSERT_EQ(t.Resize(x, y, 0), 0);
        std::fill_n(t.Rows[0], int64_t{x} * y, Untouched);
    }
};

struct Step { // the midpoint (R, C) set from the end points (Ra, Ca) and (Rb, Cb)
    int32_t R, C, Ra, Ca, Rb, Cb;
};

// Corner draws (0,0), (0,X-1), (Y-1,0), (Y-1,X-1), then two per midpoint in the order worked out
// by hand; complete cases fix the draw count. One row: both passes fill it, the second wins.
// Wider than high: cut along column 2, then the tie cuts row 1. Lines take the upper half first.
TEST_F(PlasmaTest, DrawsLandInTheirOrder) {
    const std::tuple<int32_t, int32_t, bool, std::vector<Step>> cases[] = {
        // clang-format off
        {4, 1, true, {{0, 2, 0, 0, 0, 3}, {0, 1, 0, 0, 0, 2}, {0, 2, 0, 0, 0, 3}, {0, 1, 0, 0, 0, 2}}},
        {4, 3, true, {{0, 2, 0, 0, 0, 3}, {0, 1, 0, 0, 0, 2}, {1, 3, 0, 3, 2, 3}, {2, 2, 2, 0, 2, 3},
                      {2, 1, 2, 0, 2, 2}, {1, 0, 0, 0, 2, 0}, {1, 2, 0, 2, 2, 2}, {1, 1, 1, 0, 1, 2}}},
        {512, 512, false, {{0, 256, 0, 0, 0, 511}, {0, 384, 0, 256, 0, 511},
                           {0, 448, 0, 384, 0, 511}}},
        // clang-format on
    };
    for (const auto& [X, Y, complete, steps] : cases) {
        Make(s, X, Y);
        ASSERT_EQ(GeneratePlasma(s, progress, random, 4711, 5.0, 1.5, false), 0);
        RandomStream ref;
        ref.SeedRandom(4711);
        std::vector<double> d(5 + 2 * steps.size());
        for (double& v : d)
            v = 2.0 * (ref.RandomUniform() - 0.5);
        std::vector<std::vector<float>> g(Y, std::vector<float>(X, Untouched));
        for (int32_t k = 0; k < 4; ++k)
            g[k / 2 * (Y - 1)][k % 2 * (X - 1)] = static_cast<float>(d[size_t(k)]);
        for (size_t i = 0; i < steps.size(); ++i) {
            const Step& t = steps[i];
            const double span = std::abs(t.Rb - t.Ra) + std::abs(t.Cb - t.Ca);
            const double v = (d[4 + 2 * i] * span + d[5 + 2 * i] * 1.5) / 5.0 +
                             (double(g[t.Ra][t.Ca]) + g[t.Rb][t.Cb]) / 2.0;
            g[t.R][t.C] = static_cast<float>(std::fmin(1.0, std::fmax(-1.0, v)));
        }
        for (int32_t r = 0; r < Y; ++r)
            for (int32_t c = 0; c < X; ++c)
                EXPECT_FLOAT_EQ(s.Rows[r][c],
                                complete || g[r][c] != Untouched ? g[r][c] : s.Rows[r][c])
                    << X << "x" << Y << " row " << r << " col " << c;
        EXPECT_TRUE(!complete || 2.0 * (random.RandomUniform() - 0.5) == d.back()) << X;
    }
}

// Off the corners (raw draws) every sample is written and clamped to [-1, 1], a NaN to -1.
TEST_F(PlasmaTest, FillsAndClampsEverySample) {
    // Width, height, rf, irf, then whether only -1 and 1, or only -1, may appear off the corners.
    const double cases[][6] = {{260, 129, 0.0, 4.0, 1, 0},
                               {260, 129, 125.0, NAN, 1, 1},
                               {260, 129, NAN, 4.0, 1, 1},
                               {149996, 3, 125.0, 4.0, 0, 0}};
    for (const auto& c : cases) {
        const auto X = static_cast<int32_t>(c[0]), Y = static_cast<int32_t>(c[1]);
        Make(s, X, Y);
        EXPECT_EQ(GeneratePlasma(s, progress, random, 5, c[2], c[3], true), 0);
        int32_t bad = 0;
        for (int32_t r = 0; r < Y; ++r)
            for (int32_t col = 0; col < X; ++col) {
                const float v = s.Rows[r][col];
                bad += !((r == 0 || r == Y - 1) && (col == 0 || col == X - 1)) &&
                       (!(v >= -1.0f && v <= 1.0f) || (c[4] != 0 && std::fabs(v) != 1.0f) ||
                        (c[5] != 0 && v != -1.0f));
            }
        EXPECT_EQ(bad, 0) << X << "x" << Y << " rf " << c[2] << " irf " << c[3];
    }
    Surface empty;
    EXPECT_EQ(GeneratePlasma(empty, progress, random, 3, 125.0, 4.0, true), 0);
}

TEST_F(PlasmaTest, CancelKeepsWhatWasDone) {
    Surface full;
    Make(full, 64, 48);
    GeneratePlasma(full, progress, random, 8, 125.0, 4.0, false);
    for (int pump : {1, 400}) {
        Make(s, 64, 48);
        host.OnPump = test::CancelAtPump(progress, pump);
        host.Pumps = 0;
        progress.CancelFlag = 0;
        EXPECT_EQ(GeneratePlasma(s, progress, random, 8, 125.0, 4.0, true), PlasmaCancelled);
        EXPECT_TRUE(progress.CancelRequested()); // left for the command to clear
        int32_t kept = 0, wrong = 0;
        for (int32_t i = 0; i < 64 * 48; ++i) {
            kept += s.Rows[0][i] == Untouched;
            wrong += s.Rows[0][i] != Untouched && s.Rows[0][i] != full.Rows[0][i];
        }
        EXPECT_EQ(wrong, 0) << pump; // what the fill reached matches an uncancelled run
        EXPECT_TRUE(kept > 0 && (kept == 62 * 46) == (pump == 1)) << kept;
    }
}

} // namespace
} // namespace korvel
