#include "core/settings_store.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <tuple>

namespace korvel {
namespace {

TEST(IniSettingsStoreTest, AnyTextRoundTripsThroughTheFile) {
    const std::tuple<const char*, const char*, std::string> cases[] = {
        {"Data\\Map", "XSize", "384"},
        {"Data\\Import", "CDPath", "  D:\\dted\\  "},
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

// A missing file reads empty, a missing directory fails without a trace, a flush replaces the file.
TEST(IniSettingsStoreTest, MissingFilesAndFlushes) {
    test::TempDir dir;
    namespace fs = std::filesystem;
    const auto entries = [&] { return std::distance(fs::directory_iterator(dir.Root()), {}); };
    IniSettingsStore absent(dir.File("absent/korvel.ini"));
    EXPECT_EQ(absent.ReadFailure(), "No such file or directory");
    EXPECT_EQ(IniSettingsStore(dir.Root()).ReadFailure(), "it cannot be read"); // a folder
    EXPECT_EQ(absent.Read("Data\\Map", "XSize"), std::nullopt);
    absent.Write("Data\\Map", "XSize", "4");
    EXPECT_FALSE(absent.Flush());
    EXPECT_EQ(entries(), 0);
    const std::string path = dir.File("korvel.ini");
    test::WriteFileText(path, "");
    IniSettingsStore store(path);
    EXPECT_EQ(store.ReadFailure(), "");
    store.Write("Data\\Map", "XSize", "4");
    test::WriteFileText(path, "[Data\\Long]\n" + std::string(4096, 'x') + "=y\n");
    ASSERT_TRUE(store.Flush());
    EXPECT_EQ(test::ReadFileText(path), "[Data\\Map]\nXSize=4\n");
    EXPECT_EQ(entries(), 1);
}

} // namespace
} // namespace korvel
