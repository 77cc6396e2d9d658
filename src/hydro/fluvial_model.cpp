#include "hydro/fluvial_model.h"

#include "core/image.h"
#include "core/progress.h"
#include "core/surface.h"
#include "hydro/erosion_support.h"
#include "hydro/float4.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <new>

namespace korvel {

namespace {

constexpr StatusText FluvialTextList[] = {
    {FluvialNoWater, "out of memory for the water grid"},
    {FluvialNoNextWater, "out of memory for the next water grid"},
    {FluvialNoSediment, "out of memory for the sediment grid"},
    {FluvialNoNextSediment, "out of memory for the next sediment grid"},
    {FluvialCancelledRain, "cancelled during rain"},
    {FluvialCancelledStep, "cancelled during a step"},
    {FluvialPictureNotSaved, "a picture could not be written"},
};

bool Finite(float v) {
    return std::fabs(v) <= std::numeric_limits<float>::max();
}

// Rows between cancel checks, and rows handed to a thread at a time.
constexpr int32_t StepChunkRows = 512;
constexpr int32_t StepBlockRows = 32;

} // namespace

const StatusTable FluvialTexts{"fluvial erosion", FluvialTextList};

int32_t FluvialModel::Allocate(int32_t width, int32_t height) {
    const size_t n =
        static_cast<size_t>(std::max(width, 0)) * static_cast<size_t>(std::max(height, 0));
    std::vector<float>* grids[] = {&Water_, &NextWater, &Sediment_, &NextSediment};
    const int32_t codes[] = {FluvialNoWater, FluvialNoNextWater, FluvialNoSediment,
                             FluvialNoNextSediment};
    for (size_t i = 0; i < 4; ++i) {
        try {
            grids[i]->assign(n, 0.0f);
        } catch (const std::bad_alloc&) {
            for (std::vector<float>* g : grids)
                std::vector<float>().swap(*g);
            return codes[i];
        }
    }
    W = width;
    H = height;
    NextWaterHeld = false;
    return FluvialDone;
}

bool FluvialModel::Rain(const Surface& s, double amount, bool fraction, Progress& p) {
    const double a = fraction ? std::clamp(amount, -1.0, 1.0) : amount;
    // The rained grid goes into the spare one: the one it came from then holds W' as the last
    // step left it, which is what W' must start the next step from.
    for (int32_t y = 0; y < H; ++y) {
        if (p.CancelRequested())
            return false;
        const size_t row = static_cast<size_t>(y) * static_cast<size_t>(W);
        const float* water = Water_.data() + row;
        float* rained = NextWater.data() + row;
        const float* e = s.Rows[y];
        for (int32_t x = 0; x < W; ++x) {
            const double v = water[x] + (fraction ? a * e[x] : a);
            // NaN fails the test and leaves 0 as well.
            rained[x] = static_cast<float>(v > 0.0 ? v : 0.0);
        }
    }
    Water_.swap(NextWater);
    NextWaterHeld = true;
    return true;
}

bool FluvialModel::Step(const Surface& s, const FluvialRates& rates, Progress& p) {
    for (int32_t y0 = 0; y0 < H; y0 += StepChunkRows) {
        if (p.CancelRequested())
            return false;
        const int32_t y1 = std::min(H, y0 + StepChunkRows);
        const int32_t blocks = (y1 - y0 + StepBlockRows - 1) / StepBlockRows;
        ForEachIndex(blocks, ErosionThreads(Threads), [&](int32_t b) {
            const int32_t first = y0 + b * StepBlockRows;
            for (int32_t y = first; y < std::min(y1, first + StepBlockRows); ++y)
                GatherRow(s, rates, y);
        });
        p.ProgressUpdate(y1, H);
        p.PumpPendingMessage();
    }
    // W = W' and S = S' by taking the new grids; the spare ones are written over next time.
    Water_.swap(NextWater);
    Sediment_.swap(NextSediment);
    NextWaterHeld = false;
    return true;
}

// The sweep visits the interior cells row by row; each sends water to every neighbour whose level
// (elevation plus water) lies below its own, writing W' of both, and carries sediment there or
// loses some of its own. A cell's W' and S' therefore depend only on the current grids and on
// the order of the flows touching it: the neighbours visited before it, then its own, then those
// visited after it. Taking them in that order here gives the sweep's values bit for bit while
// every row stands on its own.
namespace {

// The grids around one row: elevation, water and sediment of rows y - 1 .. y + 1.
struct FluvialRows {
    const float* E[3];
    const float* Water[3];
    const float* Load[3];
    double Capacity;
    double Keep;
};

// The flow from the source at column nx of row r to the cell of water w and level level: W' and
// S' of the cell as it leaves them. Branch-free: the flows follow the terrain, not a pattern.
inline void Inflow(const FluvialRows& g, int32_t r, int32_t nx, float w, float level, float& nw,
                   float& ns) {
    const float from = g.Water[r][nx];
    float delta = (g.E[r][nx] + from) - level;
    delta = from < delta ? from : delta;
    const bool flows = delta > 0.0f;
    nw = flows ? w + delta : nw;
    const double carried = g.Capacity * delta;
    const auto added = static_cast<float>(ns + carried);
    ns = flows && carried >= g.Load[r][nx] ? added : ns;
}

// The cell's own flows to its eight neighbours, in the sweep's order.
inline void Outflows(const FluvialRows& g, int32_t x, float w, float level, float& nw, float& ns) {
    const double loss = g.Load[1][x] * g.Keep;
    for (int32_t r = 0; r < 3; ++r) {
        for (int32_t dx = -1; dx <= 1; ++dx) {
            if (r == 1 && dx == 0)
                continue;
            float delta = level - (g.E[r][x + dx] + g.Water[r][x + dx]);
            delta = w < delta ? w : delta;
            const bool flows = delta > 0.0f;
            const auto lost = static_cast<float>(ns - loss);
            nw = flows ? w - delta : nw;
            ns = flows ? ns : lost;
        }
    }
}

using Double4 = double __attribute__((vector_size(32)));

// Inflow for four cells side by side: each lane does what Inflow does, so the cells' chains of
// conversions run next to each other instead of one after another.
inline void Inflow4(const FluvialRows& g, int32_t r, int32_t nx, Float4 w, Float4 level, Float4& nw,
                    Float4& ns) {
    const Float4 from = Load4(g.Water[r] + nx);
    Float4 delta = (Load4(g.E[r] + nx) + from) - level;
    delta = from < delta ? from : delta;
    const Int4 flows = delta > 0.0f;
    nw = flows ? w + delta : nw;
    const Double4 carried = g.Capacity * __builtin_convertvector(delta, Double4);
    const Double4 load = __builtin_convertvector(Load4(g.Load[r] + nx), Double4);
    const Double4 before = __builtin_convertvector(ns, Double4);
    // Chosen in double, so no mask changes width; ns comes back from double unchanged.
    const Double4 after = carried >= load ? before + carried : before;
    ns = flows ? __builtin_convertvector(after, Float4) : ns;
}

inline void Outflows4(const FluvialRows& g, int32_t x, Float4 w, Float4 level, Float4& nw,
                      Float4& ns) {
    const Double4 loss = __builtin_convertvector(Load4(g.Load[1] + x), Double4) * g.Keep;
    for (int32_t r = 0; r < 3; ++r) {
        for (int32_t dx = -1; dx <= 1; ++dx) {
            if (r == 1 && dx == 0)
                continue;
            Float4 delta = level - (Load4(g.E[r] + x + dx) + Load4(g.Water[r] + x + dx));
            delta = w < delta ? w : delta;
            const Int4 flows = delta > 0.0f;
            const Float4 lost =
                __builtin_convertvector(__builtin_convertvector(ns, Double4) - loss, Float4);
            nw = flows ? w - delta : nw;
            ns = flows ? ns : lost;
        }
    }
}

} // namespace

// The lanes of four doubles fit one AVX register; without AVX they go through the stack. No FMA
// is enabled, so both versions round alike.
__attribute__((target_clones("avx2", "default"))) void
FluvialModel::GatherRow(const Surface& s, const FluvialRates& rates, int32_t y) {
    const size_t width = static_cast<size_t>(W);
    FluvialRows g{};
    g.Capacity = rates.Capacity;
    g.Keep = 1.0 - rates.Deposition;
    bool sourceRow[3];
    for (int32_t r = 0; r < 3; ++r) {
        const int32_t row = y - 1 + r;
        sourceRow[r] = row >= 1 && row <= H - 2;
        // Rows outside the grid are never read: no source lies there.
        const size_t at = static_cast<size_t>(std::clamp(row, 0, H - 1));
        g.E[r] = s.Rows[at];
        g.Water[r] = Water_.data() + at * width;
        g.Load[r] = Sediment_.data() + at * width;
    }
    // W' and S' keep their values from the last step where no flow reaches: W' is W unless rain
    // came since, and S' always equals S at the start.
    const size_t at = static_cast<size_t>(y) * width;
    const float* lastWater = (NextWaterHeld ? NextWater : Water_).data() + at;
    const float* lastSediment = g.Load[1];
    float* nextWater = NextWater.data() + at;
    float* nextSediment = NextSediment.data() + at;
    int32_t x = 0;
    const auto edgeCell = [&](int32_t cx) {
        const float w = g.Water[1][cx];
        const float level = g.E[1][cx] + w;
        float nw = lastWater[cx];
        float ns = lastSediment[cx];
        const auto inflow = [&](int32_t r, int32_t nx) {
            if (sourceRow[r] && nx >= 1 && nx <= W - 2)
                Inflow(g, r, nx, w, level, nw, ns);
        };
        inflow(0, cx - 1);
        inflow(0, cx);
        inflow(0, cx + 1);
        inflow(1, cx - 1);
        if (sourceRow[1] && cx >= 1 && cx <= W - 2)
            Outflows(g, cx, w, level, nw, ns);
        inflow(1, cx + 1);
        inflow(2, cx - 1);
        inflow(2, cx);
        inflow(2, cx + 1);
        nextWater[cx] = nw;
        nextSediment[cx] = ns;
    };
    // Every neighbour of the cells 2 .. W - 3 of rows 2 .. H - 3 is a source.
    if (sourceRow[0] && sourceRow[2]) {
        for (; x < 2; ++x)
            edgeCell(x);
        for (; x + 3 <= W - 3; x += 4) {
            const Float4 w = Load4(g.Water[1] + x);
            const Float4 level = Load4(g.E[1] + x) + w;
            Float4 nw = Load4(lastWater + x);
            Float4 ns = Load4(lastSediment + x);
            Inflow4(g, 0, x - 1, w, level, nw, ns);
            Inflow4(g, 0, x, w, level, nw, ns);
            Inflow4(g, 0, x + 1, w, level, nw, ns);
            Inflow4(g, 1, x - 1, w, level, nw, ns);
            Outflows4(g, x, w, level, nw, ns);
            Inflow4(g, 1, x + 1, w, level, nw, ns);
            Inflow4(g, 2, x - 1, w, level, nw, ns);
            Inflow4(g, 2, x, w, level, nw, ns);
            Inflow4(g, 2, x + 1, w, level, nw, ns);
            Store4(nextWater + x, nw);
            Store4(nextSediment + x, ns);
        }
    }
    for (; x < W; ++x)
        edgeCell(x);
}

void DrawFluvialPicture(Image& picture, const std::vector<float>& values, int32_t width,
                        int32_t height) {
    float largest = 0.0f;
    for (float v : values)
        if (Finite(v) && v > largest)
            largest = v;
    const double m = largest > 0.0f ? largest : 1.0;
    std::vector<uint8_t> indices(static_cast<size_t>(width));
    for (int32_t y = 0; y < height; ++y) {
        const float* row = values.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
        for (int32_t x = 0; x < width; ++x) {
            const double share = Finite(row[x]) ? std::clamp(row[x] / m, 0.0, 1.0) : 0.0;
            indices[static_cast<size_t>(x)] =
                static_cast<uint8_t>(std::trunc(180.0 * share + 48.0));
        }
        picture.SetIndices(y, 0, indices.data(), width);
    }
}

} // namespace korvel
