#include "commands/file_dispatch.h"

#include "core/settings_store.h"
#include "core/workspace.h"
#include "formats/file_type_table.h"
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
    const struct {
        std::string Path;
        int32_t Type;
        int32_t Code;
        std::string Message;
    } cases[] = {
        {"README", -1, -100, "\"README\" does not have an extension"},
        {"x.xyz", -1, -101, "Unrecognized extension in \"x.xyz\"."},
        {"x.obj", -1, -102,
         "cannot open \"x.obj\": Reading not implemented for this file type (\"3D Wavefront "
         "OBJ\" files are only written)"},
        {"x.tin", -1, -110,
         "cannot open \"x.tin\": \"3D Triangle Irregular Network\" files have no reader"},
        {"x.mdr", 0x900, -110, "cannot open \"x.mdr\": no file type has the code 0x900"},
    };
    for (const auto& c : cases) {
        std::string reason;
        EXPECT_EQ(ReadFileByType(ws, c.Path, false, c.Type, &reason), c.Code) << c.Path;
        EXPECT_EQ(OpenFailureMessage(c.Code, c.Path, c.Type, reason), c.Message) << c.Path;
        // Without the reader's reason the dispatch's own codes say the same.
        EXPECT_EQ(OpenFailureMessage(c.Code, c.Path, c.Type), c.Message) << c.Path;
    }
    EXPECT_TRUE(ws.RecentFiles.Items().empty());
    EXPECT_EQ(ws.TheSurface.XSize, 8);
}

