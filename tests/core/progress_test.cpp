#include "core/progress.h"

#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <cmath>
#include <regex>

namespace korvel {
namespace {

struct ProgressTest : testing::Test {
    test::RecordingHost host;
    bool showTime = false;
    Progress progress{host, showTime};
};

TEST_F(ProgressTest, BarStepsSuppressionNestingTimingAndCancel) {
    const std::pair<int32_t, int32_t> steps[] = {{9, 9}, {0, 10}, {-5, 10}}; // 0 or below: 10
    for (const auto& [step, expectedStep] : steps) {
        test::RecordingHost h;
        Progress p(h, showTime);
        p.ProgressBegin("Scaling", step);
        for (int i = 0; i <= 400; ++i)
            p.ProgressUpdate(i, 400.0);
        std::vector<int> expected;
        for (int percent = 0; percent <= 100; percent += expectedStep)
            expected.push_back(percent);
        EXPECT_EQ(h.BarPositions, expected) << step;
    }
    // Suppressed windows, unusable totals and no window never move the bar; a nested window
    // keeps the outer one, alone timed; only an opening window clears a key; Escape counts once.
    progress.ProgressSuppressNext();
    progress.ProgressBegin("First", 9);
    progress.ProgressBegin("Second", 9); // suppressed once only
    for (double total : {0.0, std::nan("")})
        progress.ProgressUpdate(10, total);
    progress.ProgressEnd();
    progress.ProgressUpdate(9, 100);
    EXPECT_TRUE(host.BarPositions.empty());
    showTime = true;
    progress.ProgressBegin("Eroding 10%", 9);
    progress.ProgressBegin("Inner", 9);
    progress.ProgressEnd();
    progress.ProgressEnd();
    EXPECT_EQ(host.ProgressTexts, (std::vector<std::string>{"Second", "Eroding 10%"}));
    ASSERT_EQ(host.Messages.size(), 1u);
    EXPECT_TRUE(std::regex_match(host.Messages[0], std::regex(R"(Eroding 10%: \d+\.\d{3} sec)")));
    progress.CancelFlag = CancelKey;
    host.CanOpenProgress = false;
    progress.ProgressBegin("Scaling", 9);
    EXPECT_EQ(progress.CancelFlag.load(), CancelKey);
    host.CanOpenProgress = true;
    progress.ProgressBegin("Scaling", 9);
    EXPECT_EQ(progress.CancelFlag.load(), 0);
    progress.CancelFlag = CancelKey;
    progress.ProgressEnd();
    EXPECT_EQ(host.Closes, (std::vector<bool>{false, false, true}));
    EXPECT_TRUE(progress.ConsumeCancel());
    EXPECT_FALSE(progress.ConsumeCancel());
}

} // namespace
} // namespace korvel
