#include "formats/geotiff.h"

#include "core/host.h"
#include "core/workspace.h"
#include "formats/format_support.h"
#include "formats/height_raster.h"
#include "formats/tiff_memory.h"

#include <geo_normalize.h>
#include <geotiffio.h>
#include <xtiffio.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace korvel {

namespace {

// Deflate's and LZW's best ratios are near a thousand to one and a few thousand to one: more
// samples than this from the bytes there are cannot be real data.
constexpr uint64_t MaxCompressionRatio = 4096;
constexpr int32_t ProgressStepPercent = 10;

constexpr StatusText ReadTexts[] = {
    {GeoTiffCannotOpen, "GeoTIFF file cannot be opened"},
    {GeoTiffCannotMap, "GeoTIFF file cannot be mapped"},
    {GeoTiffNotTiff, "not a TIFF file libtiff can read"},
    {GeoTiffUnsupported, "GeoTIFF file of a kind this version cannot read"},
    {GeoTiffTruncated, "GeoTIFF file is shorter than its size needs, or its data is corrupt"},
    {GeoTiffBadSize, "GeoTIFF file has a size the Surface cannot take"},
    {GeoTiffOutOfMemory, "out of memory for the Surface of the GeoTIFF file"},
};
constexpr StatusText WriteTexts[] = {
    {GeoTiffWriteCancelled, "cancelled"},
    {GeoTiffCannotCreate, "the GeoTIFF file cannot be created"},
    {GeoTiffWriteFailed, "the GeoTIFF file cannot be written"},
    {GeoTiffBadOptions, "tif.DataType must be 0 (Float32), 1 (Int16) or 2 (UInt16)"},
    {GeoTiffNoGrid, "the Surface has no grid to write"},
    {GeoTiffEncodeFailed, "libtiff cannot make the GeoTIFF file"},
};

struct GtifFreer {
    void operator()(GTIF* gtif) const { GTIFFree(gtif); }
};

// One sample of the kinds read, as a height.
struct SampleKind {
    uint16_t Format; // SAMPLEFORMAT_*
    uint16_t Bits;

