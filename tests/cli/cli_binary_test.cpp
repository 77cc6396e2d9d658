// The real executable: exit codes and output streams as a script sees them.
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace korvel {
namespace {

struct Result {
    int Code;
    std::string Out;
};

Result Shell(const std::string& command) {
    Result r{};
    std::FILE* p = popen(command.c_str(), "r");
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
        r.Out.append(buf, n);
    const int status = pclose(p);
    r.Code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

const std::string Cli = KORVEL_CLI_PATH;

TEST(CliBinary, ExampleFromTheReadme) {
    test::TempDir dir;
    const Result r = Shell(Cli + " new 512x256 set mdr.DataType=1 save " + dir.File("a.mdr") +
                           " open " + dir.File("a.mdr") + " info 2>/dev/null");
    EXPECT_EQ(r.Code, 0);
    EXPECT_EQ(r.Out.rfind("XSize=512\nYSize=256\n", 0), 0u) << r.Out;
}

TEST(CliBinary, FailureIsOneLineOnStderrAndNonZero) {
    const Result r = Shell(Cli + " open /nonexistent.mdr 2>&1 >/dev/null");
    EXPECT_EQ(r.Code, 1);
    EXPECT_EQ(r.Out.rfind("korvel-cli: Error opening file", 0), 0u) << r.Out;
}

TEST(CliBinary, QuietAndNoTerminalDrawNoProgress) {
    test::TempDir dir;
    const Result r = Shell(Cli + " -q new 64x64 find-min-max save " + dir.File("b.mdr") + " 2>&1");
    EXPECT_EQ(r.Code, 0);
    EXPECT_EQ(r.Out, "");
}

} // namespace
} // namespace korvel
