#pragma once
// The dialogs of the erosion, sink filling and flow commands, kept for the run, and the flow
// grid the last flow accumulation kept.

#include "core/dialog_fields.h"

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace korvel {

struct ThermalFields { // "thermal"
    int32_t Iterations = 50;
    double TalusAngle = 35.0; // degrees
    // The distance between neighbouring samples in the unit of the elevations; set from the
    // map each time the dialog opens.
    double Spacing = 1.0;
    double Amount = 0.5;
    bool EdgesDrain = false;
};

// The largest drop between edge neighbours that stays where it is, in the unit of the elevations.
inline double TalusHeight(const ThermalFields& f) {
    return std::tan(f.TalusAngle * std::numbers::pi / 180.0) * f.Spacing;
}

struct HydraulicFields { // "hydraulic"
    int32_t Droplets = 100000;
    // The water a drop starts with.
    double Rain = 1.0;
    // 0: a drop turns straight down the slope; towards 1 it keeps its heading.
    double Inertia = 0.05;
    // Sediment a drop can carry per unit of water, speed and descent.
    double Capacity = 4.0;
    // The part of the missing load picked up per step, and of the surplus laid down.
    double Erosion = 0.3;
    double Deposition = 0.3;
    // The part of the water lost per step.
    double Evaporation = 0.01;
    // Samples round the drop that give up sediment, weighted by closeness.
    int32_t Radius = 3;
    // Steps before a drop stops.
    int32_t Lifetime = 30;
    int32_t Seed = 1;
};

struct FillSinksFields { // "fill-sinks"
    bool DrainFlats = false;
};

struct FlowFields {     // "flow-accumulation"
    int32_t Method = 0; // 0 D8, 1 multiple flow directions
    bool Keep = true;   // keep the grid for save-flow and select-flow
};

struct SelectFlowFields { // "select-flow"
    double Threshold = 100.0;
    int32_t Operation = SelectionReplace;
};

// One value per sample, row-major Width x Height, row 0 first like the Surface.
struct FlowGrid {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<float> Values;
};

} // namespace korvel
