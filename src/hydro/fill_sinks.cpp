#include "hydro/fill_sinks.h"

#include "core/progress.h"
#include "core/surface.h"
#include "hydro/erosion_support.h"
#include "hydro/flow_padded_grid.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <limits>
#include <new>
#include <vector>

namespace korvel {

namespace {

constexpr StatusText FillSinksTextRows[] = {
    {FillSinksNoMemory, "out of memory for the working grids"},
};

// Float heights as unsigned keys in the same order.
uint32_t OrderedKey(float h) {
    const auto bits = std::bit_cast<uint32_t>(h);
    return (bits & 0x80000000u) != 0 ? ~bits : bits | 0x80000000u;
}

// A monotone priority queue: the flood never pushes a sample lower than the one it took last, so
// a radix heap (Ahuja et al. 1990) gives the lowest in near-constant time, against the log of a
// binary heap.
class RadixHeap {
public:
    bool Empty() const { return Count == 0; }
    void Push(uint32_t key, uint32_t cell) {
        Buckets[BucketOf(key)].push_back({key, cell});
        ++Count;
    }
    uint32_t Pop() {
        if (Buckets[0].empty()) {
            size_t b = 1;
            while (Buckets[b].empty())
                ++b;
            std::vector<Entry>& from = Buckets[b];
            Last = std::ranges::min_element(from, {}, &Entry::Key)->Key;
            for (const Entry& e : from)
                Buckets[BucketOf(e.Key)].push_back(e);
            from.clear();
        }
        const uint32_t cell = Buckets[0].back().Cell;
        Buckets[0].pop_back();
        --Count;
        return cell;
    }

private:
    struct Entry {
        uint32_t Key;
        uint32_t Cell;
    };
    size_t BucketOf(uint32_t key) const {
        return key == Last ? 0 : static_cast<size_t>(32 - std::countl_zero(key ^ Last));
    }
    std::array<std::vector<Entry>, 33> Buckets;
    uint32_t Last = 0;
    size_t Count = 0;
};

constexpr uint32_t ProgressEvery = 1u << 20;
// Marks a sample of the known stack that was reached uphill; sample numbers stay below it.
constexpr uint32_t Uphill = 1u << 31;

} // namespace

const StatusTable FillSinksTexts{"Fill sinks", FillSinksTextRows};

int32_t FillSinks(Surface& s, Progress& p, const FillSinksParams& params) {
    if (!s.HasGrid())
        return 0;
    const int32_t width = s.XSize;
    const int32_t height = s.YSize;
    if ((static_cast<uint64_t>(width) + 2) * (static_cast<uint64_t>(height) + 2) >= Uphill)
        return FillSinksNoMemory; // more samples than the flood can number
    try {
        FlowPaddedGrid g(s, 0.0f);
        // The frame counts as done, so the flood never steps off the map.
        std::vector<uint8_t> done(g.H.size(), 1);
        for (int32_t y = 0; y < height; ++y)
            std::fill_n(done.begin() + static_cast<ptrdiff_t>(g.Index(0, y)), width, 0);
        RadixHeap open;
        // Samples whose final height is known and whose neighbours wait to be reached: raised
        // ones in a hollow, and ones reached uphill with no lower sample left beside them.
        std::vector<uint32_t> known;
        const bool flats = params.DrainFlats;
        // A sample with an unreached neighbour below it (or level with it, when flats are to
        // drain) may not be passed on before the heap says so: that neighbour may spill lower
        // elsewhere.
        const auto waitsForLower = [&](size_t n) {
            const float h = g.H[n];
            for (const ptrdiff_t offset : g.Offsets) {
                const size_t q = static_cast<size_t>(static_cast<ptrdiff_t>(n) + offset);
                if (done[q] == 0 && (g.H[q] < h || (flats && g.H[q] == h)))
                    return true;
            }
            return false;
        };
        const auto seed = [&](int32_t x, int32_t y) {
            const size_t i = g.Index(x, y);
            if (done[i] == 0) {
                done[i] = 1;
                open.Push(OrderedKey(g.H[i]), static_cast<uint32_t>(i));
            }
        };
        for (int32_t x = 0; x < width; ++x) {
            seed(x, 0);
            seed(x, height - 1);
        }
        for (int32_t y = 0; y < height; ++y) {
            seed(0, y);
            seed(width - 1, y);
        }

        p.ProgressBegin("Filling sinks", 5);
        const uint64_t total = static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
        uint64_t taken = 0;
        while (!known.empty() || !open.Empty()) {
            uint32_t c;
            bool uphill = false;
            if (!known.empty()) {
                c = known.back() & ~Uphill;
                uphill = (known.back() & Uphill) != 0;
                known.pop_back();
            } else {
                c = open.Pop();
            }
            const float hc = g.H[c];
            // What a sample no higher than c becomes: level with it, or just above it.
            const float raised =
                flats ? std::nextafter(hc, std::numeric_limits<float>::infinity()) : hc;
            for (const ptrdiff_t offset : g.Offsets) {
                const size_t n = static_cast<size_t>(static_cast<ptrdiff_t>(c) + offset);
                if (done[n] != 0)
                    continue;
                done[n] = 1;
                const bool level = g.H[n] <= raised;
                // c lies above the flood's level when it was reached uphill: a sample level with
                // it may still spill lower elsewhere.
                if (level && !(uphill && waitsForLower(n))) {
                    g.H[n] = raised;
                    known.push_back(static_cast<uint32_t>(n));
                } else if (level || waitsForLower(n)) {
                    open.Push(OrderedKey(g.H[n]), static_cast<uint32_t>(n));
                } else {
                    // Higher than c, which drains, so it drains too and keeps its height.
                    known.push_back(static_cast<uint32_t>(n) | Uphill);
                }
            }
            if (++taken % ProgressEvery == 0) {
                p.ProgressUpdate(static_cast<double>(taken), static_cast<double>(total));
                p.PumpPendingMessage();
                if (p.CancelRequested())
                    break;
            }
        }
        p.ProgressEnd();
        if (p.ConsumeCancel())
            return -1;
        const MaskedChange change(s);
        for (int32_t y = 0; y < height; ++y)
            std::copy_n(g.H.data() + g.Index(0, y), width, s.Rows[y]);
        change.Apply(s, p);
    } catch (const std::bad_alloc&) {
        return FillSinksNoMemory;
    }
    return 0;
}

} // namespace korvel
