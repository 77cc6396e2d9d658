#include "generate/surface_definition_file.h"

#include "core/workspace.h"
#include "generate/definition_file.h"
#include "generate/frac_parms_block.h"
#include "generate/keywords.h"

namespace korvel {

int32_t ReadSurfaceDefinitionFile(const std::string& path, Workspace& ws, std::string& message) {
    FracParms& record = ws.TheSurface.Generation;
    return ReadDefinitionBlocks(
        path, ws, KwFracParms, "Surface Definition",
        [&record](TokenReader& reader, Builtins& constants) {
            return ReadFracParms(record, reader, constants);
        },
        message);
}

int32_t WriteSurfaceDefinitionFile(const std::string& path, Workspace& ws, std::string& message) {
    return WriteDefinitionText(path, FormatFracParms(ws.TheSurface.Generation), message);
}

} // namespace korvel
