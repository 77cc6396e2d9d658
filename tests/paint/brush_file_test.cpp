#include "paint/brush_file.h"

#include "paint/brush_block.h"
#include "paint/paint_state.h"
#include "paint_fixture.h"
#include "support/temp_dir.h"

#include <fstream>

namespace korvel {
namespace {

class BrushFileTest : public test::PaintFixture {
protected:
    Brush& Current() { return PaintStateOf(ws).Brushes.Current; }
    test::TempDir dir;
};

TEST_F(BrushFileTest, SavedBrushesOpenAgain) {
    SetToolSize(ws, 31, 39);
    SetBrushShape(ws, false);
    const std::string path = dir.File("b.brs");
    std::string message;
    ASSERT_EQ(WriteBrushDefinitionFile(path, ws, message), 0) << message;
    const std::string written = FormatBrush(Current());
    SetToolSize(ws, 5, 9);
    ASSERT_EQ(ReadBrushDefinitionFile(path, ws, message), 0) << message;
    EXPECT_EQ(Current().XSize, 31);
    EXPECT_EQ(FormatBrush(Current()), written);
}

TEST_F(BrushFileTest, RefusedFilesKeepTheBrush) {
    const struct {
        const char* Name;
        const char* Text;
        int32_t Code;
        const char* Message; // after the path
    } cases[] = {
        {"no brush", "LightParms LightParmsEnd", -108, ""},
        {"ends inside", "Brush xsize 41 Value 9", -105, "\": the file ends inside a block"},
    };
    for (const auto& c : cases) {
        const std::string path = dir.File("bad.brs");
        std::ofstream(path) << c.Text;
        const std::string before = FormatBrush(Current());
        std::string message;
        EXPECT_EQ(ReadBrushDefinitionFile(path, ws, message), c.Code) << c.Name;
        EXPECT_EQ(FormatBrush(Current()), before) << c.Name;
        const std::string want = c.Code == -108
                                     ? "no Brush found in " + path
                                     : "Error reading definition file \"" + path + c.Message;
        EXPECT_EQ(message, want) << c.Name;
    }
}

} // namespace
} // namespace korvel
