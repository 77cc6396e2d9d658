#include "cli/cli_session.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace korvel {
namespace {

// The stream stands at its end after the writes.
std::string ReadAll(std::FILE* f) {
    std::string text(static_cast<size_t>(std::ftell(f)), '\0');
    std::rewind(f);
    text.resize(std::fread(text.data(), 1, text.size(), f));
    return text;
}

struct CliRun {
    int Code;
    std::string Out, Err;
};

CliRun RunCli(const std::vector<std::string>& args, std::sig_atomic_t interrupted = 0) {
    std::FILE *out = std::tmpfile(), *err = std::tmpfile();
    volatile std::sig_atomic_t flag = interrupted;
    const int code = CliSession(out, err, false, &flag).Run(args);
    CliRun run{code, ReadAll(out), ReadAll(err)};
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
    char expected[512];
    std::snprintf(expected, sizeof expected,
                  "XSize=512\nYSize=256\nTop=10\nLeft=20\nRight=30\nBottom=0\nXRes=%.17g\n"
                  "YRes=%.17g\nMin=0\nMax=0\n",
                  10.0 / 511.0, 10.0 / 255.0);
    EXPECT_EQ(run.Out, expected);
}

TEST(CliSession, OpenAndSaveSayWhatTheyCut) {
    test::TempDir dir;
    const std::string grid = dir.File("g.asc");
    test::WriteFileText(grid, "ncols 5 nrows 1 xllcorner 0 yllcorner 0 cellsize 1\n0 1 2 3 4\n");
    // Heights 0..3 after the cut: a 16-bit step of 3 / 65535.
    const CliRun run = RunCli({"open", grid, "save", dir.File("g.r16"), "info"});
    ASSERT_EQ(run.Code, CliOk) << run.Err;
    EXPECT_EQ(run.Err, "g.asc: width 5 cut to 4: the editor's widths are multiples of 4\n"
                       "g.r16: 16-bit, step 4.58e-05 m, worst error 0 m, 0 clipped\n");
    EXPECT_TRUE(run.Out.starts_with("XSize=4\nYSize=1\n")) << run.Out;
}

TEST(CliSession, ALightingSettingReshadesAPictureAlreadySaved) {
    test::TempDir dir;
    const std::string before = dir.File("before.bmp"), after = dir.File("after.bmp");
    const CliRun run =
        RunCli({"new", "8x4", "save", before, "set", "Light/BitDepth=8", "save", after});
    ASSERT_EQ(run.Code, CliOk) << run.Err;
    // The bits per pixel of a BMP: the 2 bytes at offset 28.
    const auto bits = [](const std::string& path) {
        std::FILE* f = std::fopen(path.c_str(), "rb");
        unsigned char header[30] = {};
        const size_t got = f ? std::fread(header, 1, sizeof header, f) : 0;
        if (f)
            std::fclose(f);
        return got == sizeof header ? header[28] | header[29] << 8 : -1;
    };
    EXPECT_EQ(bits(before), 24);
    EXPECT_EQ(bits(after), 8);
}

TEST(CliSession, StepsAndFailures) {
    const struct {
        const char* Name;
        const char* Args; // split at spaces
        int Code;
        const char *ErrPart, *OutPart;
    } cases[] = {
        {"empty line", "", CliUsage, "nothing to do", ""},
        {"unknown step", "frobnicate", CliUsage, "unknown step \"frobnicate\"", ""},
        {"unknown option", "--bogus", CliUsage, "unknown option", ""},
        {"missing file", "open /nonexistent/x.mdr", CliFailed,
         "cannot open \"/nonexistent/x.mdr\": No such file or directory", ""},
        {"no extension", "open noextension", CliFailed, "does not have an extension", ""},
        {"unknown extension", "save /tmp/x.xyz", CliFailed, "no file type has the extension", ""},
        {"type without reader", "open x.pgm", CliFailed,
         "Reading not implemented for this file type", ""},
        {"value out of range", "set mdr.DataType=3", CliUsage, "not a valid value", ""},
        {"map record", "set Map/XSize=8", CliUsage, "Surface's own record", ""},
        {"ambiguous key", "set Type=1", CliUsage, "more than one", ""},
        {"set without value", "set noequals", CliUsage, "NAME=VALUE", ""},
        {"zero width", "new 0x5", CliUsage, "WIDTHxHEIGHT", ""},
        {"nothing to redo", "redo", CliFailed, "korvel-cli: redo: nothing to redo\n", ""},
        {"unavailable command", "zoom-in", CliFailed, "not available", ""},
        {"no flow grid kept", "save-flow /tmp/flow.mdr", CliFailed, "run `flow-accumulation`", ""},
        {"version", "--version", CliOk, "", "korvel-cli "},
        {"command list", "help", CliOk, "", "flip-vertical"},
        {"help of nothing", "help nosuch", CliUsage, "no step or command", ""},
        // 384 x 192 with the record's built-in defaults; resolution by the cell rule.
        {"built-in record", "info", CliOk, "", "XRes=0.9375\nYRes=-0.9375\n"},
        {"size refused", "set size.Width=3 size", CliFailed, "cancelled or refused", ""},
        {"undo of new", "new 8x8 new 16x16 undo info", CliOk, "", "XSize=8\nYSize=8\n"},
        {"empty selection keeps heights", "new 8x4 set Selection=1 set offset.Amount=5 offset info",
         CliOk, "", "Min=0\nMax=0\n"},
        {"full selection offsets",
         "new 8x4 set Selection=1 select-all set offset.Amount=5 offset info", CliOk, "",
         "Min=5\nMax=5\n"},
        {"file name missing", "set Selection=1 load-selection", CliUsage, "needs a file name", ""},
        {"options anywhere", "new 8x4 -y info --quiet", CliOk, "", "XSize=8\n"},
        {"press without a button", "press", CliUsage, "needs a button", ""},
        {"press of a field", "press journey.Frames", CliUsage,
         "no dialog button named \"journey.Frames\"", ""},
        // RGS takes both ends from the record; a set after it still wins.
        {"press fills the fields",
         "set Surface/H=0.8 press journey.RGS set journey.HEnd=3 "
         "help journey",
         CliOk, "", "journey.HStart=0.8"},
        {"press keeps a later set",
         "set Surface/H=0.8 press journey.RGS set journey.HEnd=3 "
         "help journey",
         CliOk, "", "journey.HEnd=3"},
    };
    for (const auto& c : cases) {
        std::istringstream in(c.Args);
        const std::vector<std::string> args{std::istream_iterator<std::string>(in), {}};
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.Code, c.Code) << c.Name << "\n" << run.Err;
        EXPECT_NE(run.Err.find(c.ErrPart), std::string::npos) << c.Name << "\n" << run.Err;
        EXPECT_NE(run.Out.find(c.OutPart), std::string::npos) << c.Name << "\n" << run.Out;
    }
}

