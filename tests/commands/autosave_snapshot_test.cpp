#include "commands/autosave_snapshot.h"

#include "core/settings_store.h"
#include "core/workspace.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace korvel {
namespace {

struct Saved {
    test::RecordingHost Host;
    Workspace Ws{Host};
};

// Every sample different and not a whole number, the map record and lighting far from their
// defaults, with reals that five decimals would round.
void FillDistinct(Surface& s, int32_t width, int32_t height) {
    ASSERT_EQ(s.Resize(width, height, 0), 0);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            s.Rows[y][x] = static_cast<float>(x + 1000 * y) + 1.0f / 3.0f;
    s.Left = 10.0 / 3.0;
    s.Right = 20.125;
    s.Top = -7.0 / 9.0;
    s.Bottom = 44.5;
    s.XRes = 0.1;
    s.YRes = -0.2;
    s.Min = 1.0 / 3.0;
    s.Max = 1000.0 * (height - 1) + (width - 1) + 1.0 / 3.0;
    s.Lighting.Gamma = 0.123456789012345;
    s.Lighting.Az = 2.0 / 3.0;
    s.Lighting.AltColor.Gamma = 1.0 / 7.0;
    s.Lighting.FbmParms.lacunarity = 2.0000001;
    s.Lighting.Colors = 31;
}

bool SameRows(const Surface& a, const Surface& b) {
    if (a.XSize != b.XSize || a.YSize != b.YSize)
        return false;
    for (int32_t y = 0; y < a.YSize; ++y)
        if (std::memcmp(a.Rows[y], b.Rows[y], sizeof(float) * a.XSize) != 0)
            return false;
    return true;
}

TEST(AutosaveSnapshot, RestoresRowsMapRecordAndLightingExactly) {
    test::TempDir dir;
    const struct {
        const char* Name;
        int32_t Width, Height;
    } sizes[] = {{"small", 8, 4}, {"odd height", 12, 7}, {"wide", 400, 3}};
    for (const auto& size : sizes) {
        Saved live;
        FillDistinct(live.Ws.TheSurface, size.Width, size.Height);
        AutosaveSnapshot snapshot;
        ASSERT_EQ(snapshot.Take(live.Ws.TheSurface), "") << size.Name;
        // Edits after the take are not in the files.
        live.Ws.TheSurface.Rows[0][0] = -5.0f;
        ASSERT_EQ(snapshot.Write(dir.File("a.mdr"), dir.File("a.lgt")), "") << size.Name;
        live.Ws.TheSurface.Rows[0][0] = 1.0f / 3.0f;

        Saved next;
        MemorySettingsStore store;
        ASSERT_EQ(next.Ws.Start(store), 0);
        std::string message;
        ASSERT_EQ(RestoreAutosave(next.Ws, dir.File("a.mdr"), dir.File("a.lgt"), message), 0)
            << size.Name << ": " << message;
        const Surface& a = live.Ws.TheSurface;
        const Surface& b = next.Ws.TheSurface;
        EXPECT_TRUE(SameRows(a, b)) << size.Name;
        EXPECT_EQ(std::tuple(b.Left, b.Right, b.Top, b.Bottom, b.XRes, b.YRes, b.Min, b.Max),
                  std::tuple(a.Left, a.Right, a.Top, a.Bottom, a.XRes, a.YRes, a.Min, a.Max))
            << size.Name;
        EXPECT_EQ(std::tuple(b.Lighting.Gamma, b.Lighting.Az, b.Lighting.AltColor.Gamma,
                             b.Lighting.FbmParms.lacunarity, b.Lighting.Colors),
                  std::tuple(0.123456789012345, 2.0 / 3.0, 1.0 / 7.0, 2.0000001, 31))
            << size.Name;
        EXPECT_TRUE(b.Texture.Stale()) << size.Name;
    }
}

TEST(AutosaveSnapshot, FailuresSayWhyAndKeepWhatWasThere) {
    test::TempDir dir;
    Saved live;
    FillDistinct(live.Ws.TheSurface, 8, 4);
    AutosaveSnapshot snapshot;
    ASSERT_EQ(snapshot.Take(live.Ws.TheSurface), "");
    ASSERT_EQ(snapshot.Write(dir.File("good.mdr"), dir.File("good.lgt")), "");
    test::WriteFileText(dir.File("short.mdr"), "KRVL");
    test::WriteFileText(dir.File("empty.lgt"), "");

    const struct {
        const char* Name;
        std::string Mdr, Lgt;
        std::string MessageStart;
    } cases[] = {
        {"lighting file missing", dir.File("good.mdr"), dir.File("none.lgt"), ""},
        {"surface file missing", dir.File("none.mdr"), dir.File("good.lgt"),
         "Cannot read the autosaved Surface " + dir.File("none.mdr") + ": "},
        {"surface file cut short", dir.File("short.mdr"), dir.File("good.lgt"),
         "Cannot read the autosaved Surface " + dir.File("short.mdr") + ": "},
    };
    for (const auto& c : cases) {
        Saved next;
        ASSERT_EQ(next.Ws.TheSurface.Resize(4, 4, 0), 0);
        next.Ws.TheSurface.Rows[1][1] = 7.0f;
        std::string message;
        EXPECT_NE(RestoreAutosave(next.Ws, c.Mdr, c.Lgt, message), 0) << c.Name;
        EXPECT_FALSE(message.empty()) << c.Name;
        EXPECT_EQ(message.rfind(c.MessageStart, 0), 0u) << c.Name << ": " << message;
        EXPECT_EQ(next.Ws.TheSurface.XSize, 4) << c.Name;
        EXPECT_EQ(next.Ws.TheSurface.Rows[1][1], 7.0f) << c.Name;
        EXPECT_EQ(next.Ws.TheSurface.Lighting.Gamma, LightParms().Gamma) << c.Name;
    }

    // A folder that cannot be written names the file; the previous autosave stays whole.
    const std::string blocked = dir.File("blocked");
    test::WriteFileText(blocked, "a file, not a folder");
    EXPECT_NE(snapshot.Write(blocked + "/a.mdr", blocked + "/a.lgt").find(blocked + "/a.lgt"),
              std::string::npos);
    Saved empty;
    EXPECT_NE(AutosaveSnapshot().Take(empty.Ws.TheSurface), "");
}

} // namespace
} // namespace korvel
