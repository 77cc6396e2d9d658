// Replays the fuzzing seed corpus through the buffer readers. Files named valid_* must be read;
// truncated_* and corrupt_* must be refused with the target left as it was; anything else (a
// reproducer a fuzzing run saved) only has to be survived.

#include "core/selection_operations.h"
#include "core/workspace.h"
#include "formats/bmp.h"
#include "formats/mat.h"
#include "formats/mdr.h"
#include "formats/pcx.h"
#include "formats/stm.h"
#include "formats/tga.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace korvel {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

// The valid seeds are 8 x 4 (but for bmp_image); every read starts from an 8 x 5 Surface with a
// mask (8 x 8 after rounding), so a refusal that touches its target shows.
constexpr int32_t SeedWidth = 8;
constexpr int32_t SeedHeight = 4;
constexpr int32_t StartWidth = 8;
constexpr int32_t StartHeight = 5;

struct Shape {
    int32_t Width;
    int32_t Height;
    bool operator==(const Shape&) const = default;
};

struct Case {
    const char* Dir;
    int32_t (*Read)(const Bytes&, Workspace&);
    // Of what the reader fills: the Surface, the picture or the mask.
    Shape (*Target)(const Workspace&);
    bool SeedSized; // valid seeds then give an 8 x 4 target
};

Shape SurfaceShape(const Workspace& ws) {
    return {ws.TheSurface.XSize, ws.TheSurface.YSize};
}

Shape TextureShape(const Workspace& ws) {
    return {ws.TheSurface.Texture.Width(), ws.TheSurface.Texture.Height()};
}

const Case Cases[] = {
    {"mdr", [](const Bytes& b, Workspace& ws) { return ReadMdrBuffer(b.data(), b.size(), ws); },
     SurfaceShape, true},
    {"mat", [](const Bytes& b, Workspace& ws) { return ReadMatBuffer(b.data(), b.size(), ws); },
     SurfaceShape, true},
    {"stm", [](const Bytes& b, Workspace& ws) { return ReadStmBuffer(b.data(), b.size(), ws); },
     SurfaceShape, true},
    {"bmp_surface",
     [](const Bytes& b, Workspace& ws) { return ReadBmpSurfaceBuffer(b.data(), b.size(), ws); },
     SurfaceShape, true},
    {"bmp_image",
     [](const Bytes& b, Workspace& ws) {
         return ReadBmpImageBuffer(b.data(), b.size(), ws.TheSurface.Texture, ws.TheProgress);
     },
     TextureShape, false},
    {"selection_bmp",
     [](const Bytes& b, Workspace& ws) {
         std::string message;
         const int32_t code = LoadSelectionBmpBuffer(ws.TheSurface, b.data(), b.size(), message);
         EXPECT_EQ(code == 0, message.empty()) << message;
         return code;
     },
     [](const Workspace& ws) {
         return Shape{ws.TheSurface.Mask.Width(), ws.TheSurface.Mask.Height()};
     },
     false},
    {"pcx_surface",
     [](const Bytes& b, Workspace& ws) { return ReadPcxSurfaceBuffer(b.data(), b.size(), ws); },
     SurfaceShape, true},
    {"pcx_texture",
     [](const Bytes& b, Workspace& ws) {
         return ReadPcxTextureBuffer(b.data(), b.size(), ws.TheSurface.Texture, ws.TheProgress);
     },
     TextureShape, true},
    // As in the fuzz target, the first byte picks the channel.
    {"tga_channel",
     [](const Bytes& b, Workspace& ws) {
         return b.empty() ? -3 : ReadTgaChannelBuffer(b.data() + 1, b.size() - 1, b[0] % 3, ws);
     },
     SurfaceShape, true},
    {"fractint_tga",
     [](const Bytes& b, Workspace& ws) { return ReadFractintTgaBuffer(b.data(), b.size(), ws); },
     SurfaceShape, true},
};

Bytes ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool StartsWith(const std::string& s, const char* prefix) {
    return s.rfind(prefix, 0) == 0;
}

TEST(CorpusReplay, EverySeedIsReadOrRefusedCleanly) {
    for (const Case& c : Cases) {
        const fs::path dir = fs::path(KORVEL_CORPUS_DIR) / c.Dir;
        ASSERT_TRUE(fs::is_directory(dir)) << dir;
        int32_t valid = 0;
        for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
            const std::string name = entry.path().filename().string();
            SCOPED_TRACE(std::string(c.Dir) + "/" + name);
            test::RecordingHost host;
            Workspace ws(host);
            ASSERT_EQ(ws.TheSurface.Resize(StartWidth, StartHeight, 0), 0);
            ASSERT_EQ(SetSelectionEnabled(ws.TheSurface, true), 0);
            const Shape before = c.Target(ws);
            const int32_t code = c.Read(ReadAll(entry.path()), ws);
            if (StartsWith(name, "valid_")) {
                ++valid;
                EXPECT_EQ(code, 0);
                if (c.SeedSized) {
                    EXPECT_EQ(c.Target(ws), (Shape{SeedWidth, SeedHeight}));
                }
            } else if (StartsWith(name, "truncated") || StartsWith(name, "corrupt_")) {
                EXPECT_NE(code, 0);
                EXPECT_EQ(c.Target(ws), before);
            }
        }
        EXPECT_GT(valid, 0) << "no valid seed in " << dir;
    }
}

} // namespace
} // namespace korvel
