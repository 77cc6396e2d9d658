#include "core/settings_store.h"
#include "core/workspace.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace korvel {
namespace {

size_t EntriesIn(const test::TempDir& dir) {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(dir.Root()),
                                             std::filesystem::directory_iterator()));
}

TEST(IniSettingsStoreTest, AnyTextRoundTripsThroughTheFile) {
    const struct {
        const char* Section;
        const char* Key;
        std::string Value;
    } cases[] = {
        {"Data\\Map", "XSize", "384"},
        {"Data\\", "BaseLat", "0.000000"},
        {"Data\\Surface", "Func", "a = b=c"},
        {"Data\\Import", "CDPath", "  D:\\dted\\  "},
        {"Data\\Import", "Empty", ""},
        {"Data\\Odd", "Lines", "one\ntwo\r\nthree\\n"},
        {"Data\\Odd", "Quoted", "\"x\""},
        {"Data\\Odd", "Key=With[Equals", "v"},
        {"Data\\Odd", "[Bracket]", "[v]"},
        {"Data\\Odd", "\"", "\""},
        {"Data\\Odd", "Nul", std::string("a\0b", 3)},
        {"Line\nBreak", "K", "v"},
    };
    test::TempDir dir;
    const std::string path = dir.File("korvel.ini");
    IniSettingsStore store(path);
    for (const auto& c : cases)
        store.Write(c.Section, c.Key, c.Value);
    ASSERT_TRUE(store.Flush());

    IniSettingsStore reread(path);
    for (const auto& c : cases)
        EXPECT_EQ(reread.Read(c.Section, c.Key), c.Value) << c.Section << " " << c.Key;
    // Plain values are kept as they are, readable in the file.
    const std::string text = test::ReadFileText(path);
    EXPECT_NE(text.find("[Data\\Map]\nXSize=384\n"), std::string::npos) << text;
    EXPECT_NE(text.find("[Data\\]\nBaseLat=0.000000\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nCDPath=  D:\\dted\\  \n"), std::string::npos) << text;
}

TEST(IniSettingsStoreTest, MissingFileReadsEmpty) {
    test::TempDir dir;
    IniSettingsStore store(dir.File("none.ini"));
    EXPECT_EQ(store.Read("Data\\Map", "XSize"), std::nullopt);
    EXPECT_EQ(EntriesIn(dir), 0u);
}

TEST(IniSettingsStoreTest, MalformedLinesAreSkippedAndUnknownKeysKept) {
    test::TempDir dir;
    const std::string path = dir.File("korvel.ini");
    test::WriteFileText(path, "Stray=before any section\n"
                              "[Data\\Map]\r\n"
                              "no equals sign\n"
                              "XSize=512\r\n"
                              "[broken\n"
                              "\n"
                              "YSize=  7 \n"
                              "\"unterminated=x\n"
                              "[Data\\Other]\n"
                              "Unknown=keep me\n"
                              "Dup=1\n"
                              "Dup=2");
    IniSettingsStore store(path);
    EXPECT_EQ(store.Read("Data\\Map", "XSize"), "512");
    EXPECT_EQ(store.Read("Data\\Map", "YSize"), "  7 ");
    EXPECT_EQ(store.Read("Data\\Other", "Dup"), "2");
    EXPECT_EQ(store.Read("Data\\Map", "no equals sign"), std::nullopt);
    EXPECT_EQ(store.Read("Data\\Map", "\"unterminated"), std::nullopt);

    store.Write("Data\\Map", "XSize", "1024");
    ASSERT_TRUE(store.Flush());
    IniSettingsStore reread(path);
    EXPECT_EQ(reread.Read("Data\\Map", "XSize"), "1024");
    EXPECT_EQ(reread.Read("Data\\Map", "YSize"), "  7 ");
    EXPECT_EQ(reread.Read("Data\\Other", "Unknown"), "keep me");
}

TEST(IniSettingsStoreTest, FlushIntoAMissingDirectoryFailsWithoutTrace) {
    test::TempDir dir;
    IniSettingsStore store(dir.File("absent/korvel.ini"));
    store.Write("Data\\Map", "XSize", "4");
    EXPECT_FALSE(store.Flush());
    EXPECT_EQ(EntriesIn(dir), 0u);
}

TEST(IniSettingsStoreTest, FlushReplacesTheWholeFile) {
    test::TempDir dir;
    const std::string path = dir.File("korvel.ini");
    IniSettingsStore store(path);
    store.Write("Data\\Map", "XSize", "4");
    test::WriteFileText(path, "[Data\\Long]\n" + std::string(4096, 'x') + "=y\n");
    ASSERT_TRUE(store.Flush());
    EXPECT_EQ(test::ReadFileText(path), "[Data\\Map]\nXSize=4\n");
    EXPECT_EQ(EntriesIn(dir), 1u);
}

TEST(IniSettingsStoreTest, SettingsOfOneRunStartTheNext) {
    test::TempDir dir;
    const std::string path = dir.File("korvel.ini");
    {
        test::RecordingHost host;
        Workspace first(host);
        first.TheSurface.XSize = 64;
        first.TheSurface.YSize = 32;
        first.TheSurface.Generation.Func = "x = y, z";
        IniSettingsStore store(path);
        ASSERT_TRUE(first.Finish(store));
    }
    test::RecordingHost host;
    Workspace next(host);
    IniSettingsStore store(path);
    ASSERT_EQ(next.Start(store), 0);
    EXPECT_EQ(next.TheSurface.XSize, 64);
    EXPECT_EQ(next.TheSurface.YSize, 32);
    EXPECT_EQ(next.TheSurface.Generation.Func, "x = y, z");
}

} // namespace
} // namespace korvel
