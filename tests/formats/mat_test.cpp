#include "formats/mat.h"

#include "core/workspace.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <tuple>

namespace korvel {
namespace {

using Bytes = std::vector<uint8_t>;

void Append(Bytes& b, uint64_t bits, int n) {
    for (int i = 0; i < n; ++i)
        b.push_back(static_cast<uint8_t>(bits >> (8 * i)));
}

// Header words, a name of up to 16 bytes, then i - 2.5 for element i in file order.
Bytes HandMade(std::vector<int32_t> words, size_t elements, bool doubles = false) {
    Bytes b;
    for (int32_t w : words)
        Append(b, static_cast<uint32_t>(w), 4);
    b.resize(b.size() + static_cast<size_t>(std::clamp(words[4], 0, 16)), 'n');
    for (size_t i = 0; i < elements; ++i)
        doubles ? Append(b, std::bit_cast<uint64_t>(double(i) - 2.5), 8)
                : Append(b, std::bit_cast<uint32_t>(float(i) - 2.5f), 4);
    return b;
}

struct Mat : testing::Test {
    void Fill(int32_t w, int32_t h) { // (x, y) = 10 x + y - 7: the file's column order shows
        ASSERT_EQ(ws.TheSurface.Resize(w, h, 0), 0);
        for (int32_t i = 0; i < w * h; ++i)
            ws.TheSurface.Rows[i / w][i % w] = float(10 * (i % w) + i / w - 7);
        ws.TheSurface.Min = 0.0, ws.TheSurface.Max = 1.0;
    }
    int32_t ReadBytes(const Bytes& b) { return ReadMatBuffer(b.data(), b.size(), ws); }

    test::RecordingHost host;
    Workspace ws{host};
    test::TempDir dir;
};

TEST_F(Mat, ReadsOrRefusesHandMadeFiles) {
    // Element i holds i - 2.5 and (x, y) is element x * rows + y; refusals leave (3, 1) at 24.
    const std::tuple<const char*, int32_t, Bytes, float, float> cases[] = {
        {"doubles", 0, HandMade({0, 2, 4, 0, 4}, 8, true), 4.5f, 4.5f},
        {"5 columns, 5th unread", 0, HandMade({10, 2, 5, 0, 4}, 10), 4.5f, 4.5f},
        {"no name, imaginary part unread", 0, HandMade({10, 3, 4, 1, 0}, 24), 7.5f, 8.5f},
        {"type 20", -5, HandMade({20, 2, 4, 0, 4}, 8), 24, 1},
        {"3 columns", -8, HandMade({10, 2, 3, 0, 4}, 6), 24, 1},
        {"huge, file short", -7, HandMade({0, 149999, 149999, 0, 4}, 8, true), 24, 1}};
    for (const auto& [what, code, file, at31, max] : cases) {
        Fill(4, 2);
        EXPECT_EQ(ReadBytes(file), code) << what;
        EXPECT_EQ(ws.TheSurface.Rows[1][3], at31) << what;
        EXPECT_EQ(ws.TheSurface.Max, max) << what;
    }
    const Bytes whole = HandMade({0, 2, 4, 0, 3}, 8, true);
    for (size_t n = 0; n < whole.size(); ++n)
        ASSERT_EQ(ReadBytes(Bytes(whole.begin(), whole.begin() + std::ptrdiff_t(n))), -7) << n;
}

TEST_F(Mat, WritesColumnsInOrderAndCancelKeepsTheOldFile) {
    Fill(4, 3);
    const std::string path = dir.File("c.mat");
    ASSERT_EQ(WriteMatFile(path, ws), 0);
    const std::string old = test::ReadFileText(path);
    Bytes expected = {10, 0, 0, 0, 3, 0, 0, 0, 4,   0,   0,   0,
                      0,  0, 0, 0, 4, 0, 0, 0, 'A', 'A', 'A', 0};
    for (int i = 0; i < 12; ++i)
        Append(expected, std::bit_cast<uint32_t>(float(10 * (i / 3) + i % 3 - 7)), 4);
    EXPECT_EQ(Bytes(old.begin(), old.end()), expected);
    host.OnPump = test::CancelAtPump(ws.TheProgress, host.Pumps + 2);
    EXPECT_EQ(WriteMatFile(path, ws), -1);
    EXPECT_EQ(test::ReadFileText(path), old);
    host.OnPump = test::CancelAtPump(ws.TheProgress, host.Pumps + 2); // columns 0 and 1 read
    ASSERT_EQ(ReadMatFile(path, ws), 0);
    EXPECT_EQ(ws.TheSurface.Rows[2][1], 5.0f);
    EXPECT_EQ(ws.TheSurface.Rows[2][2], 0.0f);
    EXPECT_EQ(ws.TheProgress.CancelFlag, 0);
}

} // namespace
} // namespace korvel
