#include "formats/pgm.h"

#include "core/workspace.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

TEST(Pgm, SamplesSpanTheWholeSixteenBitRange) {
    test::RecordingHost host;
    Workspace ws{host};
    test::TempDir dir;
    const std::string path = dir.File("s.pgm");
    // 4 x 3 samples, row-major, repeating the given ones.
    const auto write = [&](std::vector<float> samples, double min, double max) {
        EXPECT_EQ(ws.TheSurface.Resize(4, 3, 0), 0);
        for (size_t i = 0; i < 12; ++i)
            ws.TheSurface.Rows[i / 4][i % 4] = samples[i % samples.size()];
        ws.TheSurface.Min = min;
        ws.TheSurface.Max = max;
        return WritePgm(path, ws);
    };
    const std::string head = "P2 4 3 65535\n";
    // t * 65535 truncated: 0.5 gives 32767, 0.25 16383; 11 and -1 lie outside stale extremes.
    ASSERT_EQ(write({0, 10, 5, 2.5f, 11, -1}, 0, 10), 0);
    EXPECT_EQ(test::ReadFileText(path),
              head + " 0 65535 32767 16383 65535 0 0 65535 32767 16383\n 65535 0\n");
    EXPECT_EQ(host.ProgressTexts,
              std::vector<std::string>({"Writing normalized PGM file to " + path}));
    // A range below one unit still stretches over the whole grey range; no range gives 0.
    ASSERT_EQ(write({0.25f}, 0, 0.5), 0);
    EXPECT_EQ(test::ReadFileText(path).substr(head.size(), 14), " 32767 32767 3");
    ASSERT_EQ(write({3}, 3, 3), 0);
    EXPECT_EQ(test::ReadFileText(path), head + " 0 0 0 0 0 0 0 0 0 0\n 0 0\n");
    EXPECT_EQ(write({3}, 4, 3), -2);
    EXPECT_EQ(test::ReadFileText(path), head + " 0 0 0 0 0 0 0 0 0 0\n 0 0\n");
    ws.TheSurface.Min = 3;
    EXPECT_EQ(WritePgm(dir.File("no/s.pgm"), ws), -1);
}

} // namespace
} // namespace korvel
