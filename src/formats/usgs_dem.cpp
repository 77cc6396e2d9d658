#include "formats/usgs_dem.h"

#include "core/workspace.h"
#include "formats/fixed_columns.h"
#include "formats/format_support.h"
#include "formats/height_raster.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>

namespace korvel {

namespace {

constexpr size_t RecordBytes = 1024;
constexpr size_t ProfileHeaderBytes = 144;
constexpr size_t ElevationWidth = 6;
// 146 elevations fill the first record of a profile after its header, 170 every later one.
constexpr int64_t FirstRecordElevations = 146;
constexpr int64_t RecordElevations = 170;
constexpr float Missing = -32767.0f;
constexpr int32_t ProgressStepPercent = 10;

constexpr StatusText ReadTexts[] = {
    {DemCancelled, "cancelled"},
    {DemCannotOpen, "USGS DEM file cannot be opened"},
    {DemCannotMap, "USGS DEM file cannot be mapped"},
    {DemShort, "USGS DEM: the file is shorter than its header promises"},
    {DemBadField, "USGS DEM: a field of the type A record is not a number"},
    {DemBadResolution, "USGS DEM: the spatial resolution is not a positive number"},
    {DemBadCorners, "USGS DEM: a corner coordinate is not a finite number"},
    {DemBadSize, "USGS DEM: the grid has a size the Surface cannot take"},
    {DemOutOfMemory, "out of memory for the Surface of the USGS DEM file"},
};

// The type A fields in their columns (offsets from 0).
struct Reader {
    const uint8_t* Data;
    const char* Failed = nullptr;

