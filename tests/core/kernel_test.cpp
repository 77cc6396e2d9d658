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
#include <vector>

namespace korvel {
namespace {

struct Element {
    int32_t I, J;
    float W;
};

// The block holds exactly these non-zero elements.
void ExpectBlock(const Kernel& k, const std::vector<Element>& nonZero, const std::string& what) {
    for (int32_t i = 0; i < k.Size(); ++i)
        for (int32_t j = 0; j < k.Size(); ++j) {
            float want = 0.0f;
            for (const Element& e : nonZero)
                if (e.I == i && e.J == j)
                    want = e.W;
            EXPECT_EQ(k.Weight(i, j), want) << what << " at " << i << ", " << j;
        }
}

TEST(KernelTest, SetSizeRoundsUpToOddAndRefusesOutOfRange) {
    const struct {
        int32_t Asked, Code, Size, Extent;
    } cases[] = {{4, 0, 5, 7},    {1, 0, 1, 7},  {8, 0, 9, 9},
                 {32, 0, 33, 33}, {0, -1, 5, 7}, {34, -1, 5, 7}};
    for (const auto& c : cases) {
        Kernel k;
        ASSERT_EQ(k.SetSize(4, 1.0f, 0, 0), 0);
        EXPECT_EQ(k.SetSize(c.Asked, 0.25f, 3, 1), c.Code) << c.Asked;
        EXPECT_EQ(k.Size(), c.Size) << c.Asked;
        EXPECT_EQ(k.Extent(), c.Extent) << c.Asked;
        EXPECT_EQ(k.Scale, c.Code == 0 ? 0.25f : 1.0f) << c.Asked;
        ExpectBlock(k, {{k.Size() / 2, k.Size() / 2, 1.0f}}, std::to_string(c.Asked)); // identity
    }
}

TEST(KernelTest, FixedKernelsAndUnitScale) {
    Kernel box;
    box.SetSize(3, 1.0f, 0, 0);
    box.MakeBox();
    EXPECT_FLOAT_EQ(box.UnitScale(), 1.0f / 9.0f);
    Kernel sharp;
    sharp.SetSize(5, 3.0f, 0, 0);
    sharp.MakeSharpen();
    EXPECT_EQ(sharp.Weight(2, 2), 26.0f);
    EXPECT_EQ(sharp.Weight(0, 4), -1.0f);
    EXPECT_FLOAT_EQ(sharp.UnitScale(), 0.5f); // 26 - 24 = 2
    EXPECT_EQ(Kernel().UnitScale(), 1.0f);    // every weight 0
}

TEST(KernelTest, KrnFilesReadLineByLine) {
    const std::string junk(300, 'x');
    const struct {
        std::string Text;
        struct {
            int32_t Size;
            float Scale;
            int32_t Symmetry;
        } Want;
        std::vector<Element> Block;
    } cases[] = {
        {"SIZE=3\nKERN11=2.0\n# note\nSCALE\nSCAL=0.5\n", {3, 0.5f, 0}, {{1, 1, 2.0f}}},
        {"SIZE=3\nKERN00=5\nSIZE=5\nKERN44=1.5\n", {5, 1, 0}, {{2, 2, 1}, {4, 4, 1.5f}}},
        {"SIZE=3\nKERN00=3\nSIZE=3\n", {3, 1, 0}, {{0, 0, 3}, {1, 1, 1}}}, // same size keeps
        {"SIZE=3\r\nSCAL=+0.25\r\nSYMM=3\r\nKERN12=-1.5\r\n",
         {3, 0.25f, 3},
         {{1, 1, 1}, {1, 2, -1.5f}}},
        {"SIZE=0\nSIZE=x\nSIZE\nKERN33=9\nKERN7\nKERN-1=4\nKERN00=\nSYMM=8\nSCAL=z\n",
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
        EXPECT_EQ(k.Size(), c.Want.Size);
        EXPECT_EQ(k.Scale, c.Want.Scale);
        EXPECT_EQ(k.Symmetry, c.Want.Symmetry);
        ExpectBlock(k, c.Block, "");
    }
}

TEST(KernelTest, KrnSaveLoadRoundTripAndFailures) {
    test::TempDir dir;
    Kernel k;
    k.SetSize(5, 0.125f, 2, 0);
    for (int32_t i = 0; i < 5; ++i)
        for (int32_t j = 0; j < 5; ++j)
            k.SetWeight(i, j, 0.25f * static_cast<float>(i * 5 + j - 12));
    ASSERT_EQ(k.Save(dir.File("a.krn")), 0);
    const std::string text = test::ReadFileText(dir.File("a.krn"));
    EXPECT_EQ(text.substr(0, 52), "SIZE=5\nSYMM=2\nSCAL=0.125000\nKERN00=-3.000000\nKERN01=");

    Kernel back; // size 7: the file's SIZE line makes it 5
    ASSERT_EQ(back.Load(dir.File("a.krn")), 0);
    EXPECT_EQ(back.Size(), 5);
    EXPECT_EQ(back.Scale, 0.125f);
    EXPECT_EQ(back.Symmetry, 2);
    EXPECT_EQ(back.Weight(0, 1), -2.75f);
    EXPECT_EQ(back.Weight(4, 3), 2.75f);

    // Failures leave the kernel and the old file alone.
    EXPECT_EQ(back.Load(dir.File("missing.krn")), -1);
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

TEST(KernelBlockTest, WrittenTextReadsBack) {
    Kernel k;
    k.SetSize(3, 0.5f, 4, 2);
    k.SetWeight(0, 0, 1.0f);
    k.SetWeight(0, 1, -2.5f);
    k.SetWeight(2, 2, 0.125f);
    const std::string text = FormatKernel(k);
    EXPECT_EQ(text, "Kernel\nSize 3\nScale 0.50000\nSymmetry 4\nWrap 2\nData\n"
                    "    1.00000,   -2.50000,    0.00000,\n"
                    "    0.00000,    1.00000,    0.00000,\n"
                    "    0.00000,    0.00000,    0.12500,\n"
                    "KernelEnd\n");
    TokenReader reader;
    reader.SetLine(text + "Value 2\n");
    Constants constants;
    Kernel back;
    ASSERT_EQ(ReadKernel(back, reader, constants.Eval), 0);
    EXPECT_EQ(reader.Token(), KwValue);
    EXPECT_EQ(back.Scale, 0.5f);
    EXPECT_EQ(back.Symmetry, 4);
    EXPECT_EQ(back.Mode, 2);
    ExpectBlock(back, {{0, 0, 1.0f}, {0, 1, -2.5f}, {1, 1, 1.0f}, {2, 2, 0.125f}}, "read back");
}

TEST(KernelBlockTest, ItemsInAnyFormAndBadSizes) {
    const struct {
        const char* Text;
        struct {
            int32_t Code, Size;
            float Scale;
            int32_t Symmetry, Mode, After; // After: the token the reader is left on
        } Want;
        std::vector<Element> Block;
    } cases[] = {
        {"kernel size 3 scale 1/16 data 0 0 3 0 5 0 0 8, -9 kernelend value",
         {0, 3, 0.0625f, 0, 0, KwValue},
         {{0, 2, 3}, {1, 1, 5}, {2, 1, 8}, {2, 2, -9}}},
        // A short list ends at the next item; a size equal to the current one keeps the data.
        {"Size 4 Data 1, 2 Size 5 Symmetry 6 Wrap -1 KernelEnd",
         {0, 5, 1, 2, 3, TokEnd},
         {{0, 0, 1}, {0, 1, 2}, {2, 2, 1}}},
        {"Kernel Size 3 Data 1, 2, 3 Size 5", {-1, 5, 1, 0, 0, TokEnd}, {{2, 2, 1}}},
        // A refused size skips the block, so its Data is not the enclosing brush's.
        {"Kernel Scale 2 Size 40 Data 1, 2 KernelEnd Value", {-2, 7, 2, 0, 0, KwValue}, {}},
        {"Kernel Size 0 Data 1 BrushEnd", {-2, 7, 1, 0, 0, TokEnd}, {}},
    };
    Constants constants;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        TokenReader reader;
        reader.SetLine(c.Text);
        Kernel k;
        EXPECT_EQ(ReadKernel(k, reader, constants.Eval), c.Want.Code);
        EXPECT_EQ(reader.Token(), c.Want.After);
        EXPECT_EQ(k.Size(), c.Want.Size);
        EXPECT_EQ(k.Scale, c.Want.Scale);
        EXPECT_EQ(k.Symmetry, c.Want.Symmetry);
        EXPECT_EQ(k.Mode, c.Want.Mode);
        ExpectBlock(k, c.Block, c.Text);
    }
}

} // namespace
} // namespace korvel
