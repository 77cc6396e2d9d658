#include "core/settings.h"
#include "core/settings_store.h"
#include "core/workspace.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <span>

namespace korvel {
namespace {

class SettingsTest : public ::testing::Test {
protected:
    test::RecordingHost Host;
    Workspace Ws{Host};

    const SettingDescriptor& Find(const char* name) {
        const SettingDescriptor* s = FindSetting(Ws.Settings, name);
        EXPECT_NE(s, nullptr) << name;
        return *s;
    }
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
    ASSERT_EQ(rows.size(), 93u);
    const struct {
        size_t Index;
        const char* Name;
        SettingType Type;
        const char* Default;
    } spots[] = {
        {0, "Muse/ReadInfo", SettingType::Long, "0"},
        {11, "Map/XRes", SettingType::Double, "-360.000000"},
        {17, "Surface/Func", SettingType::Text, "sinc(r)"},
        {36, "Import/CDPath", SettingType::Text, ""},
        {40, "Hex/Radius", SettingType::Float, "10.000000"},
        {66, "Val_RDegm", SettingType::Double, "111096.000000"},
        {74, "Wand/Tolerance", SettingType::Float, "1.000000"},
        {92, "Light/BitDepth", SettingType::Int, "24"},
    };
    for (const auto& c : spots) {
        const SettingDescriptor& s = *rows[c.Index];
        EXPECT_EQ(s.Name(), c.Name);
        EXPECT_EQ(s.Type, c.Type) << c.Name;
        EXPECT_EQ(FormatSetting(s), c.Default) << c.Name;
    }
}

struct SetCase {
    const char* Name;
    const char* Text;
    bool Ok;
    const char* After; // FormatSetting afterwards
};

// ParseSetting reads like the stored encodings; AssignSetting also refuses junk and ranges.
TEST_F(SettingsTest, ParseAndAssignRefuseWhatTheyMust) {
    // "%d" stops at junk; 99999999999 needs more than 32 bits; no float holds 1e300.
    const SetCase parse[] = {
        {"Map/XSize", "  -12abc", true, "-12"},       {"Map/XSize", "abc", false, "-12"},
        {"Map/XSize", "99999999999", false, "-12"},   {"Map/Left", "", false, "-180.000000"},
        {"Hex/Radius", "1e300", false, "10.000000"},  {"Selection", "7", true, "1"},
        {"Surface/Func", " a = b ", true, " a = b "},
    };
    const SetCase assign[] = {
        {"mdr.DataType", "2", true, "2"},       {"mdr.DataType", "3", false, "2"},
        {"mdr.DataType", "1x", false, "2"},     {"mdr.DataType", " 1 ", true, "1"},
        {"Map/XSize", "4e9", false, "-12"},     {"ClipMin", "-0.25", true, "-0.250000"},
        {"ClipMin", "nan", false, "-0.250000"}, {"ClipMin", "1e999", false, "-0.250000"},
        {"Selection", "2", false, "1"},         {"Selection", "0", true, "0"},
    };
    for (auto [set, cases] : {std::pair{&ParseSetting, std::span<const SetCase>(parse)},
                              {&AssignSetting, std::span<const SetCase>(assign)}})
        for (const SetCase& c : cases) {
            SCOPED_TRACE(std::string(c.Name) + " <- '" + c.Text + "'");
            const SettingDescriptor& s = Find(c.Name);
            EXPECT_EQ(set(s, c.Text), c.Ok);
            EXPECT_EQ(FormatSetting(s), c.After);
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
    EXPECT_EQ(store.Values.size(), Persisted().size());
    EXPECT_EQ(store.Values.at({"Data\\", "BaseLat"}), "65.123457");
    EXPECT_EQ(store.Values.at({"Data\\Hex", "Radius"}), "41.123455"); // nearest float

    test::RecordingHost otherHost;
    Workspace next(otherHost);
    LoadSettings(next.Settings, store);
    for (size_t k = 0; k < Ws.Settings.size(); ++k)
        EXPECT_EQ(FormatSetting(next.Settings[k]), FormatSetting(Ws.Settings[k]))
            << Ws.Settings[k].Name();
    EXPECT_EQ(next.TheSurface.Left, 8.123457); // six decimals survive, no more
}

TEST_F(SettingsTest, MissingValuesLeaveTheVariables) {
    Ws.General.ClipMax = 3.75;
    MemorySettingsStore store;
    store.Write("Data\\", "ClipMin", "-2.5");
    LoadSettings(Ws.Settings, store);
    EXPECT_EQ(Ws.General.ClipMin, -2.5);
    EXPECT_EQ(Ws.General.ClipMax, 3.75);
}

TEST_F(SettingsTest, FindSettingByNameWithoutRegardToCase) {
    const struct {
        const char* Name;
        const void* Variable;
    } cases[] = {
        {"map/xsize", &Ws.TheSurface.XSize},
        {"/ClipMin", &Ws.General.ClipMin},
        {"MDR.datatype", &Ws.MdrSave.DataType},
        {"Type", nullptr},      // Surface, Import, Interp, MapScale
        {"DataType", nullptr},  // run-time rows need their group
        {"Map.XSize", nullptr}, // persisted rows are not run-time ones
        {"", nullptr},
    };
    for (const auto& c : cases) {
        const SettingDescriptor* s = FindSetting(Ws.Settings, c.Name);
        EXPECT_EQ(s ? s->Variable : nullptr, c.Variable) << c.Name;
    }
}

} // namespace
} // namespace korvel