// The codes of readers still to come keep their documented texts; a code nobody names still
// says what was being done.
TEST(OpenFailureMessage, CodesWithoutAReaderYet) {
    const struct {
        int32_t Code;
        std::string Reason;
        std::string Message;
    } cases[] = {
        {-103, "", "Error reading Muse DTED file \"m.dte\"."},
        {-104, "READ", "Error reading DTED cell file \"m.dte\": READ"},
        {-106, "", "cannot open \"m.dte\": the MUSE DTED read information was cancelled"},
        {-42, "", "cannot open \"m.dte\": opening failed (code -42)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OpenFailureMessage(c.Code, "m.dte", -1, c.Reason), c.Message) << c.Code;
}

TEST_F(FileDispatchTest, WritingRefusalsSayWhyOrNothing) {
    const struct {
        std::string Name;
        int32_t Type;
        int32_t Code;
        std::string Reason; // after "Unable to save file " and the path; empty: no message
    } cases[] = {
        {"x.xyz", -1, -100, ""},
        {"noext", -1, -1, " because extension is not recognized and no type was specified."},
        {"x.dem", -1, -1, ": \"USGS DEM Surface\" files can be read but not written"},
        {"s.pcx", 0x804, -1, ": \"8-bit PCX Surface (8-bit)\" files can be read but not written"},
    };
    for (const auto& c : cases) {
        const std::string path = dir.File(c.Name);
        std::string message;
        EXPECT_EQ(WriteFileByType(ws, path, c.Type, message), c.Code) << c.Name;
        EXPECT_EQ(message, c.Reason.empty() ? "" : "Unable to save file " + path + c.Reason);
        EXPECT_FALSE(std::filesystem::exists(path)) << c.Name;
    }
}

// What each row of the type table says it reads and writes is what the dispatch does: a missing
// file or folder reaches the reader or writer (and its reason comes back), the rest is refused.
TEST_F(FileDispatchTest, TheRowsCapabilitiesAreWhatTheDispatchDoes) {
    const std::string missing = "No such file or directory";
    for (const FileTypeEntry& row : FileTypeTable()) {
        if (row.Type == FileUnknown)
            continue;
        const std::string ext = row.Extension;
        std::string reason;
        const int32_t code = ReadFileByType(ws, dir.File("gone." + ext), false, row.Type, &reason);
        const bool refused = code == -102 || code == -110;
        EXPECT_EQ(refused, !row.CanRead()) << row.Name << " " << code;
        if (row.CanRead()) {
            EXPECT_TRUE(reason.ends_with(missing)) << row.Name << ": " << reason;
        }

        std::string message;
        const std::string path = dir.File("no/dir/x." + ext);
        EXPECT_NE(WriteFileByType(ws, path, row.Type, message), 0) << row.Name;
        if (row.CanWrite()) {
            EXPECT_TRUE(message.ends_with(": " + missing)) << row.Name << ": " << message;
        } else {
            EXPECT_TRUE(message.starts_with("Unable to save file " + path)) << row.Name;
        }
    }
}

TEST_F(FileDispatchTest, BmpsGetAWorldFileAndOpeningRawReadsHeights) {
    ws.TheSurface.Left = -120, ws.TheSurface.Right = -118;
    ws.TheSurface.Top = 46, ws.TheSurface.Bottom = 45;
    std::string message;
    for (const int32_t type : {FileBmpTexture, FileBmpSurface}) {
        ASSERT_EQ(WriteFileByType(ws, dir.File("t.bmp"), type, message), 0) << message;
        // Cells of 0.25 by 0.25 degrees; the north-western one's centre.
        EXPECT_EQ(test::ReadFileText(dir.File("t.bpw")), "0.25\n0\n0\n-0.25\n-119.875\n45.875\n");
        std::filesystem::remove(dir.File("t.bpw"));
    }
    // ".raw" saves as triangles (not written yet) but opens as 16-bit heights.
    ws.Raw.Width = 4;
    test::WriteFileText(dir.File("h.raw"), std::string("\1\0\2\0\3\0\4\0", 8));
    ASSERT_EQ(ReadFileByType(ws, dir.File("h.raw"), false), 0);
    EXPECT_EQ(ws.TheSurface.YSize, 1);
    EXPECT_EQ(ws.TheSurface.Rows[0][3], 4);
}

TEST_F(FileDispatchTest, SurfacesBecomeTheDocumentOnlyWhenWritten) {
    std::string message;
    EXPECT_NE(WriteFileByType(ws, dir.File("no/dir/a.mdr"), -1, message), 0);
    EXPECT_EQ(message, "Error writing MDR file \"" + dir.File("no/dir/a.mdr") +
                           "\": No such file or directory");
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
    // The picture read replaces the whole TextureMap, which is therefore never shaded first.
    EXPECT_EQ(
        otherHost.ProgressTexts,
        (std::vector<std::string>{"Reading BMP image", "Finding surface minimum and maximum"}));
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
    std::vector<TextureTile> tiles;
    const int32_t code = RunTextureBatch(ws, {input, dir.File("missing.mdr")}, message, tiles);
    std::filesystem::current_path(before);
    EXPECT_NE(code, 0);
    EXPECT_EQ(message,
              "cannot open \"" + dir.File("missing.mdr") + "\": No such file or directory");
    EXPECT_TRUE(std::filesystem::exists(dir.File("w120n45.bmp")));
    ASSERT_EQ(tiles.size(), 1u);
    EXPECT_EQ(tiles[0].Name + " " + tiles[0].Input, "w120n45.bmp " + input);
}

// Two maps with the same corner: the second would silently replace the first one's tile.
TEST_F(FileDispatchTest, TextureBatchRefusesATileItWroteBefore) {
    ws.TheSurface.SetEdges(7.9, 9.0, 4.0, 3.1);
    std::string message;
    const std::string first = dir.File("first.mdr");
    const std::string second = dir.File("second.mdr");
    ASSERT_EQ(WriteFileByType(ws, first, -1, message), 0);
    ASSERT_EQ(WriteFileByType(ws, second, -1, message), 0);
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(dir.Root());
    std::vector<TextureTile> tiles;
    const int32_t code = RunTextureBatch(ws, {first, second}, message, tiles);
    std::filesystem::current_path(before);
    EXPECT_EQ(code, TextureTileClash);
    EXPECT_EQ(tiles.size(), 1u);
    EXPECT_NE(message.find("e7n3.bmp"), std::string::npos) << message;
    EXPECT_NE(message.find(first), std::string::npos) << message;
    EXPECT_NE(message.find(second), std::string::npos) << message;
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
