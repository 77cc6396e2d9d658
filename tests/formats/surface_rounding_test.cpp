// The rounding report of the older integer surface formats, worked out from their encodings:
// STM scales Min..Max to 0..32767 and truncates, the BMP surface to 0..255, the Fractint TGA keeps
// whole units in 0..65535.
#include "formats/bmp.h"
#include "formats/stm.h"
#include "formats/tga.h"

#include "core/workspace.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace korvel {
namespace {

struct RoundingCase {
    const char* Name;
    const char* File;
    std::function<int32_t(const std::string&, Workspace&)> Write;
    std::vector<float> Heights;
    const char* Report;
};

TEST(SurfaceRounding, IntegerSurfaceSavesReportStepErrorAndClipped) {
    const float nan = std::nanf("");
    const RoundingCase cases[] = {
        // 100.5 x 32767 / 255 = 12914.05, stored 12914 = 100.49959; 300 and NaN lie outside.
        {"stm scaled",
         "q.stm",
         [](auto& p, auto& ws) { return WriteStmFile(p, ws); },
         {0, 100.5f, 255, 300, nan, 0, 0, 0},
         "q.stm: 16-bit, step 0.00778 m, worst error 0.000412 m, 2 clipped"},
        // Unscaled: whole units, truncated; 40000 is beyond the signed 16-bit range.
        {"stm unscaled",
         "u.stm",
         [](auto& p, auto& ws) { return WriteStmFile(p, ws, false); },
         {0, 100.75f, 255, 40000, -12.25f, 0, 0, 0},
         "u.stm: 16-bit, step 1 m, worst error 0.75 m, 1 clipped"},
        {"bmp surface",
         "q.bmp",
         [](auto& p, auto& ws) { return WriteBmpSurface(p, ws); },
         {0, 100.5f, 255, 300, 0, 0, 0, 0},
         "q.bmp: 8-bit, step 1 m, worst error 0.5 m, 1 clipped"},
        // Below 0 and from 65536 up only the low bytes are kept: those heights do not come back.
        {"fractint tga",
         "q.tga",
         [](auto& p, auto& ws) { return WriteFractintTga(p, ws); },
         {0, 100.5f, 1000.25f, -3, 70000, nan, 0, 0},
         "q.tga: 16-bit, step 1 m, worst error 0.5 m, 3 clipped"},
    };
    for (const auto& c : cases) {
        test::RecordingHost host;
        Workspace ws{host};
        test::TempDir dir;
        ASSERT_EQ(ws.TheSurface.Resize(4, 2, 0), 0);
        std::copy(c.Heights.begin(), c.Heights.end(), ws.TheSurface.Rows[0]);
        ws.TheSurface.Min = 0, ws.TheSurface.Max = 255;
        ASSERT_EQ(c.Write(dir.File(c.File), ws), 0) << c.Name;
        EXPECT_EQ(ws.FileNotes, std::vector<std::string>{c.Report}) << c.Name;
    }
}

} // namespace
} // namespace korvel
