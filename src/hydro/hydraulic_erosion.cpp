#include "hydro/hydraulic_erosion.h"

#include "core/progress.h"
#include "core/surface.h"
#include "edit/erosion_kernels.h"
#include "hydro/erosion_support.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstddef>
#include <new>
#include <vector>

namespace korvel {

namespace {

constexpr StatusText HydraulicTextRows[] = {
    {HydraulicBadParameters,
     "the drops, rain, capacity and lifetime must not be negative, inertia, erosion, deposition "
     "and evaporation must lie in 0..1, and the radius in 1..16"},
    {HydraulicNoMemory, "out of memory for a working copy of the elevations"},
};

// Drops fall tile by tile. Tiles of one colour of a 2 x 2 pattern lie a tile apart, and a drop
// never leaves its tile by more than half a tile (brush included), so the tiles of one colour
// touch disjoint samples and may run on any thread in any order with the same result.
constexpr int32_t TileSize = 128;
// The tile pattern moves between rounds so that its seams fall elsewhere each time.
constexpr int32_t Rounds = 8;

uint64_t Mix(uint64_t z) {
    z += 0x9e3779b97f4a7c15ull;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
}

// A small counter-based stream per tile and round, so that no tile waits for another's draws.
class TileRandom {
public:
    explicit TileRandom(uint64_t key) : State(Mix(key)) {}
    // In [0, 1).
    float Uniform() {
        State = Mix(State);
        return static_cast<float>(State >> 40) * (1.0f / 16777216.0f);
    }

private:
    uint64_t State;
};

struct Tile {
    int32_t X0, Y0, X1, Y1; // the samples where its drops start
    int32_t Colour;
    int64_t Drops;
    uint64_t Key;
};

// The tiles of one round, the pattern moved by (shiftX, shiftY), with the round's drops shared
// out by area.
std::vector<Tile> RoundTiles(int32_t width, int32_t height, int32_t shiftX, int32_t shiftY,
                             int64_t drops, uint64_t roundKey) {
    std::vector<Tile> tiles;
    for (int32_t ty = -1; shiftY + ty * TileSize < height; ++ty)
        for (int32_t tx = -1; shiftX + tx * TileSize < width; ++tx) {
            Tile t;
            t.X0 = std::max(0, shiftX + tx * TileSize);
            t.Y0 = std::max(0, shiftY + ty * TileSize);
            t.X1 = std::min(width, shiftX + (tx + 1) * TileSize);
            t.Y1 = std::min(height, shiftY + (ty + 1) * TileSize);
            if (t.X1 <= t.X0 || t.Y1 <= t.Y0)
                continue;
            t.Colour = (tx & 1) + 2 * (ty & 1);
            t.Key = roundKey * 1000003u + tiles.size();
            tiles.push_back(t);
        }
    const int64_t area = int64_t{width} * height;
    int64_t before = 0;
    for (Tile& t : tiles) {
        const int64_t after = before + int64_t{t.X1 - t.X0} * (t.Y1 - t.Y0);
        t.Drops = drops * after / area - drops * before / area;
        before = after;
    }
    return tiles;
}

// Runs every round; false when cancelled.
bool FallDrops(std::vector<float>& h, int32_t width, int32_t height, const HydraulicFields& params,
               int32_t threadsWanted, Progress& p) {
    const std::vector<DropBrushCell> brush = MakeDropBrush(params.Radius, width);
    const DropletModel sim{h.data(), width, params, brush};
    // A drop keeps clear of the map's border by its brush, and of the next tile of its colour.
    const auto border = static_cast<float>(params.Radius + 1);
    const auto reach = static_cast<float>(TileSize / 2 - params.Radius - 2);
    const int32_t threads = ErosionThreads(threadsWanted);
    std::atomic<bool> stop{false};
    for (int32_t round = 0; round < Rounds; ++round) {
        const uint64_t roundKey = Mix(static_cast<uint64_t>(params.Seed) * Rounds + round);
        const auto shiftX = static_cast<int32_t>(roundKey % TileSize);
        const auto shiftY = static_cast<int32_t>((roundKey >> 32) % TileSize);
        const int64_t drops = int64_t{params.Droplets} * (round + 1) / Rounds -
                              int64_t{params.Droplets} * round / Rounds;
        const std::vector<Tile> tiles = RoundTiles(width, height, shiftX, shiftY, drops, roundKey);
        for (int32_t colour = 0; colour < 4; ++colour) {
            std::vector<const Tile*> ofColour;
            for (const Tile& t : tiles)
                if (t.Colour == colour)
                    ofColour.push_back(&t);
            ForEachIndex(static_cast<int32_t>(ofColour.size()), threads, [&](int32_t i) {
                const Tile& t = *ofColour[static_cast<size_t>(i)];
                const DropBox box{std::max(border, static_cast<float>(t.X0) - reach),
                                  std::max(border, static_cast<float>(t.Y0) - reach),
                                  std::min(static_cast<float>(width) - border - 1.0f,
                                           static_cast<float>(t.X1) + reach),
                                  std::min(static_cast<float>(height) - border - 1.0f,
                                           static_cast<float>(t.Y1) + reach)};
                TileRandom random(t.Key);
                const auto spanX = static_cast<float>(t.X1 - t.X0);
                const auto spanY = static_cast<float>(t.Y1 - t.Y0);
                for (int64_t d = 0; d < t.Drops && !stop.load(std::memory_order_relaxed); ++d) {
                    const float x = static_cast<float>(t.X0) + random.Uniform() * spanX;
                    const float y = static_cast<float>(t.Y0) + random.Uniform() * spanY;
                    if (x >= box.X0 && x < box.X1 && y >= box.Y0 && y < box.Y1)
                        sim.Drop(x, y, box);
                }
            });
            p.ProgressUpdate(round * 4 + colour + 1, Rounds * 4);
            p.PumpPendingMessage();
            if (p.CancelRequested()) {
                stop = true;
                return false;
            }
        }
    }
    return true;
}

} // namespace

const StatusTable HydraulicTexts{"Hydraulic erosion", HydraulicTextRows};

int32_t HydraulicErode(Surface& s, Progress& p, const HydraulicFields& params, int32_t threads) {
    if (!ValidDropParams(params))
        return HydraulicBadParameters;
    if (!s.HasGrid())
        return 0;
    double min = 0.0;
    double max = 0.0;
    if (s.FindMinMax(min, max, p) != 0)
        return -1;
    if (!(max > min))
        return 0; // level ground: no drop moves
    const int32_t width = s.XSize;
    const int32_t height = s.YSize;
    const double scale = DropScale(width, height, min, max);
    const auto toWork = [min, scale](float h) { return static_cast<float>((h - min) * scale); };
    std::vector<float> work;
    try {
        work.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    } catch (const std::bad_alloc&) {
        return HydraulicNoMemory;
    }
    const MaskedChange change(s);
    for (int32_t y = 0; y < height; ++y)
        std::transform(s.Rows[y], s.Rows[y] + width, work.data() + static_cast<size_t>(y) * width,
                       toWork);

    p.ProgressBegin("Hydraulic erosion", 5);
    const bool finished = FallDrops(work, width, height, params, threads, p);
    p.ProgressEnd();

    // Only the change goes back, so that a sample no drop touched keeps every bit.
    for (int32_t y = 0; y < height; ++y) {
        const float* w = work.data() + static_cast<size_t>(y) * width;
        float* row = s.Rows[y];
        for (int32_t x = 0; x < width; ++x) {
            const float delta = w[x] - toWork(row[x]);
            if (delta != 0.0f)
                row[x] = static_cast<float>(row[x] + delta / scale);
        }
    }
    const bool cancelled = !finished && p.ConsumeCancel();
    change.Apply(s, p);
    return cancelled ? -1 : 0;
}

} // namespace korvel
