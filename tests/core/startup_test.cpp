#include "core/settings_store.h"
#include "core/startup.h"
#include "core/workspace.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

constexpr uint64_t ThreeGB = 3ull << 30;

TEST(StartupTest, FirstRunStartsWithAZeroSurfaceOfTheDefaultSize) {
    test::RecordingHost host;
    Workspace ws(host);
    MemorySettingsStore empty;
    ASSERT_EQ(ws.Start(empty), 0);
    const Surface& s = ws.TheSurface;
    ASSERT_EQ(s.XSize, 384);
    ASSERT_EQ(s.YSize, 192);
    ASSERT_TRUE(s.HasGrid());
    EXPECT_EQ(s.GetFlags(), 0);
    EXPECT_EQ(s.XRes, 360.0 / 384);  // (Right - Left) / XSize
    EXPECT_EQ(s.YRes, -180.0 / 192); // (Top - Bottom) / YSize
    for (int32_t y = 0; y < s.YSize; ++y)
        for (int32_t x = 0; x < s.XSize; ++x)
            ASSERT_EQ(s.Rows[y][x], 0.0f);
    EXPECT_TRUE(host.Questions.empty());
}

TEST(StartupTest, StoredSizesAreMendedBeforeTheFirstAllocation) {
    const struct {
        const char* Width;
        const char* Height;
        int32_t XSize, YSize;
    } cases[] = {
        {"1001", "10", 1000, 10}, // widths stay multiples of 4
        {"2", "500", 384, 500},
        {"-5", "3", 384, 192},
        {"200000", "8", 384, 192}, // beyond what Resize takes: the default, not an empty grid
    };
    for (const auto& c : cases) {
        test::RecordingHost host;
        Workspace ws(host);
        MemorySettingsStore store;
        store.Write("Data\\Map", "XSize", c.Width);
        store.Write("Data\\Map", "YSize", c.Height);
        EXPECT_EQ(ws.Start(store), 0) << c.Width << " x " << c.Height;
        EXPECT_EQ(ws.TheSurface.XSize, c.XSize) << c.Width;
        EXPECT_EQ(ws.TheSurface.YSize, c.YSize) << c.Height;
        EXPECT_TRUE(ws.TheSurface.HasGrid());
    }
}

TEST(StartupTest, ExcessiveSizesAreOfferedAReduction) {
    const struct {
        int32_t Width, Height;
        uint64_t Memory;
        bool Answer;
        int32_t XSize, YSize;
        const char* Question; // empty when none is asked
    } cases[] = {
        {20000, 20000, ThreeGB, false, 20000, 20000,
         "Surface size from last run is excessive (20000 x 20000 = 2000000000 bytes)\n"
         "Reduce to 384x192?"},
        {20000, 20000, ThreeGB, true, 384, 192,
         "Surface size from last run is excessive (20000 x 20000 = 2000000000 bytes)\n"
         "Reduce to 384x192?"},
        {100000, 100000, ThreeGB, false, 100000, 100000,
         "Surface size from last run is excessive (100000 x 100000 = 50000000000 bytes)\n"
         "Reduce to 384x192?"},
        {0, 100, ThreeGB, true, 384, 100, ""},
        {10000, 10000, ThreeGB, true, 10000, 10000, ""}, // 500 MB fits
        // Exactly half the memory is still allowed; one row more is not.
        {1000, 1000, 10000000, true, 1000, 1000, ""},
        {1000, 1001, 10000000, true, 384, 192,
         "Surface size from last run is excessive (1000 x 1001 = 5005000 bytes)\n"
         "Reduce to 384x192?"},
        {20000, 20000, 0, true, 20000, 20000, ""}, // memory unknown: no question
    };
    for (const auto& c : cases) {
        test::RecordingHost host;
        host.Answers.push_back(c.Answer);
        int32_t width = c.Width, height = c.Height;
        CheckStartupSize(width, height, c.Memory, host);
        SCOPED_TRACE(std::to_string(c.Width) + " x " + std::to_string(c.Height));
        EXPECT_EQ(width, c.XSize);
        EXPECT_EQ(height, c.YSize);
        if (*c.Question) {
            ASSERT_EQ(host.Questions.size(), 1u);
            EXPECT_EQ(host.Questions[0], c.Question);
        } else {
            EXPECT_TRUE(host.Questions.empty());
        }
    }
}

} // namespace
} // namespace korvel
