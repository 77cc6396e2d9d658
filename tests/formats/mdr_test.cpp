#include "formats/mdr.h"

#include "core/workspace.h"
#include "support/failed_writes.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <filesystem>

namespace korvel {
namespace {

using Bytes = std::vector<uint8_t>;

uint64_t GetLE(const std::string& b, size_t at, int n) {
    uint64_t bits = 0;
    for (int i = n - 1; i >= 0; --i)
        bits = bits << 8 | static_cast<uint8_t>(b[at + i]);
    return bits;
}

// Magic, 1024, type word, size, base 10.5 and scale 0.25, then data.
Bytes HandMade(int32_t width, int32_t height, uint32_t typeWord, Bytes data = {}) {
    Bytes b(1024 + data.size(), 0);
    std::copy(data.begin(), data.end(), b.begin() + 1024);
    std::memcpy(b.data(), "KRVL", 4);
    const uint32_t words[][2] = {
        {4, 1024},         {332, typeWord},  {360, uint32_t(width)}, {364, uint32_t(height)},
        {368, 0x41280000}, {372, 0x3E800000}};
    for (auto [at, word] : words)
        for (size_t i = 0; i < 4; ++i)
            b[at + i] = static_cast<uint8_t>(word >> (8 * i));
    return b;
}

class Mdr : public testing::Test {
public:
    void Fill(int32_t w, int32_t h, float first, float step) {
        ASSERT_EQ(ws.TheSurface.Resize(w, h, 0), 0);
        for (int32_t i = 0; i < w * h; ++i)
            ws.TheSurface.Rows[0][i] = first + step * static_cast<float>(i);
    }
    void CancelAt(int pumps) {
        host.OnPump = test::CancelAtPump(ws.TheProgress, host.Pumps + pumps);
    }
    int32_t ReadBytes(const Bytes& b) { return ReadMdrBuffer(b.data(), b.size(), ws); }
    std::vector<float> Row(int32_t y) const {
        return {ws.TheSurface.Rows[y], ws.TheSurface.Rows[y] + ws.TheSurface.XSize};
    }

