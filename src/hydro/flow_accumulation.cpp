#include "hydro/flow_accumulation.h"

#include "core/image.h"
#include "core/progress.h"
#include "core/surface.h"
#include "hydro/erosion_support.h"
#include "hydro/flow_padded_grid.h"
#include "shading/gray_maps.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <limits>
#include <new>
#include <vector>

namespace korvel {

namespace {

constexpr StatusText FlowTextRows[] = {
    {FlowBadMethod, "the method must be 0 (D8) or 1 (multiple flow directions)"},
    {FlowNoMemory, "out of memory for the flow grids"},
};

// A sample whose water has been passed on.
constexpr uint8_t Passed = 0xff;
// The direction code of a sample with no lower neighbour.
constexpr uint8_t NoReceiver = 8;

// The frame is infinitely high: never a receiver, never a giver.
constexpr float FrameHeight = std::numeric_limits<float>::infinity();

constexpr int32_t RowsPerBlock = 64;

// The direction code (index into Offsets) of the steepest lower neighbour of every sample of rows
// y0 .. y1.
void FindReceivers(const FlowPaddedGrid& g, HugePageVector<uint8_t>& receiver, int32_t y0,
                   int32_t y1) {
    for (int32_t y = y0; y < y1; ++y) {
        const size_t first = g.Index(0, y);
        for (size_t i = first; i < first + static_cast<size_t>(g.Width); ++i) {
            const float h = g.H[i];
            float steepest = 0.0f;
            uint8_t best = NoReceiver;
            // Selects rather than branches: which neighbour is steepest follows no pattern.
            for (int32_t k = 0; k < 8; ++k) {
                const size_t n = static_cast<size_t>(static_cast<ptrdiff_t>(i) + g.Offsets[k]);
                float slope = h - g.H[n];
                if (FlowPaddedGrid::IsDiagonal(k))
                    slope /= FlowPaddedGrid::Diagonal;
                const bool steeper = slope > steepest;
                steepest = steeper ? slope : steepest;
                best = steeper ? static_cast<uint8_t>(k) : best;
            }
            receiver[i] = best;
        }
    }
}

// How many neighbours send their water to each sample of rows y0 .. y1.
void CountGivers(const FlowPaddedGrid& g, const HugePageVector<uint8_t>& receiver,
                 HugePageVector<uint8_t>& givers, int32_t y0, int32_t y1) {
    for (int32_t y = y0; y < y1; ++y) {
        const size_t first = g.Index(0, y);
        for (size_t i = first; i < first + static_cast<size_t>(g.Width); ++i) {
            uint8_t count = 0;
            for (int32_t k = 0; k < 8; ++k) {
                // The neighbour at Offsets[k] gives to i when its code points back: the codes
                // come in opposite pairs (0, 1), (2, 3), (4, 7), (5, 6).
                const size_t n = static_cast<size_t>(static_cast<ptrdiff_t>(i) + g.Offsets[k]);
                count = static_cast<uint8_t>(count + (receiver[n] == Opposite[k]));
            }
            givers[i] = count;
        }
    }
}

// Water is passed on as soon as everything above a sample has arrived: from each sample nobody
// gives to, down the chain until a sample still waits for another giver.
void AccumulateD8(const FlowPaddedGrid& g, HugePageVector<float>& acc, int32_t threads) {
    // The frame gives to nobody.
    HugePageVector<uint8_t> receiver(g.H.size(), NoReceiver);
    HugePageVector<uint8_t> givers(g.H.size(), 0);
    const int32_t blocks = (g.Height + RowsPerBlock - 1) / RowsPerBlock;
    const auto rowsOf = [&](int32_t b, auto step) {
        step(b * RowsPerBlock, std::min(g.Height, (b + 1) * RowsPerBlock));
    };
    ForEachIndex(blocks, threads, [&](int32_t b) {
        rowsOf(b, [&](int32_t y0, int32_t y1) { FindReceivers(g, receiver, y0, y1); });
    });
    ForEachIndex(blocks, threads, [&](int32_t b) {
        rowsOf(b, [&](int32_t y0, int32_t y1) { CountGivers(g, receiver, givers, y0, y1); });
    });
    for (int32_t y = 0; y < g.Height; ++y) {
        const size_t first = g.Index(0, y);
        for (size_t i = first; i < first + static_cast<size_t>(g.Width); ++i) {
            if (givers[i] != 0)
                continue;
            size_t c = i;
            givers[c] = Passed;
            while (receiver[c] != NoReceiver) {
                const auto r =
                    static_cast<size_t>(static_cast<ptrdiff_t>(c) + g.Offsets[receiver[c]]);
                acc[r] += acc[c];
                if (--givers[r] != 0)
                    break;
                givers[r] = Passed;
                c = r;
            }
        }
    }
}

// Quinn's weights: the drop per distance times the contour length across the flow, half a
// sample for an edge neighbour and a quarter of the diagonal for a corner one.
constexpr float EdgeContour = 0.5f;
constexpr float CornerContour = 0.35355339f;

void PassShares(const FlowPaddedGrid& g, size_t c, HugePageVector<float>& acc,
                HugePageVector<uint8_t>& givers, std::vector<uint32_t>& ready) {
    const float h = g.H[c];
    std::array<float, 8> weight{};
    float total = 0.0f;
    for (int32_t k = 0; k < 8; ++k) {
        const float drop = h - g.H[static_cast<size_t>(static_cast<ptrdiff_t>(c) + g.Offsets[k])];
        if (drop > 0.0f) {
            weight[k] = FlowPaddedGrid::IsDiagonal(k)
                            ? drop / FlowPaddedGrid::Diagonal * CornerContour
                            : drop * EdgeContour;
            total += weight[k];
        }
    }
    for (int32_t k = 0; k < 8; ++k) {
        if (weight[k] == 0.0f)
            continue;
        const size_t n = static_cast<size_t>(static_cast<ptrdiff_t>(c) + g.Offsets[k]);
        acc[n] += acc[c] * (weight[k] / total);
        if (--givers[n] == 0) {
            givers[n] = Passed;
            ready.push_back(static_cast<uint32_t>(n));
        }
    }
}

void AccumulateMultiple(const FlowPaddedGrid& g, HugePageVector<float>& acc) {
    // Every higher neighbour gives a share.
    HugePageVector<uint8_t> givers(g.H.size(), 0);
    for (int32_t y = 0; y < g.Height; ++y) {
        const size_t first = g.Index(0, y);
        for (size_t i = first; i < first + static_cast<size_t>(g.Width); ++i)
            for (const ptrdiff_t offset : g.Offsets) {
                const float other = g.H[static_cast<size_t>(static_cast<ptrdiff_t>(i) + offset)];
                givers[i] =
                    static_cast<uint8_t>(givers[i] + (other > g.H[i] && other != FrameHeight));
            }
    }
    std::vector<uint32_t> ready;
    for (int32_t y = 0; y < g.Height; ++y) {
        const size_t first = g.Index(0, y);
        for (size_t i = first; i < first + static_cast<size_t>(g.Width); ++i) {
            if (givers[i] != 0)
                continue;
            givers[i] = Passed;
            ready.push_back(static_cast<uint32_t>(i));
            while (!ready.empty()) {
                const size_t c = ready.back();
                ready.pop_back();
                PassShares(g, c, acc, givers, ready);
            }
        }
    }
}

} // namespace

const StatusTable FlowTexts{"Flow accumulation", FlowTextRows};

int32_t AccumulateFlow(const Surface& s, Progress& p, FlowMethod method, FlowGrid& flow) {
    if (method != FlowD8 && method != FlowMultiple)
        return FlowBadMethod;
    if (!s.HasGrid())
        return 0;
    try {
        p.ProgressBegin("Accumulating flow", 5);
        const FlowPaddedGrid g(s, FrameHeight);
        HugePageVector<float> acc(g.H.size(), 1.0f);
        if (method == FlowD8)
            AccumulateD8(g, acc, ErosionThreads(0));
        else
            AccumulateMultiple(g, acc);
        p.ProgressUpdate(1, 1);
        p.ProgressEnd();
        const size_t samples = static_cast<size_t>(s.XSize) * static_cast<size_t>(s.YSize);
        // A grid of this size from an earlier run is written over (nothing can fail from here
        // on); otherwise a fresh one is built row by row, never zero-filled first.
        if (flow.Values.size() == samples) {
            for (int32_t y = 0; y < s.YSize; ++y)
                std::copy_n(acc.data() + g.Index(0, y), s.XSize,
                            flow.Values.data() + static_cast<size_t>(y) * s.XSize);
        } else {
            std::vector<float> values;
            values.reserve(samples);
            for (int32_t y = 0; y < s.YSize; ++y)
                values.insert(values.end(), acc.data() + g.Index(0, y),
                              acc.data() + g.Index(0, y) + s.XSize);
            flow.Values = std::move(values);
        }
        flow.Width = s.XSize;
        flow.Height = s.YSize;
    } catch (const std::bad_alloc&) {
        p.ProgressEnd();
        return FlowNoMemory;
    }
    return 0;
}

int32_t SelectWhereFlowExceeds(Surface& s, const FlowGrid& flow, double threshold,
                               int32_t operation) {
    if (!s.Mask.Exists() || flow.Width != s.XSize || flow.Height != s.YSize)
        return -1;
    if (operation != SelectionReplace && operation != SelectionAdd &&
        operation != SelectionSubtract)
        return -1;
    const int32_t columns = std::min(s.XSize, s.Mask.Width());
    const int32_t rows = std::min(s.YSize, s.Mask.Height());
    for (int32_t y = 0; y < rows; ++y) {
        const float* values = flow.Values.data() + static_cast<size_t>(y) * flow.Width;
        uint8_t* bytes = s.Mask.RowPointer(0, y);
        for (int32_t x = 0; x < columns; ++x) {
            const bool chosen = values[x] > threshold;
            if (operation == SelectionReplace)
                bytes[x] = chosen ? 255 : 0;
            else if (chosen)
                bytes[x] = operation == SelectionAdd ? 255 : 0;
        }
    }
    return 0;
}

void DrawFlowPicture(const FlowGrid& flow, Image& picture) {
    InstallGreyPalette(picture);
    float largest = 1.0f;
    for (const float v : flow.Values)
        largest = std::max(largest, v);
    const float scale = largest > 1.0f ? 255.0f / std::log1p(largest) : 0.0f;
    std::vector<uint8_t> line(static_cast<size_t>(flow.Width));
    for (int32_t y = 0; y < flow.Height; ++y) {
        const float* row = flow.Values.data() + static_cast<size_t>(y) * flow.Width;
        for (int32_t x = 0; x < flow.Width; ++x)
            line[static_cast<size_t>(x)] =
                static_cast<uint8_t>(std::clamp(std::log1p(row[x]) * scale, 0.0f, 255.0f));
        picture.SetIndices(y, 0, line.data(), flow.Width);
    }
}

} // namespace korvel
