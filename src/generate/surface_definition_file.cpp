#include "generate/surface_definition_file.h"

#include "core/atomic_file.h"
#include "core/workspace.h"
#include "generate/evaluator.h"
#include "generate/frac_parms_block.h"
#include "generate/keywords.h"
#include "generate/token_reader.h"

namespace korvel {

namespace {
std::string ReadFailure(const std::string& path) {
    return "Error reading definition file \"" + path + "\".";
}
} // namespace

int32_t ReadSurfaceDefinitionFile(const std::string& path, Workspace& ws, std::string& message) {
    TokenReader reader;
    if (reader.Open(path) != 0) {
        message = ReadFailure(path);
        return -105;
    }
    Surface& s = ws.TheSurface;
    Evaluator constants(s, ws.Noise, ws.Random, s.Generation);
    // Other blocks a file may hold are passed over token by token.
    reader.SkipInsignificant();
    while (reader.Token() != TokEnd) {
        if (reader.Token() != KwFracParms) {
            reader.Next();
            continue;
        }
        if (ReadFracParms(s.Generation, reader, constants) != 0) {
            message = ReadFailure(path);
            return -105;
        }
    }
    return 0;
}

int32_t WriteSurfaceDefinitionFile(const std::string& path, Workspace& ws, std::string& message) {
    const std::string text = FormatFracParms(ws.TheSurface.Generation);
    if (!WriteFileAtomically(path, text.data(), text.size())) {
        message = "Unable to write definition file \"" + path + "\".";
        return -2;
    }
    return 0;
}

} // namespace korvel
