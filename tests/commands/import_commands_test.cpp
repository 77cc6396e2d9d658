#include "commands/import_commands.h"

#include "commands/command_runner.h"
#include "commands/file_dispatch.h"
#include "core/workspace.h"
#include "formats/file_type_table.h"
#include "formats/format_support.h"
#include "support/elevation_files.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace korvel {
namespace {

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

class ImportCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddDialogSettings(ws);
        ASSERT_EQ(ws.TheSurface.Resize(8, 4, 0), 0);
        ws.TheSurface.SetEdges(-120.0, -119.0, 46.0, 45.0);
    }
    test::RecordingHost host;
    Workspace ws{host};
    test::TempDir dir;
};

TEST_F(ImportCommandsTest, OpeningEachTypeReadsItAndSavingMuseGivesItBack) {
    const std::string dem = dir.File("q.dem");
    test::WriteFileText(dem, test::DemFile(test::DemLayout{}));
    const std::string cell = dir.File("n45.dt1");
    WriteBytes(cell, test::DtedFile("1200000W", "0450000N", 9, 7, 30,
                                    [](int32_t line, int32_t point) { return line - point; }));
    const struct {
        const char* Name;
        std::string Path;
        int32_t Width, Height;
        float Corner; // Surface row 0, column 1
    } cases[] = {
        {"USGS DEM", dem, 4, 4, 100},
        {"DTED cell", cell, 8, 6, 1},
    };
    for (const auto& c : cases) {
        std::string reason;
        ASSERT_EQ(ReadFileByType(ws, c.Path, false, -1, &reason), 0) << c.Name << ": " << reason;
        EXPECT_EQ(ws.TheSurface.XSize, c.Width) << c.Name;
        EXPECT_EQ(ws.TheSurface.YSize, c.Height) << c.Name;
        EXPECT_EQ(ws.TheSurface.Rows[0][1], c.Corner) << c.Name;
        EXPECT_EQ(ws.RecentFiles.Items().front(), c.Path) << c.Name;
    }
    std::string message;
    const std::string dte = dir.File("n45.dte");
    ASSERT_EQ(WriteFileByType(ws, dte, -1, message), 0) << message;
    EXPECT_EQ(ws.CurrentFile, dte);
    ASSERT_EQ(ReadFileByType(ws, dte, false), 0);
    EXPECT_EQ(ws.TheSurface.XSize, 8);
    EXPECT_EQ(ws.TheSurface.Rows[0][1], 1);

    // A MUSE write that cannot open its file names the step.
    const std::string nowhere = dir.File("no/such/x.dte");
    EXPECT_NE(WriteFileByType(ws, nowhere, -1, message), 0);
    EXPECT_EQ(message, "Error \"OPEN\" writing \"" + nowhere + "\": No such file or directory");
}

TEST_F(ImportCommandsTest, ReadWindowDialogAndFailuresOfMuseAndDted) {
    const std::string dte = dir.File("bad.dte");
    test::WriteFileText(dte, "short");
    const std::string dt1 = dir.File("bad.dt1");
    test::WriteFileText(dt1, "short");
    ws.Muse.ReadInfo = 1;
    host.Answers = {false};
    std::string reason;
    EXPECT_EQ(ReadFileByType(ws, dte, false, -1, &reason), DispatchMuseCancelled);
    EXPECT_EQ(host.DialogGroups.back(), "muse");
    host.Answers = {false};
    EXPECT_EQ(ReadFileByType(ws, dt1, false, -1, &reason), DispatchDtedCancelled);
    ws.Muse.ReadInfo = 0;
    ws.Muse.SkipX = 5; // "ReadInfo" 0 reads the whole file
    EXPECT_EQ(ReadFileByType(ws, dte, false, -1, &reason), DispatchMuseFailed);
    EXPECT_EQ(ws.Muse.SkipX, 0);
    EXPECT_EQ(OpenFailureMessage(DispatchMuseFailed, dte, -1, reason),
              "Error reading Muse DTED file \"" + dte +
                  "\": READ HEADER: the file is shorter than the 1,024-byte MUSE DTED header (5 "
                  "of 1,024 bytes)");
    EXPECT_EQ(ReadFileByType(ws, dt1, false, -1, &reason), DispatchDtedFailed);
    EXPECT_EQ(OpenFailureMessage(DispatchDtedFailed, dt1, -1, reason),
              "Error reading DTED cell file \"" + dt1 +
                  "\": DTED: the file is shorter than its header promises (5 of 80 bytes)");
    EXPECT_EQ(ws.TheSurface.XSize, 8);
}

