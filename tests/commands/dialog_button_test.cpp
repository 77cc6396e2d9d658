#include "commands/command.h"
#include "commands/file_dialog.h"
#include "core/workspace.h"
#include "formats/file_type_table.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <string>

namespace korvel {
namespace {

// What each button writes, on a 40 x 20 Surface whose generation record has H 0.7, seed 99 and
// top edge 45: "RGS" both ends of every parameter from the record, "&All" the whole Surface in
// samples, north row (19) first.
TEST(DialogButton, EachButtonFillsItsFields) {
    struct Case {
        const char* Name;
        const char* Group;
        double
            Expected[4]; // journey: H start, H end, Top end, seed; bryce: Top, Left, Right, Bottom
    };
    const Case cases[] = {
        {"journey.RGS", "journey", {0.7, 0.7, 45.0, 99.0}},
        {"bryce2.All", "bryce2", {19.0, 0.0, 39.0, 0.0}},
        {"BRYCE3D.ALL", "bryce3d", {19.0, 0.0, 39.0, 0.0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        test::RecordingHost host;
        Workspace ws(host);
        ASSERT_EQ(ws.TheSurface.Resize(40, 20, 0), 0);
        ws.TheSurface.Generation.H = 0.7;
        ws.TheSurface.Generation.Seed = 99;
        ws.TheSurface.Generation.Top = 45.0;
        ws.Bryce2Export.Top = ws.Bryce3DExport.Top = 3.0;
        ws.Bryce2Export.Right = ws.Bryce3DExport.Right = 5.0;
        const std::vector<DialogField>* fields = nullptr;
        const DialogButton* button = FindDialogButton(c.Name, &fields);
        ASSERT_NE(button, nullptr);
        ASSERT_NE(fields, nullptr);
        ASSERT_FALSE(fields->empty());
        EXPECT_EQ(std::string(fields->front().Setting).substr(0, std::string(c.Group).size()),
                  c.Group);
        button->Press(ws);
        double got[4];
        if (std::string(c.Group) == "journey") {
            got[0] = ws.Journey.H.Start;
            got[1] = ws.Journey.H.End;
            got[2] = ws.Journey.Top.End;
            got[3] = ws.Journey.Seed;
        } else {
            const BryceExportFields& f =
                std::string(c.Group) == "bryce2" ? ws.Bryce2Export : ws.Bryce3DExport;
            got[0] = f.Top;
            got[1] = f.Left;
            got[2] = f.Right;
            got[3] = f.Bottom;
        }
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(got[i], c.Expected[i]) << i;
    }
    EXPECT_EQ(FindDialogButton("journey.Frames"), nullptr);
}

// The Bryce area is remembered while the Surface keeps its size; on a Surface of another size an
// old area would cut or overrun it, so the dialog starts from the whole Surface again.
TEST(DialogButton, BryceAreaKeptOnlyForTheSizeItWasChosenOn) {
    struct Case {
        const char* Name;
        int32_t Width, Height;
        double Top, Right; // after the second prefill
    };
    const Case cases[] = {
        {"same size keeps the area", 40, 20, 10.0, 12.0},
        {"wider resets it", 52, 20, 19.0, 51.0},
        {"shorter resets it", 40, 8, 7.0, 39.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        test::RecordingHost host;
        Workspace ws(host);
        ASSERT_EQ(ws.TheSurface.Resize(40, 20, 0), 0);
        const FileDialog& dialog = *FindFileDialog(FileBryce2);
        dialog.Prefill(ws);
        EXPECT_EQ(ws.Bryce2Export.Top, 19.0);
        EXPECT_EQ(ws.Bryce2Export.Right, 39.0);
        ws.Bryce2Export.Top = 10.0;
        ws.Bryce2Export.Right = 12.0;
        ASSERT_EQ(ws.TheSurface.Resize(c.Width, c.Height, 0), 0);
        dialog.Prefill(ws);
        EXPECT_EQ(ws.Bryce2Export.Top, c.Top);
        EXPECT_EQ(ws.Bryce2Export.Right, c.Right);
    }
}

} // namespace
} // namespace korvel
