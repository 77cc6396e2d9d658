// Saving meshes and contours through the file dispatch: the dialog each type asks, what the
// person is told, and the old file kept when the dialog is cancelled or a value refused.
#include "commands/file_dialog.h"
#include "commands/file_dispatch.h"
#include "commands/mesh_export_commands.h"

#include "core/workspace.h"
#include "formats/file_type_table.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace korvel {
namespace {

class GeometryExport : public ::testing::Test {
protected:
    void SetUp() override {
        AddDialogSettings(ws);
        ASSERT_EQ(ws.TheSurface.Resize(8, 4, 0), 0);
        for (int32_t y = 0; y < 4; ++y)
            for (int32_t x = 0; x < 8; ++x)
                ws.TheSurface.Rows[y][x] = static_cast<float>(10 * y + x);
        ws.TheSurface.Min = 0;
        ws.TheSurface.Max = 37;
    }
    std::string Save(const std::string& name, int32_t type, int32_t expected) {
        std::string message;
        EXPECT_EQ(WriteFileByType(ws, dir.File(name), type, message), expected) << name;
        return message;
    }
    test::RecordingHost host;
    Workspace ws{host};
    test::TempDir dir;
};

TEST_F(GeometryExport, EachTypeAsksItsDialog) {
    const struct {
        const char* Name;
        int32_t Type;
        const char* Group;
    } cases[] = {
        {"a.obj", -1, "mesh"},
        {"a.inc", -1, "mesh"},
        {"a.raw", -1, "mesh"},
        {"a.tin", -1, "mesh"},
        {"a.rd4", -1, "mesh"},
        {"a.txt", -1, "mesh"},
        {"a.dxf", -1, "mesh"},
        {"b.dxf", FileDxfTriangles, "mesh"},
        {"c.dxf", FileDxfContours, "dxf-contours"},
        {"a.fcw", -1, "cc2"},
    };
    for (const auto& c : cases) {
        host.DialogGroups.clear();
        EXPECT_EQ(Save(c.Name, c.Type, 0), "") << c.Name;
        EXPECT_EQ(host.DialogGroups, std::vector<std::string>{c.Group}) << c.Name;
    }
    // The output size starts as the Surface's each time.
    EXPECT_EQ(ws.MeshExport.Width, 8);
    EXPECT_EQ(ws.MeshExport.Height, 4);
    EXPECT_TRUE(
        host.Messages.back().ends_with(" lines written to file \"" + dir.File("c.dxf") + "\""))
        << host.Messages.back();
}

TEST_F(GeometryExport, StepAndBoxFromTheFields) {
    // Every 3rd sample of 8 x 4: columns 0, 3.5, 7 (3 vertices) and rows 0 and 3 (2).
    ws.MeshExport.Step = 3;
    ws.MeshExport.Box = MeshBoxPixel;
    ws.MeshExport.Decimals = 3;
    EXPECT_EQ(Save("s.txt", -1, 0), "");
    // X = 7 x / 8, Y = 3 y / 4, Z = h; the last row is left out here, as the sampler gives
    // the stored sample left of a fractional position on the last row.
    const std::string text = test::ReadFileText(dir.File("s.txt"));
    EXPECT_EQ(text.substr(0, 54), "0.000 0.000 0.000\n3.062 0.000 3.500\n6.125 0.000 7.000\n");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 6);
    EXPECT_EQ(ws.MeshExport.MaxX, 7.0);
}

TEST_F(GeometryExport, RefusalsKeepTheOldFileAndSayWhy) {
    const std::string obj = dir.File("keep.obj");
    const std::string contours = dir.File("keep.dxf");
    const std::string cc2 = dir.File("keep.fcw");
    for (const std::string& path : {obj, contours, cc2})
        test::WriteFileText(path, "old");
    host.Answers = {false};
    EXPECT_EQ(Save("keep.obj", -1, -1),
              "Writing \"" + obj + "\" as Wavefront OBJ Mesh was cancelled");
    ws.DxfContours.Value = 0;
    EXPECT_EQ(Save("keep.dxf", FileDxfContours, -5),
              "Value must be greater than 0: a spacing or count of 0 gives no contours (no "
              "contours written to \"" +
                  contours + "\")");
    ws.Cc2Export.Interval = -2;
    EXPECT_EQ(Save("keep.fcw", -1, -4),
              "Interval: Value must be greater than or equal to 0 (no contours written to \"" +
                  cc2 + "\")");
    ws.TheSurface.Max = 0;
    ws.DxfContours.Value = 10;
    EXPECT_EQ(Save("keep.dxf", FileDxfContours, -7),
              "The surface has no contour information (completely flat) (no contours written "
              "to \"" +
                  contours + "\")");
    for (const std::string& path : {obj, contours, cc2})
        EXPECT_EQ(test::ReadFileText(path), "old") << path;
    EXPECT_EQ(Save("no/dir/x.obj", -1, -2), "3D Write operation returned error code -2 on file " +
                                                dir.File("no/dir/x.obj") +
                                                ": No such file or directory");
}

TEST_F(GeometryExport, FieldsAreSettingsOfTheirGroups) {
    for (const char* name : {"mesh.Step", "mesh.ClipLow", "dxf-contours.Mode", "cc2.Interval"})
        EXPECT_NE(FindSetting(ws.Settings, name), nullptr) << name;
    ASSERT_NE(FindDialogField("mesh.Decimals"), nullptr);
    EXPECT_EQ(FindFileDialogByGroup("MESH")->Title, "3D DXF Exporting");
    EXPECT_EQ(FindFileDialog(FileCc2Contours)->Title, "CC2 File Export");
    EXPECT_EQ(FindFileDialog(FileDxfContours)->Title, "Two-D Contour Lines");
}

} // namespace
} // namespace korvel
