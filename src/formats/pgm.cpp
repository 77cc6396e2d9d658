#include "formats/pgm.h"

#include "core/atomic_file.h"
#include "core/workspace.h"
#include "formats/format_support.h"

#include <cstdio>
#include <string>

namespace korvel {

namespace {

constexpr int32_t ProgressStepPercent = 3;
constexpr uint32_t MaxGrey = 65535;
constexpr int32_t ValuesPerLine = 10;

// Heights outside Min..Max (stale extremes) and NaN are held to the ends of the grey range.
uint32_t Grey(float sample, double min, double range) {
    const double t = range > 0.0 ? (sample - min) / range : 0.0;
    if (!(t > 0.0))
        return 0;
    return t >= 1.0 ? MaxGrey : static_cast<uint32_t>(t * MaxGrey);
}

constexpr StatusText WriteTexts[] = {
    {PgmCannotCreate, "the PGM file cannot be created"},
    {PgmBadRange, "the Surface's Max is below its Min"},
    {PgmWriteCancelled, "cancelled"},
    {PgmWriteFailed, "the PGM file cannot be written"},
    {PgmNoGrid, "the Surface has no grid to write"},
};

} // namespace

const StatusTable PgmWriteTexts{"PGM writing", WriteTexts};

int32_t WritePgm(const std::string& path, Workspace& ws, std::string* reason) {
    const Surface& s = ws.TheSurface;
    if (!s.HasGrid())
        return Refuse(reason, PgmWriteTexts, PgmNoGrid);
    // Scaled by the true range: a range truncated to whole units would divide by zero below 1
    // and clip every height past the first 65535 units.
    const double range = s.Max - s.Min;
    if (range < 0.0)
        return Refuse(reason, PgmWriteTexts, PgmBadRange);
    AtomicFile file(path);
    if (!file.Open())
        return FileFailure(file, PgmCannotCreate, reason);

    Progress& progress = ws.TheProgress;
    progress.ProgressBegin("Writing normalized PGM file to " + path, ProgressStepPercent);
    // The maximum matches the 16-bit samples, so readers see the full range as white.
    char text[64];
    const int headerLength =
        std::snprintf(text, sizeof text, "P2 %d %d %u\n", s.XSize, s.YSize, MaxGrey);
    bool ok = file.Write(text, static_cast<size_t>(headerLength));
    std::string line;
    int32_t onLine = 0;
    for (int32_t y = 0; ok && y < s.YSize && !progress.CancelRequested(); ++y) {
        line.clear();
        for (int32_t x = 0; x < s.XSize; ++x) {
            const int length =
                std::snprintf(text, sizeof text, " %u", Grey(s.Rows[y][x], s.Min, range));
            line.append(text, static_cast<size_t>(length));
            // The count runs across rows, so lines need not end where rows do.
            if (++onLine == ValuesPerLine) {
                line += '\n';
                onLine = 0;
            }
        }
        ok = file.Write(line.data(), line.size());
        progress.ProgressUpdate(y, s.YSize);
        progress.PumpPendingMessage();
    }
    // Readers such as ImageMagick refuse a last sample that no white space follows.
    if (ok && onLine != 0)
        ok = file.Write("\n", 1);
    return FinishWrite(file, ok, progress, PgmWriteCancelled, PgmWriteFailed, reason);
}

} // namespace korvel
