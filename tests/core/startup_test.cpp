#include "core/settings_store.h"
#include "core/startup.h"
#include "core/workspace.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace korvel {
namespace {

constexpr uint64_t ThreeGB = 3ull << 30;

// The first allocation is a zero grid of the stored size, mended; 384 x 192 on a first run.
TEST(StartupTest, StartsWithAZeroSurfaceOfTheStoredSizeMended) {
    const struct {
        const char* Width; // nullptr: nothing stored
        const char* Height;
        int32_t XSize, YSize;
    } cases[] = {
        {nullptr, nullptr, 384, 192}, {"1001", "10", 1000, 10}, // widths stay multiples of 4
        {"2", "500", 384, 500},       {"-5", "3", 384, 192},
        {"200000", "8", 384, 192}, // beyond what Resize takes: the default, not an empty grid
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Width ? c.Width : "none");
        test::RecordingHost host;
        Workspace ws(host);
        MemorySettingsStore store;
        if (c.Width) {
            store.Write("Data\\Map", "XSize", c.Width);
            store.Write("Data\\Map", "YSize", c.Height);
        }
        ASSERT_EQ(ws.Start(store), 0);
        const Surface& s = ws.TheSurface;
        ASSERT_EQ(std::pair(s.XSize, s.YSize), std::pair(c.XSize, c.YSize));
        ASSERT_TRUE(s.HasGrid());
        EXPECT_EQ(s.GetFlags(), 0);
        EXPECT_EQ(std::pair(s.XRes, s.YRes), std::pair(360.0 / c.XSize, -180.0 / c.YSize));
        EXPECT_EQ(std::count(s.Rows[0], s.Rows[0] + c.XSize * c.YSize, 0.0f), c.XSize * c.YSize);
        EXPECT_TRUE(host.Questions.empty());
    }
}

TEST(StartupTest, ExcessiveSizesAreOfferedAReduction) {
    // More than half the memory is excessive; exactly half is not. Memory 0 means unknown.
    const struct {
        int32_t Width, Height;
        uint64_t Memory;
        bool Answer;
        int32_t XSize, YSize;
        uint64_t AskedBytes; // 0 when nothing is asked
    } cases[] = {
        {20000, 20000, ThreeGB, false, 20000, 20000, 2000000000},
        {20000, 20000, ThreeGB, true, 384, 192, 2000000000},
        {100000, 100000, ThreeGB, false, 100000, 100000, 50000000000},
        {0, 100, ThreeGB, true, 384, 100, 0},
        {10000, 10000, ThreeGB, true, 10000, 10000, 0},
        {1000, 1000, 10000000, true, 1000, 1000, 0},
        {1000, 1001, 10000000, true, 384, 192, 5005000},
        {20000, 20000, 0, true, 20000, 20000, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.Width) + " x " + std::to_string(c.Height));
        test::RecordingHost host;
        host.Answers.push_back(c.Answer);
        int32_t width = c.Width, height = c.Height;
        CheckStartupSize(width, height, c.Memory, host);
        EXPECT_EQ(std::pair(width, height), std::pair(c.XSize, c.YSize));
        std::vector<std::string> asked;
        if (c.AskedBytes)
            asked.push_back("Surface size from last run is excessive (" + std::to_string(c.Width) +
                            " x " + std::to_string(c.Height) + " = " +
                            std::to_string(c.AskedBytes) + " bytes)\nReduce to 384x192?");
        EXPECT_EQ(host.Questions, asked);
    }
}

} // namespace
} // namespace korvel
