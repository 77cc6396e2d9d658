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
#include <cstring>
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
        // Padded: the last row's four-column loads reach one past its end.
        Levels.assign(static_cast<size_t>(w) * 3 + 4, 0.0f);
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
    LevelRows = {-1, -1, -1};
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

const float* LakeRelaxation::LevelsOf(int32_t row) {
    const int32_t w = S->XSize;
    const auto slot = static_cast<size_t>(row % 3);
    float* out = Levels.data() + slot * static_cast<size_t>(w);
    if (LevelRows[slot] != row) {
        const float* e = S->Rows[row];
        const float* p = Now.data() + At(w, 0, row);
        for (int32_t x = 0; x < w; ++x)
            out[x] = e[x] + p[x];
        LevelRows[slot] = row;
    }
    return out;
}

void LakeRelaxation::RelaxRow(int32_t y, float& largest, bool& moved) {
    const int32_t w = S->XSize, h = S->YSize;
    const float* water = Now.data() + At(w, 0, y);
    // A row without water has no source: nothing in it can change the next grid.
    if (std::none_of(water, water + w, [](float v) { return v > 0.0f; }))
        return;
    // Elevation plus water of rows y - 1 .. y + 1 (rows outside the Surface left out).
    const float* level[3] = {y > 0 ? LevelsOf(y - 1) : nullptr, LevelsOf(y),
                             y < h - 1 ? LevelsOf(y + 1) : nullptr};
    if (!Spherical) {
        RelaxInteriorRow(y, level, largest, moved);
        return;
    }
    for (int32_t x = 0; x < w; ++x) {
        const float here = water[x];
        if (!(here > 0.0f))
            continue;
        largest = std::max(largest, here);
        moved = SpreadAnywhere(x, y, level) || moved;
    }
}

namespace {

using Float4 = float __attribute__((vector_size(16)));
using Int4 = int32_t __attribute__((vector_size(16)));

Float4 Load4(const float* p) {
    Float4 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// Lanes 1 .. 3 of v, then next.
Float4 ShiftIn(Float4 v, float next) {
    return Float4{v[1], v[2], v[3], next};
}

} // namespace

// Columns 1 .. XSize - 2 of an interior row. Each source's three neighbour rows are taken as
// columns x - 1 .. x + 2 at once (the cell itself and column x + 2 masked out), the sum still
// neighbour by neighbour in order. The next grid's columns x - 1 .. x + 2 of the three rows ride
// along in registers and are stored once no later source of the row can reach them, so each
// target takes its shares in the order the sources come, as SpreadAnywhere gives them.
void LakeRelaxation::RelaxInteriorRow(int32_t y, const float* const level[3], float& largest,
                                      bool& moved) {
    const int32_t w = S->XSize;
    const float* water = Now.data() + At(w, 0, y);
    float* next[3] = {Next.data() + At(w, 0, y - 1), Next.data() + At(w, 0, y),
                      Next.data() + At(w, 0, y + 1)};
    const auto column = [w](const float* row, int32_t x) { return x < w ? row[x] : 0.0f; };
    Float4 window[3];
    for (int32_t r = 0; r < 3; ++r)
        window[r] = Float4{next[r][0], next[r][1], column(next[r], 2), column(next[r], 3)};
    const Float4 zero{};
    const Float4 delta = zero + Delta;
    for (int32_t x = 1; x <= w - 2; ++x) {
        const float here = water[x];
        if (here > 0.0f) {
            largest = std::max(largest, here);
            const float own = level[1][x];
            const Float4 dUp = own - Load4(level[0] + x - 1);
            const Float4 dMid = own - Load4(level[1] + x - 1);
            const Float4 dDown = own - Load4(level[2] + x - 1);
            const Int4 upMask = (dUp > 0.0f) & Int4{-1, -1, -1, 0};
            const Int4 midMask = (dMid > 0.0f) & Int4{-1, 0, -1, 0};
            const Int4 downMask = (dDown > 0.0f) & Int4{-1, -1, -1, 0};
            const Float4 up = upMask ? dUp : zero;
            const Float4 mid = midMask ? dMid : zero;
            const Float4 down = downMask ? dDown : zero;
            float sum = 0.0f;
            sum += up[0];
            sum += up[1];
            sum += up[2];
            sum += mid[0];
            sum += mid[2];
            sum += down[0];
            sum += down[1];
            sum += down[2];
            if (sum > 0.0f) {
                const Float4 total = zero + sum;
                window[0] = upMask ? window[0] + delta * dUp / total : window[0];
                window[1] = midMask ? window[1] + delta * dMid / total : window[1];
                window[2] = downMask ? window[2] + delta * dDown / total : window[2];
                window[1][1] -= Delta;
                moved = true;
            }
        }
        // Column x - 1 is final for this row's sources.
        for (int32_t r = 0; r < 3; ++r) {
            next[r][x - 1] = window[r][0];
            window[r] = ShiftIn(window[r], column(next[r], x + 3));
        }
    }
    for (int32_t r = 0; r < 3; ++r) {
        next[r][w - 2] = window[r][0];
        next[r][w - 1] = window[r][1];
    }
}

bool LakeRelaxation::SpreadAnywhere(int32_t x, int32_t y, const float* const level[3]) {
    const int32_t w = S->XSize;
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
        return false;
    Next[At(w, x, y)] -= Delta;
    for (int32_t k = 0; k < 8; ++k)
        if (d[k] > 0.0f)
            Next[cell[k]] += Delta * d[k] / sum;
    return true;
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
