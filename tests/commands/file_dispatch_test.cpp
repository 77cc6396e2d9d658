#include "commands/file_dispatch.h"

#include "core/settings_store.h"
#include "core/workspace.h"
#include "shading/texture.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace korvel {
namespace {

class FileDispatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(ws.TheSurface.Resize(8, 4, 0), 0);
        for (int32_t y = 0; y < 4; ++y)
            for (int32_t x = 0; x < 8; ++x)
                ws.TheSurface.Rows[y][x] = static_cast<float>(10 * y + x);
        ws.TheSurface.Min = 0;
        ws.TheSurface.Max = 37;
    }
    test::RecordingHost host;
    Workspace ws{host};
    test::TempDir dir;
};

TEST_F(FileDispatchTest, ReadingCodesAndTheirMessages) {
    const std::string dem = dir.File("x.dem");
    test::WriteFileText(dem, "anything");
    const struct {
        std::string Path;
        int32_t Type;
        int32_t Code;
        std::string Message;
    } cases[] = {
        {"README", -1, -100, "\"README\" does not have an extension"},
        {"x.xyz", -1, -101, "Unrecognized extension in \"x.xyz\"."},
        {"x.obj", -1, -102, "Reading not implemented for this file type"},
        {"x.tin", -1, -110, "Error opening file \"x.tin:\nUnknown return code (-110)"},
        {"x.mdr", 0x900, -110, "Error opening file \"x.mdr:\nUnknown return code (-110)"},
        {dem, -1, -111, "Reading \"USGS DEM Surface\" files is not available yet"},
        {"x.mdr", 0x80A, -111, "Reading \"DMA DTED Cell Surface\" files is not available yet"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadFileByType(ws, c.Path, false, c.Type), c.Code) << c.Path;
        EXPECT_EQ(OpenFailureMessage(c.Code, c.Path, c.Type), c.Message) << c.Path;
    }
    EXPECT_TRUE(ws.RecentFiles.Items().empty());
    EXPECT_EQ(ws.TheSurface.XSize, 8);
}

TEST_F(FileDispatchTest, WritingRefusalsSayWhyOrNothing) {
    const std::string unable = " because extension is not recognized and no type was specified.";
    const struct {
        std::string Name;
        int32_t Code;
        std::string Message; // empty with Code -1: the "Unable to save file" text
    } cases[] = {
        {"x.xyz", -100, ""},
        {"noext", -1, ""},
        {"x.dem", -1, ""},
        {"x.obj", -1, "Writing \"3D Wavefront OBJ\" files is not available yet"},
    };
    for (const auto& c : cases) {
        const std::string path = dir.File(c.Name);
        std::string message;
        EXPECT_EQ(WriteFileByType(ws, path, -1, message), c.Code) << c.Name;
        const bool refused = c.Code == -1 && c.Message.empty();
        EXPECT_EQ(message, refused ? "Unable to save file " + path + unable : c.Message);
        EXPECT_FALSE(std::filesystem::exists(path)) << c.Name;
    }
}

TEST_F(FileDispatchTest, SurfacesBecomeTheDocumentOnlyWhenWritten) {
    std::string message;
    EXPECT_NE(WriteFileByType(ws, dir.File("no/dir/a.mdr"), -1, message), 0);
    EXPECT_EQ(message, "Error writing MDR file");
    EXPECT_TRUE(ws.CurrentFile.empty());
    EXPECT_TRUE(ws.RecentFiles.Items().empty());

    const std::string path = dir.File("a.mdr");
    ASSERT_EQ(WriteFileByType(ws, path, -1, message), 0) << message;
    EXPECT_EQ(ws.CurrentFile, path);

    test::RecordingHost otherHost;
    Workspace other(otherHost);
    ASSERT_EQ(ReadFileByType(other, path, true), 0);
    EXPECT_EQ(other.TheSurface.Rows[3][7], 37.0f);
    EXPECT_EQ(other.RecentFiles.Items(), std::vector<std::string>{path});
    EXPECT_EQ(otherHost.Invalidations, 1);
    // The picture was shaded from the elevations read.
    EXPECT_EQ(CurrentTexture(other).Width(), 8);
    EXPECT_NE(CurrentTexture(other).GetPixel(3, 2), 0u);
}

TEST_F(FileDispatchTest, PicturesReadResizeTheSurfaceAndAChosenTypeOverridesTheExtension) {
    Image& picture = TextureToDrawOn(ws);
    picture.SetPixel(1, 2, PackColor(10, 20, 30));
    std::string message;
    const std::string texture = dir.File("t.bmp");
    ASSERT_EQ(WriteFileByType(ws, texture, -1, message), 0) << message;
    // The same extension, written as heights instead of as the picture.
    const std::string heights = dir.File("h.bmp");
    ASSERT_EQ(WriteFileByType(ws, heights, 0x806, message), 0) << message;

    test::RecordingHost otherHost;
    Workspace other(otherHost);
    ASSERT_EQ(other.TheSurface.Resize(16, 16, 0), 0);
    ASSERT_EQ(ReadFileByType(other, texture, false), 0);
    EXPECT_EQ(other.TheSurface.XSize, 8);
    EXPECT_EQ(other.TheSurface.YSize, 4);
    EXPECT_EQ(CurrentTexture(other).GetPixel(1, 2), PackColor(10, 20, 30));

    ASSERT_EQ(ReadFileByType(other, heights, false, 0x806), 0);
    // Heights 0..37 stretched to 0..255, read back as pixel / 255.
    EXPECT_NEAR(other.TheSurface.Rows[3][7], 1.0f, 1e-6);
    EXPECT_EQ(other.RecentFiles.Items().front(), heights);
}

TEST_F(FileDispatchTest, TextureBatchNamesTilesByTheLowerLeftCorner) {
    EXPECT_EQ(TextureTileName(-120.5, 45.2), "w120n45.bmp");
    EXPECT_EQ(TextureTileName(10.0, -3.7), "e10s3.bmp");

    ws.TheSurface.SetEdges(-120.5, -110.0, 50.0, 45.2);
    std::string message;
    const std::string input = dir.File("in.mdr");
    ASSERT_EQ(WriteFileByType(ws, input, -1, message), 0);
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(dir.Root());
    const int32_t code = RunTextureBatch(ws, {input, dir.File("missing.mdr")}, message);
    std::filesystem::current_path(before);
    EXPECT_NE(code, 0);
    EXPECT_TRUE(message.starts_with("Error opening file")) << message;
    EXPECT_TRUE(std::filesystem::exists(dir.File("w120n45.bmp")));
}

TEST(RecentFileList, NewestFirstWithoutDuplicatesAndKeptInTheStore) {
    RecentFileList list;
    for (const char* path : {"a", "b", "c", "a", "d", "e", "f", "g"})
        list.Add(path);
    const std::vector<std::string> expected = {"g", "f", "e", "d", "a", "c"};
    EXPECT_EQ(list.Items(), expected);

    MemorySettingsStore store;
    list.Save(store);
    EXPECT_EQ(store.Read("Recent File List", "File1"), "g");
    RecentFileList loaded;
    loaded.Load(store);
    EXPECT_EQ(loaded.Items(), expected);
}

} // namespace
} // namespace korvel