    int32_t Int(size_t at, size_t width, const char* name) {
        int64_t value = 0;
        if (!FixedInt(Data + at, width, value) || value < INT32_MIN || value > INT32_MAX) {
            Failed = Failed ? Failed : name;
            return 0;
        }
        return static_cast<int32_t>(value);
    }
    double Real(size_t at, size_t width, const char* name) {
        double value = 0.0;
        if (!FixedReal(Data + at, width, value))
            Failed = Failed ? Failed : name;
        return value;
    }
};

// Where elevation k of the profile starting at offset start lies.
uint64_t ElevationOffset(uint64_t start, int64_t k) {
    if (k < FirstRecordElevations)
        return start + ProfileHeaderBytes + uint64_t(k) * ElevationWidth;
    const int64_t later = k - FirstRecordElevations;
    return start + uint64_t(1 + later / RecordElevations) * RecordBytes +
           uint64_t(later % RecordElevations) * ElevationWidth;
}
uint64_t ProfileBytes(int64_t elevations) {
    if (elevations <= FirstRecordElevations)
        return RecordBytes;
    const int64_t later = elevations - FirstRecordElevations;
    return uint64_t(1 + (later + RecordElevations - 1) / RecordElevations) * RecordBytes;
}

// printf into the end of text; the attribute has the compiler check every format.
__attribute__((format(printf, 2, 3))) void AppendFormatted(std::string& text, const char* format,
                                                           ...) {
    char line[256];
    va_list values;
    va_start(values, format);
    std::vsnprintf(line, sizeof line, format, values);
    va_end(values);
    text += line;
}

std::string Number(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.10g", value);
    return text;
}

// The grid the type A record describes, in arc-seconds.
struct DemGrid {
    double West, East, South, North, Offset;
    int64_t Width, Height;
};

int32_t FindGrid(const DemHeader& h, size_t size, DemGrid& g, std::string* reason) {
    const double xres = h.Resolution[0];
    const double yres = h.Resolution[1];
    if (!(xres > 0.0) || !(yres > 0.0) || !std::isfinite(xres) || !std::isfinite(yres))
        return Refuse(reason, DemReadTexts, DemBadResolution, Number(xres) + ", " + Number(yres));
    for (const auto& corner : h.Corners)
        if (!std::isfinite(corner[0]) || !std::isfinite(corner[1]))
            return Refuse(reason, DemReadTexts, DemBadCorners,
                          Number(corner[0]) + ", " + Number(corner[1]));
    g.West = std::min(h.Corners[0][0], h.Corners[1][0]);
    g.East = std::max(h.Corners[2][0], h.Corners[3][0]);
    g.South = std::min(h.Corners[0][1], h.Corners[3][1]);
    g.North = std::max(h.Corners[1][1], h.Corners[2][1]);
    // At 3 arc-seconds the last post (on the next whole degree) is left out: 1200 of 1201.
    g.Offset = xres == 3.0 ? 2.0 : 0.0;
    const double width = std::min((g.East - (g.West + g.Offset)) / xres + 1.0, double(h.Profiles));
    const double height = (g.North - (g.South + g.Offset)) / yres + 1.0;
    if (!(width >= 1.0 && width < Surface::SizeLimit && height >= 1.0 &&
          height < Surface::SizeLimit))
        return Refuse(reason, DemReadTexts, DemBadSize, Number(width) + " x " + Number(height));
    g.Width = static_cast<int64_t>(width);
    g.Height = static_cast<int64_t>(height);
    if (!SurfaceAcceptsSize(int32_t(g.Width), int32_t(g.Height)))
        return Refuse(reason, DemReadTexts, DemBadSize, SizeText(g.Width, g.Height));
    // The profiles hold at least half the grid's area (a projected quadrangle does not fill its
    // bounding box); a file that ends early within them is read as far as it goes.
    const uint64_t least =
        RecordBytes + uint64_t(g.Width) * uint64_t(g.Height) * ElevationWidth / 2;
    if (size < least)
        return Refuse(reason, DemReadTexts, DemShort,
                      SizeText(g.Width, g.Height) + " needs at least " + BytesText(size, least));
    return 0;
}

// Reads the profile at offset at into column x and moves at to the next profile; false when the
// file ends within the profile or its header is not one.
bool ReadProfile(const uint8_t* data, size_t size, uint64_t& at, const DemGrid& g, double yres,
                 Surface& s, int32_t x) {
    const uint64_t start = at;
    if (start + ProfileHeaderBytes > size)
        return false;
    int64_t rows = 0;
    int64_t columns = 0;
    double firstY = 0.0;
    if (!FixedInt(data + start + 12, 6, rows) || !FixedInt(data + start + 18, 6, columns) ||
        !FixedReal(data + start + 48, 24, firstY) || rows < 0 || columns < 0 || rows > INT32_MAX ||
        columns > INT32_MAX || !std::isfinite(firstY))
        return false;
    // No profile holds more elevations than the file has bytes.
    const int64_t count = std::min<int64_t>(rows * columns, int64_t(size));
    const double first = std::max(0.0, std::trunc((firstY - (g.South + g.Offset)) / yres));
    const int64_t startRow = first < double(INT32_MAX) ? int64_t(first) : INT32_MAX;
    for (int64_t k = 0; k < count; ++k) {
        const int64_t row = startRow + k;
        if (row >= s.YSize)
            break;
        const uint64_t offset = ElevationOffset(start, k);
        int64_t value = 0;
        if (offset + ElevationWidth > size || !FixedInt(data + offset, ElevationWidth, value))
            return false;
        s.Rows[row][x] = static_cast<float>(value);
    }
    at = start + ProfileBytes(count);
    return true;
}

} // namespace

const StatusTable DemReadTexts{"USGS DEM reading", ReadTexts};

int32_t ReadDemHeader(const uint8_t* data, size_t size, DemHeader& header, std::string* reason) {
    if (!data || size < RecordBytes)
        return Refuse(reason, DemReadTexts, DemShort, BytesText(data ? size : 0, RecordBytes));
    DemHeader h;
    Reader r{data};
    h.MapLabel.assign(reinterpret_cast<const char*>(data), 40);
    while (!h.MapLabel.empty() && (h.MapLabel.back() == ' ' || h.MapLabel.back() == '\0'))
        h.MapLabel.pop_back();
    h.Level = r.Int(144, 6, "DEM level");
    h.Pattern = r.Int(150, 6, "elevation pattern");
    h.GroundSystem = r.Int(156, 6, "ground system");
    h.GroundZone = r.Int(162, 6, "ground zone");
    for (size_t i = 0; i < 15; ++i) {
        // Projection parameters are often blank in geographic files: blanks read as 0.
        double value = 0.0;
        if (FixedReal(data + 168 + 24 * i, 24, value))
            h.Projection[i] = value;
    }
    h.PlaneUnits = r.Int(528, 6, "planimetric units");
    h.ElevationUnits = r.Int(534, 6, "elevation units");
    h.Sides = r.Int(540, 6, "polygon sides");
    for (size_t i = 0; i < 4; ++i) {
        h.Corners[i][0] = r.Real(546 + 48 * i, 24, "corner coordinate");
        h.Corners[i][1] = r.Real(570 + 48 * i, 24, "corner coordinate");
    }
    h.MinElevation = r.Real(738, 24, "minimum elevation");
    h.MaxElevation = r.Real(762, 24, "maximum elevation");
    int64_t accuracy = 0;
    h.Accuracy = FixedInt(data + 810, 6, accuracy) ? static_cast<int32_t>(accuracy) : 0;
    for (size_t i = 0; i < 3; ++i)
        h.Resolution[i] = r.Real(816 + 12 * i, 12, "spatial resolution");
    h.ProfileRows = r.Int(852, 6, "profile rows");
    h.Profiles = r.Int(858, 6, "number of profiles");
    if (r.Failed)
        return Refuse(reason, DemReadTexts, DemBadField, r.Failed);
    header = h;
    return 0;
}

std::string DescribeDemHeader(const DemHeader& h) {
    std::string text;
    AppendFormatted(text, "Map label: %s\r\n", h.MapLabel.c_str());
    AppendFormatted(text, "DEM level:  %d\r\n", h.Level);
    AppendFormatted(text, "Elevation Pattern: %d\r\n", h.Pattern);
    AppendFormatted(text, "Ground System: %d\r\n", h.GroundSystem);
    AppendFormatted(text, "Ground Zone: %d\r\n", h.GroundZone);
    AppendFormatted(text, "Projection parms:\r\n");
    const char* rows[] = {"1- 3", "4- 6", "7- 9", "10-12", "13-15"};
    for (size_t i = 0; i < 5; ++i)
        AppendFormatted(text, "%s: %15.7lf %15.7lf %15.7lf\r\n", rows[i], h.Projection[3 * i],
                        h.Projection[3 * i + 1], h.Projection[3 * i + 2]);
    AppendFormatted(text, "Plane Measure: %d\r\n", h.PlaneUnits);
    AppendFormatted(text, "Elevation units: %d\r\n", h.ElevationUnits);
    AppendFormatted(text, "Polygon Sides: %d\r\n", h.Sides);
    AppendFormatted(text, "ground coordinates\r\n");
    AppendFormatted(text, "NW (%14.5lf, %14.5lf)\r\n", h.Corners[1][0], h.Corners[1][1]);
    AppendFormatted(text, "NE (%14.5lf, %14.5lf)\r\n", h.Corners[2][0], h.Corners[2][1]);
    AppendFormatted(text, "SW (%14.5lf, %14.5lf)\r\n", h.Corners[0][0], h.Corners[0][1]);
    AppendFormatted(text, "SE (%14.5lf, %14.5lf)\r\n", h.Corners[3][0], h.Corners[3][1]);
    AppendFormatted(text, "Min: %15.5lf m\r\n", h.MinElevation);
    AppendFormatted(text, "Max: %15.5lf m\r\n", h.MaxElevation);
    AppendFormatted(text, "Accuracy code: %d\r\n", h.Accuracy);
    AppendFormatted(text, "Spatial Resolution: %15.5lf, %15.5lf, %15.5lf \r\n", h.Resolution[0],
                    h.Resolution[1], h.Resolution[2]);
    AppendFormatted(text,
                    "map size is %d"
                    "x %d\r\n",
                    h.ProfileRows, h.Profiles);
    return text;
}

int32_t ReadUsgsDemBuffer(const uint8_t* data, size_t size, Workspace& ws, const std::string& name,
                          std::string* reason) {
    DemHeader h;
    if (const int32_t code = ReadDemHeader(data, size, h, reason); code != 0)
        return code;
    DemGrid g{};
    if (const int32_t code = FindGrid(h, size, g, reason); code != 0)
        return code;
    Surface& s = ws.TheSurface;
    if (s.Resize(int32_t(g.Width), int32_t(g.Height), -1) != 0)
        return Refuse(reason, DemReadTexts, DemOutOfMemory);
    for (int32_t y = 0; y < s.YSize; ++y)
        std::fill_n(s.Rows[y], s.XSize, Missing);
    Progress& progress = ws.TheProgress;
    progress.ProgressBegin("Reading DEM file", ProgressStepPercent);
    uint64_t at = RecordBytes;
    int32_t x = 0;
    bool ok = true;
    for (; x < s.XSize && ok && !progress.CancelRequested(); ++x) {
        ok = ReadProfile(data, size, at, g, h.Resolution[1], s, x);
        progress.ProgressUpdate(x, s.XSize);
        progress.PumpPendingMessage();
    }
    progress.ProgressEnd();
    if (progress.ConsumeCancel())
        return Refuse(reason, DemReadTexts, DemCancelled);
    s.Left = g.West / 3600.0;
    s.Right = g.East / 3600.0;
    s.Bottom = g.South / 3600.0;
    s.Top = g.North / 3600.0;
    s.XRes = h.Resolution[0] / 3600.0;
    s.YRes = h.Resolution[1] / 3600.0;
    s.Min = h.MinElevation;
    s.Max = h.MaxElevation;
    if (!ok)
        ws.FileNotes.push_back(FileNameOf(name) + ": the file ends after " + std::to_string(x - 1) +
                               " of " + std::to_string(s.XSize) +
                               " profiles; the rest read as -32767");
    NoteWidthCut(ws.FileNotes, name, int32_t(g.Width));
    if (h.GroundSystem != 0 || h.PlaneUnits != 3)
        ws.FileNotes.push_back(FileNameOf(name) +
                               ": coordinates are not arc-seconds; the edges are them / 3600");
    return 0;
}

int32_t ReadUsgsDemFile(const std::string& path, Workspace& ws, std::string* reason) {
    return ReadMappedFile(
        path, reason,
        [&](const uint8_t* data, size_t size) {
            return ReadUsgsDemBuffer(data, size, ws, path, reason);
        },
        DemCannotOpen, DemCannotMap);
}

} // namespace korvel
