#include "edit/convolution.h"

#include "commands/convolution_commands.h"
#include "core/kernel.h"
#include "core/workspace.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace korvel {
namespace {

class ConvolutionTest : public ::testing::Test {
protected:
    void Fill(int32_t w, int32_t h, const std::vector<float>& rowMajor, int32_t flags = 0) {
        ASSERT_EQ(ws.TheSurface.Resize(w, h, flags), 0);
        std::copy(rowMajor.begin(), rowMajor.end(), ws.TheSurface.Rows[0]); // rows are contiguous
    }
    float At(int32_t x, int32_t y) const { return ws.TheSurface.Rows[y][x]; }

    test::RecordingHost host;
    Workspace ws{host};
};

TEST_F(ConvolutionTest, FlatSurfaceBlursToItselfAndSharpensToTwice) {
    const std::pair<int32_t (*)(Workspace&), float> cases[] = {
        {RunBlurSome, 1.5f},    {RunBlurMore, 1.5f},    {RunBlurLots, 1.5f},
        {RunSharpenSome, 3.0f}, {RunSharpenMore, 3.0f}, {RunSharpenLots, 3.0f}};
    for (const auto& [run, want] : cases) {
        Fill(8, 6, std::vector<float>(48, 1.5f));
        ASSERT_EQ(run(ws), 0);
        for (int32_t i = 0; i < 48; ++i)
            ASSERT_NEAR(At(i % 8, i / 8), want, 1e-6) << i;
    }
}

TEST_F(ConvolutionTest, KernelConvolvesWithClampedEdges) {
    Kernel k; // (0, 0) reads the sample up-left of the centre, (1, 2) right, (2, 1) one row on
    k.SetSize(3, 0.5f, 0, 0);
    k.SetWeight(1, 1, 0);
    k.SetWeight(0, 0, 1);
    k.SetWeight(1, 2, 10);
    k.SetWeight(2, 1, 100);
    Fill(4, 2, {1, 2, 3, 4, 5, 6, 7, 8});
    ASSERT_EQ(ConvolveWith(ws, k), 0);
    // Row 0: (s[0][x-1] + 10 s[0][x+1] + 100 s[1][x]) / 2, indices clamped; row 1 likewise.
    const float want[2][4] = {{260.5f, 315.5f, 371.0f, 421.5f}, {280.5f, 335.5f, 391.0f, 441.5f}};
    for (int32_t i = 0; i < 8; ++i)
        EXPECT_EQ(At(i % 4, i / 4), want[i / 4][i % 4]) << i;
    EXPECT_EQ(ws.TheSurface.Max, 441.5);
}

// Every window position is the direct sum in double over clamped indices, written
// independently: a kernel taller than the grid, in a window at its far corner.
TEST_F(ConvolutionTest, WindowMatchesTheDirectSum) {
    const int32_t size = 33, w = 40, h = 9, x0 = 35, y0 = 7, winW = 5, winH = 2, half = size / 2;
    Kernel k;
    k.SetSize(size, 0.75f, 0, 0);
    for (int32_t i = 0; i < size * size; ++i)
        k.SetWeight(i / size, i % size, static_cast<float>(i % 7) - 2.5f);
    Fill(w, h, {});
    for (int32_t i = 0; i < w * h; ++i)
        ws.TheSurface.Rows[i / w][i % w] = static_cast<float>(i * 37 % 101);
    std::vector<float> out(winW * winH, -1e30f);
    float* outRows[] = {out.data(), out.data() + winW};
    const auto apply = [&](int32_t x, int32_t width) {
        return KernelApply(k, x, y0, width, winH, {ws.TheSurface.Rows, w, h}, outRows,
                           ws.TheProgress, "", false);
    };
    ASSERT_EQ(apply(x0, winW), 0);
    for (int32_t p = 0; p < winW * winH; ++p) {
        double sum = 0.0;
        for (int32_t i = 0; i < size * size; ++i)
            sum += At(std::clamp(x0 + p % winW + i % size - half, 0, w - 1),
                      std::clamp(y0 + p / winW + i / size - half, 0, h - 1)) *
                   static_cast<double>(k.Weight(i / size, i % size));
        EXPECT_NEAR(out[p], sum * k.Scale, 1e-3) << p;
    }
    EXPECT_EQ(apply(x0 + 1, winW), -1); // a window reaching outside the source is refused
    EXPECT_EQ(apply(0, 0), 0);          // an empty one is done at once
}

TEST_F(ConvolutionTest, MaskWeightsBlendTheResult) {
    Kernel k; // reading the right-hand neighbour
    k.SetSize(3, 1.0f, 0, 0);
    k.SetWeight(1, 1, 0.0f);
    k.SetWeight(1, 2, 1.0f);
    Fill(4, 1, {0, 10, 20, 30}, Surface::SurfaceHasSelection);
    const uint8_t bytes[] = {0, 128, 255, 128};
    std::copy(bytes, bytes + 4, ws.TheSurface.Mask.RowPointer(0, 0));
    ASSERT_EQ(ws.TheSurface.ResizeKeep(8, 1, -1), 0); // the new columns lie outside the mask
    ws.TheSurface.Rows[0][4] = 7.0f;
    ASSERT_EQ(ConvolveWith(ws, k), 0);
    EXPECT_EQ(std::pair(At(0, 0), At(2, 0)), std::pair(0.0f, 30.0f));
    EXPECT_NEAR(At(1, 0), 10.0 + 10.0 * 128.0 / 255.0, 1e-5);
    EXPECT_NEAR(At(3, 0), 30.0 - 23.0 * 128.0 / 255.0, 1e-5);
    EXPECT_EQ(At(4, 0), 7.0f);
}

TEST_F(ConvolutionTest, CancelLeavesTheSurfaceUnchanged) {
    Fill(8, 12, std::vector<float>(96, 0.0f));
    ws.TheSurface.Rows[5][5] = 9.0f;
    host.OnPump = test::CancelAtPump(ws.TheProgress, host.Pumps + 2);
    EXPECT_EQ(RunBlurSome(ws), -1);
    EXPECT_EQ(std::pair(At(5, 5), At(4, 5)), std::pair(9.0f, 0.0f));
}

} // namespace
} // namespace korvel
