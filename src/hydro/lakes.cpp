#include "hydro/lakes.h"

#include "core/dialog_fields.h"
#include "core/host.h"
#include "core/image.h"
#include "core/workspace.h"
#include "hydro/erosion_support.h"
#include "hydro/float4.h"
#include "shading/gray_maps.h"
#include "shading/texture.h"

#include <algorithm>
#include <array>
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

namespace {

// Rows of the next grid per piece of work handed to a thread.
constexpr int32_t GatherBlockRows = 128;

// The next grid without wrapping, gathered target by target: each cell starts from its water and
// takes the shares of the sources around it in the order the sources come (row by row, column by
// column, its own loss where it stands itself), which is the order the rules hand them out in, so
// the result is bit for bit theirs while every row can be done on its own. The rows kept (levels
// and drop sums) carry one column of padding on the left and room for four-column loads.
class LakeGather {
public:
    LakeGather(const Surface& s, const std::vector<float>& now, float delta)
        : S(s), Now(now), Delta(delta), Stride(static_cast<size_t>(s.XSize) + 8),
          Levels(5 * Stride, 0.0f), Sums(3 * Stride, 0.0f), Zero(Stride, 0.0f), Out(Stride, 0.0f) {}

    // Rows y0 .. y1 - 1 of next; largest and moved as Relax gives them for the sources there.
    void Rows(int32_t y0, int32_t y1, std::vector<float>& next, float& largest, bool& moved) {
        Owned0 = y0;
        Owned1 = y1;
        const int32_t w = S.XSize;
        const Float4 delta = Float4{} + Delta;
        for (int32_t y = y0; y < y1; ++y) {
            const float* sum[3] = {SumOf(y - 1), SumOf(y), SumOf(y + 1)};
            const float* now = Now.data() + At(w, 0, y);
            float* target = next.data() + At(w, 0, y);
            if (!HasSource[Slot(y - 1, 3)] && !HasSource[Slot(y, 3)] &&
                !HasSource[Slot(y + 1, 3)]) {
                std::copy_n(now, w, target);
                continue;
            }
            const float* level[3] = {LevelOf(y - 1), LevelOf(y), LevelOf(y + 1)};
            std::copy_n(now, w, Out.data());
            for (int32_t x = 0; x < w; x += 4) {
                Float4 v = Load4(Out.data() + x);
                const Float4 own = Load4(level[1] + x + 1);
                for (int32_t r = 0; r < 3; ++r) {
                    for (int32_t dx = -1; dx <= 1; ++dx) {
                        const Float4 total = Load4(sum[r] + x + dx + 1);
                        if (r == 1 && dx == 0) {
                            v = total > 0.0f ? v - delta : v;
                            continue;
                        }
                        const Float4 d = Load4(level[r] + x + dx + 1) - own;
                        v = (total > 0.0f) & (d > 0.0f) ? v + delta * d / total : v;
                    }
                }
                Store4(Out.data() + x, v);
            }
            std::copy_n(Out.data(), w, target);
        }
        largest = std::max(largest, Largest);
        moved = moved || Moved;
    }

private:
    static size_t Slot(int32_t row, int32_t count) {
        return static_cast<size_t>((row + count) % count);
    }

    // Elevation plus water of a row; zeros outside the Surface.
    const float* LevelOf(int32_t row) {
        if (row < 0 || row >= S.YSize)
            return Zero.data();
        const size_t slot = Slot(row, 5);
        float* out = Levels.data() + slot * Stride;
        if (LevelRows[slot] != row) {
            const float* e = S.Rows[row];
            const float* p = Now.data() + At(S.XSize, 0, row);
            for (int32_t x = 0; x < S.XSize; ++x)
                out[x + 1] = e[x] + p[x];
            LevelRows[slot] = row;
        }
        return out;
    }

