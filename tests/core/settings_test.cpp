#include "core/settings.h"
#include "core/settings_store.h"
#include "core/workspace.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <cmath>

namespace korvel {
namespace {

constexpr auto B = SettingType::Bool;
constexpr auto I = SettingType::Int;
constexpr auto L = SettingType::Long;
constexpr auto D = SettingType::Double;
constexpr auto F = SettingType::Float;
constexpr auto T = SettingType::Text;

struct Row {
    const char* Section;
    const char* Key;
    SettingType Type;
    const char* Default;
};

// The persisted settings in their stored order, with the text of each default.
// clang-format off
const Row ExpectedRows[] = {
    {"Muse", "ReadInfo", L, "0"}, {"Muse", "SkipX", L, "0"}, {"Muse", "SkipY", L, "0"},
    {"Muse", "XSize", L, "0"}, {"Muse", "YSize", L, "0"},
    {"Map", "XSize", L, "0"}, {"Map", "YSize", L, "0"}, {"Map", "Left", D, "-180.000000"},
    {"Map", "Right", D, "180.000000"}, {"Map", "Top", D, "-90.000000"},
    {"Map", "Bottom", D, "90.000000"}, {"Map", "XRes", D, "-360.000000"},
    {"Map", "YRes", D, "180.000000"}, {"Map", "Min", D, "0.000000"}, {"Map", "Max", D, "1.000000"},
    {"Surface", "Type", L, "6"}, {"Surface", "RandSeed", L, "12345"},
    {"Surface", "Func", T, "sinc(r)"}, {"Surface", "rf", D, "125.000000"},
    {"Surface", "irf", D, "4.000000"}, {"Surface", "H", D, "1.000000"},
    {"Surface", "lacunarity", D, "2.000000"}, {"Surface", "octaves", D, "5.000000"},
    {"Surface", "offset", D, "1.000000"}, {"Surface", "fgain", D, "2.000000"},
    {"Surface", "xpos", D, "-10.000000"}, {"Surface", "ypos", D, "-10.000000"},
    {"Surface", "zpos", D, "-10.000000"}, {"Surface", "xrange", D, "2.000000"},
    {"Surface", "yrange", D, "2.000000"}, {"Surface", "zrange", D, "2.000000"},
    {"Surface", "TexSphere", B, "1"},
    {"Import", "Radius", D, "50000.000000"}, {"Import", "Width", L, "512"},
    {"Import", "Height", L, "512"}, {"Import", "NoData", D, "-32767.000000"},
    {"Import", "CDPath", T, ""}, {"Import", "Correction", B, "0"}, {"Import", "Type", I, "0"},
    {"Hex", "Draw", B, "0"}, {"Hex", "Radius", F, "10.000000"}, {"Hex", "OfsX", F, "0.000000"},
    {"Hex", "OfsY", F, "0.000000"}, {"Hex", "Color", L, "16777215"}, {"Hex", "Weight", I, "1"},
    {"Hex", "BColor", L, "0"}, {"Hex", "BWeight", I, "1"},
    {"RGrid", "Draw", B, "0"}, {"RGrid", "XInterval", F, "20.000000"},
    {"RGrid", "YInterval", F, "20.000000"}, {"RGrid", "OfsX", F, "0.000000"},
    {"RGrid", "OfsY", F, "0.000000"}, {"RGrid", "Units", I, "0"}, {"RGrid", "Color", L, "0"},
    {"RGrid", "Weight", I, "1"}, {"RGrid", "BColor", L, "0"}, {"RGrid", "BWeight", I, "1"},
    {"Interp", "Type", L, "1"}, {"Interp", "Bias", D, "0.000000"},
    {"Interp", "Tension", D, "0.000000"},
    {"MapScale", "Type", I, "0"}, {"MapScale", "Hi", D, "1.000000"},
    {"MapScale", "Break", D, "0.000000"}, {"MapScale", "Lo", D, "-1.000000"},
    {"", "BaseLat", D, "0.000000"}, {"", "BaseLon", D, "0.000000"},
    {"", "Val_RDegm", D, "111096.000000"}, {"", "ClipMin", D, "-1.000000"},
    {"", "ClipMax", D, "1.000000"}, {"", "DispPosn", I, "1"}, {"", "ShowTimeCount", B, "0"},
    {"", "PreciseCursor", B, "0"}, {"", "Selection", B, "0"}, {"", "Undo", I, "4"},
    {"Wand", "Tolerance", F, "1.000000"},
    {"", "UseTablet", B, "0"},
};
// clang-format on

class SettingsTest : public ::testing::Test {
protected:
    test::RecordingHost Host;
    Workspace Ws{Host};

