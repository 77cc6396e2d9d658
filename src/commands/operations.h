#pragma once
// The operations that the command table binds to its rows. Each takes its parameters from the
// workspace's setting variables and returns the operation's status code.

#include <cstdint>

namespace korvel {

class Workspace;

// Surface size and map record.
void PrefillNewSurface(Workspace& ws);
int32_t RunNewSurface(Workspace& ws);
void PrefillSurfaceSize(Workspace& ws);
int32_t RunSurfaceSize(Workspace& ws);
void PrefillMapInfo(Workspace& ws);
int32_t RunMapInfo(Workspace& ws);
int32_t RunFindMinMax(Workspace& ws);
int32_t RunRelight(Workspace& ws);
int32_t RunRefreshDisplay(Workspace& ws);
int32_t RunFlushAbort(Workspace& ws);
int32_t RunThermal(Workspace& ws);

// The lighting record: the "Lighting Settings" rules, then a reshade.
int32_t RunLighting(Workspace& ws);

// Surface generation from the Surface's generation record.
int32_t RunCalculate(Workspace& ws);

// Point operations.
int32_t RunClip(Workspace& ws);
int32_t RunExponent(Workspace& ws);
int32_t RunScale(Workspace& ws);
int32_t RunOffset(Workspace& ws);
int32_t RunReplace(Workspace& ws);
int32_t RunThreshold(Workspace& ws);
int32_t RunAddNoise(Workspace& ws);
void PrefillHistogram(Workspace& ws);
int32_t RunHistogram(Workspace& ws);
int32_t RunDeltaCoding(Workspace& ws);

// The selection mask.
int32_t RunSelectNone(Workspace& ws);
int32_t RunSelectAll(Workspace& ws);
int32_t RunSelectInverse(Workspace& ws);
int32_t RunSelectHeightRange(Workspace& ws);
int32_t RunFeather(Workspace& ws);
int32_t RunLoadSelection(Workspace& ws);
int32_t RunSaveSelection(Workspace& ws);

// The Options dialog: brings the program in line with the option settings (the selection
// mask follows "Selection").
int32_t RunOptions(Workspace& ws);

// Undo and redo.
int32_t RunUndo(Workspace& ws);
int32_t RunRedo(Workspace& ws);
int32_t RunFlushUndo(Workspace& ws);

// Enabling rules.
bool CanUndo(const Workspace& ws);
bool CanRedo(const Workspace& ws);
bool CanFlushUndo(const Workspace& ws);
bool HasSelectionMask(const Workspace& ws);
bool HasNoSelectionMask(const Workspace& ws);

} // namespace korvel
