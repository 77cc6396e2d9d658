#include "commands/journey.h"

#include "core/workspace.h"
#include "generate/procedural.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace korvel {
namespace {

namespace fs = std::filesystem;

struct Session {
    Session() {
        EXPECT_EQ(ws.TheSurface.Resize(16, 8, 0), 0);
        ws.Journey.Spherical = false;
        ws.Journey.H = {1.0, 2.0};
        ws.Journey.xpos = {0.5, 3.0};
    }
    std::vector<float> Grid() const {
        const Surface& s = ws.TheSurface;
        return {s.Rows[0], s.Rows[0] + int64_t{s.XSize} * s.YSize};
    }
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const fs::directory_entry& e : fs::directory_iterator(dir.Root()))
            if (e.path().extension() != ".bpw") // the world files beside the pictures
                names.push_back(e.path().filename().string());
        std::ranges::sort(names);
        return names;
    }
    test::RecordingHost host;
    Workspace ws{host};
    test::TempDir dir;
};

TEST(Journey, OneFrameIsCalculateWithTheStartValues) {
    for (const bool sphere : {false, true}) {
        SCOPED_TRACE(sphere ? "spherical" : "flat");
        Session journey;
        journey.ws.Journey.Spherical = sphere;
        journey.ws.Journey.Frames = 1;
        ASSERT_EQ(RunJourney(journey.ws, journey.dir.Root().string()), 0);

        Session calculate;
        FracParms start;
        start.Type = 6; // the journey's default list index 4
        start.TexSphere = sphere;
        start.H = 1.0;
        start.xpos = 0.5;
        ASSERT_EQ(GenerateSurface(calculate.ws, start, false), 0);
        const std::vector<float> a = journey.Grid();
        const std::vector<float> b = calculate.Grid();
        ASSERT_EQ(a.size(), b.size());
        EXPECT_EQ(std::memcmp(a.data(), b.data(), a.size() * sizeof(float)), 0);
    }
}

TEST(Journey, FrameParametersMoveByWholeSteps) {
    JourneyFields j;
    j.H = {1.0, 2.0};
    j.Top = {90.0, 10.0};
    j.Type = 0;
    FracParms record;
    const double t[] = {0.0, 0.25, 0.5, 0.75};
    const double h[] = {1.0, 1.25, 1.5, 1.75};
    const double top[] = {90.0, 70.0, 50.0, 30.0};
    for (int i = 0; i < 4; ++i) {
        JourneyFrameParms(j, t[i], record);
        EXPECT_EQ(record.H, h[i]);
        EXPECT_EQ(record.Top, top[i]);
        EXPECT_EQ(record.Type, 2);
    }
}

