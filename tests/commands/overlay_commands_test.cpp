// The drawing commands through the runner: what lands in the picture or the height field, what
// the user is told, and that drawing leaves the elevations alone.

#include "commands/command.h"
#include "commands/command_runner.h"
#include "core/workspace.h"
#include "shading/texture.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace korvel {
namespace {

constexpr PackedColor Red = PackColor(255, 0, 0);
constexpr PackedColor Land = PackColor(200, 100, 50);

// A 36 x 19 map (widths are multiples of 4), 10 degrees between samples, flat land shown as
// Land.
struct Session {
    test::RecordingHost Host;
    Workspace Ws{Host};
    test::TempDir Dir;

    Session() {
        Surface& s = Ws.TheSurface;
        EXPECT_EQ(s.Resize(36, 19, 0), 0);
        s.SetEdges(-180, 170, 90, -90);
        std::fill_n(s.Rows[0], 36 * 19, 100.0f);
        s.Min = s.Max = 100.0;
        s.Lighting.AltColor.Entries = {Land};
        s.Lighting.El = 90.0;
        MarkTextureStale(Ws);
    }
    RunResult Run(const std::string& name) { return RunCommand(*FindCommandByName(name), Ws); }
    // x, y of the picture counted from its top line.
    PackedColor At(int32_t x, int32_t y) {
        const Image& picture = CurrentTexture(Ws);
        return picture.GetPixel(x, picture.Height() - 1 - y);
    }
    int64_t Count(PackedColor c) {
        int64_t n = 0;
        for (int32_t y = 0; y < 19; ++y)
            for (int32_t x = 0; x < 36; ++x)
                n += At(x, y) == c;
        return n;
    }
};

TEST(OverlayCommands, VectorFileDrawsItsLineAtTheMapPositions) {
    // Latitude 10 is row (90 - 10) / 10 = 8 from the top; longitudes 20 and 30 are columns
    // (20 + 180) / 10 = 20 and 21.
    Session s;
    s.Ws.VectorFile.Path = s.Dir.File("line.txt");
    test::WriteFileText(s.Ws.VectorFile.Path, "C 1 0 0\nM 10 20\nL 10 30\n");
    ASSERT_EQ(s.Run("vector-file").Status, RunStatus::Done);
    EXPECT_EQ(s.At(20, 8), Red);
    EXPECT_EQ(s.At(21, 8), Red);
    EXPECT_EQ(s.Count(Red), 2);
    EXPECT_EQ(s.At(0, 0), Land);
    EXPECT_TRUE(s.Host.Messages.empty());
    EXPECT_EQ(s.Ws.TheSurface.Rows[10][20], 100.0f);
}

TEST(OverlayCommands, FailuresAreToldAndDrawNothing) {
    struct Case {
        const char* Name;
        const char* Command;
        void (*Set)(Workspace&);
        const char* Says;
    };
    const Case cases[] = {
        {"missing vector file", "vector-file",
         [](Workspace& ws) { ws.VectorFile.Path = "/nonexistent/v.txt"; },
         "Unable to read vector file /nonexistent/v.txt: "},
        {"hex radius under a pixel", "hex-grid", [](Workspace& ws) { ws.Hex.Radius = 0.5f; },
         "Hex Grid: the radius of 0.5 pixels is under one pixel"},
        {"grid interval of 0.01 degrees", "rectangular-grid",
         [](Workspace& ws) {
             ws.RGrid.Units = 1;
             ws.RGrid.XInterval = 0.01f;
         },
         "Rectangular Grid: the X interval of 0.01 degrees is 0.00102857 pixels"},
        {"fill outside", "draw-flood-fill", [](Workspace& ws) { ws.PictureFill.Y = 19; },
         "Flood Fill: the position 0, 19 is outside the 36 x 19 picture."},
        {"no text", "draw-text-message", [](Workspace&) {},
         "Text Message: there is no text to draw."},
    };
    for (const Case& c : cases) {
        Session s;
        c.Set(s.Ws);
        EXPECT_EQ(s.Run(c.Command).Status, RunStatus::Failed) << c.Name;
        ASSERT_EQ(s.Host.Messages.size(), 1u) << c.Name;
        EXPECT_EQ(s.Host.Messages[0].rfind(c.Says, 0), 0u) << c.Name << ": " << s.Host.Messages[0];
        EXPECT_EQ(s.Count(Land), 36 * 19) << c.Name;
    }
}

TEST(OverlayCommands, GridsPaintOnlyWhenAsked) {
    Session s;
    s.Ws.RGrid.Color = static_cast<int32_t>(Red);
    s.Ws.RGrid.XInterval = s.Ws.RGrid.YInterval = 10;
    s.Ws.RGridDraw.PaintIntoTexture = false;
    ASSERT_EQ(s.Run("rectangular-grid").Status, RunStatus::Done);
    EXPECT_EQ(s.Count(Red), 0);
    s.Ws.RGridDraw.PaintIntoTexture = true;
    ASSERT_EQ(s.Run("rectangular-grid").Status, RunStatus::Done);
    // Columns 0, 10, 20, 30 and rows 0, 10 from the top: 4 x 19 + 2 x 36 - 8 crossings.
    EXPECT_EQ(s.Count(Red), 4 * 19 + 2 * 36 - 8);
}

TEST(OverlayCommands, FillRecoloursTheConnectedPicture) {
    Session s;
    s.Ws.PictureFill = {3, 4, static_cast<int32_t>(Red)};
    ASSERT_EQ(s.Run("draw-flood-fill").Status, RunStatus::Done);
    EXPECT_EQ(s.Count(Red), 36 * 19);
}

TEST(OverlayCommands, TextIntoTheHeightFieldCanBeUndone) {
    // "-" is the glyph's row 3, columns 0..4: at Y = 0 that is row 3 from the bottom.
    Session s;
    s.Ws.TextMessage3 = {"-", 2, 0, 1, 0, 50.0f};
    ASSERT_EQ(s.Run("draw-text-message-3").Status, RunStatus::Done);
    const Surface& surface = s.Ws.TheSurface;
    for (int32_t x = 2; x < 7; ++x)
        EXPECT_EQ(surface.Rows[3][x], 150.0f) << x;
    EXPECT_EQ(surface.Rows[3][7], 100.0f);
    EXPECT_EQ(surface.Rows[2][2], 100.0f);
    EXPECT_EQ(surface.Max, 150.0);
    ASSERT_EQ(s.Run("undo").Status, RunStatus::Done);
    EXPECT_EQ(s.Ws.TheSurface.Rows[3][2], 100.0f);
}

} // namespace
} // namespace korvel
