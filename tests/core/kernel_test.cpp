#include "core/kernel.h"

#include "core/workspace.h"
#include "generate/evaluator.h"
#include "generate/kernel_block.h"
#include "generate/keywords.h"
#include "generate/token_reader.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace korvel {
namespace {

struct Element {
    int32_t I, J;
    float W;
};

// The block holds exactly these non-zero elements.
void ExpectBlock(const Kernel& k, const std::vector<Element>& nonZero) {
    for (int32_t i = 0; i < k.Size(); ++i)
        for (int32_t j = 0; j < k.Size(); ++j) {
            float want = 0.0f;
            for (const Element& e : nonZero)
                want = e.I == i && e.J == j ? e.W : want;
            EXPECT_EQ(k.Weight(i, j), want) << i << ", " << j;
        }
}

TEST(KernelTest, SetSizeRoundsUpToOddAndRefusesOutOfRange) {
    const struct {
        int32_t Asked, Code, Size, Extent;
    } cases[] = {{4, 0, 5, 7}, {1, 0, 1, 7}, {32, 0, 33, 33}, {0, -1, 5, 7}, {34, -1, 5, 7}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Asked);
        Kernel k;
        ASSERT_EQ(k.SetSize(4, 1.0f, 0, 0), 0);
        EXPECT_EQ(k.SetSize(c.Asked, 0.25f, 3, 1), c.Code);
        EXPECT_EQ(k.Size(), c.Size);
        EXPECT_EQ(k.Extent(), c.Extent);
        EXPECT_EQ(k.Scale, c.Code == 0 ? 0.25f : 1.0f);
        ExpectBlock(k, {{k.Size() / 2, k.Size() / 2, 1.0f}}); // identity
    }
}

TEST(KernelTest, KrnFilesReadLineByLine) {
    const std::string junk(300, 'x');
    const struct {
        std::string Text;
        std::tuple<int32_t, float, int32_t> Want; // Size, Scale, Symmetry
        std::vector<Element> Block;
    } cases[] = {
        {"SIZE=3\nKERN11=2\n# note\nSCALE\nSCAL=0.5\nSYMM=3\n", {3, 0.5f, 3}, {{1, 1, 2.0f}}},
        {"SIZE=3\nKERN00=5\nSIZE=5\nKERN44=1.5\n", {5, 1, 0}, {{2, 2, 1}, {4, 4, 1.5f}}},
        {"SIZE=3\nKERN00=3\nSIZE=3\n", {3, 1, 0}, {{0, 0, 3}, {1, 1, 1}}}, // same size keeps
        {"SIZE=3\r\nSCAL=+0.25\r\nKERN12=-1.5\r\n", {3, 0.25f, 0}, {{1, 1, 1}, {1, 2, -1.5f}}},
        {"SIZE=0\nSIZE=x\nKERN33=9\nKERN7\nKERN-1=4\nKERN00=\nSYMM=8\nSCAL=z\n",
         {3, 1, 0},
         {{1, 1, 1}}},
        {std::string("KERN\0\0=1\nSI\0E=5\n", 16), {3, 1, 0}, {{1, 1, 1}}},
        // The rest of an over-long line is not a line of its own.
        {junk.substr(0, 255) + "KERN00=7\nSCAL=0.5" + junk + "\n", {3, 0.5f, 0}, {{1, 1, 1}}},
    };
    test::TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text.substr(0, 40));
        test::WriteFileText(dir.File("k.krn"), c.Text);
        Kernel k;
        k.SetSize(3, 1.0f, 0, 0);
        k.SetWeight(0, 0, 4.0f); // cleared by the load
        ASSERT_EQ(k.Load(dir.File("k.krn")), 0);
        EXPECT_EQ(std::tuple(k.Size(), k.Scale, k.Symmetry), c.Want);
        ExpectBlock(k, c.Block);
    }
}

