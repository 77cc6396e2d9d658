#include "cli/cli_session.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace korvel {
namespace {

std::string ReadAll(std::FILE* f) {
    std::rewind(f);
    std::string text;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        text.append(buf, n);
    return text;
}

struct CliRun {
    int Code;
    std::string Out;
    std::string Err;
};

CliRun RunCli(const std::vector<std::string>& args, std::sig_atomic_t interrupted = 0) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    volatile std::sig_atomic_t flag = interrupted;
    CliRun run{};
    {
        CliSession session(out, err, false, &flag);
        run.Code = session.Run(args);
    }
    run.Out = ReadAll(out);
    run.Err = ReadAll(err);
    std::fclose(out);
    std::fclose(err);
    return run;
}

TEST(CliSession, SaveOpenInfoRoundTrip) {
    test::TempDir dir;
    const std::string path = dir.File("a.mdr");
    const CliRun run = RunCli({"new", "512x256", "--edges", "10,20,30,0", "set", "mdr.DataType=1",
                               "save", path, "open", path, "info"});
    ASSERT_EQ(run.Code, CliOk) << run.Err;
    // Edges set by new: XRes = (30 - 20) / 511, YRes = (10 - 0) / 255.
    char expected[512];
    std::snprintf(expected, sizeof expected,
                  "XSize=512\nYSize=256\nTop=10\nLeft=20\nRight=30\nBottom=0\nXRes=%.17g\n"
                  "YRes=%.17g\nMin=0\nMax=1\n",
                  10.0 / 511.0, 10.0 / 255.0);
    EXPECT_EQ(run.Out, expected);
}

TEST(CliSession, SurfaceFilesRoundTripByExtension) {
    test::TempDir dir;
    // STM keeps 16-bit codes from Min upwards and no scale: a flat surface reads back as 0.
    const std::pair<const char*, const char*> cases[] = {
        {"mdr", "Min=2.5\nMax=2.5\n"}, {"mat", "Min=2.5\nMax=2.5\n"}, {"stm", "Min=0\nMax=0\n"}};
    for (const auto& [ext, extremes] : cases) {
        const std::string path = dir.File(std::string("a.") + ext);
        const CliRun run = RunCli({"new", "8x4", "set", "offset.Amount=2.5", "offset", "save", path,
                                   "new", "16x16", "open", path, "info"});
        ASSERT_EQ(run.Code, CliOk) << ext << run.Err;
        EXPECT_NE(run.Out.find("XSize=8\nYSize=4\n"), std::string::npos) << ext << run.Out;
        EXPECT_NE(run.Out.find(extremes), std::string::npos) << ext << run.Out;
    }
}

TEST(CliSession, DefaultSurfaceFromEmptySettings) {
    const CliRun run = RunCli({"info"});
    ASSERT_EQ(run.Code, CliOk);
    // 384 x 192 with the record's built-in defaults; resolution by the cell rule.
    EXPECT_NE(run.Out.find("XSize=384\nYSize=192\n"), std::string::npos);
    EXPECT_NE(run.Out.find("XRes=0.9375\n"), std::string::npos);
    EXPECT_NE(run.Out.find("YRes=-0.9375\n"), std::string::npos);
}

