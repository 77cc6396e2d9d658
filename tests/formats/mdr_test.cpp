#include "formats/mdr.h"

#include "core/workspace.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <bit>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <sys/resource.h>

namespace korvel {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Slurp(const std::string& path) {
    const std::string text = test::ReadFileText(path);
    return {text.begin(), text.end()};
}

uint64_t GetLE(const Bytes& b, size_t at, int n) {
    uint64_t bits = 0;
    for (int i = n - 1; i >= 0; --i)
        bits = bits << 8 | b[at + i];
    return bits;
}

// Magic, 1024, type word, size, base 10.5 and scale 0.25, then data.
Bytes HandMade(int32_t width, int32_t height, uint32_t typeWord, Bytes data = {}) {
    Bytes b(1024 + data.size(), 0);
    std::copy(data.begin(), data.end(), b.begin() + 1024);
    std::memcpy(b.data(), "KRVL", 4);
    for (auto [at, word] : {std::pair<size_t, uint32_t>{4, 1024},
                            {332, typeWord},
                            {360, uint32_t(width)},
                            {364, uint32_t(height)},
                            {368, 0x41280000},
                            {372, 0x3E800000}})
        for (size_t i = 0; i < 4; ++i)
            b[at + i] = static_cast<uint8_t>(word >> (8 * i));
    return b;
}

Progress* CancelTarget = nullptr;
int CancelAtPump = 0;
void CancelOnPump(int pump) {
    if (pump == CancelAtPump)
        CancelTarget->CancelFlag = CancelKey;
}

class Mdr : public testing::Test {
public:
    void Fill(int32_t w, int32_t h, float first, float step) {
        ASSERT_EQ(ws.TheSurface.Resize(w, h, 0), 0);
        for (int32_t i = 0; i < w * h; ++i)
            ws.TheSurface.Rows[0][i] = first + step * static_cast<float>(i);
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
    // Left, Right, Top, Bottom, Min, Max, XRes, YRes: the header's order.
    const double map[8] = {-10.5, 20.25, 45.0, -5.0, -3.0, 12.5, 0.5, 2.0};
    double* fields[8] = {&s.Left, &s.Right, &s.Top, &s.Bottom, &s.Min, &s.Max, &s.XRes, &s.YRes};
    for (size_t i = 0; i < 8; ++i)
        *fields[i] = map[i];
    ws.MdrSave.DataType = 1;
    const std::string path = dir.File("a.mdr");
    ASSERT_EQ(WriteMdrFile(path, ws), 0);

    const Bytes b = Slurp(path);
    ASSERT_EQ(b.size(), 1024u + 8 * 2 * 2);
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 8), (Bytes{'K', 'R', 'V', 'L', 0x00, 0x04, 0, 0}));
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
    // Rows of 4100 never end on the writer's block boundaries (16 MB staged, 64 MB in place),
    // so the large cases split rows between writes.
    const struct {
        int32_t dataType, width, height;
        double levels; // 0: bit-identical
    } cases[] = {{2, 12, 5, 255.0}, {0, 4100, 4097, 0.0}, {1, 4100, 2100, 65535.0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dataType << " " << c.width << "x" << c.height);
        const size_t samples = size_t(c.width) * size_t(c.height);
        Fill(c.width, c.height, -41.5f, 0.001f);
        Surface& s = ws.TheSurface;
        s.SetEdges(-7.5, 3.25, 51.0, 50.0);
        s.Min = -41.5;
        s.Max = -41.5 + 0.001f * static_cast<double>(samples - 1);
        ws.MdrSave.DataType = c.dataType;
        ASSERT_EQ(WriteMdrFile(dir.File("r.mdr"), ws), 0);
        test::RecordingHost otherHost;
        Workspace other(otherHost);
        ASSERT_EQ(ReadMdrFile(dir.File("r.mdr"), other), 0);
        const Surface& r = other.TheSurface;
        ASSERT_EQ(r.XSize * r.YSize, c.width * c.height);
        EXPECT_EQ(
            std::vector<double>({r.Left, r.Right, r.Top, r.Bottom, r.XRes, r.YRes, r.Min, r.Max}),
            std::vector<double>({s.Left, s.Right, s.Top, s.Bottom, s.XRes, s.YRes, s.Min, s.Max}));
        EXPECT_EQ(r.Rows[0][0], -41.5f); // Min survives exactly
        // The writer's inverse scale is a float, so a rare sample lands a hair more than one
        // level low; a misplaced row would be off by far more.
        const double tolerance = c.levels == 0.0 ? 0.0 : 1.01 * (s.Max - s.Min + 1e-5) / c.levels;
        size_t misses = 0;
        for (size_t i = 0; i < samples; ++i)
            misses += std::abs(r.Rows[0][i] - s.Rows[0][i]) > tolerance;
        EXPECT_EQ(misses, 0u);
    }
}

TEST_F(Mdr, ReadsHandMadeFiles) {
    // Width 5 loses a column; coding 1, data type 2, bytes of 1: 10.5 + 0.25 per sample.
    ASSERT_EQ(ReadBytes(HandMade(5, 2, 0x01000200, Bytes(10, 1))), 0);
    EXPECT_EQ(Row(0), (std::vector<float>{10.75f, 11.0f, 11.25f, 11.5f}));
    EXPECT_EQ(Row(1), (std::vector<float>{12.0f, 12.25f, 12.5f, 12.75f}));
}

