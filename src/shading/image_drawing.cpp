#include "shading/image_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace korvel {

namespace {

// One side of the Liang-Barsky test: p·t <= q must hold along the segment.
bool ClipSide(double p, double q, double& t0, double& t1) {
    if (p == 0.0)
        return q >= 0.0;
    const double t = q / p;
    if (p < 0.0) {
        if (t > t1)
            return false;
        t0 = std::max(t0, t);
    } else {
        if (t < t0)
            return false;
        t1 = std::min(t1, t);
    }
    return true;
}

int32_t ColorDistance(PackedColor a, PackedColor b) {
    int32_t sum = 0;
    for (int32_t shift = 0; shift < 24; shift += 8) {
        const int32_t d =
            static_cast<int32_t>((a >> shift) & 0xFF) - static_cast<int32_t>((b >> shift) & 0xFF);
        sum += d * d;
    }
    return sum;
}

} // namespace

bool ClipSegment(PointD& a, PointD& b, double x0, double y0, double x1, double y1) {
    const double dx = b.X - a.X;
    const double dy = b.Y - a.Y;
    if (!std::isfinite(dx) || !std::isfinite(dy))
        return false;
    double t0 = 0.0;
    double t1 = 1.0;
    if (!ClipSide(-dx, a.X - x0, t0, t1) || !ClipSide(dx, x1 - a.X, t0, t1) ||
        !ClipSide(-dy, a.Y - y0, t0, t1) || !ClipSide(dy, y1 - a.Y, t0, t1))
        return false;
    const PointD from = a;
    if (t1 < 1.0)
        b = {from.X + t1 * dx, from.Y + t1 * dy};
    if (t0 > 0.0)
        a = {from.X + t0 * dx, from.Y + t0 * dy};
    return true;
}

int32_t NearestPaletteIndex(const Image& image, PackedColor color) {
    int32_t best = 0;
    int32_t bestDistance = ColorDistance(image.Palette[0], color);
    for (int32_t i = 1; i < 256 && bestDistance > 0; ++i) {
        const int32_t d = ColorDistance(image.Palette[static_cast<size_t>(i)], color);
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

ImageDrawing::ImageDrawing(Image& image, int32_t width, int32_t height)
    : Picture(image), W(std::clamp(width, 0, image.Width())),
      H(std::clamp(height, 0, image.Height())) {}

uint32_t ImageDrawing::Resolve(Ink ink) const {
    if (Picture.BitsPerPixel() == 8)
        return ink.IsIndex ? ink.Value
                           : static_cast<uint32_t>(NearestPaletteIndex(Picture, ink.Value));
    return ink.IsIndex ? Picture.Palette[ink.Value & 0xFF] & 0xFFFFFFu : ink.Value;
}

void ImageDrawing::SetPen(const Pen& pen) {
    PenValue = Resolve(pen.TheInk);
    PenWidth = std::clamp(pen.Width, 1, MaxPenWidth);
    // A disc of the pen's diameter; widths 1 to 3 fill their square.
    const int32_t lo = -(PenWidth - 1) / 2;
    const int32_t hi = PenWidth / 2;
    const double centre = (lo + hi) / 2.0;
    const double radius = PenWidth / 2.0;
    Footprint.clear();
    for (int32_t dy = lo; dy <= hi; ++dy)
        for (int32_t dx = lo; dx <= hi; ++dx)
            if ((dx - centre) * (dx - centre) + (dy - centre) * (dy - centre) <= radius * radius)
                Footprint.emplace_back(dx, dy);
}

void ImageDrawing::Put(int32_t x, int32_t y, uint32_t value) {
    if (x < 0 || y < 0 || x >= W || y >= H)
        return;
    Picture.SetPixel(x, Picture.Height() - 1 - y, value);
}

uint32_t ImageDrawing::At(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= W || y >= H)
        return 0;
    return Picture.GetPixel(x, Picture.Height() - 1 - y);
}

void ImageDrawing::Pixel(int32_t x, int32_t y) {
    Put(x, y, PenValue);
}

void ImageDrawing::Stamp(int32_t x, int32_t y) {
    for (const auto& [dx, dy] : Footprint)
        Put(x + dx, y + dy, PenValue);
}

void ImageDrawing::Point(double x, double y) {
    Line({x, y}, {x, y});
}

void ImageDrawing::Line(PointD a, PointD b) {
    // Beyond the picture by more than the pen reaches, nothing shows.
    const double margin = PenWidth / 2 + 1;
    if (!ClipSegment(a, b, -margin, -margin, W + margin, H + margin))
        return;
    // Inside the widened picture now: the conversions cannot overflow.
    int32_t x = static_cast<int32_t>(std::floor(a.X));
    int32_t y = static_cast<int32_t>(std::floor(a.Y));
    const int32_t xEnd = static_cast<int32_t>(std::floor(b.X));
    const int32_t yEnd = static_cast<int32_t>(std::floor(b.Y));
    const int32_t dx = std::abs(xEnd - x);
    const int32_t dy = -std::abs(yEnd - y);
    const int32_t sx = x < xEnd ? 1 : -1;
    const int32_t sy = y < yEnd ? 1 : -1;
    int32_t error = dx + dy;
    for (;;) {
        Stamp(x, y);
        if (x == xEnd && y == yEnd)
            break;
        const int32_t twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += sx;
        }
        if (twice <= dx) {
            error += dx;
            y += sy;
        }
    }
}

void ImageDrawing::Polyline(const std::vector<PointD>& points) {
    if (points.size() == 1)
        Point(points[0].X, points[0].Y);
    for (size_t i = 1; i < points.size(); ++i)
        Line(points[i - 1], points[i]);
}

int64_t ImageDrawing::FloodFill(int32_t x, int32_t y, Ink ink) {
    if (x < 0 || y < 0 || x >= W || y >= H)
        return 0;
    const uint32_t target = At(x, y);
    const uint32_t value = Resolve(ink);
    if (value == target)
        return 0;
    int64_t changed = 0;
    // Spans instead of pixels on the stack: its depth stays near the picture's height.
    std::vector<std::pair<int32_t, int32_t>> seeds{{x, y}};
    while (!seeds.empty()) {
        auto [sx, sy] = seeds.back();
        seeds.pop_back();
        if (At(sx, sy) != target)
            continue;
        int32_t left = sx;
        while (left > 0 && At(left - 1, sy) == target)
            --left;
        int32_t right = sx;
        while (right + 1 < W && At(right + 1, sy) == target)
            ++right;
        for (int32_t i = left; i <= right; ++i)
            Put(i, sy, value);
        changed += right - left + 1;
        for (const int32_t ny : {sy - 1, sy + 1}) {
            if (ny < 0 || ny >= H)
                continue;
            bool inRun = false;
            for (int32_t i = left; i <= right; ++i) {
                const bool matches = At(i, ny) == target;
                if (matches && !inRun)
                    seeds.emplace_back(i, ny);
                inRun = matches;
            }
        }
    }
    return changed;
}

} // namespace korvel
