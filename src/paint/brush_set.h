#pragma once
// The program's brushes: the current one and the 256 pressure brushes derived from it. A
// pressure brush is made when a stroke first asks for it, and only when some pressure flag is
// set: otherwise every pressure level shares the current brush.
#include "paint/brush.h"

#include <array>
#include <cstdint>
#include <memory>

namespace korvel {

class Evaluator;

class BrushSet {
public:
    static constexpr int32_t PressureLevels = 256;

    // The brush a stamp with pressure index p (0..255, -1 for none) uses.
    Brush& ForPressure(int32_t p, Evaluator& eval);
    // After the current brush changed: the pressure brushes are made again when next needed.
    void CurrentChanged();
    // How many pressure brushes exist now (for tests of the lazy making).
    int32_t MadeCount() const;

    Brush Current;

private:
    std::array<std::unique_ptr<Brush>, PressureLevels> Pressure;
};

} // namespace korvel
