#include "core/atomic_file.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace korvel {
namespace {

std::vector<std::string> Names(const test::TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Root()))
        names.push_back(entry.path().filename().string());
    return names;
}

class AtomicFileTest : public ::testing::Test {
protected:
    void SetUp() override { test::WriteFileText(Path, "old contents"); }

    test::TempDir Dir;
    std::string Path = Dir.File("target.bin");
};

TEST_F(AtomicFileTest, AnUnfinishedWriteLeavesTheOldFileAndNoTemporaries) {
    for (const bool explicitly : {true, false}) {
        {
            AtomicFile file(Path);
            ASSERT_TRUE(file.Open());
            EXPECT_EQ(Names(Dir).size(), 2u); // the temporary sits beside the target
            ASSERT_TRUE(file.Write("new", 3));
            if (explicitly) {
                file.Abandon();
                EXPECT_FALSE(file.Commit());
            } // otherwise the destructor abandons it
        }
        EXPECT_EQ(test::ReadFileText(Path), "old contents");
        EXPECT_EQ(Names(Dir), std::vector<std::string>{"target.bin"});
    }
}

TEST_F(AtomicFileTest, FailuresReportFalseAndTouchNothing) {
    EXPECT_FALSE(WriteFileAtomically(Dir.File("missing/target.bin"), "x", 1));
    // A directory in the way cannot be replaced by a file.
    std::filesystem::create_directory(Dir.File("dir"));
    EXPECT_FALSE(WriteFileAtomically(Dir.File("dir"), "x", 1));
    AtomicFile unopened(Path);
    EXPECT_FALSE(unopened.Write("x", 1));
    EXPECT_FALSE(unopened.Commit());
    EXPECT_EQ(test::ReadFileText(Path), "old contents");
    EXPECT_EQ(Names(Dir).size(), 2u);
}

// The system's reason for the failure is kept: the one of the create, or of the rename.
TEST_F(AtomicFileTest, FailuresKeepTheSystemsReason) {
    AtomicFile noFolder(Dir.File("missing/target.bin"));
    EXPECT_FALSE(noFolder.Open());
    EXPECT_EQ(noFolder.Error(), ENOENT);

    std::filesystem::create_directory(Dir.File("dir"));
    AtomicFile overFolder(Dir.File("dir"));
    ASSERT_TRUE(overFolder.Open());
    EXPECT_EQ(overFolder.Error(), 0);
    EXPECT_TRUE(overFolder.Write("x", 1));
    EXPECT_FALSE(overFolder.Commit());
    EXPECT_EQ(overFolder.Error(), EISDIR);
}

} // namespace
} // namespace korvel
