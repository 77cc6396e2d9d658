#include "formats/muse_dted.h"

#include "core/extremes.h"
#include "core/workspace.h"
#include "formats/format_support.h"
#include "formats/height_raster.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace korvel {

namespace {

constexpr int32_t ProgressStepPercent = 10;
constexpr int32_t MostSamples = 65535;
constexpr int32_t Magic = 80000000;
constexpr int16_t ProjectionGraph = 7;
constexpr int16_t DatumWgs84 = 1;
constexpr int16_t DatumMeanSeaLevel = 2;
constexpr int16_t TypeSigned16 = 4;
constexpr int16_t KindData = 2;

constexpr StatusText ReadTexts[] = {
    {MuseCancelled, "cancelled"},
    {MuseCannotOpen, "OPEN: the MUSE DTED file cannot be opened"},
    {MuseCannotMap, "OPEN: the MUSE DTED file cannot be mapped"},
    {MuseShortHeader, "READ HEADER: the file is shorter than the 1,024-byte MUSE DTED header"},
    {MuseBadSize, "SIZE PROBLEM: the width or height is not in 1..65535, or the window is "
                  "outside the grid"},
    {MuseShortRows, "READ: the file is shorter than its header promises"},
    {MuseOutOfMemory, "LINE ALLOC: out of memory for the Surface of the MUSE DTED file"},
};
constexpr StatusText WriteTexts[] = {
    {MuseWriteCancelled, "cancelled"},
    {MuseCannotCreate, "the MUSE DTED file cannot be created"},
    {MuseHeaderFailed, "the MUSE DTED header cannot be written"},
    {MuseLineFailed, "a row of the MUSE DTED file cannot be written"},
    {MuseNoGrid, "the Surface has no grid to write"},
    {MuseTooLarge, "a MUSE DTED file holds at most 65535 x 65535 samples"},
};

// Header offsets.
enum : size_t {
    AtMachine = 0,
    AtMagic = 2,
    AtSource = 6,
    AtHUnits = 36,
    AtVUnits = 38,
    AtHRes = 40,
    AtVRes = 48,
    AtProjection = 56,
    AtCenLon = 58,
    AtCenLat = 66,
    AtLeft = 74,
    AtRight = 82,
    AtBottom = 90,
    AtTop = 98,
    AtHDatum = 106,
    AtVDatum = 108,
    AtAbsHAcc = 110,
    AtDate = 142,
    AtZoom = 160,
    AtMin = 168,
    AtMax = 176,
    AtWidth = 184,
    AtHeight = 188,
    AtBpp = 192,
    AtRowSize = 196,
    AtRowSize2 = 200,
    AtNumberType = 204,
    AtData = 206,
    AtPalette = 208,
    AtLut = 212,
    AtDirectory = 512,
};

std::array<uint8_t, MuseHeaderBytes> MakeHeader(const Surface& s) {
    std::array<uint8_t, MuseHeaderBytes> h{};
    PutU32(h.data() + AtMagic, Magic);
    std::memcpy(h.data() + AtSource, "KORVEL", 6);
    PutF64(h.data() + AtHRes, s.XRes);
    PutF64(h.data() + AtVRes, s.YRes);
    PutU16(h.data() + AtProjection, ProjectionGraph);
    PutF64(h.data() + AtCenLon, (s.Left + s.Right) / 2);
    PutF64(h.data() + AtCenLat, (s.Bottom + s.Top) / 2);
    PutF64(h.data() + AtLeft, s.Left);
    PutF64(h.data() + AtRight, s.Right);
    PutF64(h.data() + AtBottom, s.Bottom);
    PutF64(h.data() + AtTop, s.Top);
    PutU16(h.data() + AtHDatum, DatumWgs84);
    PutU16(h.data() + AtVDatum, DatumMeanSeaLevel);
    PutF64(h.data() + AtZoom, 1.0);
    PutF64(h.data() + AtMin, s.Min);
    PutF64(h.data() + AtMax, s.Max);
    PutU32(h.data() + AtWidth, uint32_t(s.XSize));
    PutU32(h.data() + AtHeight, uint32_t(s.YSize));
    PutU32(h.data() + AtBpp, 16);
    PutU32(h.data() + AtRowSize, uint32_t(s.XSize) * 2);
    PutU32(h.data() + AtRowSize2, uint32_t(s.XSize) * 2);
    PutU16(h.data() + AtNumberType, TypeSigned16);
    PutU16(h.data() + AtData, KindData);
    std::memcpy(h.data() + AtDirectory, "CMapCompressedX", 15);
    const std::pair<const char*, uint8_t> sections[] = {
        {"ELEV", 16}, {"IMAG", 8}, {"MASK", 1}, {"WMAP", 1}};
    size_t at = AtDirectory + 16;
    for (const auto& [name, bits] : sections) {
        std::memcpy(h.data() + at, name, 4);
        h[at + 12] = bits;
        at += 16;
    }
    return h;
}

// The name of code in names, or "UNKNOWN".
template <size_t N> const char* CodeName(int32_t code, const char* const (&names)[N]) {
    return code >= 0 && size_t(code) < N ? names[code] : "UNKNOWN";
}

constexpr const char* UnitNames[] = {"DD     decimal degrees (STANDARD)",
                                     "DMS    deg, min, secs",
                                     "GEOREF geo referenced meters",
                                     "MGRS   MGRS meters",
                                     "MIN    minutes",
                                     "SEC    seconds",
                                     "UTM    UTM meters"};
constexpr const char* ProjectionNames[] = {"UNDEFINED undefined",
                                           "LAMBERT1  Lambert",
                                           "LAMBERT2  Lambert",
                                           "LINEAR    Linear, equal x,y",
                                           "MERCATOR  Mercator",
                                           "UPS       UPS",
                                           "UTM       UTM",
                                           "GRAPH     Non equal x, y (STANDARD)",
                                           "POLAR     Polar Ster., ADRG Polar",
                                           "ARC       ARC",
                                           "TS        TS"};
constexpr const char* HDatumNames[] = {"undefined", "HD_WGS84 WGS 84 (STANDARD)", "HD_WGS72 WGS 72",
                                       "HD_NAD27 NAD 27"};
constexpr const char* VDatumNames[] = {"undefined", "VD_ELIPSOID ellipsoid",
                                       "VD_MSL      mean sea level (STANDARD)"};
constexpr const char* TypeNames[] = {"ONEBIT     binary data (0 or 1)",
                                     "UINT_4BIT  unsigned 4 bit data (0 -> 15)",
                                     "SINT_8BIT  signed 8 bit data (-128 -> 127)",
                                     "UINT_8BIT  unsigned 8 bit data (0 -> 255)",
                                     "SINT_16BIT signed 16 bit (-32768 -> 32767)",
                                     "UINT_16BIT unsigned 16 bit ( 0 -> 64K)",
                                     "DTED_16BIT Univac signed magnitude",
                                     "RGB_24BIT  RGB (0 -> 255) pixel interleave",
                                     "RGB_48BIT  RGB (0 -> 65535) pix interleave",
                                     "SINT_32BIT signed 32 bit",
                                     "UINT_32BIT unsigned 32 bit",
                                     "IEEE_32BIT same as float",
                                     "IEEE_64BIT same as double"};
constexpr const char* DataNames[] = {
    "COLOR_INDIRECT color index numbers", "COLOR_RGB      24 bit rgb values",
    "DATA           non-color data values", "GRAY_SCALE     gray scale values"};

} // namespace

