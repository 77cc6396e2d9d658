#include "formats/stm.h"

#include "core/workspace.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace korvel {
namespace {

std::string File(const std::string& header, std::vector<int> values) {
    std::string b = header;
    for (int v : values)
        b += {static_cast<char>(v & 255), static_cast<char>(v >> 8 & 255)};
    return b;
}

const std::string Marker = "\x04\x03\x02\x01\n";

class Stm : public testing::Test {
public:
    void Fill(int32_t w, int32_t h, std::vector<float> values) {
        ASSERT_EQ(ws.TheSurface.Resize(w, h, 0), 0);
        for (int32_t i = 0; i < w * h; ++i)
            ws.TheSurface.Rows[i / w][i % w] = values[size_t(i) % values.size()];
    }
    std::vector<float> Row(int32_t y) const {
        return {ws.TheSurface.Rows[y], ws.TheSurface.Rows[y] + ws.TheSurface.XSize};
    }

    test::RecordingHost host;
    Workspace ws{host};
    test::TempDir dir;
};

TEST_F(Stm, WritesScaledAndUnscaledSamples) {
    const float hi = 0.7f; // 0.7 x (32767 / 0.7) falls just short of 32767
    // Scaled, Min, Max, 4 x 2 samples, and trunc((v - Min) / (Max - Min) x 32767) by hand.
    // clang-format off
    const std::tuple<bool, double, double, std::vector<float>, std::vector<int>> cases[] = {
        {true, 0.0, 1.0, {0, 0.25f, 0.5f, 1, 0.75f, 0.1f, 1, 0},
         {0, 8191, 16383, 32767, 24575, 3276, 32767, 0}},
        {true, 0.0, hi, {0, hi, hi, 0, hi, 0, 0, hi}, {0, 32767, 32767, 0, 32767, 0, 0, 32767}},
        {true, 5.0, 5.0, {5, 6.5f, 4, 5, 5, 5, 5, 5}, {0, 1, -1, 0, 0, 0, 0, 0}}, // flat: offset
        {false, 0.0, 1.0, {-3.7f, 40000, -40000, NAN, 12.9f, -0.5f, 32767.9f, -32768.5f},
         {-3, 32767, -32768, 0, 12, 0, 32767, -32768}}};
    // clang-format on
    const std::string path = dir.File("w.stm");
    for (const auto& [scaled, min, max, samples, expected] : cases) {
        Fill(4, 2, samples);
        ws.TheSurface.Min = min, ws.TheSurface.Max = max;
        ASSERT_EQ(WriteStmFile(path, ws, scaled), 0);
        EXPECT_EQ(test::ReadFileText(path), File("STM 4 2 " + Marker, expected)) << max;
    }
    ASSERT_EQ(ReadStmFile(path, ws), 0); // the last file reads back signed
    EXPECT_EQ(Row(1), (std::vector<float>{12, 0, 32767, -32768}));
}

TEST_F(Stm, ReadsOrRefusesHandMadeFiles) {
    const std::vector<int> values = {-300, -200, -100, 0, 100, 200, 300, 400, 500, 600};
    const std::pair<int32_t, std::string> cases[] = {
        {0, "STM 5 2 " + Marker},    // the fifth column (600) is dropped
        {0, "STM \n +5\t2 notes\n"}, // blanks may hold a line feed; no marker
        {-6, "STM 99999999999999999999 1\n"},
        {-8, "STM 3 1\n"},
        {-7, "STM 100000 100000\n"}};
    for (const auto& [code, header] : cases) {
        Fill(4, 1, {7});
        const std::string text = File(header, values);
        const std::vector<uint8_t> file(text.begin(), text.end());
        EXPECT_EQ(ReadStmBuffer(file.data(), file.size(), ws), code) << header;
        const std::vector<float> read = {200, 300, 400, 500}, kept(4, 7.0f);
        EXPECT_EQ(Row(ws.TheSurface.YSize - 1), code == 0 ? read : kept) << header;
    }
    // Cut short (to an exact size for ASan): in "STM ", before the line feed, in the samples.
    const std::string header = "STM 4 2 " + Marker;
    const std::string whole = File(header, {1, 2, 3, 4, 5, 6, 7, 8});
    for (size_t n = 0; n < whole.size(); ++n) {
        const std::vector<uint8_t> cut(whole.begin(), whole.begin() + std::ptrdiff_t(n));
        const int32_t expected = n < 4 ? -5 : n < header.size() ? -6 : -7;
        ASSERT_EQ(ReadStmBuffer(cut.data(), cut.size(), ws), expected) << n;
    }
}

TEST_F(Stm, CancelStopsReadingAndKeepsTheOldFile) {
    Fill(4, 20, {3, 9});
    const std::string path = dir.File("c.stm");
    ws.TheProgress.CancelFlag = CancelKey; // left over: must not stop the save
    ASSERT_EQ(WriteStmFile(path, ws, false), 0);
    const std::string old = test::ReadFileText(path);
    ws.TheSurface.Rows[19][3] = 1000.0f;
    host.OnPump = test::CancelAtPump(ws.TheProgress, host.Pumps + 2); // rows 0..4 written
    EXPECT_EQ(WriteStmFile(path, ws), -1);
    EXPECT_EQ(test::ReadFileText(path), old);
    host.OnPump = test::CancelAtPump(ws.TheProgress, host.Pumps + 1); // row 0 read
    EXPECT_EQ(ReadStmFile(path, ws), -9);
    EXPECT_EQ(Row(0), (std::vector<float>{3, 9, 3, 9}));
    EXPECT_EQ(Row(1), std::vector<float>(4, 0.0f));
    EXPECT_EQ(ws.TheProgress.CancelFlag, 0);
}

} // namespace
} // namespace korvel
