#include "shading/lighting_definition_file.h"

#include "core/workspace.h"
#include "generate/definition_file.h"
#include "generate/keywords.h"
#include "shading/light_parms_block.h"

namespace korvel {

int32_t ReadLightingDefinitionFile(const std::string& path, Workspace& ws, std::string& message) {
    LightParms& record = ws.TheSurface.Lighting;
    return ReadDefinitionBlocks(
        path, ws, KwLightParms, "Lighting Definition",
        [&record](TokenReader& reader, Builtins& constants) {
            return ReadLightParms(record, reader, constants);
        },
        message);
}

int32_t WriteLightingDefinitionFile(const std::string& path, Workspace& ws, std::string& message,
                                    RealDigits digits) {
    return WriteDefinitionText(path, FormatLightParms(ws.TheSurface.Lighting, digits), message);
}

} // namespace korvel
