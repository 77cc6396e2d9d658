#include "formats/world_builder.h"

#include "core/host.h"
#include "core/workspace.h"
#include "formats/bmp.h"
#include "formats/format_support.h"

#include <cmath>
#include <limits>

namespace korvel {

namespace {

constexpr int32_t MinimumRows = 4;

// The source fractions u (across) and v (down) of a longitude and latitude in degrees.
void DiamondFractions(double lon, double lat, double& u, double& v) {
    const double a = lat <= 0.0 ? lat * (-1.0 / 90.0) : lat / 90.0;
    const double c = 1.0 - a;
    double w = c;
    if (lon < -90.0) {
        u = a * 0.5;
        w = (lon + 180.0) / 90.0 * c;
    } else if (lon < 90.0) {
        u = (lon / 90.0 * c + 1.0) * 0.5;
    } else {
        u = (c + 1.0) * 0.5;
        w = (1.0 - (lon - 90.0) / 90.0) * c;
    }
    v = lat > 0.0 ? w * 0.5 : 1.0 - w * 0.5;
}

// GetPixel with row 0 at the top, inlined: it is read once for every pixel of a large world.
PackedColor SourcePixel(const Image& source, int32_t x, int32_t y) {
    if (x < 0 || y < 0 || x >= source.Width() || y >= source.Height())
        return 0;
    const uint8_t* p = source.Row(source.Height() - 1 - y);
    if (source.BitsPerPixel() == 8)
        return p[x];
    p += 3 * x;
    return PackColor(p[2], p[1], p[0]);
}

// Nearest palette entry by squared distance in red, green and blue.
uint8_t NearestIndex(const std::array<PackedColor, 256>& palette, PackedColor c) {
    int32_t best = 0;
    int64_t bestDistance = std::numeric_limits<int64_t>::max();
    for (int32_t i = 0; i < 256; ++i) {
        int64_t d = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            const int64_t e =
                static_cast<int64_t>((c >> shift) & 255) -
                static_cast<int64_t>((palette[static_cast<size_t>(i)] >> shift) & 255);
            d += e * e;
        }
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return static_cast<uint8_t>(best);
}

// Reads path as a bitmap with at least 4 rows; false with the message shown otherwise.
bool ReadMap(Workspace& ws, const std::string& path, Image& map) {
    if (ReadBmpImage(path, map, ws.TheProgress) != 0) {
        ws.TheHost.ShowMessage("Error reading BMP file");
        return false;
    }
    if (map.Height() < MinimumRows) {
        ws.TheHost.ShowMessage("Sorry, there appears to be no information in this file");
        return false;
    }
    return true;
}

// The climate colours into a fresh picture of the TextureMap's depth, north row at the top.
int32_t PaintClimate(Workspace& ws, const Image& climate, const WorkingImage& work,
                     DisplayPalette palette) {
    Surface& s = ws.TheSurface;
    const int32_t depth = s.Lighting.BitDepth == 8 ? 8 : 24;
    // Every pixel is written: the picture Resize made is used when it has the shape.
    Image& picture = s.Texture.AsIs();
    if (picture.Width() != s.XSize || picture.Height() != s.YSize ||
        picture.BitsPerPixel() != depth)
        if (s.Texture.Create(s.XSize, s.YSize, depth) != 0)
            return WorldBuilderOutOfMemory;
    const bool indexed = climate.BitsPerPixel() == 8;
    if (depth == 8)
        picture.Palette = palette(ws);
    // The 8-bit climate map has few colours: each is matched once.
    std::array<int16_t, 256> matched;
    matched.fill(-1);
    for (int32_t y = 0; y < s.YSize; ++y) {
        for (int32_t x = 0; x < s.XSize; ++x) {
            const PackedColor stored = work.At(x, s.YSize - 1 - y);
            const PackedColor colour = indexed ? climate.Palette[stored & 255] : stored;
            if (depth == 24) {
                PutBgr(picture.Row(y) + 3 * x, colour);
            } else if (indexed) {
                int16_t& index = matched[stored & 255];
                if (index < 0)
                    index = NearestIndex(picture.Palette, colour);
                picture.SetIndex(x, y, index);
            } else {
                picture.SetIndex(x, y, NearestIndex(picture.Palette, colour));
            }
        }
    }
    s.Texture.MarkFresh();
    return 0;
}

} // namespace

void ResampleDiamond(const Image& source, int32_t height, WorkingImage& work) {
    work.Width = (2 * height) & ~3;
    work.Height = height;
    // Every pixel is written: a buffer of the right size is reused as it is.
    work.Pixels.resize(static_cast<size_t>(work.Width) * static_cast<size_t>(height));
    const int32_t ws = source.Width();
    const int32_t hs = source.Height();
    for (int32_t y = 0; y < work.Height; ++y) {
        const double lat = 90.0 - y * 180.0 / (work.Height - 1);
        PackedColor* row = work.Pixels.data() + static_cast<size_t>(y) * work.Width;
        for (int32_t x = 0; x < work.Width; ++x) {
            const double lon = x * 360.0 / (work.Width - 1) - 180.0;
            double u = 0.0;
            double v = 0.0;
            DiamondFractions(lon, lat, u, v);
            const auto sx = static_cast<int32_t>((ws - 1) * u);
            const auto sy = static_cast<int32_t>((hs - 1) * v);
            row[x] = SourcePixel(source, sx, sy);
        }
    }
}

int32_t ImportWorldBuilder(Workspace& ws, const std::string& heightsPath,
                           const std::string& climatePath, DisplayPalette palette) {
    Image map;
    if (!ReadMap(ws, heightsPath, map))
        return WorldBuilderBadHeights;
    const int32_t h = map.Height();
    if (!SurfaceAcceptsSize(2 * h, h)) {
        ws.TheHost.ShowMessage("World Builder map \"" + heightsPath + "\" gives a Surface of " +
                               SizeText(2 * static_cast<int64_t>(h), h) +
                               ", which is too large (nothing was changed)");
        return WorldBuilderBadSize;
    }
    Surface& s = ws.TheSurface;
    if (s.Resize(2 * h, h, s.GetFlags()) != 0)
        return WorldBuilderOutOfMemory;
    s.SetEdges(-180.0, 180.0, 90.0, -90.0);
    WorkingImage work;
    ResampleDiamond(map, h, work);
    const bool indexed = map.BitsPerPixel() == 8;
    for (int32_t y = 0; y < h; ++y) {
        float* row = s.Rows[h - 1 - y];
        for (int32_t x = 0; x < s.XSize; ++x) {
            const PackedColor p = work.At(x, y);
            row[x] = static_cast<float>(indexed ? p : (p & 255));
        }
    }
    // Resize left the extremes at 0: scalings and the shading need those of the map.
    s.FindMinMax(s.Min, s.Max, ws.TheProgress);
    // Until a climate map replaces it, the picture shades the new heights rather than showing
    // the old Surface at another size.
    s.Texture.MarkStale();
    if (climatePath.empty())
        return 0;
    Image climate;
    if (!ReadMap(ws, climatePath, climate))
        return WorldBuilderBadClimate;
    ResampleDiamond(climate, h, work);
    return PaintClimate(ws, climate, work, palette);
}

} // namespace korvel
