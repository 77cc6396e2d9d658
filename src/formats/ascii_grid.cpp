#include "formats/ascii_grid.h"

#include "core/workspace.h"
#include "formats/format_support.h"
#include "formats/height_raster.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <strings.h>
#include <vector>

namespace korvel {

namespace {

constexpr int32_t ProgressStepPercent = 5;
constexpr double NoDataWritten = -9999.0;

constexpr StatusText ReadTexts[] = {
    {AsciiGridCannotOpen, "ASCII grid cannot be opened"},
    {AsciiGridCannotMap, "ASCII grid cannot be mapped"},
    {AsciiGridNotGrid, "not an ESRI ASCII grid"},
    {AsciiGridTruncated, "ASCII grid has fewer heights than its header promises"},
    {AsciiGridBadSize, "ASCII grid has a size the Surface cannot take"},
    {AsciiGridOutOfMemory, "out of memory for the Surface of the ASCII grid"},
    {AsciiGridBadValue, "ASCII grid holds a value that is not a number"},
};
constexpr StatusText WriteTexts[] = {
    {AsciiGridWriteCancelled, "cancelled"},
    {AsciiGridCannotCreate, "the ASCII grid cannot be created"},
    {AsciiGridWriteFailed, "the ASCII grid cannot be written"},
    {AsciiGridNoGrid, "the Surface has no grid to write"},
};

class Tokens {
public:
    Tokens(const uint8_t* data, size_t size)
        : At(reinterpret_cast<const char*>(data)), End(At + size) {}

