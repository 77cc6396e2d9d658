#include "hydro/world_flood.h"

#include "core/workspace.h"
#include "hydro_test_terrain.h"
#include "shading/texture.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace korvel {
namespace {

TEST(WorldFlood, FramesAndSteps) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* Name;
        double Starting, Ending;
        int32_t Count;
        double Value;
        int32_t Code, Frames;
        double Delta;
    };
    const Case cases[] = {
        {"4 frames over 0..100", 0, 100, WorldFloodFrames, 4, WorldFloodDone, 4, 25},
        {"frames truncated", 0, 100, WorldFloodFrames, 4.9, WorldFloodDone, 4, 25},
        {"at least 1 frame", 0, 100, WorldFloodFrames, -3, WorldFloodDone, 1, 100},
        {"sea delta 25 reaches the end", 0, 100, WorldFloodSeaDelta, 25, WorldFloodDone, 5, 25},
        {"sea delta downwards", 100, 0, WorldFloodSeaDelta, -50, WorldFloodDone, 3, -50},
        {"sea delta away from the end", 0, 100, WorldFloodSeaDelta, -25, WorldFloodNoFrames, 0, 0},
        {"sea delta 0", 0, 100, WorldFloodSeaDelta, 0, WorldFloodZeroDelta, 0, 0},
        {"frames beyond int", 0, 100, WorldFloodFrames, 3e9, WorldFloodTooManyFrames, 0, 0},
        {"tiny delta beyond int", 0, 100, WorldFloodSeaDelta, 1e-9, WorldFloodTooManyFrames, 0, 0},
        {"frames not a number", 0, 100, WorldFloodFrames, nan, WorldFloodTooManyFrames, 0, 0},
        {"ending not a number", 0, nan, WorldFloodSeaDelta, 5, WorldFloodTooManyFrames, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        WorldFloodFields f;
        f.Starting = c.Starting;
        f.Ending = c.Ending;
        f.Count = c.Count;
        f.Value = c.Value;
        int32_t frames = 0;
        double delta = 0.0;
        ASSERT_EQ(WorldFloodFrameCount(f, frames, delta), c.Code);
        if (c.Code == WorldFloodDone) {
            EXPECT_EQ(frames, c.Frames);
            EXPECT_EQ(delta, c.Delta);
        }
    }
}

struct FloodSession {
    test::RecordingHost Host;
    Workspace Ws{Host};
    Surface& S = Ws.TheSurface;
    FloodSession(int32_t bits) {
        EXPECT_EQ(S.Resize(32, 20, 0), 0);
        test::FillBumpy(S, 40.0f);
        S.FindMinMax(S.Min, S.Max, Ws.TheProgress);
        S.Lighting.BitDepth = bits;
        S.Lighting.SeaLevel = -7.0;
        Host.ProgressTexts.clear();
        Host.Closes.clear();
    }
    std::vector<uint32_t> Pixels() {
        const Image& picture = CurrentTexture(Ws);
        std::vector<uint32_t> pixels;
        for (int32_t i = 0; i < 32 * 20; ++i)
            pixels.push_back(picture.GetPixel(i % 32, i / 32));
        return pixels;
    }
};

TEST(WorldFlood, EachPictureIsTheRelitPictureAtItsLevel) {
    for (const int32_t bits : {8, 24}) {
        SCOPED_TRACE(bits);
        FloodSession t(bits);
        WorldFloodFields f;
        f.Starting = 0.0;
        f.Ending = 40.0;
        f.Count = WorldFloodSeaDelta;
        f.Value = 10.0;
        f.SaveSequence = true;
        f.InitialFrame = 7;
        std::vector<std::string> names;
        std::vector<std::vector<uint32_t>> pictures;
        const PictureSaver save = [&](const std::string& path, std::string&) {
            names.push_back(path);
            pictures.push_back(t.Pixels());
            return 0;
        };
        ASSERT_EQ(WorldFlood(t.Ws, f, save), WorldFloodDone);
        EXPECT_EQ(t.S.Lighting.SeaLevel, -7.0);
        EXPECT_EQ(f.InitialFrame, 12);
        EXPECT_EQ(names, (std::vector<std::string>{"PIC00007.BMP", "PIC00008.BMP", "PIC00009.BMP",
                                                   "PIC00010.BMP", "PIC00011.BMP"}));
        ASSERT_EQ(pictures.size(), 5u);
        for (size_t i = 0; i < pictures.size(); ++i) {
            // As `set Light/SeaLevel=L` then `relight` would show it.
            t.S.Lighting.SeaLevel = 10.0 * static_cast<double>(i);
            MarkTextureStale(t.Ws);
            EXPECT_EQ(pictures[i], t.Pixels()) << "level " << t.S.Lighting.SeaLevel;
        }
        // Not every level looks the same, or the comparison proves little.
        EXPECT_NE(pictures.front(), pictures.back());
    }
}

TEST(WorldFlood, FailedSaveStopsTheSweepWithItsMessage) {
    FloodSession t(24);
    WorldFloodFields f;
    f.Starting = 0.0;
    f.Ending = 100.0;
    f.Value = 4.0;
    f.SaveSequence = true;
    f.FileType = WorldFloodPcx;
    int32_t calls = 0;
    const PictureSaver save = [&](const std::string& path, std::string& message) {
        ++calls;
        message = "\"" + path + "\" could not be written: disk full";
        return -5;
    };
    EXPECT_EQ(WorldFlood(t.Ws, f, save), WorldFloodNotSaved);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(f.InitialFrame, 0);
    EXPECT_EQ(t.Host.Messages,
              std::vector<std::string>{"\"PIC00000.PCX\" could not be written: disk full"});
    EXPECT_EQ(t.S.Lighting.SeaLevel, -7.0);
}

TEST(WorldFlood, RefusedCountsAreShownAndChangeNothing) {
    FloodSession t(24);
    WorldFloodFields f;
    f.Count = WorldFloodSeaDelta;
    f.Value = 0.0;
    int32_t calls = 0;
    const PictureSaver save = [&](const std::string&, std::string&) { return ++calls, 0; };
    EXPECT_EQ(WorldFlood(t.Ws, f, save), WorldFloodZeroDelta);
    EXPECT_EQ(t.Host.Messages, std::vector<std::string>{
                                   "World Flood: a Sea Delta of 0 never reaches the Ending level"});
    EXPECT_TRUE(t.Host.ProgressTexts.empty());
    EXPECT_EQ(calls, 0);
}

TEST(WorldFlood, EscapeEndsTheSweepAndRestoresTheSeaLevel) {
    FloodSession t(24);
    WorldFloodFields f;
    f.Value = 50.0;
    f.SaveSequence = true;
    int32_t calls = 0;
    const PictureSaver save = [&](const std::string&, std::string&) { return ++calls, 0; };
    t.Host.OnPump = [&](int) { t.Ws.TheProgress.CancelFlag = CancelKey; };
    EXPECT_EQ(WorldFlood(t.Ws, f, save), WorldFloodCancelled);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(t.S.Lighting.SeaLevel, -7.0);
    EXPECT_EQ(t.Ws.TheProgress.CancelFlag, 0);
    EXPECT_EQ(t.Host.Closes, std::vector<bool>{true});
}

} // namespace
} // namespace korvel
