#include "commands/file_dispatch.h"

#include "core/host.h"
#include "core/workspace.h"
#include "formats/bmp.h"
#include "formats/file_type_table.h"
#include "formats/mat.h"
#include "formats/mdr.h"
#include "formats/pcx.h"
#include "formats/pgm.h"
#include "formats/stm.h"
#include "formats/tga.h"
#include "generate/surface_definition_file.h"
#include "shading/lighting_definition_file.h"
#include "shading/texture.h"

#include <cmath>
#include <cstdio>

namespace korvel {

namespace {

constexpr int32_t NotInThisVersion = -111;

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

std::string TypeName(int32_t type) {
    const FileTypeEntry* row = FindFileType(type);
    return row ? row->Name : "";
}

// A Surface reader: the picture follows the new elevations.
int32_t AfterSurfaceRead(Workspace& ws, const std::string& path, int32_t code) {
    MarkTextureStale(ws);
    if (code == 0)
        ws.RecentFiles.Add(path);
    return code;
}

// A picture read into the TextureMap: the Surface takes the picture's size, keeping its samples.
int32_t AfterTextureRead(Workspace& ws, const std::string& path, int32_t code) {
    if (code != 0)
        return code;
    Surface& s = ws.TheSurface;
    const Image& picture = CurrentTexture(ws);
    const int32_t resized = s.ResizeKeep(picture.Width(), picture.Height(), -1);
    if (resized != 0)
        return resized;
    ws.RecentFiles.Add(path);
    return 0;
}

int32_t ReadDefinition(Workspace& ws, const std::string& path, int32_t type) {
    std::string ignored;
    if (type == FileSurfaceDefinition)
        return ReadSurfaceDefinitionFile(path, ws, ignored);
    const int32_t code = ReadLightingDefinitionFile(path, ws, ignored);
    MarkTextureStale(ws);
    return code;
}

int32_t Dispatch(Workspace& ws, const std::string& path, int32_t type) {
    Progress& progress = ws.TheProgress;
    switch (type) {
    case FileUnknown:
        return -101;
    case FileMdr:
        return AfterSurfaceRead(ws, path, ReadMdrFile(path, ws));
    case FileMat:
        return AfterSurfaceRead(ws, path, ReadMatFile(path, ws));
    case FileStm:
        return AfterSurfaceRead(ws, path, ReadStmFile(path, ws));
    case FileBmpSurface:
        return AfterSurfaceRead(ws, path, ReadBmpSurface(path, ws));
    case FilePcxSurface:
        return AfterSurfaceRead(ws, path, ReadPcxSurface(path, ws));
    case FilePovTgaSurface:
        return AfterSurfaceRead(ws, path, ReadFractintTga(path, ws));
    case FileTargaTexture: {
        // One channel over the current picture, or over a blank one when the Surface takes a new
        // size: either way what was read is the picture now.
        TextureToDrawOn(ws);
        const int32_t code = ReadTgaChannel(path, 0, ws);
        ws.TheSurface.Texture.MarkFresh();
        if (code == 0)
            ws.RecentFiles.Add(path);
        return code;
    }
    case FileBmpTexture:
        return AfterTextureRead(ws, path, ReadBmpImage(path, TextureToDrawOn(ws), progress));
    case FilePcxTexture:
        return AfterTextureRead(ws, path, ReadPcxTexture(path, TextureToDrawOn(ws), progress));
    case FileLightingDefinition:
    case FileSurfaceDefinition:
        return ReadDefinition(ws, path, type);
    case FileUsgsDem:
    case FileBinary:
    case FileDtedCell:
    case FileMuseDted:
    case FileBryce2:
    case FileBryce3D:
    case FileBrushDefinition:
        return NotInThisVersion;
    case FileTin:
    case FileCc2Contours:
    case FileVistaProDem:
        return -110;
    default:
        return -102;
    }
}

} // namespace

int32_t ReadFileByType(Workspace& ws, const std::string& path, bool refresh, int32_t type) {
    if (type < 0)
        type = TypeFromExtension(path);
    int32_t code = -110;
    if (type == -100)
        code = -100;
    else if (type >= FileUnknown && type <= FileTypeLast)
        code = Dispatch(ws, path, type);
    if (refresh)
        ws.TheHost.InvalidateView();
    return code;
}

std::string OpenFailureMessage(int32_t code, const std::string& path, int32_t type) {
    switch (code) {
    case 0:
        return {};
    case -100:
        return Quoted(path) + " does not have an extension";
    case -101:
        return "Unrecognized extension in " + Quoted(path) + ".";
    case -102:
        return "Reading not implemented for this file type";
    case -103:
        return "Error reading Muse DTED file " + Quoted(path) + ".";
    case -104:
        return "Error reading DTED cell file " + Quoted(path) + ".";
    case -105:
        return "Error reading definition file " + Quoted(path) + ".";
    case NotInThisVersion:
        return "Reading " + Quoted(TypeName(type < 0 ? TypeFromExtension(path) : type)) +
               " files is not available yet";
    default: {
        char number[32];
        std::snprintf(number, sizeof number, "(%d)", code);
        return "Error opening file \"" + path + ":\nUnknown return code " + number;
    }
    }
}

namespace {

// The whole Surface was saved under path: it becomes the document.
int32_t SavedAsDocument(Workspace& ws, const std::string& path, int32_t code,
                        const std::string& failure, std::string& message) {
    if (code != 0) {
        message = failure;
        return code;
    }
    ws.CurrentFile = path;
    ws.RecentFiles.Add(path);
    return 0;
}

int32_t Written(int32_t code, const std::string& path, std::string& message) {
    if (code != 0 && message.empty())
        message = "Error writing to " + Quoted(path);
    return code;
}

// The TextureMap, computed first when an edit left it stale.
int32_t WritePicture(Workspace& ws, const std::string& path, int32_t type, std::string& message) {
    if (const int32_t code = UpdateTexture(ws); code == TextureCancelled || code == -2) {
        message =
            "Cannot write " + Quoted(path) + ": " +
            (code == -2 ? "no memory for its picture" : "computing its picture was cancelled");
        return -1;
    }
    const Image& picture = CurrentTexture(ws);
    Progress& progress = ws.TheProgress;
    const bool palette = picture.BitsPerPixel() == 8;
    switch (type) {
    case FileTargaTexture:
        return Written(palette ? WriteTgaTexture8(path, picture, progress)
                               : WriteTgaTexture24(path, picture, progress),
                       path, message);
    case FilePcxTexture:
        return Written(palette ? WritePcx256(path, picture, progress)
                               : WritePcx24(path, picture, progress),
                       path, message);
    default:
        return Written(WriteBmpImage(path, picture, progress), path, message);
    }
}

int32_t Unsupported(const std::string& path, std::string& message) {
    message = "Unable to save file " + path +
              " because extension is not recognized and no type was specified.";
    return -1;
}

} // namespace

int32_t WriteFileByType(Workspace& ws, const std::string& path, int32_t type,
                        std::string& message) {
    message.clear();
    if (type < 0)
        type = TypeFromExtension(path);
    switch (type) {
    case FileUnknown:
        return -100;
    case FileBmpTexture:
    case FileTargaTexture:
    case FilePcxTexture:
        return WritePicture(ws, path, type, message);
    case FileBmpSurface:
        // The writer shows its own failures.
        return WriteBmpSurface(path, ws);
    case FilePgm:
        return Written(WritePgm(path, ws), path, message);
    case FileMdr:
        return SavedAsDocument(ws, path, WriteMdrFile(path, ws), "Error writing MDR file", message);
    case FileMat:
        return SavedAsDocument(ws, path, WriteMatFile(path, ws), "Error writing MAT file", message);
    case FileStm:
        return SavedAsDocument(ws, path, WriteStmFile(path, ws), "Error writing STM file", message);
    case FilePovTgaSurface:
        return SavedAsDocument(ws, path, WriteFractintTga(path, ws),
                               "Error writing to " + Quoted(path), message);
    case FileSurfaceDefinition:
        return WriteSurfaceDefinitionFile(path, ws, message);
    case FileLightingDefinition:
        return WriteLightingDefinitionFile(path, ws, message);
    case FileMuseDted:
    case FileBinary:
    case FilePovMesh:
    case FileDxfQuads:
    case FileDxfTriangles:
    case FileRawTriangles:
    case FileTin:
    case FileObj:
    case FileRayDream:
    case FileLonLatText:
    case FileCc2Contours:
    case FileDxfContours:
    case FileBryce2:
    case FileBryce3D:
    case FileBrushDefinition:
        message = "Writing " + Quoted(TypeName(type)) + " files is not available yet";
        return -1;
    default:
        // Also "USGS DEM Surface": there is no writer, and saying nothing would look like success.
        return Unsupported(path, message);
    }
}

std::string TextureTileName(double left, double bottom) {
    // %.0f of the truncated value: no integer overflow for absurd edges.
    char name[700];
    std::snprintf(name, sizeof name, "%c%.0f%c%.0f.bmp", left < 0 ? 'w' : 'e',
                  std::trunc(std::fabs(left)), bottom < 0 ? 's' : 'n',
                  std::trunc(std::fabs(bottom)));
    return name;
}

int32_t RunTextureBatch(Workspace& ws, const std::vector<std::string>& paths,
                        std::string& message) {
    for (const std::string& path : paths) {
        if (const int32_t code = ReadFileByType(ws, path, false); code != 0) {
            message = OpenFailureMessage(code, path);
            return code;
        }
        // A tile that could not be written stops the batch rather than going missing unseen.
        const size_t dot = path.rfind('.');
        if (dot != std::string::npos && path.compare(dot + 1, std::string::npos, "dem") == 0) {
            if (const int32_t code = WriteFileByType(ws, path.substr(0, dot) + ".dte", -1, message);
                code != 0)
                return code;
        }
        const Surface& s = ws.TheSurface;
        if (const int32_t code =
                WriteFileByType(ws, TextureTileName(s.Left, s.Bottom), -1, message);
            code != 0)
            return code;
    }
    return 0;
}

} // namespace korvel
