#include "core/progress.h"
#include "core/surface.h"
#include "geo/projected_bmp.h"
#include "support/failed_writes.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <vector>

namespace korvel {
namespace {

uint32_t Field32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

struct ExportFixture : ::testing::Test {
    test::RecordingHost host;
    bool showTime = false;
    Progress progress{host, showTime};
    test::TempDir dir;
    Surface map;
    Image texture;
    MapProjectionFields view;
    std::string reason;
    void SetUp() override {
        // A whole world, red north of the equator and blue south of it.
        map.XSize = 36;
        map.YSize = 18;
        map.SetEdges(-180.0, 180.0, 90.0, -90.0);
        texture.Create(36, 18, 24);
        for (int32_t y = 0; y < 18; ++y)
            for (int32_t x = 0; x < 36; ++x)
                texture.SetPixel(x, y, y >= 9 ? PackColor(255, 0, 0) : PackColor(0, 0, 255));
        view.Index = 3; // Equirectangular
    }
    int32_t Export(const std::string& path) {
        return ExportProjectionBmp(path, view, texture, map, progress, reason);
    }
};

struct SizeCase {
    const char* Name;
    int32_t Width;
    int32_t Height;
    uint32_t FileBytes; // 54 + rows of 3 * width bytes padded to 4
};

TEST_F(ExportFixture, HeaderAndPaddedRows) {
    const SizeCase cases[] = {
        {"100 x 50: 300-byte rows", 100, 50, 15054},
        {"101 x 50: 303 bytes padded to 304", 101, 50, 54 + 304 * 50},
        {"5 x 4: 15 bytes padded to 16", 5, 4, 54 + 16 * 4},
    };
    for (const SizeCase& c : cases) {
        view.Width = c.Width;
        view.Height = c.Height;
        const std::string path = dir.File("out.bmp");
        ASSERT_EQ(Export(path), ProjectedBmpDone) << c.Name << ": " << reason;
        const std::vector<uint8_t> b = test::ReadFileBytes(path);
        ASSERT_EQ(b.size(), c.FileBytes) << c.Name;
        EXPECT_EQ(b[0], 'B');
        EXPECT_EQ(b[1], 'M');
        EXPECT_EQ(Field32(b, 2), c.FileBytes) << c.Name;
        EXPECT_EQ(Field32(b, 10), 54u) << c.Name;
        EXPECT_EQ(Field32(b, 14), 40u) << c.Name;
        EXPECT_EQ(Field32(b, 18), static_cast<uint32_t>(c.Width)) << c.Name;
        EXPECT_EQ(Field32(b, 22), static_cast<uint32_t>(c.Height)) << c.Name;
        EXPECT_EQ(b[28], 24) << c.Name;
    }
}

TEST_F(ExportFixture, NorthIsUp) {
    view.Width = 40;
    view.Height = 20;
    const std::string path = dir.File("up.bmp");
    ASSERT_EQ(Export(path), ProjectedBmpDone) << reason;
    const std::vector<uint8_t> b = test::ReadFileBytes(path);
    // The first stored row is the bottom of the picture: the south, blue (B, G, R = 255, 0, 0).
    const size_t first = 54 + 3 * 20;
    EXPECT_EQ(b[first], 255);
    EXPECT_EQ(b[first + 2], 0);
    const size_t last = 54 + 120 * 19 + 3 * 20;
    EXPECT_EQ(b[last], 0);
    EXPECT_EQ(b[last + 2], 255);
}

TEST_F(ExportFixture, PixelsWithoutAPlaceAreBlack) {
    view.Index = 11; // Orthographic: the corners lie off the globe
    view.Width = 20;
    view.Height = 20;
    const std::string path = dir.File("globe.bmp");
    ASSERT_EQ(Export(path), ProjectedBmpDone) << reason;
    const std::vector<uint8_t> b = test::ReadFileBytes(path);
    EXPECT_EQ(b[54] + b[55] + b[56], 0);
    EXPECT_EQ(b[54 + 60 * 10 + 30 + 2], 255) << "the centre, just north of the equator, is red";
}

struct RefusalCase {
    const char* Name;
    int32_t Width;
    int32_t Height;
    int32_t Index;
    const char* Reason;
};

TEST_F(ExportFixture, RefusesWithoutWriting) {
    const RefusalCase cases[] = {
        {"below 4 pixels", 3, 50, 3, "3 x 50"},
        {"beyond the header's reach", 40000, 40000, 3, "40000 x 40000"},
        {"negative", -100, 50, 3, "-100 x 50"},
        {"no such projection", 100, 50, 25, "no projection number 25"},
    };
    for (const RefusalCase& c : cases) {
        view.Width = c.Width;
        view.Height = c.Height;
        view.Index = c.Index;
        const std::string path = dir.File("refused.bmp");
        EXPECT_EQ(Export(path), ProjectedBmpRefused) << c.Name;
        EXPECT_NE(reason.find(c.Reason), std::string::npos) << c.Name << ": " << reason;
        EXPECT_NE(reason.find(path), std::string::npos) << c.Name << ": " << reason;
        EXPECT_FALSE(std::filesystem::exists(path)) << c.Name;
    }
}

TEST_F(ExportFixture, CancelOrAFullDiskKeepsTheOldFile) {
    view.Width = 400;
    view.Height = 200;
    const test::FailedWriteCodes codes =
        test::TryFailedWrites(host, progress, dir, "projected BMP",
                              [this](const std::string& path) { return Export(path); });
    EXPECT_EQ(codes.Cancelled, ProjectedBmpCancelled);
    EXPECT_EQ(codes.DiskFull, ProjectedBmpWriteFailed);
}

TEST_F(ExportFixture, UnwritableFolderIsNamed) {
    view.Width = 8;
    view.Height = 8;
    const std::string path = dir.File("no/such/folder.bmp");
    EXPECT_EQ(Export(path), ProjectedBmpWriteFailed);
    EXPECT_NE(reason.find("Error opening file \"" + path + "\""), std::string::npos) << reason;
}

} // namespace
} // namespace korvel
