#include "generate/definition_file.h"

#include "core/atomic_file.h"
#include "core/status.h"
#include "core/workspace.h"
#include "generate/evaluator.h"
#include "generate/keywords.h"

#include <cerrno>

namespace korvel {

int32_t ReadDefinitionBlocks(const std::string& path, Workspace& ws, int32_t keyword,
                             const char* blockName,
                             const std::function<int32_t(TokenReader&, Builtins&)>& readBlock,
                             std::string& message) {
    const std::string failure = "Error reading definition file \"" + path + "\": ";
    TokenReader reader;
    errno = 0;
    if (reader.Open(path) != 0) {
        message = failure + ErrnoText(errno != 0 ? errno : EIO);
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
            message = failure + "the file ends inside a block";
            return -105;
        }
        found = true;
    }
    // A file of some other kind would otherwise pass for one that set everything as it was.
    if (!found) {
        message = std::string("no ") + blockName + " found in " + path;
        return -108;
    }
    return 0;
}

int32_t WriteDefinitionText(const std::string& path, const std::string& text,
                            std::string& message) {
    AtomicFile file(path);
    if (!(file.Open() && file.Write(text.data(), text.size()) && file.Commit())) {
        message = "Unable to write definition file \"" + path + "\": " + ErrnoText(file.Error());
        return -2;
    }
    return 0;
}

} // namespace korvel