    bool Known() const {
        switch (Format) {
        case SAMPLEFORMAT_UINT:
            return Bits == 8 || Bits == 16 || Bits == 32;
        case SAMPLEFORMAT_INT:
            return Bits == 16 || Bits == 32;
        case SAMPLEFORMAT_IEEEFP:
            return Bits == 32 || Bits == 64;
        default:
            return false;
        }
    }
    double At(const uint8_t* row, size_t x) const {
        const uint8_t* at = row + x * (Bits / 8);
        switch (Bits + 100 * Format) {
        case 8 + 100 * SAMPLEFORMAT_UINT:
            return *at;
        case 16 + 100 * SAMPLEFORMAT_UINT:
            return Load<uint16_t>(at);
        case 32 + 100 * SAMPLEFORMAT_UINT:
            return Load<uint32_t>(at);
        case 16 + 100 * SAMPLEFORMAT_INT:
            return Load<int16_t>(at);
        case 32 + 100 * SAMPLEFORMAT_INT:
            return Load<int32_t>(at);
        case 32 + 100 * SAMPLEFORMAT_IEEEFP:
            return Load<float>(at);
        default:
            return Load<double>(at);
        }
    }
    template <class T> static double Load(const uint8_t* at) {
        T value;
        std::memcpy(&value, at, sizeof value);
        return static_cast<double>(value);
    }
};

// The decoded samples, north row first, in rows of width; false with memory.FirstError set when a
// strip or tile cannot be read.
bool ReadSamples(TIFF* tif, uint32_t width, uint32_t height, SampleKind kind,
                 std::vector<uint8_t>& grid) {
    const size_t bytes = kind.Bits / 8;
    const size_t stride = size_t(width) * bytes;
    if (!TIFFIsTiled(tif)) {
        for (uint32_t row = 0; row < height; ++row)
            if (TIFFReadScanline(tif, grid.data() + row * stride, row, 0) < 0)
                return false;
        return true;
    }
    uint32_t tileWidth = 0;
    uint32_t tileHeight = 0;
    TIFFGetField(tif, TIFFTAG_TILEWIDTH, &tileWidth);
    TIFFGetField(tif, TIFFTAG_TILELENGTH, &tileHeight);
    const tmsize_t tileBytes = TIFFTileSize(tif);
    // Tiles reach past the image by less than a tile's rounding; writers use 256 for small images.
    const auto fits = [](uint32_t tile, uint32_t side) {
        return tile <= std::max<uint64_t>(256, (uint64_t(side) + 15) / 16 * 16);
    };
    if (tileWidth == 0 || tileHeight == 0 || tileBytes <= 0 || !fits(tileWidth, width) ||
        !fits(tileHeight, height) || uint64_t(tileBytes) < uint64_t(tileWidth) * tileHeight * bytes)
        return false;
    std::vector<uint8_t> tile(static_cast<size_t>(tileBytes));
    for (uint32_t ty = 0; ty < height; ty += tileHeight)
        for (uint32_t tx = 0; tx < width; tx += tileWidth) {
            if (TIFFReadTile(tif, tile.data(), tx, ty, 0, 0) < 0)
                return false;
            const uint32_t rows = std::min(tileHeight, height - ty);
            const size_t columns = std::min(tileWidth, width - tx);
            for (uint32_t r = 0; r < rows; ++r)
                std::memcpy(grid.data() + (ty + r) * stride + tx * bytes,
                            tile.data() + size_t(r) * tileWidth * bytes, columns * bytes);
        }
    return true;
}

// Sets the edges from the tie point and pixel scale, when the file has them; notes what the
// person should know about the georeferencing.
void ReadGeoreferencing(TIFF* tif, Surface& s, std::vector<std::string>& notes,
                        const std::string& name) {
    uint16_t count = 0;
    double* tie = nullptr;
    double* scale = nullptr;
    uint16_t scaleCount = 0;
    if (!TIFFGetField(tif, TIFFTAG_GEOTIEPOINTS, &count, &tie) || count < 6 ||
        !TIFFGetField(tif, TIFFTAG_GEOPIXELSCALE, &scaleCount, &scale) || scaleCount < 2 ||
        !(scale[0] > 0) || !(scale[1] > 0)) {
        notes.push_back(FileNameOf(name) +
                        ": no tie point and pixel scale; the edges are left as they were");
        return;
    }
    std::unique_ptr<GTIF, GtifFreer> gtif(GTIFNew(tif));
    unsigned short model = ModelTypeGeographic;
    unsigned short raster = RasterPixelIsArea;
    if (gtif) {
        GTIFKeyGetSHORT(gtif.get(), GTModelTypeGeoKey, &model, 0, 1);
        GTIFKeyGetSHORT(gtif.get(), GTRasterTypeGeoKey, &raster, 0, 1);
    }
    double west = tie[3] - tie[0] * scale[0];
    double north = tie[4] + tie[1] * scale[1];
    // A point sample stands at the centre of the cell the Surface gives it.
    if (raster == RasterPixelIsPoint) {
        west -= scale[0] / 2;
        north += scale[1] / 2;
    }
    SetOutline(s, west, north, scale[0], scale[1]);
    if (model == ModelTypeProjected) {
        unsigned short epsg = 0;
        if (gtif)
            GTIFKeyGetSHORT(gtif.get(), ProjectedCSTypeGeoKey, &epsg, 0, 1);
        notes.push_back(FileNameOf(name) + ": projected (EPSG " + std::to_string(epsg) +
                        "): the edges are its plane coordinates, not longitude and latitude");
    }
}

} // namespace

const StatusTable GeoTiffReadTexts{"GeoTIFF reading", ReadTexts};
const StatusTable GeoTiffWriteTexts{"GeoTIFF writing", WriteTexts};

