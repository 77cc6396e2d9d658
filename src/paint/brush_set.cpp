#include "paint/brush_set.h"

namespace korvel {

Brush& BrushSet::ForPressure(int32_t p, Evaluator& eval) {
    if (p < 0 || p >= PressureLevels || !Current.Flags.Any())
        return Current;
    auto& made = Pressure[static_cast<size_t>(p)];
    if (!made) {
        made = std::make_unique<Brush>();
        made->CopyWithPressure(Current, static_cast<float>(p) / PressureLevels, eval);
    }
    return *made;
}

void BrushSet::CurrentChanged() {
    for (auto& made : Pressure)
        made.reset();
}

int32_t BrushSet::MadeCount() const {
    int32_t count = 0;
    for (const auto& made : Pressure)
        count += made ? 1 : 0;
    return count;
}

} // namespace korvel
