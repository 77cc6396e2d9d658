#include "formats/cc2_contours.h"

#include "formats/contour_tracer.h"
#include "formats/format_support.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace korvel {

namespace {

constexpr StatusText Texts[] = {
    {Cc2Cancelled, "cancelled"},
    {Cc2CannotCreate, "the CC2 file cannot be created"},
    {Cc2WriteFailed, "the CC2 file cannot be written"},
    {Cc2NoGrid, "the Surface has no grid to write"},
};

constexpr int32_t ProgressStepPercent = 6;
constexpr char Signature[] = "FCW (FastCAD for Windows) 5.14 drawing file.\r\n\x1A";
constexpr uint8_t PolylineEntity = 3;
constexpr uint8_t ContourLayer = 64;

// The opening line of an empty drawing; the settings after it are left zero.
std::vector<uint8_t> HeaderBlock() {
    std::vector<uint8_t> block(Cc2HeaderBytes, 0);
    std::memcpy(block.data(), Signature, sizeof Signature - 1);
    return block;
}

class EntityWriter {
public:
    EntityWriter(AtomicFile& file, const Surface& s, const Cc2Options& o)
        : File(file), Options(o), ScaleX((o.LowerRightX - o.UpperLeftX) / s.XSize),
          ScaleY((o.LowerRightY - o.UpperLeftY) / s.YSize) {}

    int32_t Polyline(const std::vector<TracePoint>& points) {
        const size_t n = points.size();
        Entity.assign(Cc2EntityHeaderBytes + 8 * n, 0);
        uint8_t* e = Entity.data();
        PutU32(e, static_cast<uint32_t>(Entity.size()));
        e[4] = PolylineEntity;
        e[6] = ContourLayer;
        PutU16(e + 8, 4);
        PutU32(e + 20, Number++);
        const bool smoothed = Options.Smoothing != 0;
        e[24] = static_cast<uint8_t>(Options.Smoothing);
        e[25] = static_cast<uint8_t>(std::clamp(Options.Resolution, 0, 255));
        PutF32(e + 30, static_cast<float>(n - 1));
        PutU16(e + 34, static_cast<uint32_t>(smoothed ? n - 1 : n));
        for (size_t i = 0; i < n; ++i) {
            uint8_t* p = e + Cc2EntityHeaderBytes + 8 * i;
            PutF32(p, static_cast<float>(Options.UpperLeftX + ScaleX * points[i].X));
            PutF32(p + 4, static_cast<float>(Options.UpperLeftY + ScaleY * points[i].Y));
        }
        return File.Write(Entity.data(), Entity.size()) ? 0 : Cc2WriteFailed;
    }

private:
    AtomicFile& File;
    const Cc2Options& Options;
    double ScaleX, ScaleY;
    uint32_t Number = Cc2FirstEntity;
    std::vector<uint8_t> Entity;
};

} // namespace

const StatusTable Cc2Texts{"CC2 writing", Texts};

int32_t WriteCc2File(const std::string& path, const Surface& s, const Cc2Options& options,
                     Progress& progress, std::string* reason) {
    if (!s.HasGrid())
        return Refuse(reason, Cc2Texts, Cc2NoGrid);
    AtomicFile file(path);
    if (!file.Open())
        return FileFailure(file, Cc2CannotCreate, reason);
    const std::vector<uint8_t> header = HeaderBlock();
    bool ok = file.Write(header.data(), header.size());
    EntityWriter writer(file, s, options);
    progress.ProgressBegin("Generating CC2 contour file", ProgressStepPercent);
    for (int64_t k = 0; ok && k < options.Levels.Count && !progress.CancelRequested(); ++k) {
        ok = TraceContours(s, options.Levels.Level(k),
                           [&](const std::vector<TracePoint>& points, bool) {
                               return writer.Polyline(points);
                           }) == 0;
        progress.ProgressUpdate(static_cast<double>(k + 1),
                                static_cast<double>(options.Levels.Count));
        progress.PumpPendingMessage();
    }
    return FinishWrite(file, ok, progress, Cc2Cancelled, Cc2WriteFailed, reason);
}

} // namespace korvel
