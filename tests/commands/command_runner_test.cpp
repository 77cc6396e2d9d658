#include "commands/command.h"
#include "commands/command_runner.h"
#include "core/workspace.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <utility>

namespace korvel {
namespace {

class CommandRunnerTest : public ::testing::Test {
protected:
    CommandRunnerTest() { ws.TheSurface.Resize(8, 4, 0); }

    RunResult Run(const char* name) { return RunCommand(*FindCommandByName(name), ws); }
    std::string Menu(const char* name) { return CurrentMenuText(*FindCommandByName(name), ws); }
    bool Enabled(const char* name) { return IsCommandEnabled(*FindCommandByName(name), ws); }

    test::RecordingHost host;
    Workspace ws{host};
};

TEST_F(CommandRunnerTest, UndoMenuNamesTheStepsAndTwoUndosRestoreTheStart) {
    ws.TheSurface.Rows[0][0] = 7.0f;
    ws.CalcSize = {16, 4};
    ASSERT_EQ(Run("size").Status, RunStatus::Done);
    ASSERT_EQ(Run("new").Status, RunStatus::Done);
    EXPECT_EQ(Menu("undo"), "Undo New Surface\tCtrl+Z");
    EXPECT_FALSE(Enabled("redo"));
    ASSERT_EQ(Run("undo").Status, RunStatus::Done);
    EXPECT_EQ(Menu("undo"), "Undo Resize\tCtrl+Z");
    EXPECT_EQ(Menu("redo"), "Redo New Surface\tCtrl+Y");
    ASSERT_EQ(Run("undo").Status, RunStatus::Done);
    EXPECT_EQ(std::pair(ws.TheSurface.XSize, ws.TheSurface.Rows[0][0]), std::pair(8, 7.0f));
    EXPECT_EQ(Run("undo").Status, RunStatus::Disabled);
    EXPECT_TRUE(Enabled("flush"));
}

TEST_F(CommandRunnerTest, UndoLevelsZeroTakesNoSnapshot) {
    ws.General.Undo = 0;
    ASSERT_EQ(Run("new").Status, RunStatus::Done);
    EXPECT_EQ(ws.Undo.EntryCount(), 0);
    EXPECT_FALSE(Enabled("undo") || Enabled("redo") || Enabled("flush"));
}

// A declined dialog changes nothing; an accepted one of the same size makes the Surface flat,
// clears a key left over and redraws.
TEST_F(CommandRunnerTest, NewSurfaceDeclinedOrOfTheSameSize) {
    host.Answers = {false, true};
    ws.TheSurface.Rows[3][7] = 5.0f;
    EXPECT_EQ(Run("new").Status, RunStatus::Declined);
    EXPECT_EQ(std::pair(ws.TheSurface.Rows[3][7], host.Invalidations), std::pair(5.0f, 0));
    ws.TheProgress.CancelFlag = 'x';
    ASSERT_EQ(Run("new").Status, RunStatus::Done);
    EXPECT_EQ(std::pair(ws.TheSurface.Rows[3][7], ws.TheProgress.CancelFlag.load()),
              std::pair(0.0f, 0));
    EXPECT_EQ(std::pair(host.Invalidations, host.KeyRepaints), std::pair(1, 1));
    ws.TheProgress.CancelFlag = 27;
    ASSERT_EQ(Run("flush-abort").Status, RunStatus::Done);
    EXPECT_EQ(ws.TheProgress.CancelFlag, 0);
}

TEST_F(CommandRunnerTest, RefusalsAreReportedNotRun) {
    EXPECT_EQ(Run("journey").Status, RunStatus::Unavailable);
    EXPECT_EQ(Run("select-all").Status, RunStatus::Disabled);
    EXPECT_TRUE(Enabled("tool-lasso-selection"));
    ws.TheSurface.Resize(8, 4, Surface::SurfaceHasSelection);
    EXPECT_TRUE(Enabled("select-all"));
    EXPECT_FALSE(Enabled("tool-lasso-selection"));
}

} // namespace
} // namespace korvel
