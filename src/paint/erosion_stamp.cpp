#include "paint/erosion_stamp.h"

#include "core/progress.h"
#include "core/random.h"
#include "core/surface.h"
#include "edit/erosion_kernels.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <vector>

namespace korvel {

namespace {

struct Window {
    int32_t X0, Y0, Width, Height;
    size_t Index(int32_t column, int32_t row) const {
        return static_cast<size_t>(row) * static_cast<size_t>(Width) + static_cast<size_t>(column);
    }
};

// The heights of window, scaled and shifted: (h - base) x scale.
std::vector<float> CopyHeights(const Surface& s, const Window& w, double base, double scale) {
    std::vector<float> heights(static_cast<size_t>(w.Width) * static_cast<size_t>(w.Height));
    for (int32_t r = 0; r < w.Height; ++r)
        for (int32_t c = 0; c < w.Width; ++c)
            heights[w.Index(c, r)] =
                static_cast<float>((s.Rows[w.Y0 + r][w.X0 + c] - base) * scale);
    return heights;
}

// Escape stops a stamp before it writes anything; messages are handled every fourth row.
bool Stopped(Progress& p, int32_t row) {
    if (p.CancelRequested())
        return true;
    if (row % 4 == 3)
        p.PumpPendingMessage();
    return false;
}

constexpr std::array<std::array<int32_t, 2>, 8> Neighbours{
    {{-1, 0}, {1, 0}, {0, -1}, {0, 1}, {-1, -1}, {1, -1}, {-1, 1}, {1, 1}}};

} // namespace

int32_t ThermalStamp(const Brush& brush, const StampTarget& target, const FootprintRect& area,
                     StampReport& report) {
    const ThermalFields& f = target.Thermal;
    const auto talus = static_cast<float>(TalusHeight(f));
    if (!(talus >= 0.0f && f.Amount >= 0.0 && f.Amount <= 1.0))
        return StampDone;
    Surface& s = target.S;
    const Window w{area.X0, area.Y0, area.Width, area.Height};
    const std::vector<float> weights = FootprintWeights(brush, s, area);
    const std::vector<float> h = CopyHeights(s, w, 0.0, 1.0);
    const float diagonalTalus = talus * std::sqrt(2.0f);
    // As the whole-map weathering: eight pairs a sample, an eighth of the excess each, halved so
    // that two samples that trade never overshoot each other.
    const auto k = static_cast<float>(f.Amount / 16.0);
    std::vector<float> out(h);
    for (int32_t r = 0; r < w.Height; ++r) {
        if (Stopped(target.TheProgress, r))
            return StampCancelled;
        for (int32_t c = 0; c < w.Width; ++c) {
            const size_t i = w.Index(c, r);
            if (weights[i] == 0.0f)
                continue;
            float flow = 0.0f;
            for (const auto& [dx, dy] : Neighbours) {
                if (c + dx < 0 || c + dx >= w.Width || r + dy < 0 || r + dy >= w.Height)
                    continue;
                const size_t j = w.Index(c + dx, r + dy);
                const float pair = std::min(weights[i], weights[j]);
                if (pair > 0.0f)
                    flow +=
                        pair * TalusExcess(h[i] - h[j], dx != 0 && dy != 0 ? diagonalTalus : talus);
            }
            out[i] = h[i] - k * flow;
        }
    }
    for (int32_t r = 0; r < w.Height; ++r)
        for (int32_t c = 0; c < w.Width; ++c) {
            const size_t i = w.Index(c, r);
            if (out[i] == h[i])
                continue;
            s.Rows[w.Y0 + r][w.X0 + c] = out[i];
            NoteWritten(report, out[i]);
        }
    return StampDone;
}

int32_t HydraulicStamp(const Brush& brush, const StampTarget& target, const FootprintRect& area,
                       StampReport& report) {
    const HydraulicFields& params = target.Hydraulic;
    Surface& s = target.S;
    if (!ValidDropParams(params) || !(s.Max > s.Min))
        return StampDone;
    // The drops run beyond the footprint by their brush and the cell they stand in.
    const int32_t margin = params.Radius + 2;
    const int32_t x0 = std::max(0, area.X0 - margin);
    const int32_t y0 = std::max(0, area.Y0 - margin);
    const Window w{x0, y0, std::min(s.XSize, area.X0 + area.Width + margin) - x0,
                   std::min(s.YSize, area.Y0 + area.Height + margin) - y0};
    double lowest = s.Rows[y0][x0];
    for (int32_t r = 0; r < w.Height; ++r)
        for (int32_t c = 0; c < w.Width; ++c)
            lowest = std::min<double>(lowest, s.Rows[y0 + r][x0 + c]);
    // Heights from the window's lowest, so that no drop digs below 0; scaled like the whole map.
    const double scale = DropScale(s.XSize, s.YSize, s.Min, s.Max);
    const std::vector<float> before = CopyHeights(s, w, lowest, scale);
    std::vector<float> work = before;
    const std::vector<DropBrushCell> cells = MakeDropBrush(params.Radius, w.Width);
    const DropletModel model{work.data(), w.Width, params, cells};
    const auto border = static_cast<float>(params.Radius + 1);
    const DropBox box{border, border, static_cast<float>(w.Width) - border - 1.0f,
                      static_cast<float>(w.Height) - border - 1.0f};
    const std::vector<float> weights = FootprintWeights(brush, s, area);
    const int32_t dx = area.X0 - x0;
    const int32_t dy = area.Y0 - y0;
    for (int32_t r = 0; r < area.Height; ++r) {
        if (Stopped(target.TheProgress, r))
            return StampCancelled;
        for (int32_t c = 0; c < area.Width; ++c) {
            if (weights[static_cast<size_t>(r) * area.Width + c] == 0.0f)
                continue;
            const auto x = static_cast<float>(dx + c + target.Random.RandomUniform());
            const auto y = static_cast<float>(dy + r + target.Random.RandomUniform());
            if (x >= box.X0 && x < box.X1 && y >= box.Y0 && y < box.Y1)
                model.Drop(x, y, box);
        }
    }
    for (int32_t r = 0; r < area.Height; ++r)
        for (int32_t c = 0; c < area.Width; ++c) {
            const float weight = weights[static_cast<size_t>(r) * area.Width + c];
            const size_t i = w.Index(dx + c, dy + r);
            const float delta = work[i] - before[i];
            if (weight == 0.0f || delta == 0.0f)
                continue;
            float& e = s.Rows[area.Y0 + r][area.X0 + c];
            e = static_cast<float>(e + weight * delta / scale);
            NoteWritten(report, e);
        }
    return StampDone;
}

} // namespace korvel
