// The real executable: exit codes and output streams as a script sees them.
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <vector>

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

// Exit codes and the pieces of stderr and stdout a person relies on; stdin is never a terminal
// here, so questions take their default answer.
TEST(CliBinary, MessagesAndExitCodes) {
    const struct {
        const char* Name;
        const char* Args;
        int Code;
        std::vector<const char*> Parts; // in stdout and stderr together, in this order
    } cases[] = {
        {"undo without a step", "undo", 1, {"korvel-cli: undo: nothing to undo\n"}},
        {"select-all without a mask",
         "new 8x8 select-all",
         1,
         {"korvel-cli: select-all: turn the selection mask on first with `set Selection=1`\n"}},
        // 149996 x 149996 samples of at least 7 bytes: about 147 GB.
        {"new beyond the memory",
         "new 149996x149996",
         1,
         {"A 149996 x 149996 Surface needs 1", " GB for its grid and picture, but only ",
          " GB of memory is available"}},
        {"size beyond the memory",
         "set size.Width=149996 set size.Height=149996 size info",
         1,
         {"Surface needs", "korvel-cli: \"size\" failed"}},
        {"options anywhere", "new 8x4 -q info -y", 0, {"XSize=8\nYSize=4\n"}},
        {"question without a terminal",
         "new 8x4 slope-map",
         0,
         {"Adjust to full display dynamic range?\n(no terminal to ask on: answering No)"}},
        {"question with --yes",
         "new 8x4 slope-map --yes",
         0,
         {"(--yes given: answering Yes)", "Pixel value 0 is"}},
        {"choice outside its values",
         "set Surface/Type=9",
         2,
         {"\"9\" is not a valid value for Surface/Type (Type: 0 Recursive Subdivision (plasma), "
          "1 Math Function, 2 Fractional Brownian Motion (fBm), 3 Multifractal, 4 Hetero Terrain, "
          "5 Hybrid Multifractal, 6 Ridged Multifractal)"}},
        {"unknown step", "frobnicate", 2, {"unknown step \"frobnicate\""}},
        {"help by menu",
         "help",
         0,
         {"\nFile\n  new ", "\nSurface > Point Process\n  add-noise", "  clip ",
          "\nSurface > Area Process > Blur\n  blur-some", "  blur-lots", "\nNot available yet:\n",
          "  journey ", "Surface > Journey Through Texture Space...\n"}},
        {"help of size",
         "help size",
         0,
         {"size: Surface > Size...\n", "Discards the elevations", "Use `resample` to keep them",
          "undo step: \"Resize\"", "size.Width=384", "Image Width  (0..1000000)"}},
        {"help of a choice",
         "help calculate",
         0,
         {"Surface/Type=6", "Type  (0 Recursive Subdivision (plasma), 1 Math Function, ",
          "6 Ridged Multifractal)", "MapScale/Type=0",
          "(0 Single Value, 1 Broken Value, 2 To Range)"}},
        {"help of a disabled command", "help undo", 0, {"cannot run now: nothing to undo"}},
    };
    for (const auto& c : cases) {
        const Result r = Shell(Cli + " " + c.Args + " 2>&1 </dev/null");
        EXPECT_EQ(r.Code, c.Code) << c.Name << "\n" << r.Out;
        size_t at = 0;
        for (const char* part : c.Parts) {
            at = r.Out.find(part, at);
            ASSERT_NE(at, std::string::npos) << c.Name << ": no \"" << part << "\" in\n" << r.Out;
        }
    }
}

// Two maps with the same lower-left corner would give one tile: the second is refused.
TEST(CliBinary, BatchTexturesListsTilesAndRefusesToOverwriteOne) {
    test::TempDir dir;
    const std::string a = dir.File("a.mdr");
    const std::string b = dir.File("b.mdr");
    ASSERT_EQ(Shell(Cli + " -q new 8x4 --edges 46,-121,-120,45.5 save " + a + " save " + b).Code,
              0);
    const Result r = Shell("cd " + dir.Root().string() + " && " + Cli + " -q batch-textures " + a +
                           " " + b + " 2>&1");
    EXPECT_EQ(r.Code, 1);
    EXPECT_EQ(r.Out, "w121n45.bmp  (from " + a + ")\nkorvel-cli: Tile w121n45.bmp of \"" + b +
                         "\" would overwrite the one written from \"" + a +
                         "\": both maps have the same lower-left corner\n");
}

// Under a pseudo-terminal (util-linux script) the question is asked and the typed answer counts,
// and the progress line on the terminal names each stage.
TEST(CliBinary, OnATerminalQuestionsAreAskedAndStagesNamed) {
    if (Shell("command -v script >/dev/null").Code != 0)
        GTEST_SKIP() << "no script command to run the tool on a terminal";
    const Result asked =
        Shell("printf 'y\\n' | script -qec '" + Cli + " -q new 8x4 slope-map' /dev/null");
    EXPECT_EQ(asked.Code, 0);
    EXPECT_NE(asked.Out.find("Adjust to full display dynamic range? [y/N] "), std::string::npos)
        << asked.Out;
    EXPECT_NE(asked.Out.find("Pixel value 0 is"), std::string::npos) << asked.Out;
    const Result progress = Shell("script -qec '" + Cli + " new 64x64' /dev/null </dev/null");
    EXPECT_NE(progress.Out.find("Calculating 24-bit color image: 0...10...20"), std::string::npos)
        << progress.Out;
}

TEST(CliBinary, QuietAndNoTerminalDrawNoProgress) {
    test::TempDir dir;
    const Result r = Shell(Cli + " -q new 64x64 find-min-max save " + dir.File("b.mdr") + " 2>&1");
    EXPECT_EQ(r.Code, 0);
    EXPECT_EQ(r.Out, "");
}

} // namespace
} // namespace korvel
