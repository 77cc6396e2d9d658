#include "formats/dted.h"

#include "core/extremes.h"
#include "core/workspace.h"
#include "formats/fixed_columns.h"
#include "formats/format_support.h"
#include "formats/height_raster.h"

#include <cstring>

namespace korvel {

namespace {

constexpr int32_t ProgressStepPercent = 10;
constexpr int64_t MostLines = 65536;
// Records turned into columns this many at a time, so that each Surface row is written in
// runs rather than one sample per record.
constexpr int32_t ColumnBlock = 16;

constexpr StatusText ReadTexts[] = {
    {DtedCancelled, "cancelled"},
    {DtedCannotOpen, "DTED file cannot be opened"},
    {DtedCannotMap, "DTED file cannot be mapped"},
    {DtedShort, "DTED: the file is shorter than its header promises"},
    {DtedBadHeader, "DTED: the file has no user header label (UHL) this reader understands"},
    {DtedBadSize, "DTED: the cell's size or the read window is not usable"},
    {DtedOutOfMemory, "out of memory for the Surface of the DTED cell"},
};

// DDDMMSSH at at: degrees, west and south negative; false when the columns are not that.
bool Angle(const uint8_t* at, double& degrees) {
    int64_t d = 0;
    int64_t m = 0;
    int64_t s = 0;
    const char h = static_cast<char>(at[7]);
    if (!FixedInt(at, 3, d) || !FixedInt(at + 3, 2, m) || !FixedInt(at + 5, 2, s) || d < 0 ||
        d > 180 || m < 0 || m > 59 || s < 0 || s > 59)
        return false;
    const double value = double(d) + double(m) / 60.0 + double(s) / 3600.0;
    if (h == 'N' || h == 'E')
        degrees = value;
    else if (h == 'S' || h == 'W')
        degrees = -value;
    else
        return false;
    return true;
}

} // namespace

const StatusTable DtedReadTexts{"DTED reading", ReadTexts};

int32_t ReadDtedHeader(const uint8_t* data, size_t size, DtedHeader& header, std::string* reason) {
    if (!data || size < 80)
        return Refuse(reason, DtedReadTexts, DtedShort, BytesText(data ? size : 0, 80));
    if (std::memcmp(data, "UHL", 3) != 0)
        return Refuse(reason, DtedReadTexts, DtedBadHeader, "it does not begin with \"UHL\"");
    DtedHeader h;
    int64_t lonInterval = 0;
    int64_t latInterval = 0;
    int64_t lines = 0;
    int64_t points = 0;
    if (!Angle(data + 4, h.OriginLon) || !Angle(data + 12, h.OriginLat))
        return Refuse(reason, DtedReadTexts, DtedBadHeader, "origin");
    if (!FixedInt(data + 20, 4, lonInterval) || !FixedInt(data + 24, 4, latInterval) ||
        lonInterval <= 0 || latInterval <= 0)
        return Refuse(reason, DtedReadTexts, DtedBadHeader, "data interval");
    if (!FixedInt(data + 47, 4, lines) || !FixedInt(data + 51, 4, points))
        return Refuse(reason, DtedReadTexts, DtedBadHeader, "number of lines or points");
    if (lines < 2 || lines > MostLines || points < 2 || points > MostLines)
        return Refuse(reason, DtedReadTexts, DtedBadSize,
                      std::to_string(lines) + " lines of " + std::to_string(points) + " points");
    h.LonInterval = int32_t(lonInterval);
    h.LatInterval = int32_t(latInterval);
    h.Lines = int32_t(lines);
    h.Points = int32_t(points);
    h.Security.assign(reinterpret_cast<const char*>(data) + 32, 3);
    const uint64_t need = DtedFirstRecord + uint64_t(h.Lines) * h.RecordBytes();
    if (size < need)
        return Refuse(reason, DtedReadTexts, DtedShort, BytesText(size, need));
    header = h;
    return 0;
}

int32_t ReadDtedCellBuffer(const uint8_t* data, size_t size, const MuseSettings& window,
                           Workspace& ws, const std::string& name, std::string* reason) {
    DtedHeader h;
    if (const int32_t code = ReadDtedHeader(data, size, h, reason); code != 0)
        return code;
    const int64_t skipX = window.SkipX;
    const int64_t skipY = window.SkipY;
    if (skipX < 0 || skipY < 0 || skipX >= h.Lines - 1 || skipY >= h.Points - 1)
        return Refuse(reason, DtedReadTexts, DtedBadSize,
                      "skipping " + SizeText(skipX, skipY) + " of a cell of " +
                          SizeText(h.Lines, h.Points));
    // The window stays within the records and their points.
    int64_t width = window.XSize > 0 ? window.XSize : h.Lines - 1;
    int64_t height = window.YSize > 0 ? window.YSize : h.Points - 1;
    width = std::min(width, h.Lines - skipX);
    height = std::min(height, h.Points - skipY);
    if (!SurfaceAcceptsSize(int32_t(width), int32_t(height)))
        return Refuse(reason, DtedReadTexts, DtedBadSize, SizeText(width, height));
    Surface& s = ws.TheSurface;
    if (s.Resize(int32_t(width), int32_t(height), -1) != 0)
        return Refuse(reason, DtedReadTexts, DtedOutOfMemory);
    Progress& progress = ws.TheProgress;
    progress.ProgressBegin("Reading DTED Cell", ProgressStepPercent);
    Extremes e;
    int32_t x = 0;
    for (; x < s.XSize && !progress.CancelRequested(); x += ColumnBlock) {
        const int32_t columns = std::min(ColumnBlock, s.XSize - x);
        for (int32_t k = 0; k < s.YSize; ++k) {
            float* out = s.Rows[k] + x;
            for (int32_t c = 0; c < columns; ++c)
                out[c] = DtedPost(data, h, skipX + x + c, skipY + k);
            e.AddEach(out, columns);
        }
        progress.ProgressUpdate(x, s.XSize);
        progress.PumpPendingMessage();
    }
    progress.ProgressEnd();
    if (progress.ConsumeCancel()) {
        // Columns from x on were not read: zero rather than left from the previous Surface.
        for (int32_t k = 0; k < s.YSize; ++k)
            std::fill(s.Rows[k] + std::min(x, s.XSize), s.Rows[k] + s.XSize, 0.0f);
        return Refuse(reason, DtedReadTexts, DtedCancelled);
    }
    s.XRes = h.LonInterval / 36000.0;
    s.YRes = h.LatInterval / 36000.0;
    s.Left = h.OriginLon + double(skipX) * s.XRes;
    s.Right = s.Left + s.XSize * s.XRes;
    s.Bottom = h.OriginLat + double(skipY) * s.YRes;
    s.Top = s.Bottom + s.YSize * s.YRes;
    e.StoreIn(s);
    NoteWidthCut(ws.FileNotes, name, int32_t(width));
    return 0;
}

int32_t ReadDtedCellFile(const std::string& path, Workspace& ws, std::string* reason) {
    return ReadMappedFile(
        path, reason,
        [&](const uint8_t* data, size_t size) {
            return ReadDtedCellBuffer(data, size, ws.Muse, ws, path, reason);
        },
        DtedCannotOpen, DtedCannotMap);
}

} // namespace korvel
