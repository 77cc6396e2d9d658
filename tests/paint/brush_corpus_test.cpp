// Replays the brush fuzzer's seeds through the Brush block reader. valid_* must read to their
// BrushEnd, truncated_* must say the input ended; every file, corrupt_* included, must leave a
// brush whose grids match its odd, capped sizes.

#include "generate/token_reader.h"
#include "paint/brush.h"
#include "paint/brush_block.h"
#include "paint_fixture.h"

#include <cmath>
#include <filesystem>

namespace korvel {
namespace {

using BrushCorpusTest = test::PaintFixture;

TEST_F(BrushCorpusTest, EverySeedLeavesAUsableBrush) {
    const std::filesystem::path dir = std::filesystem::path(KORVEL_CORPUS_DIR) / "brush_block";
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        TokenReader reader;
        ASSERT_EQ(reader.Open(entry.path().string()), 0) << name;
        Brush b;
        const int32_t code = ReadBrush(b, reader, eval);
        if (name.starts_with("valid_")) {
            EXPECT_EQ(code, 0) << name;
        }
        if (name.starts_with("truncated_")) {
            EXPECT_EQ(code, -1) << name;
        }
        EXPECT_EQ(b.XSize, Brush::OddSize(b.XSize)) << name;
        EXPECT_EQ(b.YSize, Brush::OddSize(b.YSize)) << name;
        const size_t cells = static_cast<size_t>(b.XSize) * b.YSize;
        EXPECT_EQ(b.Data.size(), cells) << name;
        EXPECT_EQ(b.Mask.size(), cells) << name;
        EXPECT_EQ(b.Work.size(), cells) << name;
        for (size_t i = 0; i < b.Data.size(); ++i)
            ASSERT_TRUE(std::isfinite(b.Data[i])) << name << " cell " << i;
        ++files;
    }
    EXPECT_GE(files, 8);
}

TEST_F(BrushCorpusTest, TheSmallSeedReadsAsWritten) {
    TokenReader reader;
    ASSERT_EQ(reader.Open(std::string(KORVEL_CORPUS_DIR) + "/brush_block/valid_small.brs"), 0);
    Brush b;
    ASSERT_EQ(ReadBrush(b, reader, eval), 0);
    EXPECT_EQ(b.Value, 2.0f);
    EXPECT_EQ(b.Type, BrushSoftEdge | BrushRound);
    const std::vector<float> data = {0, 0.5f, 0, 0.5f, 1, 0.5f, 0, 0.5f, 0};
    const std::vector<uint8_t> mask = {0, 1, 0, 1, 1, 1, 0, 1, 0};
    EXPECT_EQ(b.Data, data);
    EXPECT_EQ(b.Mask, mask);
}

} // namespace
} // namespace korvel
