#pragma once
// Opening and saving by file name: the type comes from the extension. Until every format of
// the program is here, this small table holds the ones that exist.

#include <cstdint>
#include <string>
#include <vector>

namespace korvel {

class Workspace;

struct SurfaceFileType {
    const char* Name;
    const char* Extension; // lower case, without the dot
    // 0, or a code with message set to what the user is shown.
    int32_t (*Read)(const std::string& path, Workspace& ws, std::string& message);
    int32_t (*Write)(const std::string& path, Workspace& ws, std::string& message);
};

const std::vector<SurfaceFileType>& SurfaceFileTypes();
const SurfaceFileType* SurfaceFileTypeFor(const std::string& path);

// 0 on success; otherwise the reader's code (or -100 no extension, -101 unknown extension) with
// the message to show in message.
int32_t OpenSurfaceFile(const std::string& path, Workspace& ws, std::string& message);
int32_t SaveSurfaceFile(const std::string& path, Workspace& ws, std::string& message);

} // namespace korvel
