#include "shading/texture.h"

#include "core/noise.h"
#include "core/progress.h"
#include "core/surface.h"
#include "core/workspace.h"
#include "shading/palette.h"
#include "shading/shading_context.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace korvel {

namespace {

// Below this many samples a second thread and the colour tables cost more than they save (a
// paint stroke's rectangle).
constexpr int64_t LargeSamples = int64_t{1} << 18;

struct Rect {
    int32_t X0, Y0, X1, Y1;
};

Rect OrderedClamped(const Surface& s, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    if (x0 > x1)
        std::swap(x0, x1);
    if (y0 > y1)
        std::swap(y0, y1);
    const int32_t xMax = s.XSize - 1, yMax = s.YSize - 1;
    return {std::clamp(x0, 0, xMax), std::clamp(y0, 0, yMax), std::clamp(x1, 0, xMax),
            std::clamp(y1, 0, yMax)};
}

// Rows are handed out in order from one counter, so a cancel leaves a run of finished rows from
// y0 on (plus the rows in flight). Only the calling thread reports progress and pumps messages:
// once each time its row enters a new block of `every` rows, which on one thread is exactly at
// the rows that are multiples of `every`.
class RowDealer {
public:
    RowDealer(Progress& p, const Surface& s, Rect r, int32_t every, bool showProgress)
        : P(p), YSize(s.YSize), Last(r.Y1), Every(every), ShowProgress(showProgress), Next(r.Y0),
          ReportedBlock(r.Y0 % every == 0 ? r.Y0 / every - 1 : r.Y0 / every) {}

    // Runs row(y) until the rows run out or a cancel is seen.
    template <class Row> void Work(Row row, bool reporter) {
        while (!P.CancelRequested()) {
            const int32_t y = Next.fetch_add(1, std::memory_order_relaxed);
            if (y > Last)
                return;
            row(y);
            if (reporter && y / Every != ReportedBlock) {
                ReportedBlock = y / Every;
                if (ShowProgress)
                    P.ProgressUpdate(y, YSize);
                P.PumpPendingMessage();
            }
        }
    }

private:
    Progress& P;
    int32_t YSize;
    int32_t Last;
    int32_t Every;
    bool ShowProgress;
    std::atomic<int32_t> Next;
    int32_t ReportedBlock;
};

void Pass24(Surface& s, Rect r, bool showProgress, const ShadingInputs& in) {
    Progress& p = in.TheProgress;
    const int32_t n = r.X1 - r.X0 + 1;
    ShadingContext context(s, in.Noise, in.MetresPerDegree);
    context.PrepareColumns(r.X0, r.X1);
    context.PrepareLighting();
    const bool coded = s.Lighting.Type == 1;
    if (showProgress)
        p.ProgressBegin("Calculating 24-bit color image", 3);

    RowDealer dealer(p, s, r, 4, showProgress);
    Image& picture = s.Texture.AsIs();
    const auto rowsOf = [&picture, &r, n, coded](ShadingContext& c,
                                                 std::vector<PackedColor>& buffer) {
        return [&picture, &r, n, coded, &c, &buffer](int32_t y) {
            if (coded)
                c.CodedRow(y, r.X0, n, buffer.data());
            else
                c.ShadedRow(y, r.X0, n, buffer.data());
            picture.SetColors(y, r.X0, buffer.data(), n);
        };
    };
    std::vector<PackedColor> buffer(static_cast<size_t>(n));

    const int64_t samples = int64_t{n} * (r.Y1 - r.Y0 + 1);
    std::thread helper;
    std::optional<ShadingContext> helperContext;
    std::vector<PackedColor> helperBuffer;
    if (samples >= LargeSamples)
        context.BuildColourTables();
    if (samples >= LargeSamples && std::thread::hardware_concurrency() > 1 &&
        !p.CancelRequested()) {
        PrepareColourNoise(s.Lighting, in.Noise);
        helperContext.emplace(context);
        helperBuffer.resize(buffer.size());
        try {
            helper = std::thread([&dealer, &rowsOf, &helperContext, &helperBuffer] {
                dealer.Work(rowsOf(*helperContext, helperBuffer), false);
            });
        } catch (const std::system_error&) {
            // No thread to be had: the calling thread does every row.
        }
    }
    dealer.Work(rowsOf(context, buffer), true);
    if (helper.joinable())
        helper.join();
    if (showProgress)
        p.ProgressEnd();
}

void Pass8(Surface& s, Rect r, bool showProgress, const ShadingInputs& in) {
    Progress& p = in.TheProgress;
    LightParms& lp = s.Lighting;
    const bool shaded = lp.Type == 0;
    const PaletteLayout layout = BuildPalette(lp, s.Min, s.Max);
    Image& picture = s.Texture.AsIs();
    picture.Palette = layout.Entries;
    ShadingContext context(s, in.Noise, in.MetresPerDegree);
    context.PrepareLighting();
    if (showProgress) {
        if (shaded)
            p.ProgressBegin("Calculating illuminated texture map", 5);
        else
            p.ProgressBegin("Calculating height-coded texture map", 10);
    }
    const int32_t n = r.X1 - r.X0 + 1;
    std::vector<uint8_t> indices(static_cast<size_t>(n));
    RowDealer dealer(p, s, r, 8, showProgress);
    dealer.Work(
        [&](int32_t y) {
            const float* row = s.Rows[y];
            for (int32_t i = 0; i < n; ++i) {
                const int32_t x = r.X0 + i;
                const double intensity = shaded ? context.IntensityAt(x, y) : 1.0;
                indices[static_cast<size_t>(i)] =
                    static_cast<uint8_t>(PaletteIndex(lp, layout, intensity, row[x]));
            }
            picture.SetIndices(y, r.X0, indices.data(), n);
        },
        true);
    if (showProgress)
        p.ProgressEnd();
}

constexpr StatusText TextureTextList[] = {
    {TextureCancelled, "cancelled"},
    {TextureEmpty, "the Surface has no samples to shade"},
    {TextureNoPicture, "out of memory for the picture"},
};

} // namespace

