#pragma once
// A workspace with a small Surface for the paint tests, and an evaluator for brush rebuilds.
#include "core/workspace.h"
#include "generate/evaluator.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace korvel::test {

class PaintFixture : public ::testing::Test {
protected:
    PaintFixture() {
        ws.TheSurface.AttachHost(&host);
        ws.TheSurface.Resize(Width, Height, 0);
    }
    // Every sample set to f(x, y).
    template <class F> void Fill(F f) {
        for (int32_t y = 0; y < ws.TheSurface.YSize; ++y)
            for (int32_t x = 0; x < ws.TheSurface.XSize; ++x)
                ws.TheSurface.Rows[y][x] = static_cast<float>(f(x, y));
    }
    double Sum() const {
        double sum = 0.0;
        for (int32_t y = 0; y < ws.TheSurface.YSize; ++y)
            for (int32_t x = 0; x < ws.TheSurface.XSize; ++x)
                sum += ws.TheSurface.Rows[y][x];
        return sum;
    }
    float At(int32_t x, int32_t y) const { return ws.TheSurface.Rows[y][x]; }

    static constexpr int32_t Width = 40;
    static constexpr int32_t Height = 30;
    RecordingHost host;
    Workspace ws{host};
    Evaluator eval{ws.TheSurface, ws.Noise, ws.Random, ws.TheSurface.Generation};
};

} // namespace korvel::test