    const SettingDescriptor& Find(const char* name) {
        const SettingDescriptor* s = FindSetting(Ws.Settings, name);
        EXPECT_NE(s, nullptr) << name;
        return *s;
    }
};

TEST_F(SettingsTest, PersistedRowsAreTheListedOnesInOrderWithTheirDefaults) {
    std::vector<const SettingDescriptor*> persisted;
    for (const SettingDescriptor& s : Ws.Settings)
        if (s.Persisted)
            persisted.push_back(&s);
    ASSERT_EQ(persisted.size(), std::size(ExpectedRows));
    for (size_t i = 0; i < persisted.size(); ++i) {
        const Row& want = ExpectedRows[i];
        const SettingDescriptor& got = *persisted[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(got.Section, want.Section);
        EXPECT_EQ(got.Key, want.Key);
        EXPECT_EQ(got.Type, want.Type);
        EXPECT_EQ(got.DefaultText, want.Default);
        EXPECT_EQ(FormatSetting(got), want.Default);
    }
}

TEST_F(SettingsTest, StoredTextParsesBackLikeTheStoredEncodings) {
    struct Case {
        const char* Name;
        const char* Text;
        bool Ok;
        const char* After; // FormatSetting afterwards
    };
    const Case cases[] = {
        {"Map/XSize", "1000", true, "1000"},
        {"Map/XSize", "  -12abc", true, "-12"}, // "%d" stops at the junk
        {"Map/XSize", "abc", false, "-12"},
        {"Map/XSize", "99999999999", false, "-12"}, // beyond 32 bits
        {"Map/Left", "12.3456789", true, "12.345679"},
        {"Map/Left", "", false, "12.345679"},
        {"Hex/Radius", "2.5", true, "2.500000"},
        {"Hex/Radius", "1e300", false, "2.500000"}, // no float holds it
        {"Selection", "7", true, "1"},
        {"Selection", "no", false, "1"},
        {"Surface/Func", " a = b ", true, " a = b "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Name) + " <- '" + c.Text + "'");
        const SettingDescriptor& s = Find(c.Name);
        EXPECT_EQ(ParseSetting(s, c.Text), c.Ok);
        EXPECT_EQ(FormatSetting(s), c.After);
    }
}

TEST_F(SettingsTest, SavedValuesLoadUnchangedForEveryType) {
    // Give each persisted row a value of its own, distinct from its default.
    int i = 0;
    for (const SettingDescriptor& s : Ws.Settings) {
        if (!s.Persisted)
            continue;
        ++i;
        const std::string text = s.Type == B   ? std::to_string(1 - std::stoi(s.DefaultText))
                                 : s.Type == T ? "text " + std::to_string(i) + " = x"
                                 : s.Type == I || s.Type == L ? std::to_string(-1000 * i)
                                                              : std::to_string(i) + ".123456789";
        ASSERT_TRUE(ParseSetting(s, text)) << s.Name();
    }
    MemorySettingsStore store;
    SaveSettings(Ws.Settings, store);
    EXPECT_EQ(store.Values.size(), std::size(ExpectedRows));
    EXPECT_EQ(store.Values.at({"Data\\Map", "XSize"}), "-6000");
    EXPECT_EQ(store.Values.at({"Data\\", "BaseLat"}), "65.123457");
    EXPECT_EQ(store.Values.at({"Data\\Hex", "Radius"}), "41.123455"); // nearest float
    EXPECT_EQ(store.Values.at({"Data\\Surface", "TexSphere"}), "0");

    test::RecordingHost otherHost;
    Workspace next(otherHost);
    LoadSettings(next.Settings, store);
    for (size_t k = 0; k < Ws.Settings.size(); ++k) {
        if (Ws.Settings[k].Persisted) {
            EXPECT_EQ(FormatSetting(next.Settings[k]), FormatSetting(Ws.Settings[k]))
                << Ws.Settings[k].Name();
        }
    }
    EXPECT_EQ(next.TheSurface.Left, 8.123457); // six decimals survive, no more
    EXPECT_EQ(next.Hex.Radius, 41.123455f);
}

TEST_F(SettingsTest, MissingValuesLeaveTheVariables) {
    Ws.General.ClipMax = 3.75;
    Ws.TheSurface.Generation.Func = "x*y";
    MemorySettingsStore store;
    store.Write("Data\\", "ClipMin", "-2.5");
    LoadSettings(Ws.Settings, store);
    EXPECT_EQ(Ws.General.ClipMin, -2.5);
    EXPECT_EQ(Ws.General.ClipMax, 3.75);
    EXPECT_EQ(Ws.TheSurface.Generation.Func, "x*y");
}

TEST_F(SettingsTest, FindSettingByNameWithoutRegardToCase) {
    const struct {
        const char* Name;
        const void* Variable;
    } cases[] = {
        {"Map/XSize", &Ws.TheSurface.XSize},
        {"map/xsize", &Ws.TheSurface.XSize},
        {"ClipMin", &Ws.General.ClipMin},
        {"/ClipMin", &Ws.General.ClipMin},
        {"mdr.DataType", &Ws.MdrSave.DataType},
        {"MDR.datatype", &Ws.MdrSave.DataType},
        {"Type", nullptr},     // Surface, Import, Interp, MapScale
        {"XSize", nullptr},    // Muse and Map
        {"DataType", nullptr}, // run-time rows need their group
        {"mdr/DataType", nullptr},
        {"Map.XSize", nullptr}, // persisted rows are not run-time ones
        {"Map/Nothing", nullptr},
        {"", nullptr},
    };
    for (const auto& c : cases) {
        const SettingDescriptor* s = FindSetting(Ws.Settings, c.Name);
        EXPECT_EQ(s ? s->Variable : nullptr, c.Variable) << c.Name;
    }
}

TEST_F(SettingsTest, AssignSettingRefusesWhatAPersonMustNotSet) {
    const struct {
        const char* Name;
        const char* Text;
        bool Ok;
        const char* After;
    } cases[] = {
        {"mdr.DataType", "2", true, "2"},
        {"mdr.DataType", "3", false, "2"},
        {"mdr.DataType", "-1", false, "2"},
        {"mdr.DataType", "two", false, "2"},
        {"mdr.DataType", "1x", false, "2"},
        {"mdr.DataType", "1.5", false, "2"},
        {"mdr.DataType", "", false, "2"},
        {"mdr.DataType", " 1 ", true, "1"},
        {"Map/XSize", "4e9", false, "0"},
        {"ClipMin", "-0.25", true, "-0.250000"},
        {"ClipMin", "nan", false, "-0.250000"},
        {"ClipMin", "1e999", false, "-0.250000"},
        {"Hex/Radius", "1e300", false, "10.000000"},
        {"Selection", "2", false, "0"},
        {"Selection", "1", true, "1"},
        {"Surface/Func", "a=b", true, "a=b"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Name) + " <- '" + c.Text + "'");
        const SettingDescriptor& s = Find(c.Name);
        EXPECT_EQ(AssignSetting(s, c.Text), c.Ok);
        EXPECT_EQ(FormatSetting(s), c.After);
    }
}

} // namespace
} // namespace korvel
