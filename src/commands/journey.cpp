#include "commands/journey.h"

#include "commands/file_dispatch.h"
#include "core/host.h"
#include "core/workspace.h"
#include "generate/procedural.h"
#include "shading/texture.h"

#include <cstdio>
#include <filesystem>

namespace korvel {

namespace {

double At(const JourneyRange& range, double t) {
    return (range.End - range.Start) * t + range.Start;
}

void FromRecord(JourneyRange& range, double value) {
    range.Start = value;
    range.End = value;
}

std::string Line(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// Closes the status window however the journey ends.
class StatusWindowOpen {
public:
    explicit StatusWindowOpen(Host& host) : TheHost(host) {}
    ~StatusWindowOpen() { TheHost.CloseStatusWindow(); }
    StatusWindowOpen(const StatusWindowOpen&) = delete;
    StatusWindowOpen& operator=(const StatusWindowOpen&) = delete;

private:
    Host& TheHost;
};

} // namespace

std::vector<std::string> JourneyStatusLines(int32_t frame, int32_t frames, const FracParms& r) {
    char counter[48];
    std::snprintf(counter, sizeof counter, "Frame %d of %d", frame, frames);
    return {counter,
            Line("fgain: %0.4f", r.fgain),
            Line("H: %0.4f", r.H),
            Line("Lacunarity: %0.4f", r.lacunarity),
            Line("Octaves: %0.4f", r.octaves),
            Line("Offset: %0.4f", r.offset),
            Line("Position X: %0.4f", r.xpos),
            Line("Position Y: %0.4f", r.ypos),
            Line("Position Z: %0.4f", r.zpos),
            Line("Size X: %0.4f", r.xrange),
            Line("Size Y: %0.4f", r.yrange),
            Line("Size Z: %0.4f", r.zrange),
            Line("Top: %0.4f", r.Top),
            Line("Left: %0.4f", r.Left),
            Line("Right: %0.4f", r.Right),
            Line("Bottom: %0.4f", r.Bottom)};
}

void JourneyFrameParms(const JourneyFields& j, double t, FracParms& record) {
    record.Type = j.Type + 2;
    record.Seed = j.Seed;
    record.TexSphere = j.Spherical;
    record.fgain = At(j.fgain, t);
    record.H = At(j.H, t);
    record.lacunarity = At(j.lacunarity, t);
    record.octaves = At(j.octaves, t);
    record.offset = At(j.offset, t);
    record.xpos = At(j.xpos, t);
    record.ypos = At(j.ypos, t);
    record.zpos = At(j.zpos, t);
    record.xrange = At(j.xrange, t);
    record.yrange = At(j.yrange, t);
    record.zrange = At(j.zrange, t);
    // The spherical generation takes its area from the record: edges kept only in the Surface
    // would be overwritten by it.
    record.Top = At(j.Top, t);
    record.Left = At(j.Left, t);
    record.Right = At(j.Right, t);
    record.Bottom = At(j.Bottom, t);
}

std::string JourneyFileName(int32_t output, int32_t sequence) {
    char name[32];
    std::snprintf(name, sizeof name, output == JourneyPcxSequence ? "pic%05d.pcx" : "pic%05d.bmp",
                  sequence);
    return name;
}

void FillJourneyFromRecord(JourneyFields& j, const FracParms& r) {
    FromRecord(j.fgain, r.fgain);
    FromRecord(j.H, r.H);
    FromRecord(j.lacunarity, r.lacunarity);
    FromRecord(j.octaves, r.octaves);
    FromRecord(j.offset, r.offset);
    FromRecord(j.xpos, r.xpos);
    FromRecord(j.ypos, r.ypos);
    FromRecord(j.zpos, r.zpos);
    FromRecord(j.xrange, r.xrange);
    FromRecord(j.yrange, r.yrange);
    FromRecord(j.zrange, r.zrange);
    FromRecord(j.Top, r.Top);
    FromRecord(j.Left, r.Left);
    FromRecord(j.Right, r.Right);
    FromRecord(j.Bottom, r.Bottom);
    j.Seed = r.Seed;
}

int32_t RunJourney(Workspace& ws, const std::string& folder) {
    JourneyFields& j = ws.Journey;
    if (j.Frames < 1) {
        j.Frames = 1;
        ws.TheHost.ShowMessage("Number of rames must be >= 0 to do anything");
        return -1;
    }
    Surface& s = ws.TheSurface;
    FracParms& record = s.Generation;
    ws.TheProgress.CancelFlag = 0;
    const double step = 1.0 / j.Frames;
    double t = 0.0;
    int32_t sequence = j.Sequence;
    const StatusWindowOpen status(ws.TheHost);
    // Whole frames are counted: testing the accumulated t against 1 draws one frame too many
    // whenever the sum of the steps falls just short of 1.
    for (int32_t frame = 1; frame <= j.Frames; ++frame, t += step) {
        JourneyFrameParms(j, t, record);
        s.Top = record.Top;
        s.Left = record.Left;
        s.Right = record.Right;
        s.Bottom = record.Bottom;
        s.XRes = (s.Right - s.Left) / s.XSize;
        s.YRes = (s.Top - s.Bottom) / s.YSize;
        ws.TheHost.ShowStatusWindow("Journey Through Texture Space",
                                    JourneyStatusLines(frame, j.Frames, record));
        ws.TheHost.PumpPendingMessage();
        if (GenerateSurface(ws, record, j.ShowStatus) != 0) {
            ws.TheProgress.CancelFlag = 0;
            return -2;
        }
        // Stop takes effect once the frame's surface is made; a click during it is waiting.
        ws.TheHost.PumpPendingMessage();
        if (ws.TheHost.StatusWindowStopped())
            return -2;
        MarkTextureStale(ws);
        const bool cancelled = UpdateTexture(ws) == TextureCancelled;
        ws.TheHost.InvalidateView();
        ws.TheHost.RepaintAltitudeKey();
        if (j.Output != JourneyNoOutput) {
            const std::string name = JourneyFileName(j.Output, sequence++);
            if (j.Sequence >= 0) {
                std::string message;
                const std::string path =
                    folder.empty() ? name : (std::filesystem::path(folder) / name).string();
                if (const int32_t code = WriteFileByType(ws, path, -1, message); code != 0) {
                    ws.TheHost.ShowMessage(message.empty() ? "Error writing " + path : message);
                    return code;
                }
            }
        }
        if (cancelled) {
            ws.TheProgress.CancelFlag = 0;
            return -2;
        }
    }
    return 0;
}

} // namespace korvel