TEST(CliSession, InterruptStopsBeforeTheNextStep) {
    const CliRun run = RunCli({"new", "8x8", "info"}, 1);
    EXPECT_EQ(run.Code, CliCancelled);
    EXPECT_NE(run.Err.find("interrupted"), std::string::npos);
    EXPECT_EQ(run.Out, "");
}

TEST(CliHost, ProgressLineNamesItsStage) {
    const struct {
        const char* Name;
        int Last;
        bool Cancelled;
        const char* Want;
    } cases[] = {
        {"finished", 99, false,
         "Calculating 24-bit color image: "
         "0...10...20...30...40...50...60...70...80...90...100 - done.\n"},
        {"cancelled", 27, true, "Calculating 24-bit color image: 0...10...20.. - cancelled.\n"}};
    for (const auto& c : cases) {
        std::FILE* stream = std::tmpfile();
        CliHost host(stream, stream);
        host.OpenProgressWindow("Calculating 24-bit color image", false);
        for (int p = 0; p <= c.Last; p += 9)
            host.SetProgressBar(p);
        host.SetProgressBar(c.Last);
        host.CloseProgressWindow(c.Cancelled);
        EXPECT_EQ(ReadAll(stream), c.Want) << c.Name;
        std::fclose(stream);
    }
}

