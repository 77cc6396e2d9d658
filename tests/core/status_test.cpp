#include "core/status.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace korvel {
namespace {

constexpr StatusText Texts[] = {{-2, "the file cannot be opened"}, {-5, "not a file"}};
const StatusTable Table{"Test reading", Texts};

TEST(Status, TextsDetailsAndUnknownCodes) {
    const struct {
        int32_t Code;
        std::string Detail;
        std::string Reason;
    } cases[] = {
        {-2, "", "the file cannot be opened"},
        {-5, "it begins with \"XY\"", "not a file (it begins with \"XY\")"},
        {-42, "", "Test reading failed (code -42)"},
    };
    for (const auto& c : cases) {
        std::string reason;
        EXPECT_EQ(Refuse(&reason, Table, c.Code, c.Detail), c.Code);
        EXPECT_EQ(reason, c.Reason);
        // A caller that does not ask gets the code alone.
        EXPECT_EQ(Refuse(nullptr, Table, c.Code, c.Detail), c.Code);
    }
    EXPECT_EQ(ErrnoText(ENOENT), "No such file or directory");
}

TEST(Status, GroupedNumbers) {
    const std::pair<uint64_t, const char*> cases[] = {
        {0, "0"},
        {999, "999"},
        {1000, "1,000"},
        {1049600, "1,049,600"},
        {18446744073709551615u, "18,446,744,073,709,551,615"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(GroupedNumber(value), text) << value;
}

} // namespace
} // namespace korvel