int32_t ReadGeoTiffBuffer(const uint8_t* data, size_t size, Workspace& ws, const std::string& name,
                          std::string* reason) {
    TiffMemory memory;
    memory.Data = data;
    memory.Size = data ? size : 0;
    const TiffHandle tif = OpenTiffInMemory(memory, "r");
    if (!tif)
        return Refuse(reason, GeoTiffReadTexts, GeoTiffNotTiff, memory.FirstError);
    uint32_t width = 0;
    uint32_t height = 0;
    uint16_t bands = 1;
    uint16_t planar = PLANARCONFIG_CONTIG;
    SampleKind kind{SAMPLEFORMAT_UINT, 1};
    TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tif.get(), TIFFTAG_IMAGELENGTH, &height);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_SAMPLESPERPIXEL, &bands);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_BITSPERSAMPLE, &kind.Bits);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_SAMPLEFORMAT, &kind.Format);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_PLANARCONFIG, &planar);
    if (bands != 1 || !kind.Known())
        return Refuse(reason, GeoTiffReadTexts, GeoTiffUnsupported,
                      std::to_string(bands) + " bands of " + std::to_string(kind.Bits) +
                          "-bit samples of format " + std::to_string(kind.Format));
    if (!SurfaceAcceptsSize(static_cast<int32_t>(std::min<uint32_t>(width, INT32_MAX)),
                            static_cast<int32_t>(std::min<uint32_t>(height, INT32_MAX))))
        return Refuse(reason, GeoTiffReadTexts, GeoTiffBadSize, SizeText(width, height));
    const uint64_t gridBytes = uint64_t(width) * height * (kind.Bits / 8);
    if (gridBytes > MaxCompressionRatio * size)
        return Refuse(reason, GeoTiffReadTexts, GeoTiffTruncated,
                      SizeText(width, height) + " from " + GroupedNumber(size) + " bytes");
    std::vector<uint8_t> grid;
    try {
        grid.resize(gridBytes);
    } catch (const std::bad_alloc&) {
        return Refuse(reason, GeoTiffReadTexts, GeoTiffOutOfMemory);
    }
    if (!ReadSamples(tif.get(), width, height, kind, grid))
        return Refuse(reason, GeoTiffReadTexts, GeoTiffTruncated,
                      memory.FirstError.empty() ? "a strip or tile cannot be read"
                                                : memory.FirstError);

    double noData = std::numeric_limits<double>::quiet_NaN();
    if (char* text = nullptr; TIFFGetField(tif.get(), TIFFTAG_GDAL_NODATA, &text) && text)
        noData = std::strtod(text, nullptr);
    Surface& s = ws.TheSurface;
    if (s.Resize(static_cast<int32_t>(width), static_cast<int32_t>(height), -1) != 0)
        return Refuse(reason, GeoTiffReadTexts, GeoTiffOutOfMemory);
    const size_t stride = size_t(width) * (kind.Bits / 8);
    for (uint32_t row = 0; row < height; ++row) {
        float* out = RowOfFileRow(s, static_cast<int32_t>(row), false);
        const uint8_t* in = grid.data() + row * stride;
        if (kind.Format == SAMPLEFORMAT_IEEEFP && kind.Bits == 32 && std::isnan(noData)) {
            std::memcpy(out, in, size_t(s.XSize) * sizeof(float));
            continue;
        }
        for (int32_t x = 0; x < s.XSize; ++x) {
            const double value = kind.At(in, size_t(x));
            out[x] = value == noData ? std::numeric_limits<float>::quiet_NaN()
                                     : static_cast<float>(value);
        }
    }
    ReadGeoreferencing(tif.get(), s, ws.FileNotes, name);
    NoteWidthCut(ws.FileNotes, name, static_cast<int32_t>(width));
    FinishHeights(s, ws.TheProgress, ws.FileNotes, name);
    return 0;
}

int32_t ReadGeoTiffFile(const std::string& path, Workspace& ws, std::string* reason) {
    return ReadMappedFile(
        path, reason,
        [&](const uint8_t* data, size_t size) {
            return ReadGeoTiffBuffer(data, size, ws, path, reason);
        },
        GeoTiffCannotOpen, GeoTiffCannotMap);
}

namespace {

struct WriteKind {
    uint16_t Format;
    uint16_t Bits;
    const char* NoData;
};

bool WriteTags(TIFF* tif, const Surface& s, const WriteKind& kind) {
    const double tie[6] = {0, 0, 0, s.Left, s.Top, 0};
    const double scale[3] = {CellWidth(s), CellHeight(s), 0};
    bool ok = TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, uint32_t(s.XSize)) &&
              TIFFSetField(tif, TIFFTAG_IMAGELENGTH, uint32_t(s.YSize)) &&
              TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, uint16_t(1)) &&
              TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, kind.Bits) &&
              TIFFSetField(tif, TIFFTAG_SAMPLEFORMAT, kind.Format) &&
              TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK) &&
              TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) &&
              TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_NONE) &&
              // The size of a row is known from here on.
              TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tif, 0)) &&
              TIFFSetField(tif, TIFFTAG_GEOTIEPOINTS, 6, tie) &&
              TIFFSetField(tif, TIFFTAG_GEOPIXELSCALE, 3, scale) &&
              TIFFSetField(tif, TIFFTAG_GDAL_NODATA, kind.NoData);
    std::unique_ptr<GTIF, GtifFreer> gtif(GTIFNew(tif));
    ok = ok && gtif &&
         GTIFKeySet(gtif.get(), GTModelTypeGeoKey, TYPE_SHORT, 1, ModelTypeGeographic) &&
         GTIFKeySet(gtif.get(), GTRasterTypeGeoKey, TYPE_SHORT, 1, RasterPixelIsArea) &&
         GTIFKeySet(gtif.get(), GeographicTypeGeoKey, TYPE_SHORT, 1, GCS_WGS_84) &&
         GTIFKeySet(gtif.get(), GeogAngularUnitsGeoKey, TYPE_SHORT, 1, Angular_Degree) &&
         GTIFWriteKeys(gtif.get());
    return ok;
}

} // namespace