const StatusTable TextureTexts{"shading", TextureTextList};

int32_t ComputeTexture(Surface& s, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                       bool showProgress, const ShadingInputs& in) {
    if (!s.HasGrid() || s.XSize < 1 || s.YSize < 1)
        return TextureEmpty;
    const Rect r = OrderedClamped(s, x0, y0, x1, y1);
    if (s.Texture.AsIs().BitsPerPixel() != 8)
        Pass24(s, r, showProgress, in);
    else if (s.Lighting.Type == 0 || s.Lighting.Type == 1)
        Pass8(s, r, showProgress, in);
    return in.TheProgress.CancelRequested() ? TextureCancelled : TextureDone;
}

void MarkTextureStale(Workspace& ws) {
    Surface& s = ws.TheSurface;
    s.Texture.MarkStale();
    BuildPalette(s.Lighting, s.Min, s.Max);
    if (s.HasGrid() && s.Lighting.BitDepth != 8)
        PrepareColourNoise(s.Lighting, ws.Noise);
}

int32_t UpdateTexture(Workspace& ws) {
    Surface& s = ws.TheSurface;
    if (!s.Texture.Stale())
        return TextureDone;
    Image& texture = s.Texture.AsIs();
    const int32_t depth = s.Lighting.BitDepth == 8 ? 8 : 24;
    if (s.HasGrid() && (texture.BitsPerPixel() != depth || texture.Height() != s.YSize ||
                        texture.Width() != ((s.XSize + 3) & ~3))) {
        if (texture.Create(s.XSize, s.YSize, depth) != 0)
            return TextureNoPicture;
    }
    // A cancel meant for an earlier operation must not stop the picture, nor this one's outlive
    // it: the result tells the caller.
    ws.TheProgress.CancelFlag = 0;
    const int32_t code = ComputeTexture(s, 0, 0, s.XSize - 1, s.YSize - 1, true,
                                        {ws.TheProgress, ws.Noise, ws.General.Val_RDegm});
    ws.TheProgress.CancelFlag = 0;
    texture.Palette = BuildPalette(s.Lighting, s.Min, s.Max).Entries;
    s.Texture.MarkFresh();
    return code;
}

const Image& CurrentTexture(Workspace& ws) {
    UpdateTexture(ws);
    return ws.TheSurface.Texture.AsIs();
}

Image& TextureToDrawOn(Workspace& ws) {
    TextureMap& texture = ws.TheSurface.Texture;
    if (UpdateTexture(ws) != TextureNoPicture)
        texture.MarkFresh();
    return texture.AsIs();
}

} // namespace korvel
