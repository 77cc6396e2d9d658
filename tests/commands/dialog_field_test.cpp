#include "commands/command.h"
#include "core/settings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace korvel {
namespace {

struct Variables {
    int32_t Mode = 0;
    int32_t Width = 0;
    double Amount = 0.0;
    bool Flag = false;
    std::string Path;
};

SettingDescriptor Row(SettingType type, void* variable, double lo, double hi) {
    SettingDescriptor row;
    row.Type = type;
    row.Section = "g";
    row.Key = "F";
    row.Variable = variable;
    row.Persisted = false;
    row.Lo = lo;
    row.Hi = hi;
    return row;
}

constexpr double Inf = std::numeric_limits<double>::infinity();

// What a field accepts and how help describes it: choices by their values, ranges from the field
// where it has one and from the setting otherwise, booleans as 0 or 1, text as anything.
TEST(DialogField, ValuesAcceptedAndDescribed) {
    Variables v;
    const DialogField mode("g.F", "Mode:", 0, 2, {{0, "Select"}, {1, "Add"}, {2, "Subtract"}});
    const DialogField plain("g.F", "Width");
    const DialogField narrowed("g.F", "Width", 4, 100);
    const SettingDescriptor modeRow = Row(SettingType::Int, &v.Mode, -Inf, Inf);
    const SettingDescriptor widthRow = Row(SettingType::Int, &v.Width, 0, 1000);
    const SettingDescriptor amountRow = Row(SettingType::Double, &v.Amount, -Inf, Inf);
    const SettingDescriptor flagRow = Row(SettingType::Bool, &v.Flag, -Inf, Inf);
    const SettingDescriptor pathRow = Row(SettingType::Text, &v.Path, -Inf, Inf);
    const struct {
        const char* Name;
        const DialogField& Field;
        const SettingDescriptor& Setting;
        const char* Text;
        bool Accepted;
        const char* Described;
    } cases[] = {
        {"a listed choice", mode, modeRow, "2", true, "0 Select, 1 Add, 2 Subtract"},
        {"a value between choices", mode, modeRow, "1.5", false, "0 Select, 1 Add, 2 Subtract"},
        {"the setting's range", plain, widthRow, "1000", true, "0..1000"},
        {"beyond the setting's range", plain, widthRow, "1001", false, "0..1000"},
        {"the field's narrower range", narrowed, widthRow, "3", false, "4..100"},
        {"trailing junk", plain, widthRow, "12abc", false, "0..1000"},
        {"empty", plain, widthRow, "", false, "0..1000"},
        {"not a number", plain, amountRow, "nan", false, ""},
        {"any number", plain, amountRow, "-1e300", true, ""},
        {"a boolean", plain, flagRow, "1", true, "0 or 1"},
        {"a boolean out of range", plain, flagRow, "2", false, "0 or 1"},
        {"text", plain, pathRow, "any thing", true, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CheckFieldValue(c.Field, c.Setting, c.Text).empty(), c.Accepted) << c.Name;
        EXPECT_EQ(DescribeFieldValues(c.Field, c.Setting), c.Described) << c.Name;
    }
    EXPECT_EQ(CheckFieldValue(mode, modeRow, "7"),
              "\"7\" is not a valid value for g.F (Mode: 0 Select, 1 Add, 2 Subtract)");
}

} // namespace
} // namespace korvel
