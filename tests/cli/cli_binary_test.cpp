// The real executable: exit codes and output streams as a script sees them.
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cmath>
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

// Each failed open or save is one line on stderr naming the file, the kind and the reason.
TEST(CliBinary, OpenAndSaveFailuresSayWhyOnOneLine) {
    test::TempDir dir;
    const std::string shortMdr = dir.File("bad.mdr");
    // A 1024 x 256 grid of floats needs 1024 + 1,048,576 bytes; the file stops after 600.
    std::string header(600, '\0');
    header.replace(0, 4, "KRVL");
    header[5] = 4;   // header size 1024, little-endian
    header[361] = 4; // width 1024
    header[365] = 1; // height 256
    test::WriteFileText(shortMdr, header);
    std::string full(1024, '\0');
    full.replace(0, 4, "KRVL");
    full[5] = 4;
    full[361] = 4; // width 1024
    full[365] = 1; // height 256
    test::WriteFileText(dir.File("cut.mdr"), full);
    const std::string wrongMagic = dir.File("fake.mdr");
    test::WriteFileText(wrongMagic, std::string(2000, 'x'));
    const std::string grey = dir.File("grey.pcx");
    const struct {
        std::string Steps;
        std::string Line;
    } cases[] = {
        {"open " + shortMdr, "cannot open \"" + shortMdr +
                                 "\": MDR file is shorter than its header promises (600 of "
                                 "1,049,600 bytes)"},
        {"open " + dir.File("cut.mdr"),
         "cannot open \"" + dir.File("cut.mdr") +
             "\": MDR file is shorter than its header promises (1,024 of 1,049,600 bytes)"},
        {"open " + wrongMagic,
         "cannot open \"" + wrongMagic + "\": not an MDR file (it does not begin with \"KRVL\")"},
        {"open /nonexistent/x.mdr",
         "cannot open \"/nonexistent/x.mdr\": No such file or directory"},
        {"open " + dir.File("gone.pcx"),
         "cannot open \"" + dir.File("gone.pcx") + "\": No such file or directory"},
        {"open x.tin", "cannot open \"x.tin\": \"3D Triangle Irregular Network\" files have no "
                       "reader"},
        {"new 8x8 save /nonexistent/x.mdr",
         "Error writing MDR file \"/nonexistent/x.mdr\": No such file or directory"},
        {"new 8x8 save /nonexistent/x.bmp",
         "Error writing to \"/nonexistent/x.bmp\": No such file or directory"},
        {"new 8x8 type \"8-bit BMP Surface (8-bit)\" save /nonexistent/h.bmp",
         "Error writing to \"/nonexistent/h.bmp\": No such file or directory"},
        {"new 8x8 type \"8-bit PCX Surface (8-bit)\" save " + grey,
         "Unable to save file " + grey +
             ": \"8-bit PCX Surface (8-bit)\" files can be read but not written"},
    };
    for (const auto& c : cases) {
        const Result r = Shell(Cli + " -q " + c.Steps + " 2>&1 >/dev/null");
        EXPECT_EQ(r.Code, 1) << c.Steps;
        EXPECT_EQ(r.Out, "korvel-cli: " + c.Line + "\n") << c.Steps;
    }
}

// The types table says which types this version reads and which it writes.
TEST(CliBinary, HelpTypeMarksReadersAndWriters) {
    const Result r = Shell(Cli + " help type");
    EXPECT_EQ(r.Code, 0);
    for (const char* line : {"  0x805  bmp  read  write  BMP Texture\n",
                             "  0x804  pcx  read  -      8-bit PCX Surface (8-bit)\n",
                             "  0x80D  pgm  -     write  16-bit PGM Surface\n",
                             "  0x81B  inc  -     write  POV Triangle Mesh Include\n"})
        EXPECT_NE(r.Out.find(line), std::string::npos) << line << r.Out;
}

// An operation that said why it failed is not followed by a line with its bare code.
TEST(CliBinary, AFailureThatSaidWhyEndsThere) {
    for (const char* args :
         {"new 149996x149996", "set size.Width=149996 set size.Height=149996 size"}) {
        const Result r = Shell(Cli + " -q " + args + " 2>&1");
        EXPECT_EQ(r.Code, 1) << args;
        EXPECT_EQ(std::count(r.Out.begin(), r.Out.end(), '\n'), 1) << r.Out;
        EXPECT_EQ(r.Out.find("code"), std::string::npos) << r.Out;
    }
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
         {"Surface needs", " GB of memory is available\n"}},
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
          "  zoom-in "}},
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
    // The picture is computed when something reads it: here the save.
    test::TempDir dir;
    const Result progress = Shell("script -qec '" + Cli + " new 64x64 save " + dir.File("p.bmp") +
                                  "' /dev/null </dev/null");
    EXPECT_NE(progress.Out.find("Calculating 24-bit color image: 0...10...20"), std::string::npos)
        << progress.Out;
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
         "\"9\" is not a valid value for Surface/Type (Type: 0 Recursive Subdivision (plasma), "
         "1 Math Function, 2 Fractional Brownian Motion (fBm), 3 Multifractal, 4 Hetero Terrain, "
         "5 Hybrid Multifractal, 6 Ridged Multifractal)"},
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
