// Why each writer refuses, as the person is told it: the system's reason when the file cannot be
// created, the writer's own when it cannot write what it was given.
#include "core/workspace.h"
#include "formats/bmp.h"
#include "formats/mat.h"
#include "formats/mdr.h"
#include "formats/pcx.h"
#include "formats/pgm.h"
#include "formats/stm.h"
#include "formats/tga.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

namespace korvel {
namespace {

using Writer = std::function<int32_t(const std::string&, Workspace&, std::string*)>;

struct Named {
    const char* Name;
    Writer Write;
    int32_t CannotCreate;
};

const Named Writers[] = {
    {"MDR", [](auto& p, auto& ws, auto r) { return WriteMdrFile(p, ws, r); }, MdrCannotCreate},
    {"MAT", [](auto& p, auto& ws, auto r) { return WriteMatFile(p, ws, r); }, MatCannotCreate},
    {"STM", [](auto& p, auto& ws, auto r) { return WriteStmFile(p, ws, true, r); },
     StmCannotCreate},
    {"PGM", [](auto& p, auto& ws, auto r) { return WritePgm(p, ws, r); }, PgmCannotCreate},
    {"BMP surface", [](auto& p, auto& ws, auto r) { return WriteBmpSurface(p, ws, r); },
     BmpSurfaceCannotCreate},
    {"Fractint TGA", [](auto& p, auto& ws, auto r) { return WriteFractintTga(p, ws, r); },
     TgaCannotCreate},
    {"BMP picture",
     [](auto& p, auto& ws, auto r) {
         return WriteBmpImage(p, ws.TheSurface.Texture.AsIs(), ws.TheProgress, r);
     },
     BmpImageCannotCreate},
    {"TGA picture",
     [](auto& p, auto& ws, auto r) {
         return WriteTgaTexture8(p, ws.TheSurface.Texture.AsIs(), ws.TheProgress, r);
     },
     TgaCannotCreate},
    {"PCX picture",
     [](auto& p, auto& ws, auto r) {
         return WritePcx256(p, ws.TheSurface.Texture.AsIs(), ws.TheProgress, r);
     },
     PcxCannotCreate},
};

TEST(WriteFailure, AFileThatCannotBeCreatedGivesTheSystemsReason) {
    test::TempDir dir;
    for (const Named& w : Writers) {
        test::RecordingHost host;
        Workspace ws(host);
        ASSERT_EQ(ws.TheSurface.Resize(8, 4, 0), 0);
        ASSERT_EQ(ws.TheSurface.Texture.AsIs().Create(8, 4, 8), 0);
        std::string reason;
        EXPECT_EQ(w.Write(dir.File("no/such/folder/x"), ws, &reason), w.CannotCreate) << w.Name;
        EXPECT_EQ(reason, "No such file or directory") << w.Name;
        // The caller shows it; the writer shows nothing of its own.
        EXPECT_TRUE(host.Messages.empty()) << w.Name;
    }
}

TEST(WriteFailure, WhatAWriterCannotWriteIsNamed) {
    test::TempDir dir;
    const struct {
        const char* Name;
        std::function<int32_t(const std::string&, Workspace&, std::string*)> Write;
        std::function<void(Workspace&)> Prepare; // none: a Workspace never given a grid
        int32_t Code;
        std::string Reason;
    } cases[] = {
        {"MDR 3-byte samples", Writers[0].Write, [](Workspace& ws) { ws.MdrSave.DataType = 3; },
         MdrBadOptions, "the save options name a kind of MDR file this version cannot write"},
        {"PGM upside down", Writers[3].Write,
         [](Workspace& ws) {
             ws.TheSurface.Min = 2;
             ws.TheSurface.Max = 1;
         },
         PgmBadRange, "the Surface's Max is below its Min"},
        {"STM without a grid", Writers[2].Write, nullptr, StmNoGrid,
         "the Surface has no grid to write"},
        {"TGA of 24-bit pixels", Writers[7].Write,
         [](Workspace& ws) { ws.TheSurface.Texture.AsIs().Create(8, 4, 24); }, TgaNoPalette,
         "a 24-bit picture has no palette for an 8-bit TGA file"},
        {"PCX of an empty picture", Writers[8].Write,
         [](Workspace& ws) { ws.TheSurface.Texture.Release(); }, PcxBadSize,
         "the picture is empty or larger than a PCX file holds (65535 x 65535)"},
    };
    for (const auto& c : cases) {
        test::RecordingHost host;
        Workspace ws(host);
        if (c.Prepare) {
            ASSERT_EQ(ws.TheSurface.Resize(8, 4, 0), 0);
            ASSERT_EQ(ws.TheSurface.Texture.AsIs().Create(8, 4, 8), 0);
            c.Prepare(ws);
        }
        const std::string path = dir.File(c.Name);
        std::string reason;
        EXPECT_EQ(c.Write(path, ws, &reason), c.Code) << c.Name;
        EXPECT_EQ(reason, c.Reason) << c.Name;
        EXPECT_FALSE(std::filesystem::exists(path)) << c.Name;
    }
}

} // namespace
} // namespace korvel