const StatusTable MuseReadTexts{"MUSE DTED reading", ReadTexts};
const StatusTable MuseWriteTexts{"MUSE DTED writing", WriteTexts};

const char* MuseWriteStep(int32_t code) {
    switch (code) {
    case MuseCannotCreate:
        return "OPEN";
    case MuseHeaderFailed:
        return "WRITE HEADER";
    case MuseLineFailed:
        return "WRITE LINE";
    case MuseWriteCancelled:
        return "CANCELLED";
    default:
        return "ALLOC HEADER";
    }
}

int32_t ReadMuseDtedBuffer(const uint8_t* data, size_t size, const MuseSettings& window,
                           Workspace& ws, const std::string& name, std::string* reason) {
    if (!data || size < MuseHeaderBytes)
        return Refuse(reason, MuseReadTexts, MuseShortHeader,
                      BytesText(data ? size : 0, MuseHeaderBytes));
    const int64_t fileWidth = GetI32(data + AtWidth);
    const int64_t fileHeight = GetI32(data + AtHeight);
    if (fileWidth < 1 || fileWidth > MostSamples || fileHeight < 1 || fileHeight > MostSamples)
        return Refuse(reason, MuseReadTexts, MuseBadSize, SizeText(fileWidth, fileHeight));
    const int64_t skipX = window.SkipX;
    const int64_t skipY = window.SkipY;
    if (skipX < 0 || skipY < 0 || skipX >= fileWidth || skipY >= fileHeight)
        return Refuse(reason, MuseReadTexts, MuseBadSize,
                      "skipping " + SizeText(skipX, skipY) + " of " +
                          SizeText(fileWidth, fileHeight));
    const int64_t width =
        std::min<int64_t>(window.XSize > 0 ? window.XSize : fileWidth, fileWidth - skipX);
    const int64_t height =
        std::min<int64_t>(window.YSize > 0 ? window.YSize : fileHeight, fileHeight - skipY);
    if (!SurfaceAcceptsSize(int32_t(width), int32_t(height)))
        return Refuse(reason, MuseReadTexts, MuseBadSize, SizeText(width, height));
    const uint64_t rowBytes = uint64_t(fileWidth) * 2;
    const uint64_t need = MuseHeaderBytes + uint64_t(skipY + height) * rowBytes;
    if (size < need)
        return Refuse(reason, MuseReadTexts, MuseShortRows, BytesText(size, need));
    Surface& s = ws.TheSurface;
    if (s.Resize(int32_t(width), int32_t(height), -1) != 0)
        return Refuse(reason, MuseReadTexts, MuseOutOfMemory);
    Progress& progress = ws.TheProgress;
    progress.ProgressBegin("Reading MUSE format DTED file", ProgressStepPercent);
    Extremes e;
    int32_t y = 0;
    for (; y < s.YSize && !progress.CancelRequested(); ++y) {
        const uint8_t* in = data + MuseHeaderBytes + uint64_t(skipY + y) * rowBytes + skipX * 2;
        float* out = s.Rows[y];
        for (int32_t x = 0; x < s.XSize; ++x)
            out[x] = GetI16(in + 2 * x);
        e.AddRow(out, s.XSize);
        progress.ProgressUpdate(y, s.YSize);
        progress.PumpPendingMessage();
    }
    progress.ProgressEnd();
    if (progress.ConsumeCancel()) {
        ZeroRowsFrom(s, y);
        return Refuse(reason, MuseReadTexts, MuseCancelled);
    }
    s.XRes = GetF64(data + AtHRes);
    s.YRes = GetF64(data + AtVRes);
    s.Left = GetF64(data + AtLeft) + double(skipX) * s.XRes;
    s.Bottom = GetF64(data + AtBottom) + double(skipY) * s.YRes;
    // The whole grid keeps the header's edges; a window reaches to its last sample.
    s.Right = s.XSize == fileWidth && skipX == 0 ? GetF64(data + AtRight)
                                                 : s.Left + (s.XSize - 1) * s.XRes;
    s.Top = s.YSize == fileHeight && skipY == 0 ? GetF64(data + AtTop)
                                                : s.Bottom + (s.YSize - 1) * s.YRes;
    e.StoreIn(s);
    NoteWidthCut(ws.FileNotes, name, int32_t(width));
    return 0;
}

