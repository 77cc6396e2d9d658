#include "core/settings.h"
#include "core/settings_store.h"
#include "core/workspace.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <span>
#include <string>
#include <tuple>
#include <utility>

namespace korvel {
namespace {

using namespace std::string_literals;

class SettingsTest : public ::testing::Test {
protected:
    test::RecordingHost Host;
    Workspace Ws{Host};

    std::vector<const SettingDescriptor*> Persisted() const {
        std::vector<const SettingDescriptor*> rows;
        for (const SettingDescriptor& s : Ws.Settings)
            if (s.Persisted)
                rows.push_back(&s);
        return rows;
    }
};

TEST_F(SettingsTest, PersistedRowsKeepTheirOrderTypesAndDefaults) {
    // The stored files of earlier runs depend on every section and key, in this order.
    const std::vector<const SettingDescriptor*> rows = Persisted();
    ASSERT_EQ(rows.size(), 94u);
    const std::tuple<size_t, std::string, SettingType, std::string> spots[] = {
        {0, "Muse/ReadInfo", SettingType::Long, "0"},
        {11, "Map/XRes", SettingType::Double, "-360.000000"},
        {17, "Surface/Func", SettingType::Text, "sinc(r)"},
        {92, "Light/BitDepth", SettingType::Int, "24"},
        {93, "AutosaveMinutes", SettingType::Int, "5"}};
    for (const auto& [index, name, type, text] : spots)
        EXPECT_EQ(std::tuple(rows[index]->Name(), rows[index]->Type, FormatSetting(*rows[index])),
                  std::tuple(name, type, text));
}

using SetCase = std::tuple<const char*, const char*, bool, const char*>; // name, text, ok, after

TEST_F(SettingsTest, ParseAndAssignRefuseWhatTheyMust) {
    // Parsed like the stored encodings: "%d" stops at junk; 99999999999 overflows 32 bits.
    const SetCase parse[] = {
        {"Map/XSize", "  -12abc", true, "-12"},
        {"Map/XSize", "99999999999", false, "-12"},
        {"Hex/Radius", "1e300", false, "10.000000"},
        {"Surface/Func", " a = b ", true, " a = b "},
    };
    const SetCase assign[] = {
        {"mdr.DataType", " 1 ", true, "1"},      {"mdr.DataType", "3", false, "1"},
        {"mdr.DataType", "1x", false, "1"},      {"Selection", "2", false, "0"},
        {"ClipMin", "-0.25", true, "-0.250000"}, {"ClipMin", "nan", false, "-0.250000"},
    };
    for (auto [set, cases] : {std::pair{&ParseSetting, std::span<const SetCase>(parse)},
                              {&AssignSetting, std::span<const SetCase>(assign)}})
        for (const auto& [name, text, ok, after] : cases) {
            const SettingDescriptor* s = FindSetting(Ws.Settings, name);
            ASSERT_NE(s, nullptr) << name;
            EXPECT_EQ(set(*s, text), ok) << name << " <- '" << text << "'";
            EXPECT_EQ(FormatSetting(*s), after) << name << " <- '" << text << "'";
        }
}

TEST_F(SettingsTest, SavedValuesLoadUnchangedForEveryType) {
    // Give each persisted row a value of its own, distinct from its default.
    int i = 0;
    for (const SettingDescriptor* s : Persisted()) {
        ++i;
        const auto t = s->Type;
        const std::string text =
            t == SettingType::Bool   ? std::to_string(1 - std::stoi(s->DefaultText))
            : t == SettingType::Text ? "text " + std::to_string(i) + " = x"
            : t == SettingType::Int || t == SettingType::Long ? std::to_string(-1000 * i)
                                                              : std::to_string(i) + ".123456789";
        ASSERT_TRUE(ParseSetting(*s, text)) << s->Name();
    }
    MemorySettingsStore store;
    SaveSettings(Ws.Settings, store);
    EXPECT_EQ(store.Values.at({"Data\\", "BaseLat"}), "65.123457");
    EXPECT_EQ(store.Values.at({"Data\\Hex", "Radius"}), "41.123455"); // nearest float
    Workspace next(Host);
    // A missing value leaves the variable: not the default, not junk.
    ASSERT_EQ(store.Values.erase({"Data\\", "ClipMax"}), 1u);
    next.General.ClipMax = Ws.General.ClipMax;
    EXPECT_TRUE(LoadSettings(next.Settings, store).empty());
    for (size_t k = 0; k < Ws.Settings.size(); ++k)
        EXPECT_EQ(FormatSetting(next.Settings[k]), FormatSetting(Ws.Settings[k]))
            << Ws.Settings[k].Name();
}

// A stored value that does not parse keeps the variable and is reported with the row's name.
TEST_F(SettingsTest, StoredValuesThatDoNotParseAreReported) {
    MemorySettingsStore store;
    store.Write("Data\\Light", "Gamma", "abc");
    store.Write("Data\\Surface", "Type", "");
    store.Write("Data\\Surface", "octaves", "7.5");
    const double gamma = Ws.TheSurface.Lighting.Gamma;
    const std::vector<SettingLoadFailure> failures = LoadSettings(Ws.Settings, store);
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_EQ(std::pair(failures[0].Name, failures[0].Text), std::pair("Surface/Type"s, ""s));
    EXPECT_EQ(std::pair(failures[1].Name, failures[1].Text), std::pair("Light/Gamma"s, "abc"s));
    EXPECT_EQ(Ws.TheSurface.Lighting.Gamma, gamma);
    EXPECT_EQ(Ws.TheSurface.Generation.octaves, 7.5);
}

TEST_F(SettingsTest, FindSettingByNameWithoutRegardToCase) {
    // Type is in four groups, run-time rows need their group, persisted rows are not run-time.
    const std::pair<const char*, const void*> cases[] = {{"map/xsize", &Ws.TheSurface.XSize},
                                                         {"/ClipMin", &Ws.General.ClipMin},
                                                         {"MDR.datatype", &Ws.MdrSave.DataType},
                                                         {"Type", nullptr},
                                                         {"DataType", nullptr},
                                                         {"Map.XSize", nullptr}};
    for (const auto& [name, variable] : cases) {
        const SettingDescriptor* s = FindSetting(Ws.Settings, name);
        EXPECT_EQ(s ? s->Variable : nullptr, variable) << name;
    }
}

} // namespace
} // namespace korvel
