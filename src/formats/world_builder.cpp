#include "formats/world_builder.h"

#include "core/file_map.h"
#include "core/host.h"
#include "core/parallel.h"
#include "core/workspace.h"
#include "formats/bmp.h"
#include "formats/format_support.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

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

// A map's pixel with row 0 at the top: the packed colour of a 24-bit map, the palette index of an
// 8-bit one; 0 outside.
PackedColor SourcePixel(const BmpPixels& source, int32_t x, int32_t y) {
    if (x < 0 || y < 0 || x >= source.Width || y >= source.Height)
        return 0;
    const uint8_t* p = source.Row(source.Height - 1 - y);
    if (source.Bits == 8)
        return p[x];
    p += 3 * x;
    return PackColor(p[2], p[1], p[0]);
}

// Rows handed to a thread at a time.
constexpr int32_t RowsPerBlock = 64;

// Row y (0 at the top) of the working picture, 2 x height by height with its width rounded down to
// a multiple of 4, for columns 0 .. count - 1: each pixel the source's that the diamond puts at
// its longitude and latitude; columns past the working width are 0.
void ResampleDiamondRow(const BmpPixels& source, int32_t height, int32_t y, int32_t count,
                        PackedColor* row) {
    const int32_t width = (2 * height) & ~3;
    const double lat = 90.0 - y * 180.0 / (height - 1);
    for (int32_t x = 0; x < count; ++x) {
        if (x >= width) {
            row[x] = 0;
            continue;
        }
        const double lon = x * 360.0 / (width - 1) - 180.0;
        double u = 0.0;
        double v = 0.0;
        DiamondFractions(lon, lat, u, v);
        const auto sx = static_cast<int32_t>((source.Width - 1) * u);
        const auto sy = static_cast<int32_t>((source.Height - 1) * v);
        row[x] = SourcePixel(source, sx, sy);
    }
}

// Runs rows(y0, y1, scratch) over blocks of the rows 0 .. height - 1 on the worker threads, with
// a row of width packed colours to resample into.
template <class F> void ForEachRowBlock(int32_t height, int32_t width, F rows) {
    const int32_t blocks = (height + RowsPerBlock - 1) / RowsPerBlock;
    ForEachIndex(blocks, WorkerThreads(0), [&](int32_t b) {
        std::vector<PackedColor> scratch(static_cast<size_t>(width));
        const int32_t y0 = b * RowsPerBlock;
        rows(y0, std::min(height, y0 + RowsPerBlock), scratch.data());
    });
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

// Opens path as a bitmap with at least 4 rows, read where it lies; false with the message shown
// otherwise.
bool OpenMap(Workspace& ws, const std::string& path, MappedFile& file, BmpPixels& map) {
    if (file.Open(path) != MappedFile::Status::Ok ||
        ViewBmpPixels(file.Data(), file.Size(), map) != 0) {
        ws.TheHost.ShowMessage("Error reading BMP file");
        return false;
    }
    if (map.Height < MinimumRows) {
        ws.TheHost.ShowMessage("Sorry, there appears to be no information in this file");
        return false;
    }
    return true;
}

// The climate colours into a fresh picture of the TextureMap's depth, north row at the top.
int32_t PaintClimate(Workspace& ws, const BmpPixels& climate, DisplayPalette palette) {
    Surface& s = ws.TheSurface;
    const int32_t depth = s.Lighting.BitDepth == 8 ? 8 : 24;
    // Every pixel is written: the picture Resize made is used when it has the shape.
    Image& picture = s.Texture.AsIs();
    if (picture.Width() != s.XSize || picture.Height() != s.YSize ||
        picture.BitsPerPixel() != depth)
        if (s.Texture.Create(s.XSize, s.YSize, depth) != 0)
            return WorldBuilderOutOfMemory;
    const bool indexed = climate.Bits == 8;
    if (depth == 8)
        picture.Palette = palette(ws);
    // The 8-bit climate map has few colours: each is matched once, before the rows share them.
    std::array<uint8_t, 256> matched{};
    if (depth == 8 && indexed)
        for (size_t i = 0; i < 256; ++i)
            matched[i] = NearestIndex(picture.Palette, climate.Palette[i]);
    ForEachRowBlock(s.YSize, s.XSize, [&](int32_t y0, int32_t y1, PackedColor* work) {
        for (int32_t y = y0; y < y1; ++y) {
            ResampleDiamondRow(climate, s.YSize, s.YSize - 1 - y, s.XSize, work);
            uint8_t* out = picture.Row(y);
            for (int32_t x = 0; x < s.XSize; ++x) {
                const PackedColor stored = work[x];
                if (depth == 24)
                    PutBgr(out + 3 * x, indexed ? climate.Palette[stored & 255] : stored);
                else
                    out[x] =
                        indexed ? matched[stored & 255] : NearestIndex(picture.Palette, stored);
            }
        }
    });
    s.Texture.MarkFresh();
    return 0;
}

} // namespace

int32_t ImportWorldBuilder(Workspace& ws, const std::string& heightsPath,
                           const std::string& climatePath, DisplayPalette palette) {
    MappedFile heightsFile;
    BmpPixels map;
    if (!OpenMap(ws, heightsPath, heightsFile, map))
        return WorldBuilderBadHeights;
    const int32_t h = map.Height;
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
    const bool indexed = map.Bits == 8;
    // Straight into the Surface's rows, north row of the working picture at the top.
    ForEachRowBlock(h, s.XSize, [&](int32_t y0, int32_t y1, PackedColor* work) {
        for (int32_t y = y0; y < y1; ++y) {
            ResampleDiamondRow(map, h, y, s.XSize, work);
            float* row = s.Rows[h - 1 - y];
            for (int32_t x = 0; x < s.XSize; ++x)
                row[x] = static_cast<float>(indexed ? work[x] : (work[x] & 255));
        }
    });
    heightsFile.Close();
    // Resize left the extremes at 0: scalings and the shading need those of the map.
    s.FindMinMax(s.Min, s.Max, ws.TheProgress);
    // Until a climate map replaces it, the picture shades the new heights rather than showing
    // the old Surface at another size.
    s.Texture.MarkStale();
    if (climatePath.empty())
        return 0;
    MappedFile climateFile;
    BmpPixels climate;
    if (!OpenMap(ws, climatePath, climateFile, climate))
        return WorldBuilderBadClimate;
    return PaintClimate(ws, climate, palette);
}

} // namespace korvel