int32_t ReadMuseDtedFile(const std::string& path, Workspace& ws, std::string* reason) {
    const int32_t code = ReadMappedFile(
        path, reason,
        [&](const uint8_t* data, size_t size) {
            return ReadMuseDtedBuffer(data, size, ws.Muse, ws, path, reason);
        },
        MuseCannotOpen, MuseCannotMap);
    if (code == 0)
        ws.CurrentFile = path;
    return code;
}

int32_t WriteMuseDtedFile(const std::string& path, Workspace& ws, std::string* reason) {
    const Surface& s = ws.TheSurface;
    if (!s.HasGrid())
        return Refuse(reason, MuseWriteTexts, MuseNoGrid);
    if (s.XSize > MostSamples || s.YSize > MostSamples)
        return Refuse(reason, MuseWriteTexts, MuseTooLarge, SizeText(s.XSize, s.YSize));
    AtomicFile file(path);
    if (!file.Open())
        return FileFailure(file, MuseCannotCreate, reason);
    const auto header = MakeHeader(s);
    if (!file.Write(header.data(), header.size()))
        return FileFailure(file, MuseHeaderFailed, reason);
    std::vector<uint8_t> line(size_t(s.XSize) * 2);
    Progress& progress = ws.TheProgress;
    progress.ProgressBegin("Writing MUSE format DTED file", ProgressStepPercent);
    bool ok = true;
    for (int32_t y = 0; ok && y < s.YSize && !progress.CancelRequested(); ++y) {
        for (int32_t x = 0; x < s.XSize; ++x)
            PutU16(line.data() + 2 * x, uint16_t(ShortOfHeight(s.Rows[y][x])));
        ok = file.Write(line.data(), line.size());
        progress.ProgressUpdate(y, s.YSize);
        progress.PumpPendingMessage();
    }
    return FinishWrite(file, ok, progress, MuseWriteCancelled, MuseLineFailed, reason);
}

