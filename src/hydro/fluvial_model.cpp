#include "hydro/fluvial_model.h"

#include "core/image.h"
#include "core/progress.h"
#include "core/surface.h"

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
    return FluvialDone;
}

bool FluvialModel::Rain(const Surface& s, double amount, bool fraction, Progress& p) {
    const double a = fraction ? std::clamp(amount, -1.0, 1.0) : amount;
    for (int32_t y = 0; y < H; ++y) {
        if (p.CancelRequested())
            return false;
        float* water = Water_.data() + static_cast<size_t>(y) * static_cast<size_t>(W);
        const float* e = s.Rows[y];
        for (int32_t x = 0; x < W; ++x) {
            const double v = water[x] + (fraction ? a * e[x] : a);
            // NaN fails the test and leaves 0 as well.
            water[x] = static_cast<float>(v > 0.0 ? v : 0.0);
        }
    }
    return true;
}

bool FluvialModel::Step(const Surface& s, const FluvialRates& rates, Progress& p) {
    for (int32_t y = 1; y < H - 1; ++y) {
        if (p.CancelRequested())
            return false;
        StepRow(s, rates, y);
        p.ProgressUpdate(y, H);
        p.PumpPendingMessage();
    }
    // W' and S' keep their values into the next step: cells no flow reaches keep the old ones.
    std::copy(NextWater.begin(), NextWater.end(), Water_.begin());
    std::copy(NextSediment.begin(), NextSediment.end(), Sediment_.begin());
    return true;
}

void FluvialModel::StepRow(const Surface& s, const FluvialRates& rates, int32_t y) {
    const size_t width = static_cast<size_t>(W);
    const double keep = 1.0 - rates.Deposition;
    const float* e[3] = {s.Rows[y - 1], s.Rows[y], s.Rows[y + 1]};
    const float* water[3];
    float* nextWater[3];
    float* nextSediment[3];
    for (int32_t r = 0; r < 3; ++r) {
        const size_t row = static_cast<size_t>(y - 1 + r) * width;
        water[r] = Water_.data() + row;
        nextWater[r] = NextWater.data() + row;
        nextSediment[r] = NextSediment.data() + row;
    }
    const float* sediment = Sediment_.data() + static_cast<size_t>(y) * width;
    for (int32_t x = 1; x < W - 1; ++x) {
        const float w = water[1][x];
        const float level = e[1][x] + w;
        const float load = sediment[x];
        float ownSediment = nextSediment[1][x];
        for (int32_t dy = -1; dy <= 1; ++dy) {
            for (int32_t dx = -1; dx <= 1; ++dx) {
                if (dx == 0 && dy == 0)
                    continue;
                const int32_t nx = x + dx;
                const float nw = water[dy + 1][nx];
                float delta = level - (e[dy + 1][nx] + nw);
                if (w < delta)
                    delta = w;
                if (!(delta > 0.0f)) {
                    ownSediment = static_cast<float>(ownSediment - load * keep);
                    continue;
                }
                nextWater[1][x] = w - delta;
                nextWater[dy + 1][nx] = nw + delta;
                const double carried = rates.Capacity * delta;
                // The amount taken from the source's own sediment when its load moves on is the
                // sweep's working value, which it only ever sets to 0: the source keeps its S'.
                if (carried >= load) {
                    float& to = nextSediment[dy + 1][nx];
                    to = static_cast<float>(to + carried);
                }
            }
        }
        nextSediment[1][x] = ownSediment;
    }
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
