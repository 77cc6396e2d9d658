#include "hydro/world_flood.h"

#include "core/dialog_fields.h"
#include "core/host.h"
#include "core/workspace.h"
#include "shading/texture.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace korvel {

namespace {

constexpr StatusText WorldFloodTextList[] = {
    {WorldFloodCancelled, "cancelled"},
    {WorldFloodNoFrames, "the sea levels from Starting to Ending give no frame"},
    {WorldFloodZeroDelta, "a Sea Delta of 0 never reaches the Ending level"},
    {WorldFloodTooManyFrames, "the number of frames is not a whole number an int can hold"},
    {WorldFloodNoPicture, "out of memory for the picture"},
    {WorldFloodNotSaved, "a picture could not be written"},
    {WorldFloodFramesExhausted, "the Initial Frame number cannot be advanced further"},
};

constexpr double IntLimit = std::numeric_limits<int32_t>::max();

// The sea level goes back to where it was however the sweep ends.
class SeaLevelKeeper {
public:
    explicit SeaLevelKeeper(double& level) : Level(level), Saved(level) {}
    ~SeaLevelKeeper() { Level = Saved; }
    SeaLevelKeeper(const SeaLevelKeeper&) = delete;
    SeaLevelKeeper& operator=(const SeaLevelKeeper&) = delete;

private:
    double& Level;
    double Saved;
};

int32_t Refused(Workspace& ws, int32_t code) {
    ws.TheHost.ShowMessage("World Flood: " + DescribeStatus(WorldFloodTexts, code));
    return code;
}

} // namespace

const StatusTable WorldFloodTexts{"world flood", WorldFloodTextList};

int32_t WorldFloodFrameCount(const WorldFloodFields& f, int32_t& frames, double& delta) {
    const double range = f.Ending - f.Starting;
    double count = 0.0;
    if (f.Count == WorldFloodSeaDelta) {
        if (f.Value == 0.0)
            return WorldFloodZeroDelta;
        delta = f.Value;
        count = std::trunc(range / f.Value + 1.0);
    } else {
        count = std::trunc(f.Value);
        if (count < 1.0)
            count = 1.0;
        delta = range / count;
    }
    // Checked as a double before it becomes an int: NaN and huge counts fail here.
    if (!(count <= IntLimit) || std::isnan(count))
        return WorldFloodTooManyFrames;
    if (count < 1.0)
        return WorldFloodNoFrames;
    frames = static_cast<int32_t>(count);
    return WorldFloodDone;
}

std::string WorldFloodFileName(int32_t frame, int32_t fileType) {
    char name[32];
    std::snprintf(name, sizeof name, "PIC%05d.%s", frame,
                  fileType == WorldFloodPcx ? "PCX" : "BMP");
    return name;
}

int32_t WorldFlood(Workspace& ws, WorldFloodFields& f, const PictureSaver& save) {
    int32_t frames = 0;
    double delta = 0.0;
    if (const int32_t code = WorldFloodFrameCount(f, frames, delta); code != WorldFloodDone)
        return Refused(ws, code);
    Surface& s = ws.TheSurface;
    if (!s.HasGrid())
        return WorldFloodDone;
    Host& host = ws.TheHost;
    Progress& p = ws.TheProgress;
    double& seaLevel = s.Lighting.SeaLevel;
    const SeaLevelKeeper keeper(seaLevel);
    seaLevel = f.Starting;
    const bool windowOpen = host.OpenProgressWindow("World Flooding", true);
    int32_t result = WorldFloodDone;
    for (int32_t frame = 1; frame <= frames; ++frame) {
        MarkTextureStale(ws);
        p.ProgressSuppressNext();
        const int32_t shaded = UpdateTexture(ws);
        host.InvalidateView();
        host.RepaintAltitudeKey();
        if (shaded == TextureNoPicture) {
            result = Refused(ws, WorldFloodNoPicture);
            break;
        }
        char line[96];
        std::snprintf(line, sizeof line, "Cur Alt: %0.0f\nFrame %d of %d", seaLevel, frame, frames);
        host.SetProgressLabel(line);
        p.PumpPendingMessage();
        if (shaded == TextureCancelled || p.CancelRequested()) {
            result = WorldFloodCancelled;
            break;
        }
        if (f.SaveSequence) {
            if (f.InitialFrame == std::numeric_limits<int32_t>::max()) {
                result = Refused(ws, WorldFloodFramesExhausted);
                break;
            }
            std::string message;
            if (save(WorldFloodFileName(f.InitialFrame, f.FileType), message) != 0) {
                host.ShowMessage(message);
                result = WorldFloodNotSaved;
                break;
            }
            ++f.InitialFrame;
        }
        seaLevel += delta;
    }
    p.CancelFlag = 0;
    if (windowOpen)
        host.CloseProgressWindow(result == WorldFloodCancelled);
    return result;
}

} // namespace korvel