    // The next word; empty at the end.
    std::string_view Next() {
        while (At < End && IsSpace(*At))
            ++At;
        const char* begin = At;
        while (At < End && !IsSpace(*At))
            ++At;
        return {begin, static_cast<size_t>(At - begin)};
    }
    // The next word without taking it.
    std::string_view Peek() {
        const char* keep = At;
        const std::string_view word = Next();
        At = keep;
        return word;
    }
    size_t Left() const { return static_cast<size_t>(End - At); }

private:
    static bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
    const char* At;
    const char* End;
};

// Heights and the no-data value may be "nan" (GDAL writes NaN no-data so); sizes and corners not.
bool ParseNumber(std::string_view word, double& value, bool finite = true) {
    if (!word.empty() && word.front() == '+')
        word.remove_prefix(1);
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    return error == std::errc() && end == word.data() + word.size() &&
           (!finite || std::isfinite(value));
}

struct Header {
    double Columns = -1, Rows = -1, X = NAN, Y = NAN, Dx = NAN, Dy = NAN;
    bool XCentre = false, YCentre = false, HasNoData = false;
    double NoData = 0;
};

bool Is(std::string_view word, const char* key) {
    return word.size() == std::strlen(key) && strncasecmp(word.data(), key, word.size()) == 0;
}

// The header's words up to the first number that starts the heights; 0 or a refusal.
int32_t ParseHeader(Tokens& tokens, Header& h, std::string* reason) {
    while (true) {
        const std::string_view key = tokens.Peek();
        if (key.empty() || !std::isalpha(static_cast<unsigned char>(key.front())))
            break;
        tokens.Next();
        const std::string_view text = tokens.Next();
        double value = 0;
        if (!ParseNumber(text, value, !Is(key, "nodata_value")))
            return Refuse(reason, AsciiGridReadTexts, AsciiGridBadValue,
                          std::string(key) + " \"" + std::string(text) + "\"");
        if (Is(key, "ncols"))
            h.Columns = value;
        else if (Is(key, "nrows"))
            h.Rows = value;
        else if (Is(key, "xllcorner") || Is(key, "xllcenter"))
            h.X = value, h.XCentre = Is(key, "xllcenter");
        else if (Is(key, "yllcorner") || Is(key, "yllcenter"))
            h.Y = value, h.YCentre = Is(key, "yllcenter");
        else if (Is(key, "cellsize"))
            h.Dx = h.Dy = value;
        else if (Is(key, "dx"))
            h.Dx = value;
        else if (Is(key, "dy"))
            h.Dy = value;
        else if (Is(key, "nodata_value"))
            h.NoData = value, h.HasNoData = true;
        else
            return Refuse(reason, AsciiGridReadTexts, AsciiGridNotGrid,
                          "unknown header field \"" + std::string(key) + "\"");
    }
    const char* missing = h.Columns < 0                ? "ncols"
                          : h.Rows < 0                 ? "nrows"
                          : std::isnan(h.X)            ? "xllcorner"
                          : std::isnan(h.Y)            ? "yllcorner"
                          : !(h.Dx > 0) || !(h.Dy > 0) ? "positive cellsize"
                                                       : nullptr;
    if (missing)
        return Refuse(reason, AsciiGridReadTexts, AsciiGridNotGrid, std::string("no ") + missing);
    return 0;
}

} // namespace

const StatusTable AsciiGridReadTexts{"ASCII grid reading", ReadTexts};
const StatusTable AsciiGridWriteTexts{"ASCII grid writing", WriteTexts};

int32_t ReadAsciiGridBuffer(const uint8_t* data, size_t size, Workspace& ws,
                            const std::string& name, std::string* reason) {
    Tokens tokens(data, data ? size : 0);
    Header h;
    if (const int32_t code = ParseHeader(tokens, h, reason); code != 0)
        return code;
    // Clamped first: a cast of a value past the integer's range is undefined.
    const auto width = static_cast<int32_t>(std::clamp(h.Columns, 0.0, 1e9));
    const auto height = static_cast<int32_t>(std::clamp(h.Rows, 0.0, 1e9));
    if (width != h.Columns || height != h.Rows || !SurfaceAcceptsSize(width, height))
        return Refuse(reason, AsciiGridReadTexts, AsciiGridBadSize,
                      "ncols " + std::to_string(h.Columns) + ", nrows " + std::to_string(h.Rows));
    const uint64_t count = uint64_t(width) * uint64_t(height);
    // Every height takes at least a digit and a separator: a promise the bytes cannot keep is
    // refused before anything is allocated.
    if (2 * count - 1 > tokens.Left())
        return Refuse(reason, AsciiGridReadTexts, AsciiGridTruncated,
                      BytesText(tokens.Left(), 2 * count - 1) + " after the header");

    std::vector<float> heights;
    try {
        heights.resize(count);
    } catch (const std::bad_alloc&) {
        return Refuse(reason, AsciiGridReadTexts, AsciiGridOutOfMemory);
    }
    for (uint64_t i = 0; i < count; ++i) {
        const std::string_view word = tokens.Next();
        if (word.empty())
            return Refuse(reason, AsciiGridReadTexts, AsciiGridTruncated,
                          std::to_string(i) + " of " + std::to_string(count) + " heights");
        double value = 0;
        if (!ParseNumber(word, value, false))
            return Refuse(reason, AsciiGridReadTexts, AsciiGridBadValue,
                          "\"" + std::string(word.substr(0, 40)) + "\" at height " +
                              std::to_string(i + 1));
        const bool noData =
            h.HasNoData && (value == h.NoData || (std::isnan(value) && std::isnan(h.NoData)));
        heights[i] = noData ? std::numeric_limits<float>::quiet_NaN() : static_cast<float>(value);
    }

    Surface& s = ws.TheSurface;
    if (s.Resize(width, height, -1) != 0)
        return Refuse(reason, AsciiGridReadTexts, AsciiGridOutOfMemory);
    for (int32_t row = 0; row < height; ++row)
        std::copy_n(heights.data() + uint64_t(row) * width, s.XSize, RowOfFileRow(s, row, false));
    const double west = h.XCentre ? h.X - h.Dx / 2 : h.X;
    const double south = h.YCentre ? h.Y - h.Dy / 2 : h.Y;
    SetOutline(s, west, south + h.Dy * height, h.Dx, h.Dy);
    NoteWidthCut(ws.FileNotes, name, width);
    FinishHeights(s, ws.TheProgress, ws.FileNotes, name);
    return 0;
}

int32_t ReadAsciiGridFile(const std::string& path, Workspace& ws, std::string* reason) {
    return ReadMappedFile(
        path, reason,
        [&](const uint8_t* data, size_t size) {
            return ReadAsciiGridBuffer(data, size, ws, path, reason);
        },
        AsciiGridCannotOpen, AsciiGridCannotMap);
}

int32_t WriteAsciiGridFile(const std::string& path, Workspace& ws, std::string* reason) {
    const Surface& s = ws.TheSurface;
    if (!s.HasGrid())
        return Refuse(reason, AsciiGridWriteTexts, AsciiGridNoGrid);
    AtomicFile file(path);
    if (!file.Open())
        return FileFailure(file, AsciiGridCannotCreate, reason);
    const double dx = CellWidth(s);
    const double dy = CellHeight(s);
    char text[400];
    int length = std::snprintf(text, sizeof text,
                               "ncols %d\nnrows %d\nxllcorner %.17g\n"
                               "yllcorner %.17g\n",
                               s.XSize, s.YSize, s.Left, s.Bottom);
    // cellsize only when the cells are square; GDAL and QGIS read dx and dy otherwise.
    if (std::fabs(dx - dy) <= 1e-12 * std::fabs(dx))
        length += std::snprintf(text + length, sizeof text - length, "cellsize %.17g\n", dx);
    else
        length +=
            std::snprintf(text + length, sizeof text - length, "dx %.17g\ndy %.17g\n", dx, dy);
    length +=
        std::snprintf(text + length, sizeof text - length, "NODATA_value %g\n", NoDataWritten);
    bool ok = file.Write(text, static_cast<size_t>(length));

    Progress& progress = ws.TheProgress;
    progress.ProgressBegin("Writing ASCII grid " + path, ProgressStepPercent);
    std::string line;
    for (int32_t row = 0; ok && row < s.YSize && !progress.CancelRequested(); ++row) {
        line.clear();
        const float* heights = RowOfFileRow(s, row, false);
        for (int32_t x = 0; x < s.XSize; ++x) {
            if (x)
                line += ' ';
            char number[32];
            const float value =
                std::isfinite(heights[x]) ? heights[x] : static_cast<float>(NoDataWritten);
            const auto end = std::to_chars(number, number + sizeof number, value).ptr;
            line.append(number, end);
        }
        line += '\n';
        ok = file.Write(line.data(), line.size());
        progress.ProgressUpdate(row, s.YSize);
        progress.PumpPendingMessage();
    }
    return FinishWrite(file, ok, progress, AsciiGridWriteCancelled, AsciiGridWriteFailed, reason);
}

} // namespace korvel
