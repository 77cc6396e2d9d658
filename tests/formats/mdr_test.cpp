#include "formats/mdr.h"

#include "core/workspace.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <bit>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>

namespace korvel {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    Bytes b(in ? static_cast<size_t>(in.tellg()) : 0);
    in.seekg(0);
    in.read(reinterpret_cast<char*>(b.data()), static_cast<std::streamsize>(b.size()));
    return b;
}

void Spew(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

void PutLE(Bytes& b, size_t at, uint64_t bits, int n) {
    for (int i = 0; i < n; ++i)
        b[at + i] = static_cast<uint8_t>(bits >> (8 * i));
}

uint64_t GetLE(const Bytes& b, size_t at, int n) {
    uint64_t bits = 0;
    for (int i = n - 1; i >= 0; --i)
        bits = bits << 8 | b[at + i];
    return bits;
}

// A file made by hand: magic, 1024, the type word, the size, base and scale (Min 0), then data.
Bytes HandMade(int32_t width, int32_t height, uint32_t typeWord, Bytes data = {},
               uint32_t base = 0x41280000 /* 10.5 */, uint32_t scale = 0x3E800000 /* 0.25 */) {
    Bytes b(1024 + data.size(), 0);
    std::copy(data.begin(), data.end(), b.begin() + 1024);
    std::memcpy(b.data(), "KRVL", 4);
    PutLE(b, 4, 1024, 4);
    PutLE(b, 332, typeWord, 4);
    PutLE(b, 360, static_cast<uint32_t>(width), 4);
    PutLE(b, 364, static_cast<uint32_t>(height), 4);
    PutLE(b, 368, base, 4);
    PutLE(b, 372, scale, 4);
    return b;
}

Bytes Patched(Bytes b, size_t at, uint8_t value) {
    b[at] = value;
    return b;
}

// The floats 0, 1, 2, ... as little-endian bytes.
Bytes Counting(int n) {
    Bytes b;
    for (int i = 0; i < n; ++i)
        for (int k = 0; k < 4; ++k)
            b.push_back(static_cast<uint8_t>(std::bit_cast<uint32_t>(float(i)) >> (8 * k)));
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
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x)
                ws.TheSurface.Rows[y][x] = first + step * static_cast<float>(y * w + x);
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
    s.Left = -10.5;
    s.Right = 20.25;
    s.Top = 45.0;
    s.Bottom = -5.0;
    s.XRes = 0.5;
    s.YRes = 2.0;
    s.Min = -3.0;
    s.Max = 12.5;
    ws.MdrSave.DataType = 1;
    const std::string path = dir.File("a.mdr");
    ASSERT_EQ(WriteMdrFile(path, ws), 0);
    EXPECT_EQ(host.DialogGroups, std::vector<std::string>{"mdr"});

    const Bytes b = Slurp(path);
    ASSERT_EQ(b.size(), 1024u + 8 * 2 * 2);
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 8), (Bytes{'K', 'R', 'V', 'L', 0x00, 0x04, 0, 0}));
    const struct {
        size_t at;
        int bytes;
        uint64_t bits;
    } fields[] = {{264, 8, 0xC025000000000000},
                  {272, 8, 0x4034400000000000},
                  {280, 8, 0x4046800000000000},
                  {288, 8, 0xC014000000000000},
                  {296, 8, 0xC008000000000000},
                  {304, 8, 0x4029000000000000},
                  {312, 8, 0x3FE0000000000000},
                  {320, 8, 0x4000000000000000},
                  {328, 4, 100},
                  {332, 4, 0x00000100},
                  {360, 4, 8},
                  {364, 4, 2},
                  {368, 4, 0x40E80000},
                  {372, 4, 0x4178000A}};
    for (const auto& f : fields)
        EXPECT_EQ(GetLE(b, f.at, f.bytes), f.bits) << "offset " << f.at;
    for (auto [from, to] : {std::pair{8, 264}, {336, 360}, {376, 1024}})
        EXPECT_EQ(std::count(b.begin() + from, b.begin() + to, 0), to - from)
            << "zeros at " << from;
    // q = trunc(clamp((v - Min) / 15.50001) * 65535); the second row is all Min.
    const uint16_t q[8] = {43337, 0, 65534, 32767, 65535, 0, 12684, 65534};
    for (size_t x = 0; x < 16; ++x)
        EXPECT_EQ(GetLE(b, 1024 + 2 * x, 2), x < 8 ? q[x] : 0u) << "sample " << x;
}

