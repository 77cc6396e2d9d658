#include "commands/command.h"
#include "commands/command_runner.h"
#include "core/workspace.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

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
    host.Answers = {true, true};
    ASSERT_EQ(Run("size").Status, RunStatus::Done);
    ASSERT_EQ(Run("new").Status, RunStatus::Done);
    EXPECT_EQ(Menu("undo"), "Undo New Surface\tCtrl+Z");
    EXPECT_FALSE(Enabled("redo"));

    ASSERT_EQ(Run("undo").Status, RunStatus::Done);
    EXPECT_EQ(Menu("undo"), "Undo Resize\tCtrl+Z");
    EXPECT_EQ(Menu("redo"), "Redo New Surface\tCtrl+Y");
    ASSERT_EQ(Run("undo").Status, RunStatus::Done);
    EXPECT_EQ(ws.TheSurface.XSize, 8);
    EXPECT_EQ(ws.TheSurface.Rows[0][0], 7.0f);
    EXPECT_FALSE(Enabled("undo"));
    EXPECT_EQ(Run("undo").Status, RunStatus::Disabled);
    EXPECT_TRUE(Enabled("flush"));
}

TEST_F(CommandRunnerTest, UndoLevelsZeroTakesNoSnapshot) {
    ws.General.Undo = 0;
    ASSERT_EQ(Run("new").Status, RunStatus::Done);
    EXPECT_EQ(ws.Undo.EntryCount(), 0);
    EXPECT_FALSE(Enabled("undo"));
    EXPECT_FALSE(Enabled("redo"));
    EXPECT_FALSE(Enabled("flush"));
}

TEST_F(CommandRunnerTest, CancelledDialogChangesNothing) {
    host.Answers = {false};
    ws.TheSurface.Rows[1][1] = 3.0f;
    EXPECT_EQ(Run("new").Status, RunStatus::Declined);
    EXPECT_EQ(ws.Undo.EntryCount(), 0);
    EXPECT_EQ(ws.TheSurface.Rows[1][1], 3.0f);
    EXPECT_EQ(host.Invalidations, 0);
}

TEST_F(CommandRunnerTest, NewSurfaceOfTheSameSizeIsFlat) {
    ws.TheSurface.Rows[3][7] = 5.0f;
    ASSERT_EQ(Run("new").Status, RunStatus::Done);
    EXPECT_EQ(ws.TheSurface.Rows[3][7], 0.0f);
    // The dialog was filled from the Surface before it was shown.
    EXPECT_EQ(host.DialogGroups, std::vector<std::string>{"new"});
}

TEST_F(CommandRunnerTest, FindMinMaxBringsBackTheWholeSurfaceExtremes) {
    ws.TheSurface.Min = 2.0;
    ws.TheSurface.Max = 3.0;
    ws.TheSurface.Rows[0][5] = -4.5f;
    ws.TheSurface.Rows[3][2] = 9.25f;
    ASSERT_EQ(Run("find-min-max").Status, RunStatus::Done);
    EXPECT_EQ(ws.TheSurface.Min, -4.5);
    EXPECT_EQ(ws.TheSurface.Max, 9.25);
    EXPECT_EQ(ws.Undo.EntryCount(), 0);
}

TEST_F(CommandRunnerTest, RefusalsAreReportedNotRun) {
    EXPECT_EQ(Run("journey").Status, RunStatus::Unavailable);
    EXPECT_EQ(Run("select-all").Status, RunStatus::Disabled);
    EXPECT_TRUE(Enabled("tool-lasso-selection"));
    ws.TheSurface.Resize(8, 4, Surface::SurfaceHasSelection);
    EXPECT_TRUE(Enabled("select-all"));
    EXPECT_FALSE(Enabled("tool-lasso-selection"));
}

TEST_F(CommandRunnerTest, RefreshClearsTheCancelFlagAndRedraws) {
    ws.TheProgress.CancelFlag = 'x';
    ASSERT_EQ(Run("new").Status, RunStatus::Done);
    EXPECT_EQ(ws.TheProgress.CancelFlag, 0);
    EXPECT_EQ(host.Invalidations, 1);
    EXPECT_EQ(host.KeyRepaints, 1);
    ws.TheProgress.CancelFlag = 27;
    ASSERT_EQ(Run("flush-abort").Status, RunStatus::Done);
    EXPECT_EQ(ws.TheProgress.CancelFlag, 0);
}

} // namespace
} // namespace korvel
