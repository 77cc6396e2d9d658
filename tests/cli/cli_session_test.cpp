#include "cli/cli_session.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
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
    const std::pair<const char*, const char*> cases[] = {{"mat", "Min=2.5\nMax=2.5\n"},
                                                         {"stm", "Min=0\nMax=0\n"}};
    for (const auto& [ext, extremes] : cases) {
        const std::string path = dir.File(std::string("a.") + ext);
        const CliRun run = RunCli({"new", "8x4", "set", "offset.Amount=2.5", "offset", "save", path,
                                   "new", "16x16", "open", path, "info"});
        ASSERT_EQ(run.Code, CliOk) << ext << run.Err;
        EXPECT_NE(run.Out.find(std::string("XSize=8\nYSize=4\n")), std::string::npos) << ext;
        EXPECT_NE(run.Out.find(extremes), std::string::npos) << ext << run.Out;
    }
}

TEST(CliSession, StepsAndFailures) {
    const struct {
        const char* Args; // split at spaces
        int Code;
        const char* ErrPart;
        const char* OutPart;
    } cases[] = {
        {"", CliUsage, "nothing to do", ""},
        {"frobnicate", CliUsage, "unknown step \"frobnicate\"", ""},
        {"--bogus", CliUsage, "unknown option", ""},
        {"open /nonexistent/x.mdr", CliFailed, "Error opening file", ""},
        {"open noextension", CliFailed, "does not have an extension", ""},
        {"save /tmp/x.xyz", CliFailed, "no file type has the extension", ""},
        {"open x.pgm", CliFailed, "Reading not implemented for this file type", ""},
        {"set mdr.DataType=3", CliUsage, "not a valid value", ""},
        {"set Map/XSize=8", CliUsage, "Surface's own record", ""},
        {"set Type=1", CliUsage, "more than one", ""},
        {"set noequals", CliUsage, "NAME=VALUE", ""},
        {"new 0x5", CliUsage, "WIDTHxHEIGHT", ""},
        {"new 8x8 --edges 1,2,3", CliUsage, "TOP,LEFT,RIGHT,BOTTOM", ""},
        {"redo", CliFailed, "cannot be used now", ""},
        {"journey", CliFailed, "not available", ""},
        {"thermal", CliOk, "Thermal erosion is currently unimplemented", ""},
        {"--version", CliOk, "", "korvel-cli "},
        {"help", CliOk, "", "flip-vertical"},
        {"help size", CliOk, "", "size.Width=384"},
        {"help nosuch", CliUsage, "no step or command", ""},
        // 384 x 192 with the record's built-in defaults; resolution by the cell rule.
        {"info", CliOk, "", "XRes=0.9375\nYRes=-0.9375\n"},
        {"new 4x4 set size.Width=8 size info", CliOk, "", "XSize=8\nYSize=4\n"},
        {"set size.Width=3 size", CliFailed, "cancelled or refused", ""},
        {"new 8x8 new 16x16 undo info", CliOk, "", "XSize=8\nYSize=8\n"},
        {"set Undo=0 new 8x8 undo", CliFailed, "cannot be used now", ""},
        {"new 8x4 set offset.Amount=50 offset set replace.Base=50 set replace.NewValue=-20 "
         "replace set ClipMin=-10 clip info",
         CliOk, "", "Min=-10\nMax=-10\n"},
        {"set threshold.Value=0 threshold", CliFailed, "at least 1", ""},
        {"new 8x4 set offset.Amount=1 offset set histogram.Bins=2 set histogram.Lowest=0 set "
         "histogram.Highest=2 histogram",
         CliOk, "", "0\t1\t0\n1\t2\t32\nBelow Range: 0\nAbove Range: 0\n"},
        // A new mask selects nothing; select-all lets the offset through.
        {"new 8x4 set Selection=1 set offset.Amount=5 offset info", CliOk, "", "Min=0\nMax=1\n"},
        {"new 8x4 set Selection=1 select-all set offset.Amount=5 offset info", CliOk, "",
         "Min=5\nMax=5\n"},
        {"select-all", CliFailed, "cannot be used now", ""},
        {"set Selection=1 load-selection", CliUsage, "needs a file name", ""},
        {"set Selection=1 load-selection /nonexistent.bmp", CliFailed, "", ""},
    };
    for (const auto& c : cases) {
        std::istringstream in(c.Args);
        const std::vector<std::string> args{std::istream_iterator<std::string>(in), {}};
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.Code, c.Code) << c.Args << "\n" << run.Err;
        EXPECT_NE(run.Err.find(c.ErrPart), std::string::npos) << c.Args << "\n" << run.Err;
        EXPECT_NE(run.Out.find(c.OutPart), std::string::npos) << c.Args << "\n" << run.Out;
    }
}

TEST(CliSession, InterruptStopsBeforeTheNextStep) {
    const CliRun run = RunCli({"new", "8x8", "info"}, 1);
    EXPECT_EQ(run.Code, CliCancelled);
    EXPECT_NE(run.Err.find("interrupted"), std::string::npos);
    EXPECT_EQ(run.Out, "");
}

TEST(CliHost, ProgressLineLikeGeoTools) {
    const struct {
        int Last;
        bool Cancelled;
        const char* Want;
    } cases[] = {{99, false, "0...10...20...30...40...50...60...70...80...90...100 - done.\n"},
                 {27, true, "0...10...20.. - cancelled.\n"}};
    for (const auto& c : cases) {
        std::FILE* stream = std::tmpfile();
        CliHost host(stream, stream);
        host.OpenProgressWindow("x", false);
        for (int p = 0; p <= c.Last; p += 9)
            host.SetProgressBar(p);
        host.SetProgressBar(c.Last);
        host.CloseProgressWindow(c.Cancelled);
        EXPECT_EQ(ReadAll(stream), c.Want);
        std::fclose(stream);
    }
}

} // namespace
} // namespace korvel
