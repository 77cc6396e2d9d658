// The real executable: exit codes and output streams as a script sees them.
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
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

// The value of "Name=" in the info output; NaN when it is missing.
double InfoValue(const std::string& out, const std::string& name) {
    const size_t at = out.find("\n" + name + "=");
    return at == std::string::npos ? std::nan("") : std::stod(out.substr(at + name.size() + 2));
}

// Commands that replace the grid leave Min and Max those of the new samples.
TEST(CliBinary, ExtremesFollowTheGrid) {
    const struct {
        const char* Name;
        std::string Steps;
        double Min, Max; // NaN: only checked to be above 0.4, the generated surface's floor
    } cases[] = {
        {"new surface is flat", "new 64x32", 0.0, 0.0},
        {"undo back to the flat surface", "new 64x32 calculate undo", 0.0, 0.0},
        {"resample of the same shape",
         "new 256x128 set Surface/Type=6 calculate "
         "set resample.XSize=256 set resample.YSize=128 resample",
         NAN, NAN},
        {"upsampled to twice the size",
         "new 256x128 set Surface/Type=6 calculate "
         "set resample.XSize=512 set resample.YSize=256 resample find-min-max",
         NAN, NAN},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const Result r = Shell(Cli + " -q " + c.Steps + " info 2>&1");
        ASSERT_EQ(r.Code, 0) << r.Out;
        if (std::isnan(c.Min)) {
            // The ridged surface of these settings lies in about 0.49 .. 1; a zero is a sample
            // taken from outside the grid.
            EXPECT_GT(InfoValue(r.Out, "Min"), 0.4) << r.Out;
        } else {
            EXPECT_EQ(InfoValue(r.Out, "Min"), c.Min) << r.Out;
            EXPECT_EQ(InfoValue(r.Out, "Max"), c.Max) << r.Out;
        }
    }
}

TEST(CliBinary, HistogramOverMinToMaxCountsEverySample) {
    const Result r = Shell(Cli + " -q new 64x32 calculate find-min-max histogram 2>&1");
    EXPECT_EQ(r.Code, 0);
    EXPECT_NE(r.Out.find("Below Range: 0\nAbove Range: 0\n"), std::string::npos) << r.Out;
}

// The picture gives the Surface its size: the 8 x 8 samples of 5 stay, the rest are 0.
TEST(CliBinary, TwentyFourBitPcxReadsBack) {
    test::TempDir dir;
    const std::string pcx = dir.File("t.pcx");
    const Result r = Shell(Cli + " -q new 64x32 calculate save " + pcx +
                           " new 8x8 set offset.Amount=5 offset open " + pcx + " info 2>&1");
    EXPECT_EQ(r.Code, 0) << r.Out;
    EXPECT_EQ(r.Out.rfind("XSize=64\nYSize=32\n", 0), 0u) << r.Out;
    EXPECT_EQ(InfoValue(r.Out, "Min"), 0.0) << r.Out;
    EXPECT_EQ(InfoValue(r.Out, "Max"), 5.0) << r.Out;
}

// Each refusal names what was wrong, where, and exits with the documented code.
TEST(CliBinary, RefusedValuesAndFiles) {
    test::TempDir dir;
    test::WriteFileText(dir.File("junk.srf"), "Nothing here is a block\n");
    test::WriteFileText(dir.File("junk.lgt"), "FracParms Type 1 End\n");
    test::WriteFileText(dir.File("junk.krn"), "# a comment\nwidth=3\n");
    test::WriteFileText(dir.File("bad.ini"), "[Data\\Light]\nGamma=abc\n");
    const struct {
        const char* Name;
        std::string Args;
        int Code;
        std::string Message;
    } cases[] = {
        {"expression ends early", "set \"Surface/Func=sin(x*\"", 2,
         "Surface/Func: expression \"sin(x*\" ends at position 6 where a value was expected"},
        {"expression with text left over", "set \"Surface/Func=sin(x) y\"", 2,
         "Surface/Func: expression \"sin(x) y\" has \"y\" at position 7 where the end was "
         "expected"},
        {"unknown surface type", "set Surface/Type=9", 2,
         "\"9\" is not a valid value for Surface/Type (0 to 6)"},
        {"surface definition without its block", "open " + dir.File("junk.srf"), 1,
         "no Surface Definition found in " + dir.File("junk.srf")},
        {"lighting definition without its block", "open " + dir.File("junk.lgt"), 1,
         "no Lighting Definition found in " + dir.File("junk.lgt")},
        {"kernel file without a kernel line", "kernel-load " + dir.File("junk.krn"), 1,
         "no Kernel found in " + dir.File("junk.krn")},
        {"missing settings file", "--settings " + dir.File("none.ini") + " info", 2,
         "cannot read settings file \"" + dir.File("none.ini") + "\": No such file or directory"},
        {"settings value that does not parse", "--settings " + dir.File("bad.ini") + " info", 2,
         "settings file \"" + dir.File("bad.ini") +
             "\": \"abc\" is not a valid value for Light/Gamma"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const Result r = Shell(Cli + " -q " + c.Args + " 2>&1 >/dev/null");
        EXPECT_EQ(r.Code, c.Code);
        EXPECT_EQ(r.Out, "korvel-cli: " + c.Message + "\n");
    }
}

// pow(x + 9, 0.5) is NaN left of x = -9: columns 0..31 of the 64 (x = -10 + c/32), all 32 rows.
TEST(CliBinary, NotNumbersAreCountedAndLeftOutOfTheExtremes) {
    const Result r = Shell(Cli + " -q new 64x32 set Surface/Type=1 set Surface/TexSphere=0 "
                                 "set \"Surface/Func=pow(x+9,0.5)\" calculate info 2>&1");
    EXPECT_EQ(r.Code, 0);
    EXPECT_NE(r.Out.find("1,024 samples are not numbers\n"), std::string::npos) << r.Out;
    EXPECT_TRUE(std::isfinite(InfoValue(r.Out, "Min")) && std::isfinite(InfoValue(r.Out, "Max")))
        << r.Out;
}

} // namespace
} // namespace korvel
