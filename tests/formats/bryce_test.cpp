#include "formats/bryce.h"

#include "core/workspace.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvel {
namespace {

class Bryce : public testing::Test {
public:
    // An n x n Surface rising by 1 per row from 0 at row 0 (the south).
    void RowRamp(int32_t n) {
        ASSERT_EQ(ws.TheSurface.Resize(n, n, 0), 0);
        for (int32_t y = 0; y < n; ++y)
            std::fill_n(ws.TheSurface.Rows[y], n, static_cast<float>(y));
        ws.TheSurface.Min = 0.0;
        ws.TheSurface.Max = n - 1;
    }
    static int32_t Sample(const std::vector<uint8_t>& file, size_t at) {
        return file[at] << 8 | file[at + 1];
    }

    test::RecordingHost host;
    Workspace ws{host};
    test::TempDir dir;
};

struct RoundTrip {
    const char* Name;
    BryceKind Kind;
    int32_t N;
    size_t Head;   // where the grid starts
    size_t Length; // head + grid + tail, from the published block sizes
    int32_t Top;   // the scaled value of the highest row
};

TEST_F(Bryce, FilesRoundTripRightWayUp) {
    // Top: trunc(levels x (N - 1) / (N - 1 + 0.00001)), levels 65534 or 2047.
    const RoundTrip cases[] = {
        {"bryce3d_16", BryceKind::Bryce3D, 16, 39868, 39868 + 512 + 128268, 65533},
        {"bryce3d_256", BryceKind::Bryce3D, 256, 39868, 39868 + 131072 + 128272, 65533},
        {"bryce3d_1024", BryceKind::Bryce3D, 1024, 39868, 39868 + 2097152 + 128332, 65533},
        {"bryce2_16", BryceKind::Bryce2, 16, 69919, 69919 + 512 + 20896, 2046},
        {"bryce2_128", BryceKind::Bryce2, 128, 69919, 69919 + 32768 + 20896, 2046},
    };
    for (const RoundTrip& c : cases) {
        SCOPED_TRACE(c.Name);
        RowRamp(c.N);
        const std::string path = dir.File(std::string(c.Name) + ".br");
        ASSERT_EQ(WriteBryceFile(c.Kind, path, WholeSurfaceLayout(ws, c.N), ws), 0);
        const std::vector<uint8_t> file = test::ReadFileBytes(path);
        ASSERT_EQ(file.size(), c.Length);
        ASSERT_EQ(BryceFileLength(c.Kind, c.N), c.Length);
        EXPECT_EQ(std::string(file.begin(), file.begin() + 16), "CCmF - Universal");
        // The first grid row is the north (highest) row, most significant byte first.
        EXPECT_EQ(Sample(file, c.Head), c.Top);
        EXPECT_EQ(Sample(file, c.Head + 2 * size_t(c.N) * (c.N - 1)), 0);

        ASSERT_EQ(ws.TheSurface.Resize(8, 4, 0), 0);
        std::string reason;
        ASSERT_EQ(ReadBryceFile(c.Kind, path, ws, &reason), 0) << reason;
        const Surface& s = ws.TheSurface;
        ASSERT_EQ(s.XSize, c.N);
        ASSERT_EQ(s.YSize, c.N);
        EXPECT_EQ(s.Rows[c.N - 1][3], c.Top);
        EXPECT_EQ(s.Rows[0][3], 0.0f);
        EXPECT_EQ(s.Min, 0.0);
        EXPECT_EQ(s.Max, c.Top);
    }
}

TEST_F(Bryce, ScaledValuesClampInsteadOfWrapping) {
    struct Case {
        const char* Name;
        BryceKind Kind;
        double Min, Max; // stale extremes of a 0 / 15 Surface
        int32_t North, South;
    };
    const Case cases[] = {
        // (15 - 0) x 65534 / 7.00001 is far above 65534; (0 - 2) x ... below 0.
        {"max_too_low", BryceKind::Bryce3D, 0.0, 7.0, 65534, 0},
        {"min_too_high", BryceKind::Bryce3D, 2.0, 15.0, 65533, 0},
        {"bryce2_max_too_low", BryceKind::Bryce2, 0.0, 1.0, 2047, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        RowRamp(16);
        ws.TheSurface.Min = c.Min;
        ws.TheSurface.Max = c.Max;
        const std::string path = dir.File("clamp.br");
        ASSERT_EQ(WriteBryceFile(c.Kind, path, WholeSurfaceLayout(ws, 16), ws), 0);
        const std::vector<uint8_t> file = test::ReadFileBytes(path);
        const size_t head = c.Kind == BryceKind::Bryce3D ? 39868 : 69919;
        EXPECT_EQ(Sample(file, head), c.North);
        EXPECT_EQ(Sample(file, head + 2 * 16 * 15), c.South);
    }
}

TEST_F(Bryce, AreaEdgesClampToTheSurface) {
    RowRamp(16);
    // Rows 20 (clamped to 15) down to -3 (clamped to 0): the same as the whole Surface.
    const BryceLayout layout{16, 20.0, -5.0, 99.0, -3.0};
    const std::string path = dir.File("area.br3");
    ASSERT_EQ(WriteBryceFile(BryceKind::Bryce3D, path, layout, ws), 0);
    const std::vector<uint8_t> file = test::ReadFileBytes(path);
    EXPECT_EQ(Sample(file, 39868), 65533);
    EXPECT_EQ(Sample(file, 39868 + 2 * 16 * 15), 0);
}

TEST_F(Bryce, RefusesSizesNotListed) {
    RowRamp(16);
    const std::string path = dir.File("bad.br3");
    test::WriteFileText(path, "old");
    EXPECT_EQ(WriteBryceFile(BryceKind::Bryce3D, path, {100, 15, 0, 15, 0}, ws), BryceBadSize);
    EXPECT_EQ(test::ReadFileText(path), "old");
}

// A Bryce 2 body: the signature, the tag at 236, the size byte 97 after it, the grid 720 after.
std::vector<uint8_t> Bryce2Body(uint8_t sizeCode, size_t gridBytes) {
    std::vector<uint8_t> b(236 + 720 + gridBytes, 0);
    const std::string text = "CCmF - Universal";
    std::copy(text.begin(), text.end(), b.begin());
    const std::string tag = "3dobhfld";
    std::copy(tag.begin(), tag.end(), b.begin() + 236);
    b[236 + 97] = sizeCode;
    return b;
}

TEST_F(Bryce, HostileFilesAreRefusedLeavingTheSurface) {
    struct Case {
        const char* Name;
        std::vector<uint8_t> Bytes;
        int32_t Code;
    };
    std::vector<uint8_t> noSignature = Bryce2Body(0x20, 512);
    noSignature[0] = 'X';
    std::vector<uint8_t> noTag = Bryce2Body(0x20, 512);
    noTag[236] = 'X';
    std::vector<uint8_t> pastEnd = Bryce2Body(0x20, 0);
    pastEnd.resize(250);
    const Case cases[] = {
        {"empty", {}, BryceNotBryce},
        {"no_signature", noSignature, BryceNotBryce},
        {"no_tag", noTag, BryceNoGrid},
        {"size_byte_0x45", Bryce2Body(0x45, 512), BryceNoGrid},
        {"grid_one_byte_short", Bryce2Body(0x20, 511), BryceNoGrid},
        {"size_byte_past_end", pastEnd, BryceNoGrid},
        {"size_1024_in_a_small_file", Bryce2Body(0x80, 512), BryceNoGrid},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        RowRamp(8);
        std::string reason;
        EXPECT_EQ(
            ReadBryceBuffer(BryceKind::Bryce2, c.Bytes.data(), c.Bytes.size(), ws, "", &reason),
            c.Code);
        EXPECT_FALSE(reason.empty());
        EXPECT_EQ(ws.TheSurface.XSize, 8);
        EXPECT_EQ(ws.TheSurface.Rows[7][0], 7.0f);
    }
    // The good body is read: the guard above is not refusing everything.
    const std::vector<uint8_t> good = Bryce2Body(0x20, 512);
    EXPECT_EQ(ReadBryceBuffer(BryceKind::Bryce2, good.data(), good.size(), ws), 0);
    EXPECT_EQ(ws.TheSurface.XSize, 16);
}

} // namespace
} // namespace korvel
