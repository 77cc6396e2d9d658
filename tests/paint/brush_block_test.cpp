#include "paint/brush_block.h"

#include "generate/token_reader.h"
#include "paint/brush.h"
#include "paint_fixture.h"
#include "support/temp_dir.h"

#include <fstream>

namespace korvel {
namespace {

class BrushBlockTest : public test::PaintFixture {
protected:
    int32_t ReadText(Brush& b, const std::string& text) {
        const std::string path = dir.File("b.brs");
        std::ofstream(path) << text;
        TokenReader reader;
        EXPECT_EQ(reader.Open(path), 0);
        return ReadBrush(b, reader, eval);
    }
    test::TempDir dir;
};

TEST_F(BrushBlockTest, WrittenBrushesReadBackTheSame) {
    const struct {
        const char* Name;
        int32_t XSize, YSize, Type;
        float Value, Bias, Lo, Hi;
        const char* MaskExpr;
        const char* DataExpr;
    } cases[] = {
        {"defaults", 11, 11, 0x7000, 1.0f, 0.5f, -1e30f, 1e30f, "1-r", "1-r"},
        {"wide and flat", 21, 5, 0x2153, -2.5f, 0.25f, -3.0f, 7.5f, "1-r", "1-r"},
        {"advanced", 7, 9, 0x10000 | 0x301, 0.125f, 0.75f, 0.0f, 1.0f, "x*y", "1-r*r"},
    };
    for (const auto& c : cases) {
        Brush written;
        written.Set(c.XSize, c.YSize, c.Type, c.Value, c.Bias, c.Lo, c.Hi, c.MaskExpr, c.DataExpr,
                    eval);
        written.BrushKernel.SetSize(3, 0.5f, 0, 0);
        written.BrushKernel.SetWeight(0, 1, -2.0f);
        Brush read;
        ASSERT_EQ(ReadText(read, FormatBrush(written)), 0) << c.Name;
        EXPECT_EQ(read.XSize, c.XSize) << c.Name;
        EXPECT_EQ(read.YSize, c.YSize) << c.Name;
        EXPECT_EQ(read.Type, c.Type) << c.Name;
        EXPECT_FLOAT_EQ(read.Value, c.Value) << c.Name;
        EXPECT_FLOAT_EQ(read.Bias, c.Bias) << c.Name;
        EXPECT_FLOAT_EQ(read.Lo, c.Lo) << c.Name;
        EXPECT_FLOAT_EQ(read.Hi, c.Hi) << c.Name;
        EXPECT_EQ(read.MaskExpr, c.MaskExpr) << c.Name;
        EXPECT_EQ(read.DataExpr, c.DataExpr) << c.Name;
        EXPECT_EQ(read.Mask, written.Mask) << c.Name;
        ASSERT_EQ(read.Data.size(), written.Data.size()) << c.Name;
        for (size_t i = 0; i < read.Data.size(); ++i)
            EXPECT_NEAR(read.Data[i], written.Data[i], 5e-6) << c.Name << " cell " << i;
        EXPECT_EQ(read.BrushKernel.Size(), 3) << c.Name;
        EXPECT_FLOAT_EQ(read.BrushKernel.Weight(0, 1), -2.0f) << c.Name;
    }
}

TEST_F(BrushBlockTest, TheWrittenLayout) {
    Brush b;
    b.Set(3, 3, 0, 2.0f, 0.5f, -1.0f, 1.0f, "1-r", "1-r", eval);
    const std::string text = FormatBrush(b);
    const std::string head = "Brush\nValue 2.00000\nxsize 3\nysize 3\nbias 0.50000\nType 0\n"
                             "Lo -1.00000\nHi 1.00000\nMaskExpr \"1-r\"\nDataExpr \"1-r\"\nData\n"
                             "   1.00000,    1.00000,    1.00000, \n";
    EXPECT_EQ(text.substr(0, head.size()), head);
    EXPECT_NE(text.find("Mask\n    1,     1,     1, \n"), std::string::npos);
    EXPECT_TRUE(text.ends_with("KernelEnd\nBrushEnd\n"));
}

TEST_F(BrushBlockTest, UntrustedGridsAreRebuiltFromTheFields) {
    const struct {
        const char* Name;
        const char* Text;
        int32_t XSize, YSize;
    } cases[] = {
        {"no data", "Brush xsize 5 ysize 7 Type 0 BrushEnd", 5, 7},
        {"short data stops at the next item",
         "Brush xsize 3 ysize 3 Type 0 Data 0.5, 0.5 Mask 1 1 1 1 1 1 1 1 1 BrushEnd", 3, 3},
        {"even size",
         "Brush xsize 4 ysize 3 Type 0 Data 0 0 0 0 0 0 0 0 0 0 0 0 "
         "Mask 1 1 1 1 1 1 1 1 1 1 1 1 BrushEnd",
         5, 3},
        {"size changed after the data",
         "Brush xsize 3 ysize 3 Type 0 Data 0 0 0 0 0 0 0 0 0 Mask 1 1 1 1 1 1 1 1 1 "
         "xsize 9 BrushEnd",
         9, 3},
        {"enormous size", "Brush xsize 2000000000 ysize 3 Type 0 Data 1 2 3 BrushEnd",
         Brush::MaxSize, 3},
    };
    for (const auto& c : cases) {
        Brush b;
        ASSERT_EQ(ReadText(b, c.Text), 0) << c.Name;
        EXPECT_EQ(b.XSize, c.XSize) << c.Name;
        EXPECT_EQ(b.YSize, c.YSize) << c.Name;
        EXPECT_EQ(b.Data.size(), static_cast<size_t>(c.XSize) * c.YSize) << c.Name;
        // Rebuilt square and hard: every weight 1.
        for (float d : b.Data)
            ASSERT_EQ(d, 1.0f) << c.Name;
    }
}

TEST_F(BrushBlockTest, GridsThatFitAreKeptWithMasksAsFlags) {
    Brush b;
    ASSERT_EQ(ReadText(b, "Brush xsize 3, ysize 3 Type 0\n"
                          "Data 0.1, 0.2, 0.3,\n 0.4, 0.5, 0.6,\n 0.7, 0.8, 0.9,\n"
                          "Mask 0, 2, -1,\n 0, 0, 0,\n 7, 0, 1,\nBrushEnd\n"),
              0);
    EXPECT_FLOAT_EQ(b.DataAt(1, 1), 0.5f);
    EXPECT_FLOAT_EQ(b.DataAt(2, 2), 0.9f);
    const std::vector<uint8_t> want = {0, 1, 1, 0, 0, 0, 1, 0, 1};
    EXPECT_EQ(b.Mask, want);
}

TEST_F(BrushBlockTest, AFileEndingInsideTheBlockSaysSo) {
    Brush b;
    EXPECT_EQ(ReadText(b, "Brush xsize 5 Value 3"), -1);
    EXPECT_EQ(ReadText(b, "Brush Kernel Size 3 Data 1 2"), -1);
}

} // namespace
} // namespace korvel