std::string DescribeMuseHeader(const uint8_t* h) {
    std::string text;
    char line[256];
    auto integer = [&](const char* field, size_t at) {
        std::snprintf(line, sizeof line, "%s:\t%d\r\n", field, int(GetI16(h + at)));
        text += line;
    };
    auto wide = [&](const char* field, size_t at) {
        std::snprintf(line, sizeof line, "%s:\t%ld\r\n", field, long(GetI32(h + at)));
        text += line;
    };
    auto real = [&](const char* field, size_t at) {
        std::snprintf(line, sizeof line, "%s:\t%f\r\n", field, GetF64(h + at));
        text += line;
    };
    auto chars = [&](const char* field, size_t at, size_t width) {
        std::string value(reinterpret_cast<const char*>(h + at), width);
        value.resize(std::strlen(value.c_str()));
        std::snprintf(line, sizeof line, "%s:\t%s\r\n", field, value.c_str());
        text += line;
    };
    auto code = [&](const char* field, size_t at, auto& names) {
        const int32_t value = GetI16(h + at);
        std::snprintf(line, sizeof line, "%s:\t%d (%s)\r\n", field, int(value),
                      CodeName(value, names));
        text += line;
    };
    integer("Machine", AtMachine);
    wide("Magic", AtMagic);
    chars("Source", AtSource, 30);
    code("H Units", AtHUnits, UnitNames);
    code("V Units", AtVUnits, UnitNames);
    real("H Res", AtHRes);
    real("V Res", AtVRes);
    code("Map Proj", AtProjection, ProjectionNames);
    real("Cen Lon", AtCenLon);
    real("Cen Lat", AtCenLat);
    real("Left", AtLeft);
    real("Right", AtRight);
    real("Bottom", AtBottom);
    real("Top", AtTop);
    code("H Datum", AtHDatum, HDatumNames);
    code("V Datum", AtVDatum, VDatumNames);
    const char* accuracies[] = {"AbsHAcc", "RelHAcc", "AbsVAcc", "RelVAcc"};
    for (size_t i = 0; i < 4; ++i)
        real(accuracies[i], AtAbsHAcc + 8 * i);
    const char* dateParts[] = {"Year", "Month", "Day", "Hour", "Minute", "Second"};
    for (size_t i = 0; i < 6; ++i)
        chars(dateParts[i], AtDate + 3 * i, 3);
    real("Zoom", AtZoom);
    real("Min", AtMin);
    real("Max", AtMax);
    wide("Width", AtWidth);
    wide("Height", AtHeight);
    wide("bpp", AtBpp);
    wide("rowsize", AtRowSize);
    wide("rowsize", AtRowSize2);
    code("# Type", AtNumberType, TypeNames);
    code("Data", AtData, DataNames);
    wide("Palette", AtPalette);
    wide("LUT", AtLut);
    return text;
}

} // namespace korvel