TEST_F(Mdr, RoundTripsPerDataType) {
    const struct {
        int32_t dataType;
        double levels; // 0: bit-identical
    } cases[] = {{0, 0.0}, {1, 65535.0}, {2, 255.0}};
    for (const auto& c : cases) {
        Fill(12, 5, -41.5f, 1.37f);
        Surface& s = ws.TheSurface;
        s.Rows[2][3] = 1.0e-7f;
        s.SetEdges(-7.5, 3.25, 51.0, 50.0);
        s.Min = -41.5;
        s.Max = -41.5 + 1.37 * 59;
        ws.MdrSave.DataType = c.dataType;
        const std::string path = dir.File("r" + std::to_string(c.dataType) + ".mdr");
        ASSERT_EQ(WriteMdrFile(path, ws), 0);

        test::RecordingHost otherHost;
        Workspace other(otherHost);
        ASSERT_EQ(ReadMdrFile(path, other), 0);
        const Surface& r = other.TheSurface;
        ASSERT_EQ(r.XSize, 12);
        ASSERT_EQ(r.YSize, 5);
        EXPECT_EQ(
            std::vector<double>({r.Left, r.Right, r.Top, r.Bottom, r.XRes, r.YRes, r.Min, r.Max}),
            std::vector<double>({s.Left, s.Right, s.Top, s.Bottom, s.XRes, s.YRes, s.Min, s.Max}));
        const double step = (s.Max - s.Min + 0.00001) / c.levels;
        for (int32_t y = 0; y < 5; ++y)
            for (int32_t x = 0; x < 12; ++x) {
                const float want = s.Rows[y][x];
                const float got = r.Rows[y][x];
                if (c.levels == 0.0 || want == static_cast<float>(s.Min))
                    EXPECT_EQ(std::memcmp(&got, &want, 4), 0) << c.dataType << " " << x << "," << y;
                else
                    EXPECT_NEAR(got, want, step) << c.dataType << " " << x << "," << y;
            }
    }
}

TEST_F(Mdr, LargeFilesCrossWriteBlocks) {
    // Rows of 4100 samples never end on the writer's block boundaries (16 MB staged, 64 MB in
    // place), so rows are split between writes.
    const struct {
        int32_t dataType;
        int32_t height;
        double levels;
    } cases[] = {{0, 4097, 0.0}, {1, 2100, 65535.0}};
    for (const auto& c : cases) {
        Fill(4100, c.height, 0.0f, 0.001f);
        Surface& s = ws.TheSurface;
        s.Min = 0.0;
        s.Max = 0.001 * (4100.0 * c.height - 1);
        ws.MdrSave.DataType = c.dataType;
        const std::string path = dir.File("large.mdr");
        ASSERT_EQ(WriteMdrFile(path, ws), 0);
        const size_t samples = size_t{4100} * static_cast<size_t>(c.height);
        if (c.dataType == 0) {
            const Bytes b = Slurp(path);
            ASSERT_EQ(b.size(), 1024 + 4 * samples);
            EXPECT_EQ(std::memcmp(b.data() + 1024, s.Rows[0], 4 * samples), 0);
            continue;
        }
        test::RecordingHost otherHost;
        Workspace other(otherHost);
        ASSERT_EQ(ReadMdrFile(path, other), 0);
        const double step = (s.Max - s.Min + 0.00001) / c.levels;
        size_t far = 0;
        // The writer's inverse scale is a float, so a rare sample lands a hair more than one
        // level low; a misplaced row would be off by far more.
        for (size_t i = 0; i < samples; ++i)
            far += std::abs(other.TheSurface.Rows[0][i] - s.Rows[0][i]) > 1.01 * step;
        EXPECT_EQ(far, 0u);
    }
}

TEST_F(Mdr, ReadsHandMadeFiles) {
    // Coding 1, data type 2, every byte 1: base 10.5 plus 0.25 per sample, carried across rows
    // and across the column the Surface drops from a width of 5.
    const struct {
        int32_t width;
        uint32_t typeWord;
        Bytes data;
        std::vector<float> row0, row1;
    } cases[] = {
        {4,
         0x01000200,
         Bytes(8, 1),
         {10.75f, 11.0f, 11.25f, 11.5f},
         {11.75f, 12.0f, 12.25f, 12.5f}},
        {5,
         0x01000200,
         Bytes(10, 1),
         {10.75f, 11.0f, 11.25f, 11.5f},
         {12.0f, 12.25f, 12.5f, 12.75f}},
        {5, 0, Counting(10), {0, 1, 2, 3}, {5, 6, 7, 8}},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(ReadBytes(HandMade(c.width, 2, c.typeWord, c.data)), 0);
        EXPECT_EQ(ws.TheSurface.XSize, 4);
        EXPECT_EQ(Row(0), c.row0) << "width " << c.width;
        EXPECT_EQ(Row(1), c.row1) << "width " << c.width;
    }
}

TEST_F(Mdr, ReportsProgressAndStopsAtCancel) {
    Fill(8, 6, 1.0f, 1.0f);
    ws.MdrSave.DataType = 0;
    const std::string path = dir.File("p.mdr");
    ASSERT_EQ(WriteMdrFile(path, ws), 0);
    ASSERT_EQ(ReadMdrFile(path, ws), 0);
    EXPECT_EQ(host.ProgressTexts,
              (std::vector<std::string>{"Writing MDR File " + path, "Reading MDR File " + path}));
    EXPECT_EQ(host.Pumps, 12);

    // Cancel after two rows of a read into a Surface of the same size: the rest is zero, not
    // the previous surface, and the flag is consumed.
    Fill(8, 6, 100.0f, 0.0f);
    CancelTarget = &ws.TheProgress;
    CancelAtPump = host.Pumps + 2;
    host.OnPump = CancelOnPump;
    ASSERT_EQ(ReadMdrFile(path, ws), 0);
    EXPECT_EQ(Row(1), (std::vector<float>{9, 10, 11, 12, 13, 14, 15, 16}));
    EXPECT_EQ(Row(2), std::vector<float>(8, 0.0f));
    EXPECT_EQ(ws.TheProgress.CancelFlag, 0);
}

