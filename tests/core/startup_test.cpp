#include "core/settings_store.h"
#include "core/startup.h"
#include "core/workspace.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <utility>

namespace korvel {
namespace {

// A zero grid of the stored size, mended: widths round down to 4s, unusable sizes give 384 x 192.
TEST(StartupTest, StartsWithAZeroSurfaceOfTheStoredSizeMended) {
    const std::tuple<const char*, const char*, int32_t, int32_t> cases[] = {
        {nullptr, nullptr, 384, 192},
        {"1001", "10", 1000, 10},
        {"2", "500", 384, 500},
        {"200000", "8", 384, 192}};
    for (const auto& [width, height, xsize, ysize] : cases) {
        test::RecordingHost host;
        Workspace ws(host);
        MemorySettingsStore store;
        if (width)
            store.Write("Data\\Map", "XSize", width), store.Write("Data\\Map", "YSize", height);
        ASSERT_EQ(ws.Start(store), 0);
        const Surface& s = ws.TheSurface;
        ASSERT_EQ(std::pair(s.XSize, s.YSize), std::pair(xsize, ysize)) << (width ? width : "-");
        EXPECT_EQ(std::pair(s.XRes, s.YRes), std::pair(360.0 / xsize, -180.0 / ysize));
        EXPECT_EQ(std::count(s.Rows[0], s.Rows[0] + xsize * ysize, 0.0f), xsize * ysize);
    }
}

// More than half the memory is excessive; exactly half is not. Memory 0 means unknown.
TEST(StartupTest, ExcessiveSizesAreOfferedAReduction) {
    const std::tuple<int32_t, int32_t, uint64_t, bool, int32_t, int32_t, uint64_t> cases[] = {
        {20000, 20000, 3ull << 30, false, 20000, 20000, 2000000000},
        {20000, 20000, 3ull << 30, true, 384, 192, 2000000000},
        {1000, 1000, 10000000, true, 1000, 1000, 0},
        {1000, 1001, 10000000, true, 384, 192, 5005000},
        {20000, 20000, 0, true, 20000, 20000, 0},
    };
    for (const auto& [w, h, memory, answer, xsize, ysize, bytes] : cases) {
        test::RecordingHost host;
        host.Answers.push_back(answer);
        int32_t width = w, height = h;
        CheckStartupSize(width, height, memory, host);
        EXPECT_EQ(std::pair(width, height), std::pair(xsize, ysize)) << w << " x " << h;
        const std::string question = "Surface size from last run is excessive (" +
                                     std::to_string(w) + " x " + std::to_string(h) + " = " +
                                     std::to_string(bytes) + " bytes)\nReduce to 384x192?";
        EXPECT_EQ(host.Questions, std::vector<std::string>(bytes ? 1 : 0, question));
    }
}

} // namespace
} // namespace korvel
