#include "edit/erosion_kernels.h"

#include <cmath>

namespace korvel {

namespace {

constexpr float Gravity = 4.0f;
constexpr float MinCapacity = 0.01f;

} // namespace

bool ValidDropParams(const HydraulicFields& p) {
    const auto unit = [](double v) { return v >= 0.0 && v <= 1.0; };
    return p.Droplets >= 0 && p.Rain >= 0.0 && p.Capacity >= 0.0 && p.Lifetime >= 0 &&
           unit(p.Inertia) && unit(p.Erosion) && unit(p.Deposition) && unit(p.Evaporation) &&
           p.Radius >= 1 && p.Radius <= MaxDropRadius;
}

double DropScale(int32_t width, int32_t height, double min, double max) {
    constexpr double ReliefPerSample = 1.0 / 256.0;
    return std::max(width, height) * ReliefPerSample / (max - min);
}

std::vector<DropBrushCell> MakeDropBrush(int32_t radius, int32_t width) {
    std::vector<DropBrushCell> brush;
    float total = 0.0f;
    for (int32_t dy = -radius; dy <= radius; ++dy)
        for (int32_t dx = -radius; dx <= radius; ++dx) {
            const auto distance = static_cast<float>(std::sqrt(dx * dx + dy * dy));
            if (distance < static_cast<float>(radius)) {
                const float weight = static_cast<float>(radius) - distance;
                brush.push_back({static_cast<ptrdiff_t>(dy) * width + dx, weight});
                total += weight;
            }
        }
    for (DropBrushCell& cell : brush)
        cell.Weight /= total;
    return brush;
}

float DropletModel::HeightAndGradient(float x, float y, float& gx, float& gy) const {
    const auto nx = static_cast<int32_t>(x);
    const auto ny = static_cast<int32_t>(y);
    const float u = x - static_cast<float>(nx);
    const float v = y - static_cast<float>(ny);
    const float* c = H + static_cast<size_t>(ny) * Width + nx;
    const float h00 = c[0];
    const float h10 = c[1];
    const float h01 = c[Width];
    const float h11 = c[Width + 1];
    gx = (h10 - h00) * (1.0f - v) + (h11 - h01) * v;
    gy = (h01 - h00) * (1.0f - u) + (h11 - h10) * u;
    return h00 * (1.0f - u) * (1.0f - v) + h10 * u * (1.0f - v) + h01 * (1.0f - u) * v +
           h11 * u * v;
}

void DropletModel::Drop(float x, float y, const DropBox& box) const {
    const auto inertia = static_cast<float>(Params.Inertia);
    const auto capacity = static_cast<float>(Params.Capacity);
    const auto erosion = static_cast<float>(Params.Erosion);
    const auto deposition = static_cast<float>(Params.Deposition);
    const float keep = 1.0f - static_cast<float>(Params.Evaporation);
    float dirX = 0.0f;
    float dirY = 0.0f;
    float speed = 1.0f;
    auto water = static_cast<float>(Params.Rain);
    float sediment = 0.0f;
    for (int32_t step = 0; step < Params.Lifetime; ++step) {
        const auto nx = static_cast<int32_t>(x);
        const auto ny = static_cast<int32_t>(y);
        const float u = x - static_cast<float>(nx);
        const float v = y - static_cast<float>(ny);
        float gx;
        float gy;
        const float height = HeightAndGradient(x, y, gx, gy);
        dirX = dirX * inertia - gx * (1.0f - inertia);
        dirY = dirY * inertia - gy * (1.0f - inertia);
        const float length = std::sqrt(dirX * dirX + dirY * dirY);
        if (!(length > 0.0f))
            break;
        dirX /= length;
        dirY /= length;
        x += dirX;
        y += dirY;
        if (!(x >= box.X0 && x < box.X1 && y >= box.Y0 && y < box.Y1))
            break;
        const float drop = HeightAndGradient(x, y, gx, gy) - height;
        const float load = std::max(-drop * speed * water * capacity, MinCapacity);
        float* c = H + static_cast<size_t>(ny) * Width + nx;
        if (sediment > load || drop > 0.0f) {
            // Climbing fills the hollow behind; slowing lays down part of the surplus.
            const float amount =
                drop > 0.0f ? std::min(drop, sediment) : (sediment - load) * deposition;
            sediment -= amount;
            c[0] += amount * (1.0f - u) * (1.0f - v);
            c[1] += amount * u * (1.0f - v);
            c[Width] += amount * (1.0f - u) * v;
            c[Width + 1] += amount * u * v;
        } else {
            // Never dig deeper than the drop descended, nor below the lowest sample.
            const float amount = std::min((load - sediment) * erosion, -drop);
            for (const DropBrushCell& cell : Brush) {
                float& h = c[cell.Offset];
                const float taken = std::min(h, amount * cell.Weight);
                h -= taken;
                sediment += taken;
            }
        }
        speed = std::sqrt(std::max(0.0f, speed * speed - drop * Gravity));
        water *= keep;
    }
}

} // namespace korvel