TEST(CliSession, StepsAndFailures) {
    struct Case {
        std::vector<std::string> Args;
        int Code;
        std::string ErrPart;
        std::string OutPart;
    };
    const std::vector<Case> cases = {
        {{"frobnicate"}, CliUsage, "unknown step \"frobnicate\"", ""},
        {{"open", "/nonexistent/x.mdr"}, CliFailed, "Error opening file", ""},
        {{"open", "noextension"}, CliFailed, "does not have an extension", ""},
        {{"save", "/tmp/x.xyz"}, CliFailed, "no file type has the extension", ""},
        {{"set", "mdr.DataType=3"}, CliUsage, "not a valid value", ""},
        {{"set", "mdr.DataType=x"}, CliUsage, "not a valid value", ""},
        {{"set", "Map/XSize=8"}, CliUsage, "Surface's own record", ""},
        {{"set", "Type=1"}, CliUsage, "more than one", ""},
        {{"set", "noequals"}, CliUsage, "NAME=VALUE", ""},
        {{"new"}, CliUsage, "WIDTHxHEIGHT", ""},
        {{"new", "0x5"}, CliUsage, "WIDTHxHEIGHT", ""},
        {{"new", "8x8", "--edges", "1,2,3"}, CliUsage, "TOP,LEFT,RIGHT,BOTTOM", ""},
        {{"redo"}, CliFailed, "cannot be used now", ""},
        {{"journey"}, CliFailed, "not available", ""},
        {{"--bogus"}, CliUsage, "unknown option", ""},
        {{}, CliUsage, "nothing to do", ""},
        {{"--version"}, CliOk, "", "korvel-cli "},
        {{"help"}, CliOk, "", "flip-vertical"},
        {{"help", "size"}, CliOk, "", "size.Width=384"},
        {{"help", "nosuch"}, CliUsage, "no step or command", ""},
        {{"new", "1001x10", "info"}, CliOk, "", "XSize=1000\nYSize=10\n"},
        {{"new", "4x4", "set", "size.Width=8", "size", "info"}, CliOk, "", "XSize=8\nYSize=4\n"},
        {{"new", "8x8", "new", "16x16", "undo", "info"}, CliOk, "", "XSize=8\nYSize=8\n"},
        {{"set", "Undo=0", "new", "8x8", "undo"}, CliFailed, "cannot be used now", ""},
        {{"set", "size.Width=3", "size"}, CliFailed, "cancelled or refused", ""},
        {{"new", "8x4", "set", "offset.Amount=50", "offset", "set", "replace.Base=50", "set",
          "replace.NewValue=-20", "replace", "set", "ClipMin=-10", "clip", "info"},
         CliOk,
         "",
         "Min=-10\nMax=-10\n"},
        {{"new", "8x4", "set", "offset.Amount=14.9", "offset", "set", "threshold.Mode=1", "set",
          "threshold.Value=10", "threshold", "info"},
         CliOk,
         "",
         "Min=10\nMax=10\n"},
        {{"set", "threshold.Value=0", "threshold"}, CliFailed, "at least 1", ""},
        {{"new", "8x4", "set", "offset.Amount=1", "offset", "set", "histogram.Bins=2", "set",
          "histogram.Lowest=0", "set", "histogram.Highest=2", "histogram"},
         CliOk,
         "",
         "0\t1\t0\n1\t2\t32\nBelow Range: 0\nAbove Range: 0\n"},
        // A new mask selects nothing; select-all lets the offset through.
        {{"new", "8x4", "set", "Selection=1", "set", "offset.Amount=5", "offset", "info"},
         CliOk,
         "",
         "Min=0\nMax=1\n"},
        {{"new", "8x4", "set", "Selection=1", "select-all", "set", "offset.Amount=5", "offset",
          "info"},
         CliOk,
         "",
         "Min=5\nMax=5\n"},
        {{"select-all"}, CliFailed, "cannot be used now", ""},
        {{"set", "Selection=1", "load-selection"}, CliUsage, "needs a file name", ""},
        {{"set", "Selection=1", "load-selection", "/nonexistent.bmp"}, CliFailed, "", ""},
        {{"open", "x.pgm"}, CliFailed, "Reading not implemented for this file type", ""},
        {{"thermal"}, CliOk, "Thermal erosion is currently unimplemented", ""},
    };
    for (const Case& c : cases) {
        const CliRun run = RunCli(c.Args);
        std::string joined;
        for (const std::string& a : c.Args)
            joined += a + " ";
        EXPECT_EQ(run.Code, c.Code) << joined << "\n" << run.Err;
        EXPECT_NE(run.Err.find(c.ErrPart), std::string::npos) << joined << "\n" << run.Err;
        EXPECT_NE(run.Out.find(c.OutPart), std::string::npos) << joined << "\n" << run.Out;
    }
}

TEST(CliSession, InterruptStopsBeforeTheNextStep) {
    const CliRun run = RunCli({"new", "8x8", "info"}, 1);
    EXPECT_EQ(run.Code, CliCancelled);
    EXPECT_NE(run.Err.find("interrupted"), std::string::npos);
    EXPECT_EQ(run.Out, "");
}

TEST(CliHost, ProgressLineLikeGeoTools) {
    std::FILE* stream = std::tmpfile();
    CliHost host(stream, stream);
    host.OpenProgressWindow("x", false);
    for (int p = 0; p <= 99; p += 9)
        host.SetProgressBar(p);
    host.CloseProgressWindow(false);
    EXPECT_EQ(ReadAll(stream), "0...10...20...30...40...50...60...70...80...90...100 - done.\n");
    std::fclose(stream);
}

TEST(CliHost, CancelledProgressLineStopsWhereItWas) {
    std::FILE* stream = std::tmpfile();
    CliHost host(stream, stream);
    host.OpenProgressWindow("x", false);
    host.SetProgressBar(27);
    host.CloseProgressWindow(true);
    EXPECT_EQ(ReadAll(stream), "0...10...20.. - cancelled.\n");
    std::fclose(stream);
}

} // namespace
} // namespace korvel
