#include "generate/plasma.h"

#include "core/progress.h"
#include "core/random.h"
#include "core/surface.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace korvel {
namespace {

constexpr float Untouched = 7.0f;

struct PlasmaTest : testing::Test {
    test::RecordingHost host;
    bool showTime = false;
    Progress progress{host, showTime};
    RandomStream random;

    void Make(Surface& s, int32_t x, int32_t y) {
        ASSERT_EQ(s.Resize(x, y, 0), 0);
        for (int32_t r = 0; r < y; ++r)
            std::fill_n(s.Rows[r], x, Untouched);
    }
};

std::vector<double> SignedDraws(int32_t seed, int n) {
    RandomStream r;
    r.SeedRandom(seed);
    std::vector<double> d;
    for (int i = 0; i < n; ++i)
        d.push_back(2.0 * (r.RandomUniform() - 0.5));
    return d;
}

// One midpoint set from its two end points: the sample (R, C) between (Ra, Ca) and (Rb, Cb).
struct Step {
    int32_t R, C, Ra, Ca, Rb, Cb;
};

// The draws land on the corners (0,0), (0,X-1), (Y-1,0), (Y-1,X-1), then two per midpoint in the
// order worked out by hand below, so the seed's effect is pinned too. Complete cases also fix
// the number of draws.
TEST_F(PlasmaTest, DrawsLandInTheirOrder) {
    const double rf = 5.0, irf = 1.5;
    const struct {
        int32_t X, Y;
        bool Complete;
        std::vector<Step> Steps;
    } cases[] = {
        // clang-format off
        // One row: the top and bottom passes both fill it; the second wins.
        {4, 1, true, {{0, 2, 0, 0, 0, 3}, {0, 1, 0, 0, 0, 2}, {0, 2, 0, 0, 0, 3}, {0, 1, 0, 0, 0, 2}}},
        // Wider than high: the interior is cut along column 2, then the tie cuts row 1.
        {4, 3, true, {{0, 2, 0, 0, 0, 3}, {0, 1, 0, 0, 0, 2}, {1, 3, 0, 3, 2, 3}, {2, 2, 2, 0, 2, 3},
                      {2, 1, 2, 0, 2, 2}, {1, 0, 0, 0, 2, 0}, {1, 2, 0, 2, 2, 2}, {1, 1, 1, 0, 1, 2}}},
        // Lines take their upper half first.
        {512, 512, false, {{0, 256, 0, 0, 0, 511}, {0, 384, 0, 256, 0, 511},
                           {0, 448, 0, 384, 0, 511}}},
        // clang-format on
    };
    const int32_t seed = 4711;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.X << " x " << c.Y);
        Surface s;
        Make(s, c.X, c.Y);
        ASSERT_EQ(GeneratePlasma(s, progress, random, seed, rf, irf, false), 0);

        const int draws = 4 + 2 * static_cast<int>(c.Steps.size());
        const std::vector<double> d = SignedDraws(seed, draws + 1);
        std::vector<std::vector<float>> g(c.Y, std::vector<float>(c.X, Untouched));
        g[0][0] = static_cast<float>(d[0]);
        g[0][c.X - 1] = static_cast<float>(d[1]);
        g[c.Y - 1][0] = static_cast<float>(d[2]);
        g[c.Y - 1][c.X - 1] = static_cast<float>(d[3]);
        for (size_t i = 0; i < c.Steps.size(); ++i) {
            const Step& t = c.Steps[i];
            const double span = std::abs(t.Rb - t.Ra) + std::abs(t.Cb - t.Ca);
            const double v = (d[4 + 2 * i] * span + d[5 + 2 * i] * irf) / rf +
                             (double(g[t.Ra][t.Ca]) + g[t.Rb][t.Cb]) / 2.0;
            g[t.R][t.C] = static_cast<float>(std::fmin(1.0, std::fmax(-1.0, v)));
        }
        for (int32_t r = 0; r < c.Y; ++r)
            for (int32_t col = 0; col < c.X; ++col) {
                if (c.Complete || g[r][col] != Untouched) {
                    EXPECT_FLOAT_EQ(s.Rows[r][col], g[r][col]) << "row " << r << " col " << col;
                }
            }
        if (c.Complete) {
            EXPECT_EQ(2.0 * (random.RandomUniform() - 0.5), d[draws]);
        }
    }
}

// Every sample is written. Corners are raw draws in [-1, 1); everything else is clamped to
// [-1, 1], a NaN to -1.
TEST_F(PlasmaTest, FillsAndClampsEverySample) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        int32_t X, Y;
        double Rf, Irf;
        bool OnlyExtremes, OnlyLow;
    } cases[] = {{260, 129, 125.0, 4.0, false, false}, {260, 129, 0.0, 4.0, true, false},
                 {260, 129, 125.0, nan, true, true},   {260, 129, nan, 4.0, true, true},
                 {4, 1, 125.0, 4.0, false, false},     {4, 7, 125.0, 4.0, false, false},
                 {149996, 3, 125.0, 4.0, false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.X << " x " << c.Y << " rf " << c.Rf << " irf " << c.Irf);
        Surface s;
        Make(s, c.X, c.Y);
        EXPECT_EQ(GeneratePlasma(s, progress, random, 5, c.Rf, c.Irf, true), 0);
        int32_t bad = 0;
        for (int32_t r = 0; r < c.Y; ++r)
            for (int32_t col = 0; col < c.X; ++col) {
                const float v = s.Rows[r][col];
                if ((r == 0 || r == c.Y - 1) && (col == 0 || col == c.X - 1))
                    bad += !(v >= -1.0f && v < 1.0f);
                else
                    bad += !(v >= -1.0f && v <= 1.0f) || (c.OnlyExtremes && std::fabs(v) != 1.0f) ||
                           (c.OnlyLow && v != -1.0f);
            }
        EXPECT_EQ(bad, 0);
    }
    Surface empty;
    EXPECT_EQ(GeneratePlasma(empty, progress, random, 3, 125.0, 4.0, true), 0);
}

Progress* Cancelling = nullptr;
int CancelAtPump = 0;

TEST_F(PlasmaTest, CancelKeepsWhatWasDone) {
    Surface full;
    Make(full, 64, 48);
    GeneratePlasma(full, progress, random, 8, 125.0, 4.0, false);
    for (int pump : {1, 400}) {
        SCOPED_TRACE(pump);
        Surface s;
        Make(s, 64, 48);
        test::RecordingHost h;
        Progress p(h, showTime);
        Cancelling = &p;
        CancelAtPump = pump;
        h.OnPump = [](int n) {
            if (n == CancelAtPump)
                Cancelling->CancelFlag = CancelKey;
        };
        EXPECT_EQ(GeneratePlasma(s, p, random, 8, 125.0, 4.0, true), PlasmaCancelled);
        EXPECT_TRUE(p.CancelRequested()); // left for the command to clear
        EXPECT_EQ(h.Closes, std::vector<bool>{true});
        int32_t kept = 0, done = 0, wrong = 0;
        for (int32_t r = 0; r < 48; ++r)
            for (int32_t col = 0; col < 64; ++col) {
                const bool edge = r == 0 || r == 47 || col == 0 || col == 63;
                const bool untouched = s.Rows[r][col] == Untouched && !edge;
                kept += untouched;
                done += !untouched && !edge;
                wrong += !untouched && s.Rows[r][col] != full.Rows[r][col];
            }
        EXPECT_EQ(wrong, 0);
        EXPECT_GT(kept, 0);
        EXPECT_EQ(done > 0, pump > 1);
    }
}

} // namespace
} // namespace korvel
