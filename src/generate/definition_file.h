#pragma once
// What every definition file shares: find the blocks of one kind among whatever else the file
// holds, and write the text in one piece so that a failed save keeps the old file.

#include "generate/token_reader.h"

#include <cstdint>
#include <functional>
#include <string>

namespace korvel {

class Builtins;
class Workspace;

// Hands every block that opens with keyword to readBlock (0 when it read to the block's end).
// 0; -105 with message set when the file cannot be read or a block has no end; -108 with the
// message "no " + blockName + " found in " + path when the file holds no such block.
int32_t ReadDefinitionBlocks(const std::string& path, Workspace& ws, int32_t keyword,
                             const char* blockName,
                             const std::function<int32_t(TokenReader&, Builtins&)>& readBlock,
                             std::string& message);
// 0, or -2 with message set (the old file is kept).
int32_t WriteDefinitionText(const std::string& path, const std::string& text, std::string& message);

} // namespace korvel
