#include "formats/surface_files.h"

#include "formats/mdr.h"

#include <cctype>
#include <cstdio>

namespace korvel {

const std::vector<SurfaceFileType>& SurfaceFileTypes() {
    static const std::vector<SurfaceFileType> types = {
        {"MDR Surface", "mdr", ReadMdrFile, WriteMdrFile, "Error writing MDR file"},
    };
    return types;
}

namespace {

// -100 without a dot, -101 with an extension no type has, 0 with type set.
int32_t Lookup(const std::string& path, const SurfaceFileType*& type) {
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos)
        return -100;
    std::string ext = path.substr(dot + 1);
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const SurfaceFileType& t : SurfaceFileTypes())
        if (ext == t.Extension) {
            type = &t;
            return 0;
        }
    return -101;
}

std::string LookupMessage(int32_t code, const std::string& path) {
    if (code == -100)
        return "\"" + path + "\" does not have an extension";
    return "Unrecognized extension in \"" + path + "\".";
}

} // namespace

const SurfaceFileType* SurfaceFileTypeFor(const std::string& path) {
    const SurfaceFileType* type = nullptr;
    return Lookup(path, type) == 0 ? type : nullptr;
}

int32_t OpenSurfaceFile(const std::string& path, Workspace& ws, std::string& message) {
    const SurfaceFileType* type = nullptr;
    if (const int32_t code = Lookup(path, type); code != 0) {
        message = LookupMessage(code, path);
        return code;
    }
    const int32_t code = type->Read(path, ws);
    if (code != 0) {
        char number[32];
        std::snprintf(number, sizeof number, "(%d)", code);
        message = "Error opening file \"" + path + ":\nUnknown return code " + number;
    }
    return code;
}

int32_t SaveSurfaceFile(const std::string& path, Workspace& ws, std::string& message) {
    const SurfaceFileType* type = nullptr;
    if (Lookup(path, type) != 0) {
        message = "Unable to save file " + path +
                  " because extension is not recognized and no type was specified.";
        return -1;
    }
    const int32_t code = type->Write(path, ws);
    if (code != 0)
        message = type->WriteFailure;
    return code;
}

} // namespace korvel
