#include "hydro/lakes.h"

#include "core/dialog_fields.h"
#include "core/host.h"
#include "core/image.h"
#include "core/workspace.h"
#include "shading/gray_maps.h"
#include "shading/texture.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <new>

namespace korvel {

namespace {

constexpr StatusText LakeTextList[] = {
    {LakesNoMemory, "Unable to allocate surface for lakes"},
};

struct Offset {
    int32_t Dx;
    int32_t Dy;
};
// The order the water is handed out in, which fixes how it rounds.
constexpr Offset LakeNeighbours[8] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0},
                                      {1, 0},   {-1, 1}, {0, 1},  {1, 1}};

size_t At(int32_t width, int32_t x, int32_t y) {
    return static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
}

void RedrawViews(Workspace& ws) {
    ws.TheHost.InvalidateView();
    ws.TheHost.RepaintAltitudeKey();
}

} // namespace

const StatusTable LakeTexts{"find lakes", LakeTextList};

bool LakeRelaxation::Start(const Surface& s, const LakeFields& f) {
    S = &s;
    Delta = f.WaterDelta;
    Spherical = f.Spherical;
    const int32_t w = s.XSize, h = s.YSize;
    try {
        Now.assign(static_cast<size_t>(w) * static_cast<size_t>(h), 0.0f);
        Levels.assign(static_cast<size_t>(w) * 3, 0.0f);
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x)
                Now[At(w, x, y)] =
                    f.Sheet ? f.InitialLevel : std::max(0.0f, f.InitialLevel - s.Rows[y][x]);
        for (int32_t x = 0; x < w; ++x) {
            if (f.SinkTop)
                Now[At(w, x, 0)] = LakeSinkWater;
            if (f.SinkBottom)
                Now[At(w, x, h - 1)] = LakeSinkWater;
        }
        for (int32_t y = 0; y < h; ++y) {
            if (f.SinkLeft)
                Now[At(w, 0, y)] = LakeSinkWater;
            if (f.SinkRight)
                Now[At(w, w - 1, y)] = LakeSinkWater;
        }
        Next = Now;
    } catch (const std::bad_alloc&) {
        Now.clear();
        Next.clear();
        return false;
    }
    return true;
}

bool LakeRelaxation::Relax(float& largest) {
    std::copy(Now.begin(), Now.end(), Next.begin());
    largest = 0.0f;
    bool moved = false;
    const int32_t h = S->YSize;
    const int32_t first = Spherical ? 0 : 1;
    const int32_t last = Spherical ? h - 1 : h - 2;
    for (int32_t y = first; y <= last; ++y)
        RelaxRow(y, largest, moved);
    Now.swap(Next);
    return moved;
}

void LakeRelaxation::RelaxRow(int32_t y, float& largest, bool& moved) {
    const int32_t w = S->XSize, h = S->YSize;
    const float* water = Now.data() + At(w, 0, y);
    // A row without water has no source: nothing in it can change the next grid.
    if (std::none_of(water, water + w, [](float v) { return v > 0.0f; }))
        return;
    // Elevation plus water of rows y - 1 .. y + 1 (rows outside the Surface left out).
    const float* level[3] = {nullptr, nullptr, nullptr};
    for (int32_t r = 0; r < 3; ++r) {
        const int32_t row = y - 1 + r;
        if (row < 0 || row >= h)
            continue;
        float* out = Levels.data() + static_cast<size_t>(r) * static_cast<size_t>(w);
        const float* e = S->Rows[row];
        const float* p = Now.data() + At(w, 0, row);
        for (int32_t x = 0; x < w; ++x)
            out[x] = e[x] + p[x];
        level[r] = out;
    }
    const int32_t first = Spherical ? 0 : 1;
    const int32_t last = Spherical ? w - 1 : w - 2;
    for (int32_t x = first; x <= last; ++x) {
        const float here = water[x];
        if (!(here > 0.0f))
            continue;
        largest = std::max(largest, here);
        const float own = level[1][x];
        float d[8];
        size_t cell[8]{};
        float sum = 0.0f;
        for (int32_t k = 0; k < 8; ++k) {
            const Offset o = LakeNeighbours[k];
            d[k] = 0.0f;
            const float* row = level[o.Dy + 1];
            if (row == nullptr)
                continue;
            int32_t nx = x + o.Dx;
            nx = nx < 0 ? w - 1 : (nx >= w ? 0 : nx);
            d[k] = own - row[nx];
            cell[k] = At(w, nx, y + o.Dy);
            if (d[k] > 0.0f)
                sum += d[k];
        }
        if (!(sum > 0.0f))
            continue;
        Next[At(w, x, y)] -= Delta;
        for (int32_t k = 0; k < 8; ++k)
            if (d[k] > 0.0f)
                Next[cell[k]] += Delta * d[k] / sum;
        moved = true;
    }
}

