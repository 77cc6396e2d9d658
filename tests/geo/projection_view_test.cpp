#include "core/progress.h"
#include "core/surface.h"
#include "geo/projection_view.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace korvel {
namespace {

// A map record of columns x rows nodes from left to right and bottom to top (degrees).
void SetMap(Surface& s, int32_t columns, int32_t rows, double left, double right, double bottom,
            double top) {
    s.XSize = columns;
    s.YSize = rows;
    s.SetEdges(left, right, top, bottom);
}

// Every pixel tells where it came from: red the column, green the row.
Image CoordinatePicture(int32_t columns, int32_t rows, int32_t bits = 24) {
    Image picture;
    picture.Create(columns, rows, bits);
    for (int32_t y = 0; y < rows; ++y)
        for (int32_t x = 0; x < columns; ++x)
            picture.SetPixel(x, y, PackColor(static_cast<uint8_t>(x), static_cast<uint8_t>(y), 9));
    return picture;
}

struct SampleCase {
    const char* Name;
    bool WholeWorld; // else 0..70 E, 0..30 N
    double Lat;
    double Lon;
    bool Found;
    int32_t Column;
    int32_t Row;
};

TEST(TextureSampler, NearestNodeAndOneTurnRound) {
    // Whole world: 8 nodes from -180 to 180 (XRes 360/7), 4 from -90 to 90 (YRes 60).
    // Part of the world: 8 nodes from 0 to 70 E (XRes 10), 4 from 0 to 30 N (YRes 10).
    const double step = 360.0 / 7.0;
    const SampleCase cases[] = {
        {"south-west corner", true, -90.0, -180.0, true, 0, 0},
        {"just short of half-way to the next column", true, -90.0, -180.0 + 3.4 * step, true, 3, 0},
        {"just past half-way", true, -90.0, -180.0 + 3.6 * step, true, 4, 0},
        {"row by the nearest node", true, -90.0 + 1.6 * 60.0, 0.0, true, 4, 2},
        {"east of the last node wraps round to the second", true, 0.0, 180.0 + 1.2 * step, true, 1,
         2},
        {"west of the first node wraps to the last but one", true, 0.0, -180.0 - 1.2 * step, true,
         6, 2},
        {"south of the bottom row", true, -90.0 - 0.6 * 60.0, 0.0, false, 0, 0},
        {"north of the top row", true, 90.0 + 0.6 * 60.0, 0.0, false, 0, 0},
        {"inside the part", false, 10.0, 20.0, true, 2, 1},
        {"east of the part: no second copy of its columns", false, 10.0, 100.0, false, 0, 0},
        {"west of the part", false, 10.0, -10.0, false, 0, 0},
        {"the part seen one turn away", false, 10.0, 380.0, true, 2, 1},
        {"NaN longitude", true, 0.0, std::numeric_limits<double>::quiet_NaN(), false, 0, 0},
    };
    for (const SampleCase& c : cases) {
        Surface s;
        if (c.WholeWorld)
            SetMap(s, 8, 4, -180.0, 180.0, -90.0, 90.0);
        else
            SetMap(s, 8, 4, 0.0, 70.0, 0.0, 30.0);
        const Image picture = CoordinatePicture(8, 4);
        const TextureSampler sampler(picture, s);
        PackedColor color = 0;
        ASSERT_EQ(sampler.ColorAt(c.Lat, c.Lon, color), c.Found) << c.Name;
        if (c.Found) {
            EXPECT_EQ(color,
                      PackColor(static_cast<uint8_t>(c.Column), static_cast<uint8_t>(c.Row), 9))
                << c.Name;
        }
    }
}

TEST(TextureSampler, EightBitPicturesGoThroughThePalette) {
    Surface s;
    SetMap(s, 4, 4, -180.0, 180.0, -90.0, 90.0);
    Image picture;
    picture.Create(4, 4, 8);
    picture.SetIndex(1, 2, 200);
    picture.Palette[200] = PackColor(1, 2, 3);
    const TextureSampler sampler(picture, s);
    PackedColor color = 0;
    ASSERT_TRUE(sampler.ColorAt(30.0, -60.0, color));
    EXPECT_EQ(color, PackColor(1, 2, 3));
}

struct CenterCase {
    const char* Name;
    double Longitude;
    double Latitude;
    double ExpectedLongitude;
    double ExpectedLatitude;
};

TEST(SetCenter, WrapsFoldsAndStopsShortOfThePoles) {
    const double nearPole = 89.9990005493164;
    const CenterCase cases[] = {
        {"inside", 20.0, 10.0, 20.0, 10.0},
        {"past the antimeridian", 190.0, 0.0, -170.0, 0.0},
        {"two turns", 725.0, 0.0, 5.0, 0.0},
        {"over the north pole", 0.0, 100.0, 0.0, 80.0},
        {"over the south pole", 0.0, -100.0, 0.0, -80.0},
        {"half round and beyond: the other side", 0.0, 200.0, 0.0, -20.0},
        {"at the north pole", 0.0, 90.0, 0.0, nearPole},
        {"at the south pole", 0.0, -90.0, 0.0, -nearPole},
    };
    for (const CenterCase& c : cases) {
        MapProjectionFields view;
        SetCenter(view, c.Longitude, c.Latitude);
        EXPECT_NEAR(view.Longitude, c.ExpectedLongitude, 1e-9) << c.Name;
        EXPECT_NEAR(view.Latitude, c.ExpectedLatitude, 1e-9) << c.Name;
    }
    MapProjectionFields view;
    view.Latitude = 12.0;
    SetCenter(view, std::numeric_limits<double>::quiet_NaN(), 3.0);
    EXPECT_EQ(view.Latitude, 12.0) << "a NaN drag moves nothing";
}

TEST(PreviewStep, ResolutionClampedAndTruncated) {
    const std::pair<double, int32_t> cases[] = {{0.5, 1},   {1.0, 1},          {3.7, 3}, {10.0, 10},
                                                {20.0, 10}, {std::nan(""), 1}, {-4.0, 1}};
    for (const auto& [resolution, step] : cases)
        EXPECT_EQ(PreviewStep(resolution), step) << resolution;
}

TEST(PlaneFrame, ZoomOneSpansMinusOneToOneOnTheShorterSide) {
    // 200 x 100 at zoom 1: 0.02 plane units a pixel, pixel centres from -0.99 to 0.99 up the
    // picture and from -1.99 to 1.99 across.
    const PlaneFrame frame(200, 100, 1.0);
    EXPECT_NEAR(frame.Y(0), -0.99, 1e-12);
    EXPECT_NEAR(frame.Y(99), 0.99, 1e-12);
    EXPECT_NEAR(frame.X(0), -1.99, 1e-12);
    EXPECT_NEAR(frame.X(199), 1.99, 1e-12);
    // A zoom of 0 is taken as 1e-5: 100000 times the span.
    EXPECT_NEAR(PlaneFrame(200, 100, 0.0).Y(99), 0.99e5, 1e-6);
    EXPECT_NEAR(PlaneFrame(200, 100, 2.0).Y(99), 0.495, 1e-12);
}

struct PreviewFixture : ::testing::Test {
    test::RecordingHost host;
    bool showTime = false;
    Progress progress{host, showTime};
    Surface map;
    Image texture;
    void SetUp() override {
        // One node a degree, coloured by where it lies.
        SetMap(map, 361, 181, -180.0, 180.0, -90.0, 90.0);
        texture.Create(361, 181, 24);
        for (int32_t y = 0; y < 181; ++y)
            for (int32_t x = 0; x < 361; ++x)
                texture.SetPixel(x, y,
                                 PackColor(static_cast<uint8_t>(x % 256), static_cast<uint8_t>(y),
                                           static_cast<uint8_t>(x / 256)));
    }
};

TEST_F(PreviewFixture, EquirectangularShowsLatitudeAndLongitudeInRadians) {
    MapProjectionFields view;
    view.Index = 3;
    view.Resolution = 1.0;
    Image out;
    out.Create(200, 100, 24);
    std::string reason;
    ASSERT_EQ(RenderProjectionPreview(view, texture, map, out, progress, reason), PreviewDone);
    // Pixel (150, 80): x = 50.5 * 0.02 = 1.01 rad = 57.87 E, y = 30.5 * 0.02 = 0.61 rad =
    // 34.95 N: nodes 238 (57.87 + 180 rounded) and 125 (34.95 + 90 rounded).
    EXPECT_EQ(out.GetPixel(150, 80), PackColor(238 % 256, 125, 0));
    // Pixel (10, 5): x = -1.79 rad = -102.56, y = -0.89 rad = -50.99: nodes 77 and 39.
    EXPECT_EQ(out.GetPixel(10, 5), PackColor(77, 39, 0));
}

TEST_F(PreviewFixture, OutsideTheDiscStaysBlackAndBlocksShareOneColour) {
    MapProjectionFields view;
    view.Index = 11; // Orthographic: a disc of radius 1 fills the shorter side at zoom 1
    view.Resolution = 4.0;
    Image out;
    out.Create(100, 100, 24);
    out.SetPixel(0, 0, PackColor(255, 255, 255));
    std::string reason;
    ASSERT_EQ(RenderProjectionPreview(view, texture, map, out, progress, reason), PreviewDone);
    EXPECT_EQ(out.GetPixel(0, 0), 0u) << "the corner lies outside the globe";
    EXPECT_EQ(out.GetPixel(99, 99), 0u);
    const PackedColor centre = out.GetPixel(48, 48);
    EXPECT_NE(centre, 0u);
    for (int32_t y = 48; y < 52; ++y)
        for (int32_t x = 48; x < 52; ++x)
            EXPECT_EQ(out.GetPixel(x, y), centre) << x << ", " << y;
}

TEST_F(PreviewFixture, RefusedProjectionLeavesAClearPictureAndSaysWhy) {
    MapProjectionFields view;
    view.Index = 0;
    view.Top = 40.0;
    view.Bottom = -40.0;
    Image out;
    out.Create(8, 8, 24);
    out.SetPixel(3, 3, PackColor(1, 1, 1));
    std::string reason;
    EXPECT_EQ(RenderProjectionPreview(view, texture, map, out, progress, reason), PreviewRefused);
    EXPECT_NE(reason.find("equal and opposite"), std::string::npos) << reason;
    EXPECT_EQ(out.GetPixel(3, 3), 0u);
    view.Index = 18;
    EXPECT_EQ(RenderProjectionPreview(view, texture, map, out, progress, reason), PreviewRefused);
    EXPECT_NE(reason.find("18"), std::string::npos) << reason;
}

TEST_F(PreviewFixture, EscapeStopsAfterTheRowOfBlocks) {
    MapProjectionFields view;
    view.Index = 3;
    view.Resolution = 1.0;
    Image out;
    out.Create(40, 40, 24);
    host.OnPump = test::CancelAtPump(progress, host.Pumps + 2);
    std::string reason;
    EXPECT_EQ(RenderProjectionPreview(view, texture, map, out, progress, reason), PreviewCancelled);
    EXPECT_NE(out.GetPixel(20, 1), 0u) << "rows drawn before the Escape stay";
    EXPECT_EQ(out.GetPixel(20, 30), 0u) << "rows after it are not drawn";
    EXPECT_FALSE(progress.CancelRequested());
}

} // namespace
} // namespace korvel
