#pragma once
// Surface generation: plasma (type 0) or one function of the FracParms record evaluated at every
// sample, over a flat window of 3D space or over an ellipsoid seen on a latitude/longitude grid.

#include <cstdint>
#include <string>
#include <vector>

namespace korvel {

class SettingsStore;
class Workspace;
struct FracParms;

constexpr int32_t ProceduralError = -1;
constexpr int32_t ProceduralCancelled = -3;

// Generates the Surface of ws from params, then applies the map-scale settings and sets XRes/YRes
// from the edges. 0 done; -1 when the generation was refused (the message has been shown, the
// Surface is unchanged) or cancelled (the computed rows stay, the map-scale step is skipped and
// the cancel flag is left for the command to clear).
int32_t GenerateSurface(Workspace& ws, const FracParms& params, bool showProgress);

// Types 1 to 6. Spherical when params.TexSphere is set and the type is a fractal (2 to 6). 0 done,
// ProceduralError (message shown, Surface unchanged), ProceduralCancelled (Min/Max describe the
// samples computed).
int32_t GenerateProcedural(Workspace& ws, const FracParms& params, bool showProgress);

// The "BL" button: log2 of the longer side less 2, at least 0.5, truncated to 4 decimals.
double BandLimitOctaves(int32_t xsize, int32_t ysize);

// The expressions of the Calculate dialog, most recent first; "sinc(r)" alone when none is stored.
std::vector<std::string> ReadExpressionHistory(SettingsStore& store);
// After OK: chosen goes to the top, followed by the first 16 entries of history without it.
// Writes the list back and returns it.
std::vector<std::string> WriteExpressionHistory(SettingsStore& store,
                                                const std::vector<std::string>& history,
                                                const std::string& chosen);

} // namespace korvel
