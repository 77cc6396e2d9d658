// The TextureMap after commands: an edit leaves it stale, a reader gets the picture of the
// elevations at hand, a drawing stays until the next edit, and undo restores either.

#include "commands/command.h"
#include "commands/command_runner.h"
#include "commands/file_dispatch.h"
#include "core/workspace.h"
#include "formats/bmp.h"
#include "shading/texture.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>

namespace korvel {
namespace {

// Single-colour ramps lit from the zenith: flat land shows Land itself (shade 1), flat sea at its
// lowest shows Sea (no lift at t = 0).
constexpr PackedColor Land = PackColor(200, 100, 50);
constexpr PackedColor Sea = PackColor(20, 40, 160);
constexpr PackedColor HeightGrey = PackColor(0, 0, 0); // a flat height map is index 0

struct Session {
    Session() {
        ws.TheSurface.Resize(8, 4, 0);
        LightParms& lp = ws.TheSurface.Lighting;
        lp.AltColor.Entries = {Land};
        lp.SeaColor.Entries = {Sea};
        lp.El = 90.0;
        Fill(100.0f);
        MarkTextureStale(ws);
    }
    void Fill(float h) {
        Surface& s = ws.TheSurface;
        std::fill_n(s.Rows[0], s.XSize * s.YSize, h);
        s.Min = s.Max = h;
    }
    void Run(const std::string& name) {
        EXPECT_EQ(RunCommand(*FindCommandByName(name), ws).Status, RunStatus::Done) << name;
    }
    // Every sample from 100 down to -2000, the lowest sea: an edit through the command runner.
    void Sink() {
        ws.Offset.Amount = -2100.0;
        Run("offset");
    }
    PackedColor Shown() { return CurrentTexture(ws).GetPixel(3, 2); }
    PackedColor Saved() {
        const std::string path = dir.File("picture.bmp");
        std::string message;
        EXPECT_EQ(WriteFileByType(ws, path, -1, message), 0) << message;
        Image back;
        EXPECT_EQ(ReadBmpImage(path, back, ws.TheProgress), 0);
        return back.GetPixel(3, 2);
    }

    test::RecordingHost host;
    Workspace ws{host};
    test::TempDir dir;
};

TEST(TextureRefresh, ReadersSeeThePictureOfTheMoment) {
    const struct {
        const char* Name;
        std::function<void(Session&)> Steps;
        bool StaleAfter;
        PackedColor Shown;
    } cases[] = {
        {"nothing read yet", [](Session&) {}, true, Land},
        {"an edit leaves the picture stale", [](Session& t) { t.Sink(); }, true, Sea},
        {"a save shows the edit",
         [](Session& t) {
             t.Sink();
             EXPECT_EQ(t.Saved(), Sea);
         },
         false, Sea},
        {"a gray map stays through a read and a save",
         [](Session& t) {
             t.Run("height-map");
             EXPECT_EQ(t.Shown(), HeightGrey);
             EXPECT_EQ(t.Saved(), HeightGrey);
         },
         false, HeightGrey},
        {"an edit replaces the gray map",
         [](Session& t) {
             t.Run("height-map");
             t.Sink();
         },
         true, Sea},
        {"undo to a stale snapshot shades the elevations restored",
         [](Session& t) {
             t.Sink();
             EXPECT_EQ(t.Shown(), Sea);
             t.Run("undo");
         },
         true, Land},
        {"undo brings a drawn picture back",
         [](Session& t) {
             t.Run("height-map");
             t.Sink();
             EXPECT_EQ(t.Saved(), Sea);
             t.Run("undo");
         },
         false, HeightGrey},
        {"redo brings the edit's picture back",
         [](Session& t) {
             t.Sink();
             EXPECT_EQ(t.Shown(), Sea);
             t.Run("undo");
             EXPECT_EQ(t.Shown(), Land);
             t.Run("redo");
         },
         false, Sea},
    };
    for (const auto& c : cases) {
        Session t;
        c.Steps(t);
        EXPECT_EQ(t.ws.TheSurface.Texture.Stale(), c.StaleAfter) << c.Name;
        EXPECT_EQ(t.Shown(), c.Shown) << c.Name;
        EXPECT_FALSE(t.ws.TheSurface.Texture.Stale()) << c.Name;
    }
}

TEST(TextureRefresh, EightBitPicturesAreReadAsPaletteIndices) {
    Session t;
    t.ws.TheSurface.Lighting.BitDepth = 8;
    t.Run("lighting");
    EXPECT_EQ(CurrentTexture(t.ws).BitsPerPixel(), 8);
}

TEST(TextureRefresh, ColourNoiseDrawsOnTheStreamWhenTheEditEnds) {
    // Whether the picture is computed at once or later, what uses the random stream next must
    // get the same numbers.
    double next[2] = {};
    for (const bool readAtOnce : {true, false}) {
        Session t;
        LightParms& lp = t.ws.TheSurface.Lighting;
        lp.BlendLat = 1;
        lp.FbmStrength = 0.5;
        t.ws.Random.SeedRandom(7);
        t.Sink();
        if (readAtOnce)
            t.Shown();
        next[readAtOnce] = t.ws.Random.RandomUniform();
    }
    EXPECT_EQ(next[0], next[1]);
}

TEST(TextureRefresh, AnInterruptedPictureIsNotSaved) {
    Session t;
    t.Sink();
    static Progress* running = nullptr;
    running = &t.ws.TheProgress;
    t.host.OnPump = [](int) { running->CancelFlag = CancelKey; };
    std::string message;
    const std::string path = t.dir.File("picture.bmp");
    EXPECT_EQ(WriteFileByType(t.ws, path, -1, message), -1);
    EXPECT_EQ(message, "Cannot write \"" + path + "\": computing its picture was cancelled");
    EXPECT_FALSE(std::filesystem::exists(path));
}

} // namespace
} // namespace korvel
