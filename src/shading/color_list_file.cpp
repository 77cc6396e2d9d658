#include "shading/color_list_file.h"

#include "core/color_list.h"
#include "generate/definition_file.h"
#include "generate/keywords.h"
#include "shading/color_list_block.h"

namespace korvel {

int32_t ReadColorListFile(const std::string& path, Workspace& ws, ColorList& list,
                          std::string& message) {
    // Read into copies so that a file ending inside a block leaves the edited list whole.
    ColorList first = list;
    ColorList later;
    bool taken = false;
    const int32_t code = ReadDefinitionBlocks(
        path, ws, KwColorList, "Color List",
        [&](TokenReader& reader, Builtins& constants) {
            const int32_t read = ReadColorList(taken ? later : first, reader, constants);
            taken = true;
            return read;
        },
        message);
    if (code == 0)
        list = first;
    return code;
}

int32_t WriteColorListFile(const std::string& path, const ColorList& list, std::string& message) {
    return WriteDefinitionText(path, FormatColorList(list), message);
}

} // namespace korvel
