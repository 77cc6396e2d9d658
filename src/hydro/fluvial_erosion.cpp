#include "hydro/fluvial_erosion.h"

#include "core/dialog_fields.h"
#include "core/host.h"
#include "core/workspace.h"
#include "hydro/fluvial_model.h"
#include "shading/texture.h"

#include <algorithm>
#include <cstddef>
#include <new>
#include <string>

namespace korvel {

namespace {

void RedrawViews(Workspace& ws) {
    ws.TheHost.InvalidateView();
    ws.TheHost.RepaintAltitudeKey();
}

// Draws one grid, writes it where asked, and shows it under its name. False when the write failed.
bool ShowPicture(Workspace& ws, const FluvialModel& model, const std::vector<float>& values,
                 const std::string& path, const char* name, const PictureSaver& save) {
    DrawFluvialPicture(TextureToDrawOn(ws), values, model.Width(), model.Height());
    RedrawViews(ws);
    bool saved = true;
    if (!path.empty()) {
        std::string message;
        if (save(path, message) != 0) {
            ws.TheHost.ShowMessage(message);
            saved = false;
        }
    }
    ws.TheHost.ShowMessage(name);
    return saved;
}

} // namespace

int32_t RunFluvialFrames(Workspace& ws, FluvialModel& model, const ErosionFields& f) {
    const Surface& s = ws.TheSurface;
    Progress& p = ws.TheProgress;
    const FluvialRates rates{f.Capacity, f.Deposition};
    const int32_t redraw = std::max(f.Redraw, 1);
    int32_t result = FluvialDone;
    p.ProgressBegin("Calculating Erosion Frame", 10);
    for (int32_t frame = 0; frame < f.Steps; ++frame) {
        if (frame % f.RainFrequency == 0 && !model.Rain(s, f.RainAmount, f.Fraction, p)) {
            result = FluvialCancelledRain;
            break;
        }
        if (!model.Step(s, rates, p)) {
            result = FluvialCancelledStep;
            break;
        }
        // The model never writes the elevations, so there is nothing to restore: the picture
        // of the unchanged Surface is shown again.
        if (frame % redraw == 0) {
            MarkTextureStale(ws);
            RedrawViews(ws);
        }
    }
    p.ProgressEnd();
    if (result != FluvialDone)
        p.CancelFlag = 0;
    return result;
}

std::vector<uint8_t> WaterMarks(const FluvialModel& model, double threshold) {
    const std::vector<float>& water = model.Water();
    std::vector<uint8_t> marks(water.size());
    std::transform(water.begin(), water.end(), marks.begin(),
                   [threshold](float w) -> uint8_t { return w > threshold ? 1 : 0; });
    return marks;
}

int32_t FluvialErosion(Workspace& ws, const ErosionFields& f, const PictureSaver& save) {
    Surface& s = ws.TheSurface;
    if (f.Steps < 1 || f.RainFrequency < 1 || !s.HasGrid())
        return FluvialDone;
    FluvialModel model;
    if (const int32_t code = model.Allocate(s.XSize, s.YSize); code != FluvialDone)
        return code;
    const int32_t frames = RunFluvialFrames(ws, model, f);

    std::vector<uint8_t> marks;
    if (frames == FluvialDone && f.Threshold > 0.0) {
        Progress& p = ws.TheProgress;
        p.ProgressBegin("Calculating Water Map", 10);
        try {
            marks = WaterMarks(model, f.Threshold);
        } catch (const std::bad_alloc&) {
            // No room for the marks: the pictures are still shown, unmarked.
        }
        p.ProgressEnd();
    }
    bool saved = ShowPicture(ws, model, model.Water(), f.WaterFile, "Water", save);
    saved = ShowPicture(ws, model, model.Sediment(), f.SedimentFile, "Sediment", save) && saved;

    MarkTextureStale(ws);
    if (!marks.empty()) {
        Image& picture = TextureToDrawOn(ws); // shaded first, under its own progress
        ws.TheProgress.ProgressBegin("Merging Water Map", 10);
        for (int32_t y = 0; y < s.YSize; ++y)
            for (int32_t x = 0; x < s.XSize; ++x)
                if (marks[static_cast<size_t>(y) * static_cast<size_t>(s.XSize) +
                          static_cast<size_t>(x)] != 0)
                    picture.SetIndex(x, y, 0);
        ws.TheProgress.ProgressEnd();
    }
    RedrawViews(ws);
    if (!saved)
        return FluvialPictureNotSaved;
    return frames;
}

} // namespace korvel
