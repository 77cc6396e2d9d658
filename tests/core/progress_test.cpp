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

TEST_F(ProgressTest, BarMovesOnlyAtMultiplesOfTheStep) {
    const struct {
        int32_t Step, Expected;
    } steps[] = {{9, 9}, {99, 99}, {0, 10}, {-5, 10}}; // step 0 or below: the default 10
    for (const auto& c : steps) {
        SCOPED_TRACE(c.Step);
        test::RecordingHost h;
        Progress p(h, showTime);
        p.ProgressBegin("Scaling", c.Step);
        for (int i = 0; i <= 400; ++i)
            p.ProgressUpdate(i, 400.0);
        std::vector<int> expected;
        for (int percent = 0; percent <= 100; percent += c.Expected)
            expected.push_back(percent);
        EXPECT_EQ(h.BarPositions, expected);
        EXPECT_EQ(h.Labels.back(), std::to_string(expected.back()) + "%");
    }
}

// A suppressed window, unusable totals and updates with no window never move the bar.
TEST_F(ProgressTest, SuppressedWindowAndUnusableTotalsNeverMoveTheBar) {
    progress.ProgressSuppressNext();
    progress.ProgressBegin("First", 9);
    EXPECT_FALSE(progress.WindowOpen());
    progress.ProgressUpdate(50, 100);
    progress.ProgressBegin("Second", 9); // suppressed once only
    EXPECT_EQ(host.ProgressTexts, std::vector<std::string>{"Second"});
    for (double total : {0.0, std::nan("")})
        for (int i = 0; i < 50; ++i)
            progress.ProgressUpdate(i, total);
    progress.ProgressEnd();
    progress.ProgressUpdate(9, 100);
    EXPECT_TRUE(host.BarPositions.empty());
}

TEST_F(ProgressTest, NestedBeginKeepsTheOuterWindowAndTimesIt) {
    progress.ProgressBegin("Scaling", 9);
    progress.ProgressEnd(); // untimed
    showTime = true;
    progress.ProgressBegin("Eroding 10%", 9);
    progress.ProgressBegin("Inner", 9);
    progress.ProgressEnd();
    progress.ProgressEnd();
    EXPECT_EQ(host.ProgressTexts, (std::vector<std::string>{"Scaling", "Eroding 10%"}));
    EXPECT_EQ(host.RestoredPlacements, (std::vector<bool>{false, true}));
    EXPECT_EQ(host.Closes.size(), 2u);
    ASSERT_EQ(host.Messages.size(), 1u);
    EXPECT_TRUE(std::regex_match(host.Messages[0], std::regex(R"(Eroding 10%: \d+\.\d{3} sec)")))
        << host.Messages[0];
}

TEST_F(ProgressTest, OpeningTheWindowClearsTheCancelFlag) {
    progress.CancelFlag = CancelKey;
    host.CanOpenProgress = false;
    progress.ProgressBegin("Scaling", 9);
    EXPECT_EQ(progress.CancelFlag.load(), CancelKey);
    host.CanOpenProgress = true;
    progress.ProgressBegin("Scaling", 9);
    EXPECT_EQ(progress.CancelFlag.load(), 0);
    progress.CancelFlag = CancelKey;
    progress.ProgressEnd();
    EXPECT_EQ(host.Closes, std::vector<bool>{true});
    EXPECT_TRUE(progress.ConsumeCancel());
    EXPECT_EQ(progress.CancelFlag.load(), 0);
    EXPECT_FALSE(progress.ConsumeCancel());
}

} // namespace
} // namespace korvel
