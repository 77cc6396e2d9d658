#include "core/kernel.h"
#include "formats/krn.h"

#include "core/workspace.h"
#include "generate/evaluator.h"
#include "generate/kernel_block.h"
#include "generate/keywords.h"
#include "generate/token_reader.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace korvel {
namespace {

using Block = std::map<std::pair<int32_t, int32_t>, float>; // the non-zero elements, by (i, j)

void ExpectBlock(const Kernel& k, const Block& nonZero) {
    for (int32_t i = 0, n = k.Size(); i < n * n; ++i) {
        const auto it = nonZero.find({i / n, i % n});
        EXPECT_EQ(k.Weight(i / n, i % n), it == nonZero.end() ? 0.0f : it->second) << i;
    }
}

TEST(KernelTest, KrnFilesReadLineByLine) {
    const std::string junk(300, 'x'); // the rest of an over-long line is not a line of its own
    // Sizes round up to odd, with the identity as the new block.
    const std::tuple<std::string, std::tuple<int32_t, float, int32_t>, Block> cases[] = {
        {"SIZE=3\nKERN11=2\n# note\nSCALE\nSCAL=0.5\nSYMM=3\n", {3, 0.5f, 3}, {{{1, 1}, 2.0f}}},
        {"SIZE=3\nKERN00=5\nSIZE=4\nKERN44=1.5\n", {5, 1, 0}, {{{2, 2}, 1}, {{4, 4}, 1.5f}}},
        {"SIZE=3\r\nSCAL=+0.25\r\nKERN12=-1.5\r\n", {3, 0.25f, 0}, {{{1, 1}, 1}, {{1, 2}, -1.5f}}},
        {"SIZE=0\nKERN33=9\nKERN7\nKERN-1=4\nKERN00=\nSYMM=8\nSCAL=z\n", {3, 1, 0}, {{{1, 1}, 1}}},
        {std::string("KERN\0\0=1\nSI\0E=5\n", 16), {3, 1, 0}, {{{1, 1}, 1}}},
        {junk.substr(0, 255) + "KERN00=7\nSCAL=0.5" + junk + "\n", {3, 0.5f, 0}, {{{1, 1}, 1}}},
    };
    test::TempDir dir;
    for (const auto& [text, want, block] : cases) {
        SCOPED_TRACE(text.substr(0, 40));
        test::WriteFileText(dir.File("k.krn"), text);
        Kernel k;
        k.SetSize(3, 1.0f, 0, 0);
        k.SetWeight(0, 0, 4.0f); // cleared by the load
        ASSERT_EQ(LoadKernelFile(k, dir.File("k.krn")), 0);
        EXPECT_EQ(std::tuple(k.Size(), k.Scale, k.Symmetry), want);
        ExpectBlock(k, block);
    }
}

TEST(KernelTest, KrnSaveLoadRoundTripAndFailures) {
    test::TempDir dir;
    Kernel k;
    k.SetSize(5, 0.125f, 2, 0);
    k.SetWeight(4, 3, 2.75f);
    ASSERT_EQ(SaveKernelFile(k, dir.File("a.krn")), 0);
    const std::string text = test::ReadFileText(dir.File("a.krn"));
    EXPECT_TRUE(text.starts_with("SIZE=5\nSYMM=2\nSCAL=0.125000\nKERN00=0.000000\nKERN01="))
        << text;
    Kernel back; // size 7: the file's SIZE line makes it 5
    ASSERT_EQ(LoadKernelFile(back, dir.File("a.krn")), 0);
    EXPECT_EQ(std::tuple(back.Size(), back.Scale, back.Symmetry, back.Weight(4, 3)),
              std::tuple(5, 0.125f, 2, 2.75f));
    EXPECT_EQ(LoadKernelFile(back, dir.Root().string()), -1);
    EXPECT_EQ(back.Size(), 5); // failures leave the kernel and the old file alone
    EXPECT_EQ(SaveKernelFile(k, dir.File("no/such.krn")), -1);
    ASSERT_EQ(k.SetSize(11, 1.0f, 0, 0), 0);
    EXPECT_EQ(SaveKernelFile(k, dir.File("a.krn")), -2);
    EXPECT_EQ(test::ReadFileText(dir.File("a.krn")), text);
}

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
    // Text, {code, the token the reader is left on, Size, Scale, Symmetry, Mode}, block
    using Want = std::tuple<int32_t, int32_t, int32_t, float, int32_t, int32_t>;
    const std::tuple<std::string, Want, Block> cases[] = {
        {text + "Value 2",
         {0, KwValue, 3, 0.5f, 4, 2},
         {{{0, 1}, -2.5f}, {{1, 1}, 1}, {{2, 2}, 0.125f}}},
        // A short list ends at the next item; a size equal to the current one keeps the data.
        {"Size 4 Data 1, 2 Size 5 Symmetry 6 Wrap -1 KernelEnd",
         {0, TokEnd, 5, 1, 2, 3},
         {{{0, 0}, 1}, {{0, 1}, 2}, {{2, 2}, 1}}},
        {"Kernel Size 3 Data 1, 2, 3 Size 5", {-1, TokEnd, 5, 1, 0, 0}, {{{2, 2}, 1}}},
        // A refused size skips the block, so its Data is not the enclosing brush's.
        {"Kernel Scale 2 Size 40 Data 1, 2 KernelEnd Value", {-2, KwValue, 7, 2, 0, 0}, {}},
        // Sizes 3 to 32 only, although a kernel itself may be 1 or 33 wide.
        {"Size 33 KernelEnd", {-2, TokEnd, 7, 1, 0, 0}, {}},
        {"Size 1 KernelEnd", {-2, TokEnd, 7, 1, 0, 0}, {}},
        {"Size 32 KernelEnd", {0, TokEnd, 33, 1, 0, 0}, {{{16, 16}, 1}}},
    };
    test::RecordingHost host; // constants are folded by the program's own evaluator
    Workspace ws{host};
    Evaluator eval{ws.TheSurface, ws.Noise, ws.Random, ws.TheSurface.Generation};
    for (const auto& [line, want, block] : cases) {
        SCOPED_TRACE(line);
        TokenReader reader;
        reader.SetLine(line);
        Kernel k;
        const int32_t code = ReadKernel(k, reader, eval);
        EXPECT_EQ(std::tuple(code, reader.Token(), k.Size(), k.Scale, k.Symmetry, k.Mode), want);
        ExpectBlock(k, block);
    }
}

} // namespace
} // namespace korvel