// The journey's status window is its frame counter on the progress line's stream; without a
// stream nothing is drawn.
TEST(CliHost, StatusWindowPrintsItsFirstLine) {
    for (const bool drawn : {true, false}) {
        std::FILE* stream = std::tmpfile();
        CliHost host(stream, drawn ? stream : nullptr);
        host.ShowStatusWindow("Journey Through Texture Space", {"Frame 1 of 2", "H: 1.0000"});
        host.ShowStatusWindow("Journey Through Texture Space", {"Frame 2 of 2", "H: 1.5000"});
        EXPECT_FALSE(host.StatusWindowStopped());
        host.CloseStatusWindow();
        EXPECT_EQ(ReadAll(stream), drawn ? "Journey Through Texture Space: Frame 1 of 2\n"
                                           "Journey Through Texture Space: Frame 2 of 2\n"
                                         : "");
        std::fclose(stream);
    }
}

// A question on a terminal waits for the person's answer; only y or Y means Yes.
TEST(CliHost, QuestionsOnATerminalAreAnswered) {
    const struct {
        const char* Name;
        const char* Typed;
        bool Want;
    } cases[] = {{"yes", "y\n", true},
                 {"Yes with blanks", "  Yes\n", true},
                 {"no", "n\n", false},
                 {"just Enter", "\n", false},
                 {"end of input", "", false}};
    for (const auto& c : cases) {
        std::FILE* messages = std::tmpfile();
        std::FILE* typed = std::tmpfile();
        std::fputs(c.Typed, typed);
        std::rewind(typed);
        CliHost host(messages, nullptr);
        host.SetQuestionInput(typed);
        EXPECT_EQ(host.AskYesNo("Adjust to full display dynamic range?"), c.Want) << c.Name;
        EXPECT_EQ(ReadAll(messages), "Adjust to full display dynamic range? [y/N] ") << c.Name;
        std::fclose(typed);
        std::fclose(messages);
    }
}

} // namespace
} // namespace korvel

namespace korvel {
namespace {

TEST(CliSession, StrokesNeedAToolAndPoints) {
    const struct {
        const char* Name;
        std::vector<std::string> Args;
        int Code;
        const char* Err;
    } cases[] = {
        {"no tool",
         {"new", "64x64", "stroke", "1,1"},
         CliFailed,
         "korvel-cli: \"stroke\": no paint tool is chosen (choose one first, e.g. "
         "paint-tool-raise or clone)\n"},
        {"no point",
         {"new", "64x64", "paint-tool-raise", "stroke"},
         CliUsage,
         "korvel-cli: \"stroke\" needs at least one point X,Y\n"},
        {"pressure out of range",
         {"new", "64x64", "paint-tool-raise", "stroke", "1,1@256"},
         CliUsage,
         "korvel-cli: \"stroke\": \"1,1@256\" is not a point X,Y or X,Y@P (P a pressure "
         "0..255)\n"},
        {"clone without source",
         {"new", "64x64", "clone", "stroke", "1,1"},
         CliFailed,
         "korvel-cli: \"stroke\": the clone tool has no source point (set one with "
         "clone-source)\n"},
        {"bad source",
         {"new", "64x64", "clone", "clone-source", "3;4"},
         CliUsage,
         "korvel-cli: \"clone-source\": \"3;4\" is not a point X,Y\n"},
    };
    for (const auto& c : cases) {
        const CliRun run = RunCli(c.Args);
        EXPECT_EQ(run.Code, c.Code) << c.Name;
        EXPECT_EQ(run.Err, c.Err) << c.Name;
    }
}

TEST(CliSession, AStrokeRaisesItsFootprintAndUndoesInOneStep) {
    // A 5 x 5 square brush of value 1 adds 1 under each stamp; two stamps 2 apart overlap in
    // three columns, which rise to 2.
    const CliRun raised = RunCli({"new", "64x64", "tool-size-5", "brush-square", "paint-tool-raise",
                                  "stroke", "10,10", "12,10@200", "info"});
    ASSERT_EQ(raised.Code, CliOk) << raised.Err;
    EXPECT_NE(raised.Out.find("Min=0\nMax=2\n"), std::string::npos) << raised.Out;
    const CliRun undone =
        RunCli({"new", "64x64", "paint-tool-raise", "stroke", "10,10", "30,30", "undo", "info"});
    ASSERT_EQ(undone.Code, CliOk) << undone.Err;
    EXPECT_NE(undone.Out.find("Min=0\nMax=0\n"), std::string::npos) << undone.Out;
}

} // namespace
} // namespace korvel
