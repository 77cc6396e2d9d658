#pragma once
// A journey through texture space: one procedural surface per frame, its parameters moving in a
// straight line from the journey's starts towards its ends, each frame shaded and, for the two
// sequence outputs, saved as a numbered picture.

#include <cstdint>
#include <string>
#include <vector>

namespace korvel {

class Workspace;
struct FracParms;
struct JourneyFields;

// The record and edges of the frame at t (0 for the first frame): value = (end - start) x t +
// start for every parameter, type, seed and spherical flag from the journey.
void JourneyFrameParms(const JourneyFields& journey, double t, FracParms& record);

// The file name of a sequence number: "pic00007.bmp" or "pic00007.pcx".
std::string JourneyFileName(int32_t output, int32_t sequence);

// "RGS": both ends of every parameter from the generation record (its spherical area as the
// edges), and its seed.
void FillJourneyFromRecord(JourneyFields& journey, const FracParms& record);

// The status window's lines for frame (1-based) of frames drawn with record: "Frame %d of %d",
// then every parameter the journey moves, as "%0.4f".
std::vector<std::string> JourneyStatusLines(int32_t frame, int32_t frames, const FracParms& record);

// Runs the journey of ws.Journey, writing pictures into folder (empty: the current folder),
// with the host's status window open throughout. Exactly Frames frames are drawn. 0 done; -1 no
// frame (Frames below 1, the message shown); -2 stopped by a cancel, or from the status window
// (after the frame's generation, which is then neither shaded nor saved); otherwise the code of
// the failed save (its message shown).
int32_t RunJourney(Workspace& ws, const std::string& folder = std::string());

} // namespace korvel
