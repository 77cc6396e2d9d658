// Compiled once per layer with that layer's include folders only: KORVEL_PROBE_HEADER must be
// found when the layer may use it and must not be found when it lies above the layer.
#include KORVEL_PROBE_HEADER