    // For every source of a row (1 .. YSize - 2, columns 1 .. XSize - 2, water above 0 and some
    // neighbour below it) the sum of its drops, added neighbour by neighbour in order; 0 for
    // every other cell.
    const float* SumOf(int32_t row) {
        const size_t slot = Slot(row, 3);
        float* out = Sums.data() + slot * Stride;
        if (SumRows[slot] == row)
            return out;
        SumRows[slot] = row;
        HasSource[slot] = false;
        std::fill(out, out + Stride, 0.0f);
        if (row < 1 || row > S.YSize - 2)
            return out;
        const int32_t w = S.XSize;
        const float* level[3] = {LevelOf(row - 1), LevelOf(row), LevelOf(row + 1)};
        const float* water = Now.data() + At(w, 0, row);
        const bool owned = row >= Owned0 && row < Owned1;
        const Float4 zero{};
        Float4 deepest{};
        Int4 any{};
        for (int32_t x = 1; x <= w - 2; x += 4) {
            const Float4 own = Load4(level[1] + x + 1);
            Float4 sum{};
            for (int32_t r = 0; r < 3; ++r)
                for (int32_t dx = -1; dx <= 1; ++dx) {
                    if (r == 1 && dx == 0)
                        continue;
                    const Float4 d = own - Load4(level[r] + x + dx + 1);
                    sum += d > 0.0f ? d : zero;
                }
            // Four columns of water: the row below holds what lies past this row's end.
            const Float4 here = Load4(water + x);
            const Int4 inside = (x + Int4{0, 1, 2, 3}) <= w - 2;
            const Int4 wet = inside & (here > 0.0f);
            const Int4 source = wet & (sum > 0.0f);
            Store4(out + x + 1, source ? sum : zero);
            deepest = wet & (here > deepest) ? here : deepest;
            any |= source;
        }
        for (int32_t k = 0; k < 4; ++k) {
            HasSource[slot] = HasSource[slot] || any[k] != 0;
            if (owned)
                Largest = std::max(Largest, deepest[k]);
        }
        Moved = Moved || (owned && HasSource[slot]);
        return out;
    }

    const Surface& S;
    const std::vector<float>& Now;
    float Delta;
    size_t Stride;
    std::vector<float> Levels;
    std::vector<float> Sums;
    std::vector<float> Zero;
    std::vector<float> Out;
    std::array<int32_t, 5> LevelRows{-9, -9, -9, -9, -9};
    std::array<int32_t, 3> SumRows{-9, -9, -9};
    std::array<bool, 3> HasSource{};
    int32_t Owned0 = 0;
    int32_t Owned1 = 0;
    float Largest = 0.0f;
    bool Moved = false;
};

} // namespace

bool LakeRelaxation::Relax(float& largest) {
    largest = 0.0f;
    bool moved = false;
    const int32_t h = S->YSize;
    if (!Spherical) {
        GatherRows(0, h, largest, moved);
        Now.swap(Next);
        return moved;
    }
    std::copy(Now.begin(), Now.end(), Next.begin());
    LevelRows = {-1, -1, -1};
    for (int32_t y = 0; y < h; ++y)
        RelaxWrappingRow(y, largest, moved);
    Now.swap(Next);
    return moved;
}

void LakeRelaxation::GatherRows(int32_t y0, int32_t y1, float& largest, bool& moved) {
    const int32_t blocks = (y1 - y0 + GatherBlockRows - 1) / GatherBlockRows;
    std::vector<float> deepest(static_cast<size_t>(blocks), 0.0f);
    std::vector<uint8_t> anyMoved(static_cast<size_t>(blocks), 0);
    ForEachIndex(blocks, ErosionThreads(Threads), [&](int32_t b) {
        const int32_t first = y0 + b * GatherBlockRows;
        LakeGather gather(*S, Now, Delta);
        bool blockMoved = false;
        gather.Rows(first, std::min(y1, first + GatherBlockRows), Next,
                    deepest[static_cast<size_t>(b)], blockMoved);
        anyMoved[static_cast<size_t>(b)] = blockMoved ? 1 : 0;
    });
    for (int32_t b = 0; b < blocks; ++b) {
        largest = std::max(largest, deepest[static_cast<size_t>(b)]);
        moved = moved || anyMoved[static_cast<size_t>(b)] != 0;
    }
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

void LakeRelaxation::RelaxWrappingRow(int32_t y, float& largest, bool& moved) {
    const int32_t w = S->XSize, h = S->YSize;
    const float* water = Now.data() + At(w, 0, y);
    // A row without water has no source: nothing in it can change the next grid.
    if (std::none_of(water, water + w, [](float v) { return v > 0.0f; }))
        return;
    // Elevation plus water of rows y - 1 .. y + 1 (rows outside the Surface left out).
    const float* level[3] = {y > 0 ? LevelsOf(y - 1) : nullptr, LevelsOf(y),
                             y < h - 1 ? LevelsOf(y + 1) : nullptr};
    for (int32_t x = 0; x < w; ++x) {
        const float here = water[x];
        if (!(here > 0.0f))
            continue;
        largest = std::max(largest, here);
        moved = SpreadAnywhere(x, y, level) || moved;
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
