#include "core/convolution.h"

#include "commands/convolution_commands.h"
#include "core/kernel.h"
#include "core/workspace.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
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
    const struct {
        int32_t (*Run)(Workspace&);
        float Want;
    } cases[] = {{RunBlurSome, 1.5f},    {RunBlurMore, 1.5f},    {RunBlurLots, 1.5f},
                 {RunSharpenSome, 3.0f}, {RunSharpenMore, 3.0f}, {RunSharpenLots, 3.0f}};
    for (const auto& c : cases) {
        Fill(8, 6, std::vector<float>(48, 1.5f));
        ASSERT_EQ(c.Run(ws), 0);
        for (int32_t i = 0; i < 48; ++i)
            ASSERT_NEAR(At(i % 8, i / 8), c.Want, 1e-6) << i;
        EXPECT_NEAR(ws.TheSurface.Max, c.Want, 1e-6);
    }
}

TEST_F(ConvolutionTest, KrnKernelConvolvesWithClampedEdges) {
    // File (0, 0) reads the sample up-left of the centre, (1, 2) right, (2, 1) one row on.
    test::TempDir dir;
    test::WriteFileText(dir.File("k.krn"),
                        "SIZE=3\nSCAL=0.5\nKERN11=0\nKERN00=1\nKERN12=10\nKERN21=100\n");
    ws.KernelLoad.Path = dir.File("k.krn");
    Kernel k;
    ASSERT_EQ(LoadKernelFile(ws, k), 0);
    Fill(4, 2, {1, 2, 3, 4, 5, 6, 7, 8});
    ASSERT_EQ(ConvolveWith(ws, k), 0);
    // Row 0: (s[0][x-1] + 10 s[0][x+1] + 100 s[1][x]) / 2, indices clamped; row 1 likewise.
    const float want[2][4] = {{260.5f, 315.5f, 371.0f, 421.5f}, {280.5f, 335.5f, 391.0f, 441.5f}};
    for (int32_t i = 0; i < 8; ++i)
        EXPECT_EQ(At(i % 4, i / 4), want[i / 4][i % 4]) << i;
    EXPECT_EQ(ws.TheSurface.Max, 441.5);
    EXPECT_EQ(host.ProgressTexts.at(0), "Convolving with user-defined kernel");
}

// Every window position is the direct sum in double over clamped indices, written
// independently; kernels larger than the grid and windows touching its far corner included.
TEST_F(ConvolutionTest, WindowsOfEverySizeMatchTheDirectSum) {
    uint32_t seed = 12345;
    const auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<float>(seed >> 8) / 16777216.0f - 0.5f;
    };
    const struct {
        int32_t Size, W, H, X0, Y0, WinW, WinH;
    } cases[] = {{1, 4, 1, 0, 0, 4, 1},
                 {9, 4, 2, 0, 0, 4, 2},
                 {33, 40, 5, 0, 0, 40, 5},
                 {7, 40, 9, 3, 2, 30, 6},
                 {5, 40, 9, 35, 7, 5, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Size);
        Kernel k;
        k.SetSize(c.Size, 0.75f, 0, 0);
        for (int32_t i = 0; i < c.Size * c.Size; ++i)
            k.SetWeight(i / c.Size, i % c.Size, next());
        Fill(c.W, c.H, {});
        for (int32_t i = 0; i < c.W * c.H; ++i)
            ws.TheSurface.Rows[i / c.W][i % c.W] = 100.0f * next();
        std::vector<float> out(static_cast<size_t>(c.WinW) * c.WinH, -1e30f);
        std::vector<float*> outRows;
        for (int32_t r = 0; r < c.WinH; ++r)
            outRows.push_back(out.data() + r * c.WinW);
        ASSERT_EQ(KernelApply(k, c.X0, c.Y0, c.WinW, c.WinH, {ws.TheSurface.Rows, c.W, c.H},
                              outRows.data(), ws.TheProgress, "", false),
                  0);
        const int32_t half = c.Size / 2;
        for (int32_t r = 0; r < c.WinH; ++r)
            for (int32_t col = 0; col < c.WinW; ++col) {
                double sum = 0.0;
                for (int32_t i = 0; i < c.Size; ++i)
                    for (int32_t j = 0; j < c.Size; ++j)
                        sum += At(std::clamp(c.X0 + col + j - half, 0, c.W - 1),
                                  std::clamp(c.Y0 + r + i - half, 0, c.H - 1)) *
                               static_cast<double>(k.Weight(i, j));
                ASSERT_NEAR(outRows[r][col], sum * k.Scale, 1e-3) << col << ", " << r;
            }
    }
    // Windows reaching outside the source are refused; an empty one is done at once.
    float cell = 0.0f;
    const float* one[] = {&cell};
    float* dest[] = {&cell};
    Kernel k;
    EXPECT_EQ(KernelApply(k, 1, 0, 1, 1, {one, 1, 1}, dest, ws.TheProgress, "", false), -1);
    EXPECT_EQ(KernelApply(k, 0, 0, 0, 1, {one, 1, 1}, dest, ws.TheProgress, "", false), 0);
}

TEST_F(ConvolutionTest, MaskWeightsBlendTheResult) {
    // Kernel reading the right-hand neighbour: v = 10, 20, 30, 30 for h = 0, 10, 20, 30.
    Kernel k;
    k.SetSize(3, 1.0f, 0, 0);
    k.SetWeight(1, 1, 0.0f);
    k.SetWeight(1, 2, 1.0f);
    Fill(4, 1, {0, 10, 20, 30}, Surface::SurfaceHasSelection);
    const uint8_t bytes[] = {0, 128, 255, 128};
    std::copy(bytes, bytes + 4, ws.TheSurface.Mask.RowPointer(0, 0));
    ASSERT_EQ(ConvolveWith(ws, k), 0);
    EXPECT_EQ(At(0, 0), 0.0f);
    EXPECT_NEAR(At(1, 0), 10.0 + 10.0 * 128.0 / 255.0, 1e-5);
    EXPECT_EQ(At(2, 0), 30.0f);

    // Widened after the mask was made: the new columns are outside the selection.
    Fill(4, 1, {0, 10, 20, 30}, Surface::SurfaceHasSelection);
    std::fill_n(ws.TheSurface.Mask.RowPointer(0, 0), 4, uint8_t{255});
    ASSERT_EQ(ws.TheSurface.ResizeKeep(8, 1, -1), 0);
    ws.TheSurface.Rows[0][4] = 7.0f;
    ASSERT_EQ(ConvolveWith(ws, k), 0);
    EXPECT_EQ(std::pair(At(3, 0), At(4, 0)), std::pair(7.0f, 7.0f));
}

Progress* Cancelled = nullptr;

TEST_F(ConvolutionTest, CancelLeavesTheSurfaceUnchanged) {
    Fill(8, 12, std::vector<float>(96, 0.0f));
    ws.TheSurface.Rows[5][5] = 9.0f;
    Cancelled = &ws.TheProgress;
    host.OnPump = [](int pumps) {
        if (pumps == 2)
            Cancelled->CancelFlag = CancelKey;
    };
    EXPECT_EQ(RunBlurSome(ws), -1);
    EXPECT_EQ(ws.TheProgress.CancelFlag, 0);
    EXPECT_EQ(std::pair(At(5, 5), At(4, 5)), std::pair(9.0f, 0.0f));
}

} // namespace
} // namespace korvel
