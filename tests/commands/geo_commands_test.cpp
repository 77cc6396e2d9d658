#include "commands/command.h"
#include "commands/command_runner.h"
#include "core/workspace.h"
#include "geo/geoid.h"
#include "geo/line_of_sight.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace korvel {
namespace {

class GeoCommandsTest : public ::testing::Test {
protected:
    GeoCommandsTest() {
        ws.TheSurface.Resize(8, 4, 0);
        ws.TheSurface.SetEdges(10.0, 11.0, 46.0, 45.0);
    }
    RunResult Run(const char* name) { return RunCommand(*FindCommandByName(name), ws); }

    test::RecordingHost host;
    Workspace ws{host};
};

TEST_F(GeoCommandsTest, GeoidParametersRefuseAUserModelWithoutLengths) {
    ws.GeoidModel = {9, -1.0, 6356752.0};
    EXPECT_EQ(Run("geoid-parameters").Status, RunStatus::Failed);
    ASSERT_FALSE(host.Messages.empty());
    EXPECT_NE(host.Messages.back().find("a = -1"), std::string::npos) << host.Messages.back();
    // A datum shows its own axes whatever was typed.
    ws.GeoidModel = {2, 1.0, 1.0};
    EXPECT_EQ(Run("geoid-parameters").Status, RunStatus::Done);
    EXPECT_EQ(ws.GeoidModel.A, 6378388.0);
}

// Reference at the lower left corner (45 N, 10 E) of the Surface, WGS-84: sample (7, 3) lies at
// 10.875 E, 45.75 N, where PROJ's topocentric up is -913.163714 m (see geoid_test.cpp).
TEST_F(GeoCommandsTest, FitGeoidBendsTheSurfaceFromItsReferencePlace) {
    ws.FitGeoid.RelativeTo = 0;
    ASSERT_EQ(Run("fit-geoid").Status, RunStatus::Done);
    EXPECT_NEAR(ws.TheSurface.Rows[3][7], -913.163714, 1e-3);
    EXPECT_EQ(ws.FitGeoid.Latitude, 45.0);
    EXPECT_EQ(ws.FitGeoid.Longitude, 10.0);
    EXPECT_EQ(ws.Undo.UndoName(), "Fit Geoid");
}

// Slices on a flat Surface with an observer 20 m up: each slice picture is saved under the next
// number, on the picture as it stood before.
TEST_F(GeoCommandsTest, LosSlicesAreSavedInSequence) {
    LosMaskFields& f = ws.LosMask;
    f.Latitude = 45.0;
    f.Longitude = 10.0;
    f.Slices = true;
    f.SliceFrames = 3;
    f.Sequence = 7;
    std::vector<std::string> names;
    const LosPictureSaver save = [&](const std::string& path, std::string&) {
        names.push_back(path);
        return 0;
    };
    Geoid wgs84;
    ASSERT_EQ(RunLineOfSight(ws, wgs84, save), LosDone);
    EXPECT_EQ(names, (std::vector<std::string>{"LOS00007.BMP", "LOS00008.BMP", "LOS00009.BMP"}));
    EXPECT_EQ(f.Sequence, 10);

    const LosPictureSaver failing = [&](const std::string& path, std::string& message) {
        message = path + ": the disk is full";
        return -5;
    };
    EXPECT_EQ(RunLineOfSight(ws, wgs84, failing), LosNotSaved);
    EXPECT_EQ(host.Messages.back(), "LOS00010.BMP: the disk is full");

    f.Sequence = std::numeric_limits<int32_t>::max();
    EXPECT_EQ(RunLineOfSight(ws, wgs84, save), LosSequenceExhausted);
    EXPECT_NE(host.Messages.back().find("Sequence"), std::string::npos);
}

} // namespace
} // namespace korvel
