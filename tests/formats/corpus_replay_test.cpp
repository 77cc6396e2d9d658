// Replays the fuzzing seed corpus through the buffer readers. Files named valid_* must be read;
// truncated_* and corrupt_* must be refused with the target left as it was; anything else (a
// reproducer a fuzzing run saved) only has to be survived.

#include "core/workspace.h"
#include "edit/selection_operations.h"
#include "formats/ascii_grid.h"
#include "formats/binary_grid.h"
#include "formats/bmp.h"
#include "formats/bryce.h"
#include "formats/dted.h"
#include "formats/exr.h"
#include "formats/geotiff.h"
#include "formats/hgt.h"
#include "formats/mat.h"
#include "formats/mdr.h"
#include "formats/muse_dted.h"
#include "formats/pcx.h"
#include "formats/png_heights.h"
#include "formats/raw_heights.h"
#include "formats/selection_bmp.h"
#include "formats/stm.h"
#include "formats/tga.h"
#include "formats/usgs_dem.h"
#include "formats/vector_file.h"
#include "fuzz/fuzz_layouts.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

namespace korvel {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

// Every read starts from an 8 x 5 Surface with a mask (8 x 8 after rounding), so a refusal
// that touches the Surface, the picture or the mask shows; format tests check valid files.
auto Shapes(const Workspace& ws) {
    const Surface& s = ws.TheSurface;
    return std::tuple(s.XSize, s.YSize, s.Texture.AsIs().Width(), s.Texture.AsIs().Height(),
                      s.Mask.Width(), s.Mask.Height());
}

const std::pair<const char*, int32_t (*)(const Bytes&, Workspace&)> Cases[] = {
    {"mdr", [](const Bytes& b, Workspace& ws) { return ReadMdrBuffer(b.data(), b.size(), ws); }},
    {"mat", [](const Bytes& b, Workspace& ws) { return ReadMatBuffer(b.data(), b.size(), ws); }},
    {"stm", [](const Bytes& b, Workspace& ws) { return ReadStmBuffer(b.data(), b.size(), ws); }},
    {"bmp_surface",
     [](const Bytes& b, Workspace& ws) { return ReadBmpSurfaceBuffer(b.data(), b.size(), ws); }},
    {"bmp_image",
     [](const Bytes& b, Workspace& ws) {
         return ReadBmpImageBuffer(b.data(), b.size(), ws.TheSurface.Texture.AsIs(),
                                   ws.TheProgress);
     }},
    {"selection_bmp",
     [](const Bytes& b, Workspace& ws) {
         std::string message;
         const int32_t code = LoadSelectionBmpBuffer(ws.TheSurface, b.data(), b.size(), message);
         EXPECT_EQ(code == 0, message.empty()) << message;
         return code;
     }},
    {"pcx_surface",
     [](const Bytes& b, Workspace& ws) { return ReadPcxSurfaceBuffer(b.data(), b.size(), ws); }},
    {"pcx_texture",
     [](const Bytes& b, Workspace& ws) {
         return ReadPcxTextureBuffer(b.data(), b.size(), ws.TheSurface.Texture.AsIs(),
                                     ws.TheProgress);
     }},
    // As in the fuzz target, the first byte picks the channel.
    {"tga_channel",
     [](const Bytes& b, Workspace& ws) {
         return b.empty() ? -3 : ReadTgaChannelBuffer(b.data() + 1, b.size() - 1, b[0] % 3, ws);
     }},
    {"fractint_tga",
     [](const Bytes& b, Workspace& ws) { return ReadFractintTgaBuffer(b.data(), b.size(), ws); }},
    {"ascii_grid",
     [](const Bytes& b, Workspace& ws) { return ReadAsciiGridBuffer(b.data(), b.size(), ws); }},
    // As in the fuzz target, the first byte picks the layout and the second the width.
    {"raw_heights",
     [](const Bytes& b, Workspace& ws) {
         if (b.size() < 2)
             return -3;
         const RawFields layout{(b[0] & 8) ? b[1] * 4 : 0, 0, (b[0] >> 1) & 1, (b[0] >> 2) & 1};
         return ReadRawBuffer(b.data() + 2, b.size() - 2, (b[0] & 1) ? 4 : 2, layout, {-100, 900},
                              ws);
     }},
    {"hgt", [](const Bytes& b,
               Workspace& ws) { return ReadHgtBuffer(b.data(), b.size(), ws, "N45W120.hgt"); }},
    {"png_heights",
     [](const Bytes& b, Workspace& ws) { return ReadPngBuffer(b.data(), b.size(), {}, ws); }},
    {"geotiff",
     [](const Bytes& b, Workspace& ws) { return ReadGeoTiffBuffer(b.data(), b.size(), ws); }},
    {"exr", [](const Bytes& b, Workspace& ws) { return ReadExrBuffer(b.data(), b.size(), ws); }},
    {"usgs_dem",
     [](const Bytes& b, Workspace& ws) { return ReadUsgsDemBuffer(b.data(), b.size(), ws); }},
    // As in the fuzz targets, the first byte picks the read window.
    {"dted",
     [](const Bytes& b, Workspace& ws) {
         return b.empty()
                    ? -3
                    : ReadDtedCellBuffer(b.data() + 1, b.size() - 1, fuzz::ReadWindowOf(b[0]), ws);
     }},
    {"muse_dted",
     [](const Bytes& b, Workspace& ws) {
         return b.empty()
                    ? -3
                    : ReadMuseDtedBuffer(b.data() + 1, b.size() - 1, fuzz::ReadWindowOf(b[0]), ws);
     }},
    {"binary_grid",
     [](const Bytes& b, Workspace& ws) {
         if (b.size() < fuzz::BinaryLayoutBytes)
             return -3;
         return ImportBinaryBuffer(
             b.data() + fuzz::BinaryLayoutBytes, b.size() - fuzz::BinaryLayoutBytes,
             fuzz::BinaryLayoutOf(b.data()),
             (b[0] & 0x20) ? BinaryTarget::Subsection : BinaryTarget::WholeSurface, ws);
     }},
    {"bil_header",
     [](const Bytes& b, Workspace& ws) {
         BinaryImportFields layout;
         if (const int32_t code = ReadBilHeaderText(std::string(b.begin(), b.end()), layout);
             code != 0)
             return code;
         static const uint8_t grid[256] = {1, 2, 3, 4, 5, 6, 7, 8};
         return ImportBinaryBuffer(grid, sizeof grid, layout, BinaryTarget::WholeSurface, ws);
     }},
    // As in the fuzz target, both kinds: a seed is read when either kind reads it.
    {"bryce",
     [](const Bytes& b, Workspace& ws) {
         const int32_t code = ReadBryceBuffer(BryceKind::Bryce2, b.data(), b.size(), ws);
         return code == 0 ? 0 : ReadBryceBuffer(BryceKind::Bryce3D, b.data(), b.size(), ws);
     }},
    // Lines are skipped, never the file: a seed counts as read when it gives a stroke.
    {"vector_file",
     [](const Bytes& b, Workspace&) {
         return ReadVectorBuffer(b.data(), b.size()).Strokes.empty() ? -5 : 0;
     }},
};

Bytes ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(CorpusReplay, EverySeedIsReadOrRefusedCleanly) {
    for (const auto& [folder, read] : Cases) {
        const fs::path dir = fs::path(KORVEL_CORPUS_DIR) / folder;
        ASSERT_TRUE(fs::is_directory(dir)) << dir;
        int32_t valid = 0;
        for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
            const std::string name = entry.path().filename().string();
            SCOPED_TRACE(std::string(folder) + "/" + name);
            test::RecordingHost host;
            Workspace ws(host);
            ASSERT_EQ(ws.TheSurface.Resize(8, 5, 0), 0);
            ASSERT_EQ(SetSelectionEnabled(ws.TheSurface, true), 0);
            const auto before = Shapes(ws);
            const int32_t code = read(ReadAll(entry.path()), ws);
            if (name.starts_with("valid_")) {
                ++valid;
                EXPECT_EQ(code, 0);
            } else if (name.starts_with("truncated") || name.starts_with("corrupt_")) {
                EXPECT_NE(code, 0);
                EXPECT_EQ(Shapes(ws), before);
            }
        }
        EXPECT_GT(valid, 0) << "no valid seed in " << dir;
    }
}

} // namespace
} // namespace korvel
