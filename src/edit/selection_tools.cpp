#include "edit/selection_tools.h"

#include "core/dialog_fields.h"
#include "core/surface.h"

#include <algorithm>
#include <cmath>

namespace korvel {

namespace {

bool Usable(const Surface& s, int32_t operation) {
    return s.Mask.Exists() && s.Rows &&
           (operation == SelectionReplace || operation == SelectionAdd ||
            operation == SelectionSubtract);
}

// The part of the Surface the mask covers (a mask left smaller by a size change selects nothing
// beyond its edges).
int32_t Columns(const Surface& s) {
    return std::min(s.XSize, s.Mask.Width());
}
int32_t Rows(const Surface& s) {
    return std::min(s.YSize, s.Mask.Height());
}

// Applies chosen(x, y) to every sample of the covered part.
template <class Chosen> void Apply(Surface& s, int32_t operation, Chosen chosen) {
    const uint8_t set = operation == SelectionSubtract ? 0 : 255;
    for (int32_t y = 0; y < Rows(s); ++y) {
        uint8_t* bytes = s.Mask.RowPointer(0, y);
        for (int32_t x = 0; x < Columns(s); ++x) {
            if (chosen(x, y))
                bytes[x] = set;
            else if (operation == SelectionReplace)
                bytes[x] = 0;
        }
    }
}

} // namespace

int32_t SelectRectangle(Surface& s, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                        int32_t operation) {
    if (!Usable(s, operation))
        return -1;
    const int32_t left = std::min(x0, x1), right = std::max(x0, x1);
    const int32_t bottom = std::min(y0, y1), top = std::max(y0, y1);
    Apply(s, operation,
          [&](int32_t x, int32_t y) { return x >= left && x <= right && y >= bottom && y <= top; });
    return 0;
}

int32_t SelectLasso(Surface& s, const std::vector<OutlinePoint>& outline, int32_t operation) {
    if (!Usable(s, operation))
        return -1;
    const size_t n = outline.size() >= 3 ? outline.size() : 0;
    const int32_t w = Columns(s);
    // Per row, the columns where the outline's edges cross the row's centre line; a sample is
    // inside when an odd number of crossings lie left of its centre.
    std::vector<uint8_t> inside(static_cast<size_t>(w) * static_cast<size_t>(Rows(s)));
    std::vector<double> crossings;
    for (int32_t y = 0; y < Rows(s); ++y) {
        const double cy = y + 0.5;
        crossings.clear();
        for (size_t i = 0; i < n; ++i) {
            const OutlinePoint& a = outline[i];
            const OutlinePoint& b = outline[(i + 1) % n];
            if ((a.Y <= cy) != (b.Y <= cy))
                crossings.push_back(a.X + (cy - a.Y) / (b.Y - a.Y) * (b.X - a.X));
        }
        std::sort(crossings.begin(), crossings.end());
        uint8_t* row = inside.data() + static_cast<size_t>(y) * static_cast<size_t>(w);
        for (size_t k = 0; k + 1 < crossings.size(); k += 2) {
            // The centres x + 0.5 in [crossings[k], crossings[k + 1]).
            const double from = std::clamp(std::ceil(crossings[k] - 0.5), 0.0, double(w));
            const double to = std::clamp(std::ceil(crossings[k + 1] - 0.5), 0.0, double(w));
            std::fill(row + static_cast<ptrdiff_t>(from), row + static_cast<ptrdiff_t>(to),
                      uint8_t{1});
        }
    }
    Apply(s, operation, [&](int32_t x, int32_t y) {
        return inside[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] !=
               0;
    });
    return 0;
}

int32_t SelectConnected(Surface& s, int32_t x, int32_t y, double tolerance, int32_t operation) {
    if (!Usable(s, operation))
        return -1;
    const int32_t w = Columns(s);
    const int32_t h = Rows(s);
    if (x < 0 || y < 0 || x >= w || y >= h || std::isnan(s.Rows[y][x]))
        return -1;
    const double lo = s.Rows[y][x] - std::fabs(tolerance);
    const double hi = s.Rows[y][x] + std::fabs(tolerance);
    std::vector<uint8_t> reached(static_cast<size_t>(w) * static_cast<size_t>(h));
    const auto at = [w](int32_t cx, int32_t cy) {
        return static_cast<size_t>(cy) * static_cast<size_t>(w) + static_cast<size_t>(cx);
    };
    std::vector<std::pair<int32_t, int32_t>> todo{{x, y}};
    reached[at(x, y)] = 1;
    while (!todo.empty()) {
        const auto [cx, cy] = todo.back();
        todo.pop_back();
        constexpr int32_t Steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
        for (const auto& step : Steps) {
            const int32_t nx = cx + step[0];
            const int32_t ny = cy + step[1];
            if (nx < 0 || ny < 0 || nx >= w || ny >= h || reached[at(nx, ny)])
                continue;
            const double e = s.Rows[ny][nx];
            if (e >= lo && e <= hi) {
                reached[at(nx, ny)] = 1;
                todo.emplace_back(nx, ny);
            }
        }
    }
    Apply(s, operation, [&](int32_t cx, int32_t cy) { return reached[at(cx, cy)] != 0; });
    return 0;
}

} // namespace korvel