TEST_F(Mdr, ReportsProgressAndStopsAtCancel) {
    Fill(8, 6, 1.0f, 1.0f);
    const std::string path = dir.File("p.mdr");
    ASSERT_EQ(WriteMdrFile(path, ws), 0);
    ASSERT_EQ(ReadMdrFile(path, ws), 0);
    EXPECT_EQ(host.ProgressTexts.back(), "Reading MDR File " + path);

    // Cancel after two rows: the rest is zero, not the previous surface; the flag is consumed.
    Fill(8, 6, 100.0f, 0.0f);
    CancelTarget = &ws.TheProgress;
    CancelAtPump = host.Pumps + 2;
    host.OnPump = CancelOnPump;
    ASSERT_EQ(ReadMdrFile(path, ws), 0);
    EXPECT_EQ(Row(1), (std::vector<float>{9, 10, 11, 12, 13, 14, 15, 16}));
    EXPECT_EQ(Row(2), std::vector<float>(8, 0.0f));
    EXPECT_EQ(ws.TheProgress.CancelFlag, 0);
}

TEST_F(Mdr, FailedSavesKeepTheOldFile) {
    const std::string path = dir.File("keep.mdr");
    Fill(64, 64, 0.0f, 0.5f);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const struct {
        const char* what;
        int32_t expected;
        void (*arrange)(Mdr&);
    } cases[] = {
        {"cancel key mid-way", -1,
         [](Mdr& t) {
             CancelTarget = &t.ws.TheProgress;
             CancelAtPump = t.host.Pumps + 3;
             t.host.OnPump = CancelOnPump;
         }},
        {"data type 3", -4, [](Mdr& t) { t.ws.MdrSave.DataType = 3; }},
        {"disk full", -3,
         [](Mdr&) { // writes past 4 KB fail with EFBIG
             std::signal(SIGXFSZ, SIG_IGN);
             rlimit small{};
             getrlimit(RLIMIT_FSIZE, &small);
             small.rlim_cur = 4096;
             setrlimit(RLIMIT_FSIZE, &small);
         }},
    };
    for (const auto& c : cases) {
        test::WriteFileText(path, "old");
        ws.MdrSave = {};
        c.arrange(*this);
        EXPECT_EQ(WriteMdrFile(path, ws), c.expected) << c.what;
        setrlimit(RLIMIT_FSIZE, &saved);
        host.OnPump = nullptr;
        EXPECT_EQ(test::ReadFileText(path), "old") << c.what;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Root()), {}), 1) << c.what;
    }
    EXPECT_EQ(WriteMdrFile(dir.File("no/such/dir.mdr"), ws), -2);
    test::RecordingHost emptyHost;
    Workspace empty(emptyHost);
    EXPECT_EQ(WriteMdrFile(dir.File("empty.mdr"), empty), -5);
}

TEST_F(Mdr, RefusesMalformedFilesWithoutTouchingTheSurface) {
    struct {
        const char* what;
        int32_t expected;
        Bytes file;
    } cases[] = {
        {"wrong magic", -5, HandMade(8, 2, 0, Bytes(64))},
        {"header size 512", -5, HandMade(8, 2, 0, Bytes(64))},
        {"compression 1", -6, HandMade(8, 2, 0x00010000, Bytes(64))},
        {"data type 3", -6, HandMade(8, 2, 0x00000300, Bytes(64))},
        {"width 3", -8, HandMade(3, 2, 0, Bytes(24))},
        {"height -1", -8, HandMade(8, -1, 0)},
        {"width 2^31-1", -8, HandMade(0x7FFFFFFF, 1, 0)},
        {"huge, file too short", -7, HandMade(149996, 149999, 0)},
        {"16-bit, one byte short", -7, HandMade(8, 2, 0x00000100, Bytes(31))},
    };
    cases[0].file[3] = 'X';
    cases[1].file[5] = 2;
    for (const auto& c : cases) {
        Fill(4, 2, 5.0f, 1.0f);
        ws.TheSurface.Left = 123.0;
        EXPECT_EQ(ReadBytes(c.file), c.expected) << c.what;
        EXPECT_EQ(ws.TheSurface.Left, 123.0) << c.what;
        EXPECT_EQ(Row(1), (std::vector<float>{9, 10, 11, 12})) << c.what;
    }
}

TEST_F(Mdr, RefusesEveryTruncationOfAValidFile) {
    Fill(8, 3, 0.25f, 1.0f);
    const std::string path = dir.File("cut.mdr");
    ASSERT_EQ(WriteMdrFile(path, ws), 0);
    const Bytes whole = Slurp(path);
    ASSERT_EQ(whole.size(), 1024u + 8 * 3 * 4);
    for (size_t n = 0; n < whole.size(); ++n)
        ASSERT_EQ(ReadBytes(Bytes(whole.begin(), whole.begin() + std::ptrdiff_t(n))), -7) << n;
    test::WriteFileText(path, "");
    EXPECT_EQ(ReadMdrFile(path, ws), -7);
    EXPECT_EQ(ReadMdrFile(dir.File("missing.mdr"), ws), -2);
    EXPECT_EQ(ReadMdrFile(dir.Root().string(), ws), -2);
}

} // namespace
} // namespace korvel
