#include "core/settings_store.h"
#include "core/workspace.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

namespace korvel {
namespace {

size_t EntriesIn(const test::TempDir& dir) {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(dir.Root()),
                                             std::filesystem::directory_iterator()));
}

TEST(IniSettingsStoreTest, AnyTextRoundTripsThroughTheFile) {
    const std::tuple<const char*, const char*, std::string> cases[] = {
        {"Data\\Map", "XSize", "384"},
        {"Data\\", "BaseLat", "0"},
        {"Data\\Surface", "Func", "a = b=c"},
        {"Data\\Import", "CDPath", "  D:\\dted\\  "},
        {"Data\\Import", "Empty", ""},
        {"Data\\Odd", "Lines", "one\ntwo\r\nthree\\n"},
        {"Data\\Odd", "Quoted", "\"x\""},
        {"Data\\Odd", "Key=With[Equals", "v"},
        {"Data\\Odd", "Nul", std::string("a\0b", 3)},
        {"Line\nBreak", "K", "v"},
    };
    test::TempDir dir;
    const std::string path = dir.File("korvel.ini");
    IniSettingsStore store(path);
    for (const auto& [section, key, value] : cases)
        store.Write(section, key, value);
    ASSERT_TRUE(store.Flush());

    IniSettingsStore reread(path);
    for (const auto& [section, key, value] : cases)
        EXPECT_EQ(reread.Read(section, key), value) << section << " " << key;
    // Plain values are kept as they are, readable in the file.
    const std::string text = test::ReadFileText(path);
    EXPECT_NE(text.find("[Data\\Map]\nXSize=384\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nCDPath=  D:\\dted\\  \n"), std::string::npos) << text;
}

TEST(IniSettingsStoreTest, MalformedLinesAreSkippedAndUnknownKeysKept) {
    test::TempDir dir;
    const std::string path = dir.File("korvel.ini");
    test::WriteFileText(path, "Stray=before any section\n[Data\\Map]\r\nno equals sign\n"
                              "XSize=512\r\n[broken\n\nYSize=  7 \n\"unterminated=x\n"
                              "[Data\\Other]\nUnknown=keep me\nDup=1\nDup=2");
    IniSettingsStore store(path);
    EXPECT_EQ(store.Read("Data\\Map", "XSize"), "512");
    EXPECT_EQ(store.Read("Data\\Map", "YSize"), "  7 ");
    EXPECT_EQ(store.Read("Data\\Other", "Dup"), "2");
    EXPECT_EQ(store.Read("Data\\Map", "\"unterminated"), std::nullopt);

    store.Write("Data\\Map", "XSize", "1024");
    ASSERT_TRUE(store.Flush());
    IniSettingsStore reread(path);
    EXPECT_EQ(reread.Read("Data\\Map", "XSize"), "1024");
    EXPECT_EQ(reread.Read("Data\\Other", "Unknown"), "keep me");
}

// A missing file reads empty, a missing directory fails without a trace, and a flush replaces
// the whole file.
TEST(IniSettingsStoreTest, MissingFilesAndFlushes) {
    test::TempDir dir;
    IniSettingsStore absent(dir.File("absent/korvel.ini"));
    EXPECT_EQ(absent.Read("Data\\Map", "XSize"), std::nullopt);
    absent.Write("Data\\Map", "XSize", "4");
    EXPECT_FALSE(absent.Flush());
    EXPECT_EQ(EntriesIn(dir), 0u);

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
    test::RecordingHost host;
    Workspace first(host), next(host);
    first.TheSurface.XSize = 64;
    first.TheSurface.Generation.Func = "x = y, z";
    IniSettingsStore out(dir.File("korvel.ini"));
    ASSERT_TRUE(first.Finish(out));
    IniSettingsStore in(dir.File("korvel.ini"));
    ASSERT_EQ(next.Start(in), 0);
    EXPECT_EQ(next.TheSurface.XSize, 64);
    EXPECT_EQ(next.TheSurface.Generation.Func, "x = y, z");
}

} // namespace
} // namespace korvel
