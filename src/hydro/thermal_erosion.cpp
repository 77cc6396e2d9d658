#include "hydro/thermal_erosion.h"

#include "core/progress.h"
#include "core/surface.h"
#include "edit/erosion_kernels.h"
#include "hydro/erosion_support.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <new>
#include <utility>
#include <vector>

namespace korvel {

namespace {

constexpr StatusText ThermalTextRows[] = {
    {ThermalBadParameters, "the talus must not be negative, the amount must lie in 0..1 and the "
                           "iterations must not be negative"},
    {ThermalNoMemory, "out of memory for a working copy of the elevations"},
};

// Rows handed to one worker at a time.
constexpr int32_t RowsPerBlock = 32;

struct Rates {
    float Talus;
    float DiagonalTalus;
    float K; // the part of the excess one pair exchanges
};

// One interior row, x in 1 .. width - 2: every neighbour exists.
[[gnu::target_clones("avx2", "default")]] void InteriorRow(const float* below, const float* row,
                                                           const float* above, float* out,
                                                           int32_t width, Rates r) {
    for (int32_t x = 1; x + 1 < width; ++x) {
        const float h = row[x];
        const float edges = TalusExcess(h - row[x - 1], r.Talus) +
                            TalusExcess(h - row[x + 1], r.Talus) +
                            TalusExcess(h - below[x], r.Talus) + TalusExcess(h - above[x], r.Talus);
        const float corners = TalusExcess(h - below[x - 1], r.DiagonalTalus) +
                              TalusExcess(h - below[x + 1], r.DiagonalTalus) +
                              TalusExcess(h - above[x - 1], r.DiagonalTalus) +
                              TalusExcess(h - above[x + 1], r.DiagonalTalus);
        out[x] = h - r.K * (edges + corners);
    }
}

struct Grid {
    const float* H;
    int32_t Width;
    int32_t Height;
    float At(int32_t x, int32_t y) const { return H[static_cast<size_t>(y) * Width + x]; }
    bool Inside(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }
};

constexpr std::array<std::array<int32_t, 2>, 8> Neighbours{
    {{-1, 0}, {1, 0}, {0, -1}, {0, 1}, {-1, -1}, {1, -1}, {-1, 1}, {1, 1}}};

// A sample on the border. A neighbour beyond a draining edge continues the slope from the
// sample opposite it, and takes what slides down to it but gives nothing back.
float BorderSample(const Grid& g, int32_t x, int32_t y, Rates r, bool drain) {
    const float h = g.At(x, y);
    float flow = 0.0f;
    for (const auto& [dx, dy] : Neighbours) {
        const float talus = dx != 0 && dy != 0 ? r.DiagonalTalus : r.Talus;
        if (g.Inside(x + dx, y + dy))
            flow += TalusExcess(h - g.At(x + dx, y + dy), talus);
        else if (drain && g.Inside(x - dx, y - dy))
            flow += std::max(g.At(x - dx, y - dy) - h - talus, 0.0f);
    }
    return h - r.K * flow;
}

void IterateRows(const Grid& g, float* out, int32_t y0, int32_t y1, Rates r, bool drain) {
    for (int32_t y = y0; y < y1; ++y) {
        float* o = out + static_cast<size_t>(y) * g.Width;
        if (y == 0 || y == g.Height - 1) {
            for (int32_t x = 0; x < g.Width; ++x)
                o[x] = BorderSample(g, x, y, r, drain);
            continue;
        }
        const float* row = g.H + static_cast<size_t>(y) * g.Width;
        InteriorRow(row - g.Width, row, row + g.Width, o, g.Width, r);
        o[0] = BorderSample(g, 0, y, r, drain);
        if (g.Width > 1)
            o[g.Width - 1] = BorderSample(g, g.Width - 1, y, r, drain);
    }
}

} // namespace

const StatusTable ThermalTexts{"Thermal erosion", ThermalTextRows};

int32_t ThermalErode(Surface& s, Progress& p, const ThermalErosionParams& params) {
    if (!(params.Talus >= 0.0 && params.Amount >= 0.0 && params.Amount <= 1.0) ||
        params.Iterations < 0)
        return ThermalBadParameters;
    if (!s.HasGrid())
        return 0;
    const int32_t width = s.XSize;
    const int32_t height = s.YSize;
    const size_t samples = static_cast<size_t>(width) * static_cast<size_t>(height);
    std::vector<float> current;
    std::vector<float> next;
    try {
        current.resize(samples);
        next.resize(samples);
    } catch (const std::bad_alloc&) {
        return ThermalNoMemory;
    }
    const MaskedChange change(s);
    for (int32_t y = 0; y < height; ++y)
        std::copy_n(s.Rows[y], width, current.data() + static_cast<size_t>(y) * width);

    // Eight pairs per sample: an eighth of the excess each, halved so that two samples that
    // trade never overshoot each other.
    const Rates rates{static_cast<float>(params.Talus),
                      static_cast<float>(params.Talus * std::sqrt(2.0)),
                      static_cast<float>(params.Amount / 16.0)};
    const int32_t threads = ErosionThreads(params.Threads);
    const int32_t blocks = (height + RowsPerBlock - 1) / RowsPerBlock;
    p.ProgressBegin("Thermal erosion", 5);
    for (int32_t i = 0; i < params.Iterations && !p.CancelRequested(); ++i) {
        const Grid grid{current.data(), width, height};
        ForEachIndex(blocks, threads, [&](int32_t b) {
            IterateRows(grid, next.data(), b * RowsPerBlock,
                        std::min(height, (b + 1) * RowsPerBlock), rates, params.EdgesDrain);
        });
        std::swap(current, next);
        p.ProgressUpdate(i + 1, params.Iterations);
        p.PumpPendingMessage();
    }
    p.ProgressEnd();
    for (int32_t y = 0; y < height; ++y)
        std::copy_n(current.data() + static_cast<size_t>(y) * width, width, s.Rows[y]);
    const bool cancelled = p.ConsumeCancel();
    change.Apply(s, p);
    return cancelled ? -1 : 0;
}

} // namespace korvel