// Keeps every write beyond a few bytes failing with EFBIG, like a full disk.
struct FileSizeLimit {
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved);
        previous = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previous);
    }
    rlimit saved{};
    void (*previous)(int);
};

TEST_F(Mdr, FailedSavesKeepTheOldFile) {
    const Bytes old = {'o', 'l', 'd'};
    const std::string path = dir.File("keep.mdr");
    Fill(64, 64, 0.0f, 0.5f);
    struct Case {
        const char* what;
        int32_t expected;
        void (*arrange)(Mdr&);
    };
    const Case cases[] = {
        {"dialog cancelled", -1, [](Mdr& t) { t.host.Answers = {false}; }},
        {"cancel key mid-way", -1,
         [](Mdr& t) {
             CancelTarget = &t.ws.TheProgress;
             CancelAtPump = t.host.Pumps + 3;
             t.host.OnPump = CancelOnPump;
         }},
        {"unsupported coding", -4, [](Mdr& t) { t.ws.MdrSave.Coding = 1; }},
        {"data type 3", -4, [](Mdr& t) { t.ws.MdrSave.DataType = 3; }},
    };
    for (const Case& c : cases) {
        Spew(path, old);
        ws.MdrSave = {};
        c.arrange(*this);
        EXPECT_EQ(WriteMdrFile(path, ws), c.expected) << c.what;
        host.OnPump = nullptr;
        EXPECT_EQ(Slurp(path), old) << c.what;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Root()), {}), 1) << c.what;
    }
    ws.MdrSave = {};
    {
        FileSizeLimit full(4096);
        EXPECT_EQ(WriteMdrFile(path, ws), -3);
    }
    EXPECT_EQ(Slurp(path), old);
    EXPECT_EQ(WriteMdrFile(dir.File("no/such/dir.mdr"), ws), -2);

    host.Answers = {false};
    EXPECT_EQ(WriteMdrFile(dir.File("never.mdr"), ws), -1);
    EXPECT_FALSE(std::filesystem::exists(dir.File("never.mdr")));
    test::RecordingHost emptyHost;
    Workspace empty(emptyHost);
    EXPECT_EQ(WriteMdrFile(dir.File("empty.mdr"), empty), -5);
}

TEST_F(Mdr, RefusesMalformedFilesWithoutTouchingTheSurface) {
    const struct {
        const char* what;
        int32_t expected;
        Bytes file;
    } cases[] = {
        {"empty", -7, {}},
        {"header cut short", -7, Bytes(1023, 0)},
        {"wrong magic", -5, Patched(HandMade(8, 2, 0, Bytes(64)), 3, 'X')},
        {"header size 512", -5, Patched(HandMade(8, 2, 0, Bytes(64)), 5, 2)},
        {"scan type 1", -6, HandMade(8, 2, 0x00000001, Bytes(64))},
        {"compression 1", -6, HandMade(8, 2, 0x00010000, Bytes(64))},
        {"data type 3", -6, HandMade(8, 2, 0x00000300, Bytes(64))},
        {"width 0", -8, HandMade(0, 2, 0)},
        {"width 3", -8, HandMade(3, 2, 0, Bytes(24))},
        {"width -4", -8, HandMade(-4, 2, 0)},
        {"height -1", -8, HandMade(8, -1, 0)},
        {"width 150000", -8, HandMade(150000, 2, 0)},
        {"height 150000", -8, HandMade(8, 150000, 0)},
        {"width 2^31-1", -8, HandMade(0x7FFFFFFF, 1, 0)},
        {"huge, file too short", -7, HandMade(149996, 149999, 0)},
        {"one row short", -7, HandMade(8, 3, 0, Bytes(64))},
        {"16-bit, one byte short", -7, HandMade(8, 2, 0x00000100, Bytes(31))},
    };
    for (const auto& c : cases) {
        Fill(4, 2, 5.0f, 1.0f);
        ws.TheSurface.Left = 123.0;
        // An exact-size copy, so that a read past the end is caught by the sanitizer.
        const Bytes copy(c.file);
        EXPECT_EQ(ReadBytes(copy), c.expected) << c.what;
        EXPECT_EQ(ws.TheSurface.XSize, 4) << c.what;
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
    for (size_t n = 0; n < whole.size(); ++n) {
        const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
        ASSERT_EQ(ReadBytes(cut), -7) << n;
    }
    Spew(path, {});
    EXPECT_EQ(ReadMdrFile(path, ws), -7);
    EXPECT_EQ(ReadMdrFile(dir.File("missing.mdr"), ws), -2);
    EXPECT_EQ(ReadMdrFile(dir.Root().string(), ws), -2);
}

} // namespace
} // namespace korvel