TEST(Journey, DrawsExactlyTheFramesAskedFor) {
    struct Case {
        const char* Name;
        int32_t Frames;
        int32_t Sequence;
        int32_t Output;
        std::vector<std::string> Files;
        double LastH; // the record keeps the last frame's values
    };
    const Case cases[] = {
        {"four_bmp",
         4,
         0,
         JourneyBmpSequence,
         {"pic00000.bmp", "pic00001.bmp", "pic00002.bmp", "pic00003.bmp"},
         1.75},
        {"from_seven",
         3,
         7,
         JourneyBmpSequence,
         {"pic00007.bmp", "pic00008.bmp", "pic00009.bmp"},
         1.0 + 2.0 / 3.0},
        // Ten steps of 0.1 add up to just below 1: a loop on t < 1 would draw an eleventh.
        {"ten_pcx",
         10,
         0,
         JourneyPcxSequence,
         {"pic00000.pcx", "pic00001.pcx", "pic00002.pcx", "pic00003.pcx", "pic00004.pcx",
          "pic00005.pcx", "pic00006.pcx", "pic00007.pcx", "pic00008.pcx", "pic00009.pcx"},
         1.9},
        {"negative_sequence_saves_nothing", 2, -1, JourneyBmpSequence, {}, 1.5},
        {"no_output", 2, 0, JourneyNoOutput, {}, 1.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Session s;
        s.ws.Journey.Frames = c.Frames;
        s.ws.Journey.Sequence = c.Sequence;
        s.ws.Journey.Output = c.Output;
        ASSERT_EQ(RunJourney(s.ws, s.dir.Root().string()), 0);
        EXPECT_EQ(s.Files(), c.Files);
        EXPECT_NEAR(s.ws.TheSurface.Generation.H, c.LastH, 1e-12);
        EXPECT_TRUE(s.host.Messages.empty());
    }
}

TEST(Journey, StopsWithItsMessage) {
    Session none;
    none.ws.Journey.Frames = 0;
    const std::vector<float> before = none.Grid();
    EXPECT_EQ(RunJourney(none.ws, none.dir.Root().string()), -1);
    EXPECT_EQ(none.host.Messages,
              std::vector<std::string>{"Number of rames must be >= 0 to do anything"});
    EXPECT_EQ(none.ws.Journey.Frames, 1);
    EXPECT_EQ(none.Grid(), before);

    // A save that fails ends the journey after its first frame, saying why.
    Session failing;
    failing.ws.Journey.Frames = 4;
    failing.ws.Journey.Output = JourneyBmpSequence;
    EXPECT_NE(RunJourney(failing.ws, failing.dir.File("missing/folder")), 0);
    ASSERT_EQ(failing.host.Messages.size(), 1u);
    EXPECT_NE(failing.host.Messages[0].find("pic00000.bmp"), std::string::npos);
    EXPECT_EQ(failing.ws.TheSurface.Generation.H, 1.0);
}

// The status window shows each frame before it is made, and Stop ends the journey once that
// frame's surface is made, neither shaded nor saved. H runs 1 to 2 and position X 0.5 to 3 over
// 4 frames: frame 2 is a quarter of the way, H 1.25 and X 0.5 + 2.5 / 4 = 1.125.
TEST(Journey, StatusWindowFollowsTheFramesAndStops) {
    struct Case {
        const char* Name;
        int StopAt;
        int32_t Result;
        size_t Updates;
        std::vector<std::string> Files;
        double LastH;
    };
    const Case cases[] = {
        {"runs through",
         0,
         0,
         4,
         {"pic00000.bmp", "pic00001.bmp", "pic00002.bmp", "pic00003.bmp"},
         1.75},
        {"stopped at frame 2", 2, -2, 2, {"pic00000.bmp"}, 1.25},
        {"stopped at frame 1", 1, -2, 1, {}, 1.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Session s;
        s.ws.Journey.Frames = 4;
        s.ws.Journey.Output = JourneyBmpSequence;
        s.host.StopAtStatus = c.StopAt;
        EXPECT_EQ(RunJourney(s.ws, s.dir.Root().string()), c.Result);
        EXPECT_EQ(s.Files(), c.Files);
        EXPECT_EQ(s.ws.TheSurface.Generation.H, c.LastH);
        EXPECT_EQ(s.host.StatusCloses, 1);
        EXPECT_EQ(s.host.StatusTitle, "Journey Through Texture Space");
        ASSERT_EQ(s.host.StatusLines.size(), c.Updates);
        const std::vector<std::string>& first = s.host.StatusLines[0];
        ASSERT_EQ(first.size(), 16u);
        EXPECT_EQ(first[0], "Frame 1 of 4");
        EXPECT_EQ(first[2], "H: 1.0000");
        EXPECT_EQ(first[6], "Position X: 0.5000");
        EXPECT_EQ(first[12], "Top: 90.0000");
        if (c.Updates >= 2) {
            EXPECT_EQ(s.host.StatusLines[1][0], "Frame 2 of 4");
            EXPECT_EQ(s.host.StatusLines[1][2], "H: 1.2500");
            EXPECT_EQ(s.host.StatusLines[1][6], "Position X: 1.1250");
        }
    }
    Session none;
    none.ws.Journey.Frames = 0;
    EXPECT_EQ(RunJourney(none.ws, none.dir.Root().string()), -1);
    EXPECT_TRUE(none.host.StatusLines.empty());
}

TEST(Journey, RgsFillsBothEndsFromTheRecord) {
    FracParms record;
    record.H = 0.7;
    record.Seed = 99;
    record.Top = 45.0;
    JourneyFields j;
    FillJourneyFromRecord(j, record);
    EXPECT_EQ(j.H.Start, 0.7);
    EXPECT_EQ(j.H.End, 0.7);
    EXPECT_EQ(j.Top.End, 45.0);
    EXPECT_EQ(j.Seed, 99);
}

} // namespace
} // namespace korvel