void DrawLakeWater(Image& picture, const std::vector<float>& water, int32_t width, int32_t height,
                   float k, float threshold) {
    if (k <= 0.0f) {
        for (int32_t i = 0; i < 256; ++i)
            picture.Palette[static_cast<size_t>(i)] = i < 128 ? 0 : PackColor(255, 255, 255);
    } else {
        InstallGreyPalette(picture);
    }
    const float perUnit = 236.0f / k;
    std::vector<uint8_t> indices(static_cast<size_t>(width));
    for (int32_t y = 0; y < height; ++y) {
        const float* row = water.data() + At(width, 0, y);
        for (int32_t x = 0; x < width; ++x) {
            uint8_t index = 0;
            if (k <= 0.0f) {
                index = row[x] >= threshold ? 235 : 0;
            } else {
                // Clamped as a float first: sink edges hold -1e18, and NaN takes the lowest grey.
                const float v = std::trunc(perUnit * row[x]);
                index = static_cast<uint8_t>(v >= 235.0f ? 235.0f : (v > 10.0f ? v : 10.0f));
            }
            indices[static_cast<size_t>(x)] = index;
        }
        picture.SetIndices(y, 0, indices.data(), width);
    }
}

int32_t FindLakes(Workspace& ws, LakeFields& f) {
    f.MaxIterations = std::max(f.MaxIterations, 1);
    f.WaterDelta = std::max(f.WaterDelta, 0.01f);
    f.DisplayEvery = std::max(f.DisplayEvery, 1);
    f.DisplayThreshold = std::max(f.DisplayThreshold, 0.01f);
    Surface& s = ws.TheSurface;
    if (!s.HasGrid())
        return LakesDone;
    LakeRelaxation lakes;
    if (!lakes.Start(s, f)) {
        ws.TheHost.ShowMessage(LakeTextList[0].Text);
        return LakesNoMemory;
    }
    Progress& p = ws.TheProgress;
    p.ProgressBegin("Calculating lakes", 1);
    p.CancelFlag = 0;
    const auto draw = [&](float largest) {
        DrawLakeWater(TextureToDrawOn(ws), lakes.Water(), s.XSize, s.YSize,
                      largest * f.DisplayMultiplier, f.DisplayThreshold);
        RedrawViews(ws);
    };
    bool drawn = false;
    float largest = 0.0f;
    for (int32_t i = 0; i < f.MaxIterations && !p.CancelRequested(); ++i) {
        drawn = false;
        const bool moved = lakes.Relax(largest);
        largest = std::min(largest, f.MaxDisplayedDepth);
        if (!moved)
            break;
        if (i % f.DisplayEvery == 0) {
            draw(largest);
            drawn = true;
        }
        p.ProgressUpdate(i, f.MaxIterations);
        p.PumpPendingMessage();
    }
    p.ProgressEnd();
    if (!drawn)
        draw(largest);
    p.CancelFlag = 0;
    if (ws.TheHost.AskYesNo("Add mask to texture map?")) {
        MarkTextureStale(ws);
        Image& picture = TextureToDrawOn(ws);
        const std::vector<float>& water = lakes.Water();
        for (int32_t y = 0; y < s.YSize; ++y)
            for (int32_t x = 0; x < s.XSize; ++x)
                if (water[At(s.XSize, x, y)] >= f.DisplayThreshold)
                    picture.SetIndex(x, y, 0);
        RedrawViews(ws);
    }
    return LakesDone;
}

} // namespace korvel
