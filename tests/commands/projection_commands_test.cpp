#include "commands/command.h"
#include "commands/command_runner.h"
#include "commands/projection_commands.h"
#include "core/workspace.h"
#include "shading/texture.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace korvel {
namespace {

class ProjectionCommandsTest : public ::testing::Test {
protected:
    ProjectionCommandsTest() {
        ws.TheSurface.Resize(44, 30, 0);
        for (int32_t y = 0; y < 30; ++y)
            for (int32_t x = 0; x < 44; ++x)
                ws.TheSurface.Rows[y][x] = static_cast<float>(x + y);
        ws.TheSurface.SetEdges(-180.0, 180.0, 90.0, -90.0);
    }
    RunResult Run(const char* name) { return RunCommand(*FindCommandByName(name), ws); }

    test::RecordingHost host;
    Workspace ws{host};
    test::TempDir dir;
};

TEST_F(ProjectionCommandsTest, MapProjectionWritesItsExportAndLeavesTheSurface) {
    ws.MapProjection.Index = 10;
    ws.MapProjection.Width = 100;
    ws.MapProjection.Height = 50;
    ws.MapProjection.Path = dir.File("moll.bmp");
    ASSERT_EQ(Run("map-projection").Status, RunStatus::Done);
    EXPECT_EQ(std::filesystem::file_size(ws.MapProjection.Path), 15054u);
    EXPECT_EQ(ws.Undo.EntryCount(), 0);
    EXPECT_EQ(ws.TheSurface.Rows[3][5], 8.0f);
}

TEST_F(ProjectionCommandsTest, MapProjectionRefusalIsShownWithTheFile) {
    ws.MapProjection.Index = 7;
    ws.MapProjection.Top = 25.0;
    ws.MapProjection.Bottom = -25.0;
    ws.MapProjection.Path = dir.File("lcc.bmp");
    const RunResult result = Run("map-projection");
    EXPECT_EQ(result.Status, RunStatus::Failed);
    ASSERT_EQ(host.Messages.size(), 1u);
    EXPECT_NE(host.Messages[0].find("Lambert Conformal Conic"), std::string::npos);
    EXPECT_NE(host.Messages[0].find("lcc.bmp"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(ws.MapProjection.Path));
}

TEST_F(ProjectionCommandsTest, IcosahedralChangesThePictureNotTheElevations) {
    const PackedColor before = CurrentTexture(ws).GetPixel(0, 29);
    ASSERT_EQ(Run("icosahedral-projection").Status, RunStatus::Done);
    const Image& after = CurrentTexture(ws);
    // The top row's first column lies left of the first apex: background.
    EXPECT_EQ(after.GetPixel(0, 29), 0u);
    EXPECT_NE(before, 0u);
    EXPECT_EQ(ws.TheSurface.Rows[3][5], 8.0f);
    EXPECT_EQ(ws.Undo.EntryCount(), 0);
}

TEST_F(ProjectionCommandsTest, ReprojectTerrainAsksThenSaysItIsNotThere) {
    struct Case {
        const char* Name;
        bool Answer;
        size_t Messages;
    };
    for (const Case& c : {Case{"No", false, 0}, Case{"Yes", true, 1}}) {
        host.Messages.clear();
        host.Questions.clear();
        host.Answers = {c.Answer};
        ReprojectTerrainData(ws);
        ASSERT_EQ(host.Questions.size(), 1u) << c.Name;
        EXPECT_EQ(host.Questions[0], "Reprojecting may cause the boundaries and resolution to be "
                                     "incorrect. Continue?");
        ASSERT_EQ(host.Messages.size(), c.Messages) << c.Name;
        if (c.Messages) {
            EXPECT_EQ(host.Messages[0], "Sorry, not implemented. Try back in a version or so");
        }
    }
}

} // namespace
} // namespace korvel