int32_t WriteGeoTiffFile(const std::string& path, Workspace& ws, std::string* reason) {
    const Surface& s = ws.TheSurface;
    if (!s.HasGrid())
        return Refuse(reason, GeoTiffWriteTexts, GeoTiffNoGrid);
    if (!ws.TheHost.EditParameters("tif", "GeoTIFF Save Parameters", ws))
        return Refuse(reason, GeoTiffWriteTexts, GeoTiffWriteCancelled);
    const int32_t dataType = ws.RasterSave.TiffDataType;
    if (dataType < 0 || dataType > 2)
        return Refuse(reason, GeoTiffWriteTexts, GeoTiffBadOptions,
                      "it is " + std::to_string(dataType));
    static constexpr WriteKind kinds[] = {{SAMPLEFORMAT_IEEEFP, 32, "nan"},
                                          {SAMPLEFORMAT_INT, 16, "-32768"},
                                          {SAMPLEFORMAT_UINT, 16, "65535"}};
    const WriteKind& kind = kinds[dataType];
    // Whole units: Int16 keeps -32768 and UInt16 65535 free for no-data.
    Quantizer quantizer(dataType == 1 ? -32767 : 0, dataType == 1 ? 32767 : 65534, 65534, 16);
    const int32_t offset = dataType == 1 ? -32767 : 0;

    // Room for the samples and the tags from the start: growing by doubling would copy them over
    // and over.
    std::vector<uint8_t> encoded;
    encoded.reserve(size_t(s.XSize) * size_t(s.YSize) * (kind.Bits / 8) + 65536);
    TiffMemory memory;
    memory.Out = &encoded;
    {
        const TiffHandle tif = OpenTiffInMemory(memory, "w");
        if (!tif || !WriteTags(tif.get(), s, kind))
            return Refuse(reason, GeoTiffWriteTexts, GeoTiffEncodeFailed, memory.FirstError);
        std::vector<uint8_t> line(size_t(s.XSize) * (kind.Bits / 8));
        Progress& progress = ws.TheProgress;
        progress.ProgressBegin("Writing GeoTIFF file " + path, ProgressStepPercent);
        bool ok = true;
        for (int32_t row = 0; ok && row < s.YSize && !progress.CancelRequested(); ++row) {
            const float* heights = RowOfFileRow(s, row, false);
            for (int32_t x = 0; ok && x < s.XSize && dataType != 0; ++x) {
                const bool gap = !std::isfinite(heights[x]);
                const auto value =
                    static_cast<uint16_t>(gap ? (dataType == 1 ? 0x8000 : 0xFFFF)
                                              : int32_t(quantizer.Encode(heights[x])) + offset);
                std::memcpy(line.data() + 2 * size_t(x), &value, 2);
            }
            const void* samples = dataType == 0 ? static_cast<const void*>(heights) : line.data();
            ok = TIFFWriteScanline(tif.get(), const_cast<void*>(samples), uint32_t(row), 0) == 1;
            progress.ProgressUpdate(row, s.YSize);
            progress.PumpPendingMessage();
        }
        progress.ProgressEnd();
        if (progress.ConsumeCancel())
            return Refuse(reason, GeoTiffWriteTexts, GeoTiffWriteCancelled);
        if (!ok || !TIFFWriteDirectory(tif.get()))
            return Refuse(reason, GeoTiffWriteTexts, GeoTiffEncodeFailed, memory.FirstError);
    }
    AtomicFile file(path);
    if (!file.Open())
        return FileFailure(file, GeoTiffCannotCreate, reason);
    if (!file.Write(encoded.data(), encoded.size()) || !file.Commit())
        return FileFailure(file, GeoTiffWriteFailed, reason);
    if (dataType != 0)
        ws.FileNotes.push_back(quantizer.Report(path));
    return 0;
}

} // namespace korvel
