#include "commands/command.h"
#include "commands/command_runner.h"
#include "commands/command_table_builder.h"
#include "core/workspace.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace korvel {
namespace {

TEST(CommandTable, IdsAndCliNamesAreUniqueAndWellFormed) {
    const std::regex pattern("^[a-z0-9]+(-[a-z0-9]+)*$");
    std::set<int32_t> ids;
    std::set<std::string> names;
    for (const Command& c : CommandTable()) {
        EXPECT_TRUE(ids.insert(c.Id).second) << "duplicate id " << c.Id;
        EXPECT_TRUE(names.insert(c.CliName).second) << "duplicate name " << c.CliName;
        EXPECT_TRUE(std::regex_match(c.CliName, pattern)) << c.CliName;
        EXPECT_FALSE(c.MenuText.empty()) << c.Id;
        EXPECT_FALSE(c.MenuPath.empty()) << c.CliName;
        EXPECT_EQ(FindCommandById(c.Id), &c);
        EXPECT_EQ(FindCommandByName(c.CliName), &c);
    }
    EXPECT_EQ(FindCommandById(12345), nullptr);
}

// The undo menu shows "Undo " + the name: it must read as a name, and every command that
// changes the elevations and refreshes afterwards must leave a step to go back to.
TEST(CommandTable, SurfaceEditsTakeAWellFormedUndoStep) {
    const std::regex name("^[A-Z0-9][A-Za-z0-9 ]*[A-Za-z0-9]$");
    for (const Command& c : CommandTable()) {
        if (!c.SnapshotName.empty()) {
            EXPECT_TRUE(std::regex_match(c.SnapshotName, name)) << c.CliName;
        }
        const bool editsSurface = c.After == Refresh::Full || c.After == Refresh::OnSuccess;
        if (c.Available() && editsSurface) {
            EXPECT_FALSE(c.SnapshotName.empty()) << c.CliName;
        }
    }
}

TEST(CommandTable, AnIdOutsideTheTableIsACheckedError) {
    std::vector<Command> table(1);
    table[0].Id = CmdClip;
    CommandTableBuilder builder(table);
    EXPECT_EQ(&builder.At(CmdClip), &table[0]);
    EXPECT_THROW(builder.At(CmdUndo), std::out_of_range);
}

// What the editor builds its forms from: each field edits a real setting, each choice is a
// value the setting can hold, and small integer ranges are spelled out as choices.
TEST(CommandTable, DialogFieldsNameRealSettingsAndListTheirChoices) {
    test::RecordingHost host;
    Workspace ws(host);
    AddDialogSettings(ws);
    for (const Command& c : CommandTable()) {
        std::set<std::string> seen;
        for (const DialogField& field : c.Fields) {
            SCOPED_TRACE(c.CliName + " " + field.Setting);
            EXPECT_TRUE(seen.insert(field.Setting).second) << "listed twice";
            const SettingDescriptor* setting = FindSetting(ws.Settings, field.Setting);
            ASSERT_NE(setting, nullptr);
            EXPECT_EQ(setting->Name(), field.Setting);
            EXPECT_STRNE(field.Label, "");
            if (!setting->Persisted) {
                EXPECT_EQ(setting->Section, c.Group) << "a run-time field of another dialog";
            }
            double lo = 0.0;
            double hi = 0.0;
            FieldRange(field, *setting, lo, hi);
            std::set<int32_t> values;
            for (const FieldChoice& choice : field.Choices) {
                EXPECT_TRUE(values.insert(choice.Value).second) << choice.Value;
                EXPECT_TRUE(choice.Value >= lo && choice.Value <= hi) << choice.Value;
                EXPECT_STRNE(choice.Meaning, "");
            }
            const bool integer =
                setting->Type == SettingType::Int || setting->Type == SettingType::Long;
            if (integer && std::isfinite(lo) && std::isfinite(hi) && hi - lo < 8) {
                EXPECT_EQ(static_cast<double>(values.size()), hi - lo + 1) << "unlisted values";
            }
        }
    }
}

// The rows made from the declarations edit the workspace's own variables, with their types and
// ranges; adding them twice adds nothing.
TEST(CommandTable, RunTimeFieldsBecomeSettingsOfTheirVariables) {
    test::RecordingHost host;
    Workspace ws(host);
    AddDialogSettings(ws);
    const size_t rows = ws.Settings.size();
    AddDialogSettings(ws);
    EXPECT_EQ(ws.Settings.size(), rows);
    const struct {
        const char* Name;
        const void* Variable;
        SettingType Type;
    } cases[] = {
        {"offset.Amount", &ws.Offset.Amount, SettingType::Double},
        {"exponent.Preserve", &ws.Exponent.Preserve, SettingType::Bool},
        {"quad-resample.LowerLeftLat", &ws.QuadResample.LowerLeft.Lat, SettingType::Double},
        {"sea-mask.SeaLevel", &ws.TheSurface.Lighting.SeaLevel, SettingType::Double},
        {"load-selection.Path", &ws.LoadSelection.Path, SettingType::Text},
        {"size.Width", &ws.CalcSize.Width, SettingType::Int},
    };
    for (const auto& c : cases) {
        const SettingDescriptor* setting = FindSetting(ws.Settings, c.Name);
        ASSERT_NE(setting, nullptr) << c.Name;
        EXPECT_EQ(setting->Variable, c.Variable) << c.Name;
        EXPECT_EQ(setting->Type, c.Type) << c.Name;
        EXPECT_FALSE(setting->Persisted) << c.Name;
    }
    const SettingDescriptor* width = FindSetting(ws.Settings, "size.Width");
    EXPECT_TRUE(AssignSetting(*width, "1000000"));
    EXPECT_FALSE(AssignSetting(*width, "1000001"));
    EXPECT_EQ(ws.CalcSize.Width, 1000000);
}

TEST(CommandTable, NamesAreFoundWithoutRegardToCase) {
    const std::pair<const char*, CommandId> cases[] = {{"Blur-More", CmdBlurMore},
                                                       {"UNDO", CmdUndo},
                                                       {"Toroidal-Offset", CmdToroidalOffset},
                                                       {"xXx", CmdXxx}};
    for (const auto& [name, id] : cases) {
        const Command* found = FindCommandByName(name);
        ASSERT_NE(found, nullptr) << name;
        EXPECT_EQ(found->Id, id) << name;
    }
    for (const char* name : {"blur", "undo ", ""})
        EXPECT_EQ(FindCommandByName(name), nullptr) << name;
}

} // namespace
} // namespace korvel