    test::RecordingHost host;
    Workspace ws{host};
    test::TempDir dir;
};

TEST_F(Mdr, HeaderLayoutOfAWrittenFile) {
    Surface& s = ws.TheSurface;
    Fill(8, 2, -3.0f, 0.0f);
    const float row0[8] = {7.25f, -3.0f, 12.5f, 4.75f, 20.0f, -100.0f, 0.0f, 12.5f};
    std::copy_n(row0, 8, s.Rows[0]);
    const double map[8] = {-10.5, 20.25, 45.0, -5.0, -3.0, 12.5, 0.5, 2.0}; // in header order
    s.Left = map[0], s.Right = map[1], s.Top = map[2], s.Bottom = map[3];
    s.Min = map[4], s.Max = map[5], s.XRes = map[6], s.YRes = map[7], ws.MdrSave.DataType = 1;
    ASSERT_EQ(WriteMdrFile(dir.File("a.mdr"), ws), 0);
    const std::string b = test::ReadFileText(dir.File("a.mdr"));
    ASSERT_EQ(b.size(), 1024u + 8 * 2 * 2);
    EXPECT_EQ(b.substr(0, 8), std::string("KRVL\0\4\0\0", 8));
    for (size_t i = 0; i < 8; ++i)
        EXPECT_EQ(GetLE(b, 264 + 8 * i, 8), std::bit_cast<uint64_t>(map[i])) << i;
    const std::pair<size_t, uint64_t> words[] = {{328, 100}, {332, 0x100},      {360, 8},
                                                 {364, 2},   {368, 0x40E80000}, {372, 0x4178000A}};
    for (auto [at, bits] : words)
        EXPECT_EQ(GetLE(b, at, 4), bits) << "offset " << at;
    // q = trunc(clamp((v - Min) / 15.50001) * 65535); the second row is all Min.
    const uint16_t q[8] = {43337, 0, 65534, 32767, 65535, 0, 12684, 65534};
    for (size_t x = 0; x < 16; ++x)
        EXPECT_EQ(GetLE(b, 1024 + 2 * x, 2), x < 8 ? q[x] : 0u) << "sample " << x;
}

TEST_F(Mdr, RoundTripsPerDataType) {
    // Data type, width, height, levels (0: exact); rows of 4100 straddle the 16 and 64 MB blocks.
    const int32_t cases[][4] = {{2, 12, 5, 255}, {0, 4100, 4097, 0}, {1, 4100, 2100, 65535}};
    for (const auto& c : cases) {
        const size_t samples = size_t(c[1]) * size_t(c[2]);
        Fill(c[1], c[2], -41.5f, 0.001f);
        ws.TheSurface.Min = -41.5, ws.TheSurface.Max = -41.5 + 0.001f * double(samples - 1);
        ws.MdrSave.DataType = c[0];
        ASSERT_EQ(WriteMdrFile(dir.File("r.mdr"), ws), 0);
        ASSERT_EQ(ws.TheSurface.Resize(4, 4, 0), 0);
        ASSERT_EQ(ReadMdrFile(dir.File("r.mdr"), ws), 0);
        ASSERT_EQ(ws.TheSurface.XSize * ws.TheSurface.YSize, c[1] * c[2]);
        // The writer's inverse scale is a float: a sample may land a hair over a level low.
        const double tolerance = c[3] == 0 ? 0.0 : 1.01 * (0.001 * double(samples) + 1e-5) / c[3];
        size_t misses = 0;
        for (size_t i = 0; i < samples; ++i)
            misses += std::abs(ws.TheSurface.Rows[0][i] - (-41.5f + 0.001f * float(i))) > tolerance;
        EXPECT_EQ(misses, 0u) << c[0];
    }
}

TEST_F(Mdr, IntegerSavesReportTheirRounding) {
    ASSERT_EQ(ws.TheSurface.Resize(4, 1, 0), 0);
    const float heights[] = {0, 100.5f, 255, 300};
    std::copy(heights, heights + 4, ws.TheSurface.Rows[0]);
    ws.TheSurface.Min = 0, ws.TheSurface.Max = 255;
    // Levels are truncated and Max - Min is stored as 255.00001: 255 falls a hair below the top
    // level and is stored one level down (254.00001 at 8 bits, 65534 * 255.00001 / 65535 =
    // 254.99612 at 16); 300 lies above Max.
    const std::pair<int32_t, std::vector<std::string>> cases[] = {
        {2, {"q.mdr: 8-bit, step 1 m, worst error 1 m, 1 clipped"}},
        {1, {"q.mdr: 16-bit, step 0.00389 m, worst error 0.00388 m, 1 clipped"}},
        {0, {}},
    };
    for (const auto& [dataType, notes] : cases) {
        ws.MdrSave.DataType = dataType;
        ws.FileNotes.clear();
        ASSERT_EQ(WriteMdrFile(dir.File("q.mdr"), ws), 0);
        EXPECT_EQ(ws.FileNotes, notes) << dataType;
    }
}

TEST_F(Mdr, ReadsHandMadeFiles) {
    // Width 5 loses a column; coding 1, data type 2, bytes of 1: 10.5 + 0.25 per sample.
    ASSERT_EQ(ReadBytes(HandMade(5, 2, 0x01000200, Bytes(10, 1))), 0);
    EXPECT_EQ(Row(0), (std::vector<float>{10.75f, 11.0f, 11.25f, 11.5f}));
    EXPECT_EQ(Row(1), (std::vector<float>{12.0f, 12.25f, 12.5f, 12.75f}));
}

TEST_F(Mdr, ReadStopsAtCancel) {
    Fill(8, 6, 1.0f, 1.0f);
    const std::string path = dir.File("p.mdr");
    ASSERT_EQ(WriteMdrFile(path, ws), 0);
    Fill(8, 6, 100.0f, 0.0f); // the rest must be zero, not the previous surface
    CancelAt(2);
    ASSERT_EQ(ReadMdrFile(path, ws), 0);
    EXPECT_EQ(Row(1), (std::vector<float>{9, 10, 11, 12, 13, 14, 15, 16}));
    EXPECT_EQ(Row(2), std::vector<float>(8, 0.0f));
}

TEST_F(Mdr, FailedSavesKeepTheOldFile) {
    Fill(64, 64, 0.0f, 0.5f);
    const test::FailedWriteCodes codes =
        test::TryFailedWrites(host, ws.TheProgress, dir, "MDR",
                              [&](const std::string& path) { return WriteMdrFile(path, ws); });
    EXPECT_EQ(codes.Cancelled, -1);
    EXPECT_EQ(codes.DiskFull, -3);
}

TEST_F(Mdr, RefusesMalformedFilesWithoutTouchingTheSurface) {
    std::pair<int32_t, Bytes> cases[] = {
        {-5, HandMade(8, 2, 0, Bytes(64))},          // wrong magic (below)
        {-6, HandMade(8, 2, 0x00010000, Bytes(64))}, // compression 1
        {-8, HandMade(3, 2, 0, Bytes(24))},          // too narrow
        {-7, HandMade(149996, 149999, 0)},           // the size must not overflow
    };
    cases[0].second[3] = 'X';
    for (const auto& [expected, file] : cases) {
        Fill(4, 2, 5.0f, 1.0f);
        ws.TheSurface.Left = 123.0;
        EXPECT_EQ(ReadBytes(file), expected) << file.size();
        EXPECT_EQ(ws.TheSurface.Left, 123.0);
        EXPECT_EQ(Row(1), (std::vector<float>{9, 10, 11, 12}));
    }
}

TEST_F(Mdr, RefusesEveryTruncationOfAValidFile) {
    Fill(8, 3, 0.25f, 1.0f);
    const std::string path = dir.File("cut.mdr");
    ASSERT_EQ(WriteMdrFile(path, ws), 0);
    const std::string whole = test::ReadFileText(path);
    for (size_t n = 0; n < whole.size(); ++n)
        ASSERT_EQ(ReadBytes(Bytes(whole.begin(), whole.begin() + std::ptrdiff_t(n))), -7) << n;
    test::WriteFileText(path, "");
    EXPECT_EQ(ReadMdrFile(path, ws), -7);
    EXPECT_EQ(ReadMdrFile(dir.File("missing.mdr"), ws), -2);
}

} // namespace
} // namespace korvel
