#include "core/progress.h"
#include "geo/icosahedral.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

// 110 x 90: unit U = 10, net N = 100 samples, bands of 30 rows. Row t counts from the top of the
// picture (stored row 89 - t).
constexpr int32_t W = 110;
constexpr int32_t H = 90;

struct NetFixture : ::testing::Test {
    test::RecordingHost host;
    bool showTime = false;
    Progress progress{host, showTime};
    Image picture;
    // Every source column in red, so the net's sampling can be read back.
    void Fill(int32_t bits = 24) {
        picture.Create(W, H, bits);
        for (int32_t y = 0; y < H; ++y)
            for (int32_t x = 0; x < W; ++x)
                picture.SetPixel(x, y, PackColor(static_cast<uint8_t>(x + 1), 200, 0));
    }
    PackedColor At(int32_t x, int32_t t) const { return picture.GetPixel(x, H - 1 - t); }
    bool Net(int32_t x, int32_t t) const { return At(x, t) != 0; }
};

struct CoverCase {
    const char* Name;
    int32_t Row; // from the top
    int32_t Column;
    bool OnTheNet;
};

TEST_F(NetFixture, TrianglesOverABlackBackground) {
    Fill();
    ASSERT_EQ(IcosahedralResample(picture, W, H, 0, progress), 0);
    // Top band row 14: half-width trunc(15/30 * 10) = 5 about the apex columns 10, 30, ... 90.
    // Middle band row 45: the strip starts at trunc(16/30 * 10) = 5 and spans 100 columns.
    // Bottom band row 75: half-width trunc((1 - 16/30) * 10) = 4 about 20, 40, ... 100.
    const CoverCase cases[] = {
        {"top apex row is empty", 0, 10, false},
        {"top band left of the first triangle", 14, 4, false},
        {"top band first triangle's left edge", 14, 5, true},
        {"top band first triangle's right edge", 14, 14, true},
        {"top band gap between triangles", 14, 15, false},
        {"top band gap before the second", 14, 24, false},
        {"top band second triangle", 14, 25, true},
        {"top band last triangle's right edge", 14, 94, true},
        {"top band right of the last triangle", 14, 95, false},
        {"middle band before the slanted strip", 45, 4, false},
        {"middle band strip start", 45, 5, true},
        {"middle band strip end", 45, 104, true},
        {"middle band after the strip", 45, 105, false},
        {"bottom band left of the first triangle", 75, 15, false},
        {"bottom band first triangle", 75, 16, true},
        {"bottom band first triangle's right edge", 75, 23, true},
        {"bottom band gap", 75, 24, false},
        {"bottom band last triangle", 75, 103, true},
        {"bottom band past the last triangle", 75, 104, false},
        {"bottom row is empty", 89, 100, false},
    };
    for (const CoverCase& c : cases)
        EXPECT_EQ(Net(c.Column, c.Row), c.OnTheNet) << c.Name;
}

TEST_F(NetFixture, SamplesComeFromEvenlySpacedSourceColumns) {
    Fill();
    ASSERT_EQ(IcosahedralResample(picture, W, H, 0, progress), 0);
    // Net sample i is source column trunc(i * 110 / 100), coloured i + 1 in red.
    // Top band base row 29 (half-width 10): column 15 shows sample 15, source 16.
    EXPECT_EQ(At(15, 29), PackColor(17, 200, 0));
    // Left of the apex: column 5 shows sample 5, source 5.
    EXPECT_EQ(At(5, 29), PackColor(6, 200, 0));
    // Middle band: each column keeps its sample; column 50 shows source 55.
    EXPECT_EQ(At(50, 45), PackColor(56, 200, 0));
    // Past the net's width the samples come round again: column 104 shows sample 4, source 4.
    EXPECT_EQ(At(104, 45), PackColor(5, 200, 0));
}

TEST_F(NetFixture, BackgroundColourAndEightBitPictures) {
    Fill();
    const PackedColor red = PackColor(255, 0, 0);
    ASSERT_EQ(IcosahedralResample(picture, W, H, red, progress), 0);
    EXPECT_EQ(At(0, 0), red);
    EXPECT_EQ(At(109, 45), red);
    Fill(8);
    ASSERT_EQ(IcosahedralResample(picture, W, H, red, progress), 0);
    EXPECT_EQ(picture.GetPixel(0, H - 1), 0u) << "index 0 outside the net";
    EXPECT_EQ(picture.GetPixel(50, H - 1 - 45), 56u);
}

TEST_F(NetFixture, EscapeKeepsTheRowsNotReached) {
    Fill();
    host.OnPump = test::CancelAtPump(progress, host.Pumps + 10);
    EXPECT_EQ(IcosahedralResample(picture, W, H, 0, progress), -1);
    EXPECT_EQ(At(0, 0), 0u) << "the top rows were resampled";
    EXPECT_EQ(At(0, 80), PackColor(1, 200, 0)) << "the rows below keep their pixels";
    EXPECT_FALSE(progress.CancelRequested());
}

TEST_F(NetFixture, TooSmallToFoldIsLeftAlone) {
    picture.Create(8, 2, 24);
    picture.SetPixel(1, 1, PackColor(9, 9, 9));
    EXPECT_EQ(IcosahedralResample(picture, 8, 2, 0, progress), 0);
    EXPECT_EQ(picture.GetPixel(1, 1), PackColor(9, 9, 9));
}

} // namespace
} // namespace korvel
