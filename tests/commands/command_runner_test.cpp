#include "commands/command.h"
#include "commands/command_runner.h"
#include "commands/surface_operations.h"
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

// A command that cannot run says why, in the words the user reads after "korvel-cli: ".
TEST_F(CommandRunnerTest, DisabledCommandsSayWhy) {
    const struct {
        const char* Name;
        const char* Command;
        int32_t UndoLevels;
        const char* Want;
    } cases[] = {
        {"empty undo stack", "undo", 4, "undo: nothing to undo"},
        {"empty redo stack", "redo", 4, "redo: nothing to redo"},
        {"undo switched off", "undo", 0,
         "undo: undo is switched off: turn it on with `set Undo=4`"},
        {"nothing to flush", "flush", 4, "flush: the undo buffers are empty"},
        {"no mask to select in", "select-all", 4,
         "select-all: turn the selection mask on first with `set Selection=1`"},
        {"no mask to feather", "feather", 4,
         "feather: turn the selection mask on first with `set Selection=1`"},
    };
    for (const auto& c : cases) {
        ws.General.Undo = c.UndoLevels;
        const RunResult result = Run(c.Command);
        EXPECT_EQ(result.Status, RunStatus::Disabled) << c.Name;
        EXPECT_EQ(DescribeRunResult(*FindCommandByName(c.Command), result), c.Want) << c.Name;
    }
}

// A failed operation is described by its own codes where it has them, never by a bare number
// when it does.
TEST(DescribeRunResult, FailuresInTheOperationsOwnWords) {
    const struct {
        const char* Name;
        const char* Command;
        int32_t Code;
        const char* Want;
    } cases[] = {
        {"flip without a row buffer", "flip-vertical", -2,
         "\"flip-vertical\" failed: out of memory for a row"},
        {"scaling a flat surface", "scale", -2,
         "\"scale\" failed: the surface is flat, so it has no range to scale"},
        {"blur without its work grid", "blur-some", -2,
         "\"blur-some\" failed: out of memory for the work grid"},
        {"a command without codes of its own", "size", -2, "\"size\" failed with code -2"},
        {"a refusal without codes of its own", "size", -1, "\"size\" was cancelled or refused"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DescribeRunResult(*FindCommandByName(c.Command), {RunStatus::Failed, c.Code}),
                  c.Want)
            << c.Name;
}

TEST(MemoryShortfall, RefusesOnlySizesBeyondTheMemoryLeft) {
    constexpr uint64_t GiB = 1024ull * 1024 * 1024;
    const struct {
        const char* Name;
        int32_t Width, Height;
        uint64_t BytesPerSample, Available;
        const char* Want; // empty: accepted
    } cases[] = {
        // 1000 x 1000 x 7 bytes = 6.7 MB
        {"small", 1000, 1000, 7, GiB, ""},
        {"unknown memory", 100000, 100000, 7, 0, ""},
        // exactly what is left: 4096 x 4096 x 8 bytes = 128 MiB
        {"just fits", 4096, 4096, 8, 128ull * 1024 * 1024, ""},
        // 1e10 samples x 7 bytes = 7e10 bytes = 65.19 GiB
        {"too big", 100000, 100000, 7, 8 * GiB,
         "A 100000 x 100000 Surface needs 65.2 GB for its grid and picture, but only 8.0 GB of "
         "memory is available"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MemoryShortfall(c.Width, c.Height, c.BytesPerSample, c.Available), c.Want)
            << c.Name;
    }
}

TEST_F(CommandRunnerTest, RefusalsAreReportedNotRun) {
    EXPECT_EQ(Run("zoom-in").Status, RunStatus::Unavailable);
    EXPECT_EQ(Run("select-all").Status, RunStatus::Disabled);
    EXPECT_TRUE(Enabled("tool-lasso-selection"));
    ws.TheSurface.Resize(8, 4, Surface::SurfaceHasSelection);
    EXPECT_TRUE(Enabled("select-all"));
    // The selection tools add to and take from the mask there is.
    EXPECT_TRUE(Enabled("tool-lasso-selection"));
}

} // namespace
} // namespace korvel
