#include "commands/operations.h"

#include "core/workspace.h"
#include "generate/procedural.h"

namespace korvel {

int32_t RunCalculate(Workspace& ws) {
    return GenerateSurface(ws, ws.TheSurface.Generation, true);
}

} // namespace korvel
