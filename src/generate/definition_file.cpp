#include "generate/definition_file.h"

#include "core/atomic_file.h"
#include "core/workspace.h"
#include "generate/evaluator.h"
#include "generate/keywords.h"

namespace korvel {

int32_t ReadDefinitionBlocks(const std::string& path, Workspace& ws, int32_t keyword,
                             const char* blockName,
                             const std::function<int32_t(TokenReader&, Builtins&)>& readBlock,
                             std::string& message) {
    const std::string failure = "Error reading definition file \"" + path + "\".";
    TokenReader reader;
    if (reader.Open(path) != 0) {
        message = failure;
        return -105;
    }
    Surface& s = ws.TheSurface;
    Evaluator constants(s, ws.Noise, ws.Random, s.Generation);
    // Other blocks a file may hold are passed over token by token.
    reader.SkipInsignificant();
    bool found = false;
    while (reader.Token() != TokEnd) {
        if (reader.Token() != keyword) {
            reader.Next();
            continue;
        }
        if (readBlock(reader, constants) != 0) {
            message = failure;
            return -105;
        }
        found = true;
    }
    // A file of some other kind would otherwise pass for one that set everything as it was.
    if (!found) {
        message = std::string("no ") + blockName + " found in " + path;
        return -106;
    }
    return 0;
}

int32_t WriteDefinitionText(const std::string& path, const std::string& text,
                            std::string& message) {
    if (!WriteFileAtomically(path, text.data(), text.size())) {
        message = "Unable to write definition file \"" + path + "\".";
        return -2;
    }
    return 0;
}

} // namespace korvel
