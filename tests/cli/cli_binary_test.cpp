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
                             "  0x81B  inc  -     -      POV Triangle Mesh Include\n"})
        EXPECT_NE(r.Out.find(line), std::string::npos) << line << r.Out;
}

TEST(CliBinary, QuietAndNoTerminalDrawNoProgress) {
    test::TempDir dir;
    const Result r = Shell(Cli + " -q new 64x64 find-min-max save " + dir.File("b.mdr") + " 2>&1");
    EXPECT_EQ(r.Code, 0);
    EXPECT_EQ(r.Out, "");
}

} // namespace
} // namespace korvel
