#include "shading/gray_maps.h"

#include "core/neighbour_directions.h"
#include "core/progress.h"
#include "core/surface.h"
#include "shading/surface_normals.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <vector>

namespace korvel {

namespace {

// The low 8 bits of trunc(v), so that an index past 255 wraps round the ramp; a value no int32
// can hold (NaN among them) gives 0.
uint8_t LowByte(double v) {
    if (!(v > -2147483649.0 && v < 2147483648.0))
        return 0;
    return static_cast<uint8_t>(static_cast<int32_t>(v));
}

// The row loop every map shares: drawRow(y) draws one TextureMap row.
template <class F>
int32_t DrawRows(const Surface& s, Progress& p, const char* text, int32_t step, int32_t updateEvery,
                 F drawRow) {
    p.ProgressBegin(text, step);
    for (int32_t y = 0; y < s.YSize && !p.CancelRequested(); ++y) {
        drawRow(y);
        if (y % updateEvery == 0) {
            p.ProgressUpdate(y, s.YSize);
            p.PumpPendingMessage();
        }
    }
    p.ProgressEnd();
    return p.ConsumeCancel() ? -1 : 0;
}

// A map whose cell is one palette index, indexOf(x, y), updating progress after every row.
template <class F>
int32_t DrawIndexRows(const Surface& s, Image& picture, Progress& p, const char* text, int32_t step,
                      F indexOf, int32_t updateEvery = 1) {
    std::vector<uint8_t> line(static_cast<size_t>(s.XSize));
    return DrawRows(s, p, text, step, updateEvery, [&](int32_t y) {
        for (int32_t x = 0; x < s.XSize; ++x)
            line[static_cast<size_t>(x)] = indexOf(x, y);
        picture.SetIndices(y, 0, line.data(), s.XSize);
    });
}

// A map computed from the neighbour normal of each cell.
template <class F>
int32_t DrawNormalRows(const Surface& s, Image& picture, Progress& p, const char* text,
                       F indexOfNormal) {
    const double heightScale = NeighbourHeightScale(s.Min, s.Max);
    return DrawIndexRows(s, picture, p, text, 7, [&](int32_t x, int32_t y) {
        return indexOfNormal(NeighbourNormal(s, x, y, heightScale));
    });
}

// The elevation angle of the normal as a part of a right angle, in single precision so that
// flat ground comes out as exactly 1.
float SlopeOf(const Normal& n) {
    const auto horizontal = static_cast<float>(std::sqrt(n.X * n.X + n.Y * n.Y));
    const float s = std::atan2(static_cast<float>(n.Z), horizontal) * 0.63661975f;
    return std::max(0.0f, s);
}

} // namespace

void InstallGreyPalette(Image& picture) {
    for (uint32_t i = 0; i < picture.Palette.size(); ++i)
        picture.Palette[i] =
            PackColor(static_cast<uint8_t>(i), static_cast<uint8_t>(i), static_cast<uint8_t>(i));
}

int32_t DrawHeightMap(Surface& s, Image& picture, Progress& p) {
    if (!s.HasGrid())
        return 0;
    if (s.FindMinMax(s.Min, s.Max, p) != 0)
        return -1;
    InstallGreyPalette(picture);
    const auto min = static_cast<float>(s.Min);
    const float k = s.Max == s.Min ? 0.0f : 255.0f / static_cast<float>(s.Max - s.Min);
    return DrawIndexRows(s, picture, p, "Calculating \"pure\" height map", 7,
                         [&](int32_t x, int32_t y) { return LowByte((s.Rows[y][x] - min) * k); });
}

int32_t DrawSlopeMap(const Surface& s, Image& picture, Progress& p, bool fullRange,
                     SlopeRange& range) {
    range = {};
    if (!s.HasGrid())
        return 0;
    InstallGreyPalette(picture);
    float smallest = 2.0f;
    float largest = -1.0f;
    const char* firstText = fullRange ? "Gathering slope information" : "Calculating slope map";
    const int32_t code = DrawNormalRows(s, picture, p, firstText, [&](const Normal& n) {
        const float slope = SlopeOf(n);
        smallest = std::min(smallest, slope);
        largest = std::max(largest, slope);
        return LowByte(255.0f * slope);
    });
    if (smallest <= largest)
        range = {smallest, largest};
    if (code != 0 || !fullRange)
        return code;
    // In double the top of the range comes out as exactly 255.
    const double low = range.Smallest;
    const double spread = range.Largest > range.Smallest ? range.Largest - low : 1.0;
    return DrawNormalRows(s, picture, p, "Calculating slope map", [&](const Normal& n) {
        return LowByte((SlopeOf(n) - low) * 255.0 / spread);
    });
}

int32_t DrawPhaseMap(const Surface& s, Image& picture, Progress& p) {
    if (!s.HasGrid())
        return 0;
    InstallGreyPalette(picture);
    return DrawNormalRows(s, picture, p, "Calculating phase map", [](const Normal& n) {
        const double theta = std::atan2(n.Y, n.X);
        return LowByte(255.0 * ((1.1 - theta) * 0.15915494 + 0.5));
    });
}

int32_t DrawQuiltMap(const Surface& s, Image& picture, Progress& p, double scale, double offset) {
    if (!s.HasGrid())
        return 0;
    InstallGreyPalette(picture);
    return DrawNormalRows(s, picture, p, "Calculating quilt map", [&](const Normal& n) {
        const double theta = std::atan2(n.Y, n.X);
        return LowByte(255.0 * (theta * (2.0 / std::numbers::pi) * scale + offset));
    });
}

int32_t DrawLightMap(const Surface& s, Image& picture, Progress& p, double azimuth,
                     double elevation) {
    if (!s.HasGrid())
        return 0;
    InstallGreyPalette(picture);
    const std::array<float, 3> light = LightVectorFor(azimuth, elevation);
    return DrawNormalRows(s, picture, p, "Calculating gray light map", [&](const Normal& n) {
        const double lit = n.X * light[0] + n.Y * light[1] + n.Z * light[2];
        return LowByte(255.0 * std::max(0.0, lit));
    });
}

int32_t DrawSeaMask(const Surface& s, Image& picture, Progress& p, double seaLevel, bool seaWhite) {
    if (!s.HasGrid())
        return 0;
    for (size_t i = 0; i < picture.Palette.size(); ++i)
        picture.Palette[i] = i < 128 ? PackColor(0, 0, 0) : PackColor(255, 255, 255);
    const uint8_t sea = seaWhite ? 235 : 0;
    const uint8_t land = seaWhite ? 0 : 235;
    return DrawIndexRows(
        s, picture, p, "Calculating Sea Mask", 9,
        [&](int32_t x, int32_t y) { return s.Rows[y][x] <= seaLevel ? sea : land; }, 8);
}

int32_t DrawNeighbourMap(const Surface& s, Image& picture, Progress& p) {
    if (!s.HasGrid())
        return 0;
    static constexpr std::array<PackedColor, 9> CodeColors{
        0x000000, 0x1F1F1F, 0x3F3F3F, 0x5F5F5F, 0x7F7F7F, 0x9F9F9F, 0xBFBFBF, 0xDFDFDF, 0xFFFFFF};
    // An 8-bit picture keeps the low byte of each colour as its index: the grey ramp makes it
    // show the same greys as a 24-bit one.
    InstallGreyPalette(picture);
    std::vector<uint8_t> codes(static_cast<size_t>(s.XSize));
    return DrawRows(s, p, FindingNeighborsText, 5, 1, [&](int32_t y) {
        NeighbourDirectionsOfRow(s, y, codes.data());
        for (int32_t x = 0; x < s.XSize; ++x)
            picture.SetPixel(x, y, CodeColors[codes[static_cast<size_t>(x)]]);
    });
}

void DrawColorRamp(Image& picture) {
    constexpr int32_t Lines = 25;
    constexpr int32_t Entries = 255;
    for (int32_t y = std::max(0, picture.Height() - Lines); y < picture.Height(); ++y)
        for (int32_t x = 0; x < Entries; ++x)
            picture.SetIndex(x, y, x);
}

} // namespace korvel
