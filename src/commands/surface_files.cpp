#include "commands/surface_files.h"

#include "formats/mat.h"
#include "formats/mdr.h"
#include "formats/pgm.h"
#include "formats/stm.h"
#include "generate/surface_definition_file.h"

#include <cctype>
#include <cstdio>

namespace korvel {

namespace {

// Readers report their codes through the generic message.
int32_t Opened(int32_t code, const std::string& path, std::string& message) {
    if (code != 0) {
        char number[32];
        std::snprintf(number, sizeof number, "(%d)", code);
        message = "Error opening file \"" + path + ":\nUnknown return code " + number;
    }
    return code;
}

int32_t Saved(int32_t code, const char* failure, std::string& message) {
    if (code != 0)
        message = failure;
    return code;
}

int32_t ReadMdr(const std::string& path, Workspace& ws, std::string& message) {
    return Opened(ReadMdrFile(path, ws), path, message);
}
int32_t WriteMdr(const std::string& path, Workspace& ws, std::string& message) {
    return Saved(WriteMdrFile(path, ws), "Error writing MDR file", message);
}
int32_t ReadMat(const std::string& path, Workspace& ws, std::string& message) {
    return Opened(ReadMatFile(path, ws), path, message);
}
int32_t WriteMat(const std::string& path, Workspace& ws, std::string& message) {
    return Saved(WriteMatFile(path, ws), "Error writing MAT file", message);
}
// Formats that are only written.
int32_t NotReadable(const std::string&, Workspace&, std::string& message) {
    message = "Reading not implemented for this file type";
    return -102;
}
int32_t WritePgmFile(const std::string& path, Workspace& ws, std::string& message) {
    return Saved(WritePgm(path, ws), "Error writing PGM file", message);
}
int32_t ReadStm(const std::string& path, Workspace& ws, std::string& message) {
    return Opened(ReadStmFile(path, ws), path, message);
}
// A failed STM save is reported too, so the old file is not mistaken for the new one.
int32_t WriteStm(const std::string& path, Workspace& ws, std::string& message) {
    return Saved(WriteStmFile(path, ws), "Error writing STM file", message);
}

} // namespace

const std::vector<SurfaceFileType>& SurfaceFileTypes() {
    static const std::vector<SurfaceFileType> types = {
        {"MDR Surface", "mdr", ReadMdr, WriteMdr},
        {"Matlab MAT Surface", "mat", ReadMat, WriteMat},
        {"STM Surface", "stm", ReadStm, WriteStm},
        {"16-bit PGM Surface", "pgm", NotReadable, WritePgmFile},
        {"Surface Definition", "srf", ReadSurfaceDefinitionFile, WriteSurfaceDefinitionFile},
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

} // namespace

const SurfaceFileType* SurfaceFileTypeFor(const std::string& path) {
    const SurfaceFileType* type = nullptr;
    return Lookup(path, type) == 0 ? type : nullptr;
}

int32_t OpenSurfaceFile(const std::string& path, Workspace& ws, std::string& message) {
    const SurfaceFileType* type = nullptr;
    if (const int32_t code = Lookup(path, type); code != 0) {
        message = code == -100 ? "\"" + path + "\" does not have an extension"
                               : "Unrecognized extension in \"" + path + "\".";
        return code;
    }
    return type->Read(path, ws, message);
}

int32_t SaveSurfaceFile(const std::string& path, Workspace& ws, std::string& message) {
    const SurfaceFileType* type = nullptr;
    if (Lookup(path, type) != 0) {
        message = "Unable to save file " + path +
                  " because extension is not recognized and no type was specified.";
        return -1;
    }
    return type->Write(path, ws, message);
}

} // namespace korvel
