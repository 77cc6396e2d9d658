#include "formats/vector_file.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvel {
namespace {

struct Expected {
    PackedColor Color;
    int32_t Width;
    std::vector<std::pair<double, double>> Points;
};

VectorDrawing Read(const std::string& text) {
    return ReadVectorBuffer(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

TEST(VectorFile, ReadsStrokesAsTheActionsSay) {
    struct Case {
        const char* Name;
        std::string Text;
        std::vector<Expected> Strokes;
        int64_t Rejected;
    };
    const std::string longTail(520, ' ');
    const std::string exactly511 = "L 4 4" + std::string(506, ' ');
    const Case cases[] = {
        {"red line along latitude 10",
         "C 1 0 0\nM 10 20\nL 10 30\n",
         {{0x0000FF, 1, {{10, 20}, {10, 30}}}},
         0},
        // One number is above 1: nothing is scaled, and 0.5 truncates to 0.
        {"unscaled colour", "C 0.5 0.5 2\nM 0 0\nL 1 1\n", {{0x020000, 1, {{0, 0}, {1, 1}}}}, 0},
        {"channels keep their low 8 bits",
         "c 300 -1 0\nm 0 0\nl 1 1\n",
         {{0x00FF2C, 1, {{0, 0}, {1, 1}}}},
         0},
        {"width, then lines continue",
         "W 3\nM 0 0\nL 1 1\nL 2 0\n",
         {{0, 3, {{0, 0}, {1, 1}, {2, 0}}}},
         0},
        {"new pen starts a new stroke",
         "M 0 0\nL 1 1\nC 0 1 0\nL 2 2\n",
         {{0, 1, {{0, 0}, {1, 1}}}, {0x00FF00, 1, {{1, 1}, {2, 2}}}},
         0},
        {"move breaks the stroke",
         "M 0 0\nL 1 1\nM 5 5\nL 6 6\n",
         {{0, 1, {{0, 0}, {1, 1}}}, {0, 1, {{5, 5}, {6, 6}}}},
         0},
        {"line before any move only places the pen",
         "L 1 1\nL 2 2\n",
         {{0, 1, {{1, 1}, {2, 2}}}},
         0},
        {"signs, exponents, CR LF",
         "M +1 -2e1\r\nL 1.5E+1 .5\r\n",
         {{0, 1, {{1, -20}, {15, 0.5}}}},
         0},
        {"too few numbers skip the line",
         "M 0 0\nL 7\nM10,20\nL 1 1\n",
         {{0, 1, {{0, 0}, {1, 1}}}},
         0},
        {"other lines skipped", "# comment\n\n x\nM 0 0\nL 1 1", {{0, 1, {{0, 0}, {1, 1}}}}, 0},
        // The tail of a long line is not a line of its own.
        {"long line dropped whole",
         "M 0 0\nL 1 1" + longTail + "L 9 9\nL 2 2\n",
         {{0, 1, {{0, 0}, {2, 2}}}},
         1},
        {"511 characters are read", "M 0 0\n" + exactly511 + "\n", {{0, 1, {{0, 0}, {4, 4}}}}, 0},
        {"non-finite and absurd numbers",
         "M 0 0\nL nan 5\nL 5 inf\nL 1e300 5\nL 2e9 0\nL 2 2\n",
         {{0, 1, {{0, 0}, {2, 2}}}},
         4},
        {"absurd widths", "W 1000\nW -1\nM 0 0\nL 1 1\n", {{0, 1, {{0, 0}, {1, 1}}}}, 2},
        {"nothing", "", {}, 0},
    };
    for (const Case& c : cases) {
        const VectorDrawing d = Read(c.Text);
        EXPECT_EQ(d.RejectedLines, c.Rejected) << c.Name;
        EXPECT_EQ(d.FirstRejection.empty(), c.Rejected == 0) << c.Name;
        ASSERT_EQ(d.Strokes.size(), c.Strokes.size()) << c.Name;
        for (size_t i = 0; i < c.Strokes.size(); ++i) {
            const VectorStroke& got = d.Strokes[i];
            const Expected& want = c.Strokes[i];
            EXPECT_EQ(got.Color, want.Color) << c.Name << " stroke " << i;
            EXPECT_EQ(got.Width, want.Width) << c.Name << " stroke " << i;
            ASSERT_EQ(got.Points.size(), want.Points.size()) << c.Name << " stroke " << i;
            for (size_t k = 0; k < want.Points.size(); ++k) {
                EXPECT_DOUBLE_EQ(got.Points[k].Lat, want.Points[k].first) << c.Name;
                EXPECT_DOUBLE_EQ(got.Points[k].Lon, want.Points[k].second) << c.Name;
            }
        }
    }
}

TEST(VectorFile, FirstRejectionNamesItsLine) {
    const VectorDrawing d = Read("M 0 0\nL 1 1\nL nan 2\nW 999\n");
    EXPECT_EQ(d.RejectedLines, 2);
    EXPECT_EQ(d.FirstRejection, "line 3 holds a number that is not finite or out of range");
}

TEST(VectorFile, MissingFileIsReportedWithItsReason) {
    test::TempDir dir;
    VectorDrawing d;
    std::string reason;
    EXPECT_EQ(ReadVectorFile(dir.File("none.txt"), d, &reason), VectorFileCannotOpen);
    EXPECT_NE(reason.find("No such file"), std::string::npos) << reason;
    test::WriteFileText(dir.File("v.txt"), "M 1 2\nL 3 4\n");
    EXPECT_EQ(ReadVectorFile(dir.File("v.txt"), d, &reason), 0);
    EXPECT_EQ(d.Strokes.size(), 1u);
}

} // namespace
} // namespace korvel