TEST_F(ImportCommandsTest, BinarySurfaceThroughABilHeader) {
    const std::string grid = dir.File("g.bil");
    std::vector<uint8_t> bytes;
    for (int32_t i = 0; i < 8 * 3; ++i) {
        bytes.push_back(uint8_t(i * 10));
        bytes.push_back(0);
    }
    WriteBytes(grid, bytes);
    const std::string header = dir.File("g.hdr");
    test::WriteFileText(header, "NROWS 3\nNCOLS 8\nNBITS 16\nULXMAP 10.5\nULYMAP 2.5\nXDIM 1\n"
                                "YDIM 1\n");
    ws.BinaryImport.BilHeader = header;
    std::string reason;
    ASSERT_EQ(ReadFileByType(ws, grid, false, FileBinary, &reason), 0) << reason;
    const Surface& s = ws.TheSurface;
    EXPECT_EQ(s.XSize, 8);
    EXPECT_EQ(s.YSize, 3);
    EXPECT_EQ(s.Rows[2][0], 0);   // the first file row is the top
    EXPECT_EQ(s.Rows[0][7], 230); // the last sample the bottom right
    EXPECT_DOUBLE_EQ(s.Left, 10.0);
    EXPECT_DOUBLE_EQ(s.Top, 3.0);
    EXPECT_DOUBLE_EQ(s.Right, 18.0);
    EXPECT_DOUBLE_EQ(s.Bottom, 0.0);

    test::WriteFileText(header, "NBITS 24\n");
    EXPECT_EQ(ReadFileByType(ws, grid, false, FileBinary, &reason), -2);
    EXPECT_EQ(reason, "BIL header \"" + header + "\": Unknown size parameter in 24");
}

TEST_F(ImportCommandsTest, Commands) {
    const std::string tbase = dir.File("missing.bin");
    const std::string bin = dir.File("part.bin");
    WriteBytes(bin, {1, 0, 2, 0, 3, 0, 4, 0});
    const struct {
        const char* Name;
        const char* Command;
        std::function<void(Workspace&)> Prepare;
        RunStatus Status;
        std::string Message; // empty: none
        const char* Snapshot;
    } cases[] = {
        {"backfill without its file", "backfill", [&](Workspace& w) { w.Backfill.Path = tbase; },
         RunStatus::Failed, "Can't open Terrainbase file " + tbase + ": No such file or directory",
         "Backfill"},
        {"DTED image of no size", "dted-image", [](Workspace& w) { w.Muse.XSize = 0; },
         RunStatus::Failed, "Unable to import 0-sized image", "DTED Image"},
        {"GTOPO30 section", "gtopo30-section", nullptr, RunStatus::Done, "", "GTOPO30 Import"},
        {"image subsection", "image-subsection",
         [&](Workspace& w) {
             w.ImageSubsection.Path = bin;
             w.BinaryImport.LineWidth = 4;
             w.BinaryImport.MemXStart = 2;
         },
         RunStatus::Done, "", "Image Subsection"},
    };
    for (const auto& c : cases) {
        host.Messages.clear();
        if (c.Prepare)
            c.Prepare(ws);
        const int32_t snapshots = ws.Undo.UndoCount();
        const RunResult result = RunCommand(*FindCommandByName(c.Command), ws);
        EXPECT_EQ(result.Status, c.Status) << c.Name;
        EXPECT_EQ(host.Messages.empty() ? "" : host.Messages.front(), c.Message) << c.Name;
        const bool snapshot = *c.Snapshot != 0;
        EXPECT_EQ(ws.Undo.UndoCount(), snapshots + (snapshot ? 1 : 0)) << c.Name;
        if (snapshot) {
            EXPECT_EQ(ws.Undo.UndoName(), c.Snapshot) << c.Name;
        }
    }
    // The subsection: the file's one row of 4 samples stretched over columns 2..7 (column j
    // takes sample j * 4 / 6) of every row.
    const Surface& s = ws.TheSurface;
    EXPECT_EQ(s.XSize, 8);
    EXPECT_EQ(s.Rows[3][2], 1);
    EXPECT_EQ(s.Rows[3][7], 4);
    EXPECT_EQ(s.Rows[3][1], 0);
}

} // namespace
} // namespace korvel
