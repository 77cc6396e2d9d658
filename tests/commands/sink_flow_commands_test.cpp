#include "commands/command.h"
#include "commands/command_runner.h"
#include "commands/file_dispatch.h"
#include "core/workspace.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvel {
namespace {

// Every row of an 8 x 3 Surface falls by 1 a sample to the east: each sample sends its water
// straight east (1 down beats 1 over sqrt 2 across), so row by row the flow is 1 .. 8.
class SinkFlowCommandsTest : public ::testing::Test {
protected:
    SinkFlowCommandsTest() {
        ws.TheSurface.Resize(8, 3, 0);
        for (int32_t y = 0; y < 3; ++y)
            for (int32_t x = 0; x < 8; ++x)
                ws.TheSurface.Rows[y][x] = static_cast<float>(10 - x);
    }
    RunResult Run(const char* name) { return RunCommand(*FindCommandByName(name), ws); }

    test::RecordingHost host;
    Workspace ws{host};
    test::TempDir dir;
};

TEST_F(SinkFlowCommandsTest, TheKeptFlowIsSavedAndSelectsTheRivers) {
    EXPECT_EQ(Run("save-flow").Status, RunStatus::Disabled);
    EXPECT_EQ(Run("select-flow").Status, RunStatus::Disabled);
    ASSERT_EQ(Run("flow-accumulation").Status, RunStatus::Done);
    EXPECT_EQ(ws.Undo.EntryCount(), 0); // the elevations stay

    ws.SaveFlow.Path = dir.File("flow.mdr");
    ASSERT_EQ(Run("save-flow").Status, RunStatus::Done);
    EXPECT_EQ(ws.CurrentFile, ""); // the document is still the Surface
    Workspace other(host);
    ASSERT_EQ(ReadFileByType(other, ws.SaveFlow.Path, false), 0);
    ASSERT_EQ(other.TheSurface.XSize, 8);
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 8; ++x)
            EXPECT_EQ(other.TheSurface.Rows[y][x], static_cast<float>(x + 1)) << x << "," << y;

    ws.SelectFlow.Threshold = 6.5;
    ASSERT_EQ(Run("select-flow").Status, RunStatus::Done);
    ASSERT_TRUE(ws.TheSurface.Mask.Exists());
    EXPECT_EQ(std::vector<uint8_t>(ws.TheSurface.Mask.RowPointer(0, 1),
                                   ws.TheSurface.Mask.RowPointer(8, 1)),
              (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 255, 255}));
}

TEST_F(SinkFlowCommandsTest, EachTerrainCommandTakesItsUndoStep) {
    struct Case {
        const char* Name;
        const char* Undo;
    };
    for (const Case& k : {Case{"thermal", "Undo Thermal Erosion\tCtrl+Z"},
                          Case{"hydraulic", "Undo Hydraulic Erosion\tCtrl+Z"},
                          Case{"fill-sinks", "Undo Fill Sinks\tCtrl+Z"}}) {
        ASSERT_EQ(Run(k.Name).Status, RunStatus::Done) << k.Name;
        EXPECT_EQ(CurrentMenuText(*FindCommandByName("undo"), ws), k.Undo);
    }
}

} // namespace
} // namespace korvel
