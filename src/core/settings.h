#pragma once
// The one table of setting variables: every dialog value of the program, with how it is stored.
// Persisted rows are loaded at start and saved at exit; run-time rows live for the run only and
// are addressed as Group.Field (the group names the command or file type that uses them). The
// rows of command dialogs are added by the command layer, which declares those dialogs.

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

class SettingsStore;
class Workspace;

enum class SettingType : int32_t {
    Skip = 0,
    Bool = 1,   // bool, "%d"
    Int = 2,    // int32_t, "%d"
    Long = 3,   // int32_t, "%ld"
    Double = 4, // double, "%lf"
    Float = 5,  // float, "%f"
    Text = 6,   // std::string, as it is
    Int7 = 7,   // int32_t, "%d"
    Buffer = 8, // char[Extra], as it is
};

struct SettingDescriptor {
    SettingType Type = SettingType::Skip;
    std::string Section;
    std::string Key;
    void* Variable = nullptr;
    int32_t Extra = 0;
    bool Persisted = true;
    // The range a run-time edit may set; loading a stored value is not checked against it.
    double Lo = -std::numeric_limits<double>::infinity();
    double Hi = std::numeric_limits<double>::infinity();
    // The value the variable held when the table was built.
    std::string DefaultText;

    // "Section/Key" for persisted rows ("Key" without a section), "Group.Field" otherwise.
    std::string Name() const;
};

using SettingsTable = std::vector<SettingDescriptor>;

SettingsTable BuildSettingsTable(Workspace& workspace);

std::string FormatSetting(const SettingDescriptor& setting);
// Parses text the way the stored encodings are read back: a failed numeric parse keeps the old
// value and returns false.
bool ParseSetting(const SettingDescriptor& setting, const std::string& text);
// Like ParseSetting, but refuses values outside Lo..Hi and trailing junk; for edits by a person.
bool AssignSetting(const SettingDescriptor& setting, const std::string& text);

// Matches "Section/Key", a bare "Key" (unique among persisted rows) or "Group.Field", without
// regard to case. nullptr when nothing or more than one row matches.
const SettingDescriptor* FindSetting(const SettingsTable& table, std::string_view name);

// A stored value that did not parse: the row's name and the text.
struct SettingLoadFailure {
    std::string Name;
    std::string Text;
};

// Reads every persisted row; a missing value, or one that does not parse, leaves the variable as
// it was. Returns the values that did not parse, in table order.
std::vector<SettingLoadFailure> LoadSettings(const SettingsTable& table, SettingsStore& store);
void SaveSettings(const SettingsTable& table, SettingsStore& store);

} // namespace korvel