TEST(KernelTest, KrnSaveLoadRoundTripAndFailures) {
    test::TempDir dir;
    Kernel k;
    k.SetSize(5, 0.125f, 2, 0);
    for (int32_t i = 0; i < 25; ++i)
        k.SetWeight(i / 5, i % 5, 0.25f * static_cast<float>(i - 12));
    ASSERT_EQ(k.Save(dir.File("a.krn")), 0);
    const std::string text = test::ReadFileText(dir.File("a.krn"));
    EXPECT_EQ(text.substr(0, 52), "SIZE=5\nSYMM=2\nSCAL=0.125000\nKERN00=-3.000000\nKERN01=");
    Kernel back; // size 7: the file's SIZE line makes it 5
    ASSERT_EQ(back.Load(dir.File("a.krn")), 0);
    EXPECT_EQ(std::tuple(back.Size(), back.Scale, back.Symmetry, back.Weight(4, 3)),
              std::tuple(5, 0.125f, 2, 2.75f));
    // Failures leave the kernel and the old file alone.
    EXPECT_EQ(back.Load(dir.Root().string()), -1);
    EXPECT_EQ(back.Size(), 5);
    Kernel big;
    big.SetSize(11, 1.0f, 0, 0);
    EXPECT_EQ(big.Save(dir.File("a.krn")), -2);
    EXPECT_EQ(k.Save(dir.File("no/such.krn")), -1);
    EXPECT_EQ(test::ReadFileText(dir.File("a.krn")), text);
}

// Constants are folded by the program's own evaluator.
struct Constants {
    test::RecordingHost Host;
    Workspace Ws{Host};
    Evaluator Eval{Ws.TheSurface, Ws.Noise, Ws.Random, Ws.TheSurface.Generation};
};

TEST(KernelBlockTest, WrittenTextAndItemsInAnyForm) {
    Kernel written;
    written.SetSize(3, 0.5f, 4, 2);
    written.SetWeight(0, 1, -2.5f);
    written.SetWeight(2, 2, 0.125f);
    const std::string text = "Kernel\nSize 3\nScale 0.50000\nSymmetry 4\nWrap 2\nData\n"
                             "    0.00000,   -2.50000,    0.00000,\n"
                             "    0.00000,    1.00000,    0.00000,\n"
                             "    0.00000,    0.00000,    0.12500,\n"
                             "KernelEnd\n";
    EXPECT_EQ(FormatKernel(written), text);
    const struct {
        std::string Text;
        // Code, the token the reader is left on, Size, Scale, Symmetry, Mode
        std::tuple<int32_t, int32_t, int32_t, float, int32_t, int32_t> Want;
        std::vector<Element> Block;
    } cases[] = {
        {text + "Value 2", {0, KwValue, 3, 0.5f, 4, 2}, {{0, 1, -2.5f}, {1, 1, 1}, {2, 2, 0.125f}}},
        {"kernel size 3 scale 1/16 data 0 0 3 0 5 0 0 8, -9 kernelend value",
         {0, KwValue, 3, 0.0625f, 0, 0},
         {{0, 2, 3}, {1, 1, 5}, {2, 1, 8}, {2, 2, -9}}},
        // A short list ends at the next item; a size equal to the current one keeps the data.
        {"Size 4 Data 1, 2 Size 5 Symmetry 6 Wrap -1 KernelEnd",
         {0, TokEnd, 5, 1, 2, 3},
         {{0, 0, 1}, {0, 1, 2}, {2, 2, 1}}},
        {"Kernel Size 3 Data 1, 2, 3 Size 5", {-1, TokEnd, 5, 1, 0, 0}, {{2, 2, 1}}},
        // A refused size skips the block, so its Data is not the enclosing brush's.
        {"Kernel Scale 2 Size 40 Data 1, 2 KernelEnd Value", {-2, KwValue, 7, 2, 0, 0}, {}},
    };
    Constants constants;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        TokenReader reader;
        reader.SetLine(c.Text);
        Kernel k;
        const int32_t code = ReadKernel(k, reader, constants.Eval);
        EXPECT_EQ(std::tuple(code, reader.Token(), k.Size(), k.Scale, k.Symmetry, k.Mode), c.Want);
        ExpectBlock(k, c.Block);
    }
}

} // namespace
} // namespace korvel
