#include "commands/file_dispatch.h"
#include "commands/bryce_commands.h"
#include "commands/contour_export_commands.h"
#include "commands/import_commands.h"
#include "commands/mesh_export_commands.h"

#include "core/host.h"
#include "core/workspace.h"
#include "formats/ascii_grid.h"
#include "formats/binary_grid.h"
#include "formats/bmp.h"
#include "formats/exr.h"
#include "formats/file_type_table.h"
#include "formats/geotiff.h"
#include "formats/hgt.h"
#include "formats/mat.h"
#include "formats/mdr.h"
#include "formats/muse_dted.h"
#include "formats/pcx.h"
#include "formats/pgm.h"
#include "formats/png_heights.h"
#include "formats/raw_heights.h"
#include "formats/stm.h"
#include "formats/tga.h"
#include "formats/usgs_dem.h"
#include "formats/world_file.h"
#include "generate/surface_definition_file.h"
#include "paint/brush_file.h"
#include "shading/lighting_definition_file.h"
#include "shading/texture.h"

#include <cmath>
#include <cstdio>

namespace korvel {

namespace {

constexpr StatusText DispatchTextList[] = {
    {DispatchNoExtension, "the name has no extension"},
    {DispatchUnknownExtension, "no file type has the extension"},
    {DispatchNotReadable, "Reading not implemented for this file type"},
    {DispatchMuseFailed, "the MUSE DTED file cannot be read"},
    {DispatchDtedFailed, "the DTED cell file cannot be read"},
    {DispatchDefinitionFailed, "the definition file cannot be read"},
    {DispatchMuseCancelled, "the MUSE DTED read information was cancelled"},
    {DispatchDtedCancelled, "the DTED cell read information was cancelled"},
    {DispatchNoDefinition, "the definition file holds no block of its kind"},
    {DispatchNoReader, "the file type has no reader"},
};

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
// The picture was read over the TextureMap without shading it first, since a read replaces all
// of it: one that holds what was read (in full, or up to a cancel) is up to date; one a refusal
// left alone keeps its state, and one emptied for want of memory is computed again when read.
int32_t AfterTextureRead(Workspace& ws, const std::string& path, int32_t code, bool pictureRead,
                         std::string* reason) {
    if (pictureRead)
        ws.TheSurface.Texture.MarkFresh();
    else if (ws.TheSurface.Texture.AsIs().IsEmpty())
        MarkTextureStale(ws);
    if (code != 0)
        return code;
    Surface& s = ws.TheSurface;
    const Image& picture = CurrentTexture(ws);
    const bool sameSize = s.XSize == picture.Width() && s.YSize == picture.Height();
    const int32_t resized = s.ResizeKeep(picture.Width(), picture.Height(), -1);
    if (resized != 0)
        return Refuse(reason, resized, "out of memory for a Surface of the picture's size");
    // Samples were cut off or zeros added: the extremes are those of what is left.
    if (!sameSize)
        s.FindMinMax(s.Min, s.Max, ws.TheProgress);
    ws.RecentFiles.Add(path);
    return 0;
}

int32_t ReadDefinition(Workspace& ws, const std::string& path, int32_t type, std::string* reason) {
    std::string message;
    int32_t code = 0;
    if (type == FileSurfaceDefinition) {
        code = ReadSurfaceDefinitionFile(path, ws, message);
    } else if (type == FileBrushDefinition) {
        code = ReadBrushDefinitionFile(path, ws, message);
    } else {
        code = ReadLightingDefinitionFile(path, ws, message);
        MarkTextureStale(ws);
    }
    return code == 0 ? 0 : Refuse(reason, code, message);
}

int32_t Dispatch(Workspace& ws, const std::string& path, int32_t type, std::string* reason) {
    Progress& progress = ws.TheProgress;
    switch (type) {
    case FileUnknown:
        return DispatchUnknownExtension;
    case FileMdr:
        return AfterSurfaceRead(ws, path, ReadMdrFile(path, ws, reason));
    case FileMat:
        return AfterSurfaceRead(ws, path, ReadMatFile(path, ws, reason));
    case FileStm:
        return AfterSurfaceRead(ws, path, ReadStmFile(path, ws, reason));
    case FileBmpSurface:
        return AfterSurfaceRead(ws, path, ReadBmpSurface(path, ws, reason));
    case FilePcxSurface:
        return AfterSurfaceRead(ws, path, ReadPcxSurface(path, ws, reason));
    case FilePovTgaSurface:
        return AfterSurfaceRead(ws, path, ReadFractintTga(path, ws, reason));
    case FileTargaTexture: {
        // One channel over the current picture, or over a blank one when the Surface takes a new
        // size: either way what was read is the picture now.
        TextureToDrawOn(ws);
        const int32_t code = ReadTgaChannel(path, 0, ws, reason);
        ws.TheSurface.Texture.MarkFresh();
        if (code == 0)
            ws.RecentFiles.Add(path);
        return code;
    }
    case FileBmpTexture: {
        const int32_t code = ReadBmpImage(path, ws.TheSurface.Texture.AsIs(), progress, reason);
        return AfterTextureRead(ws, path, code, code == 0, reason);
    }
    case FilePcxTexture: {
        const int32_t code = ReadPcxTexture(path, ws.TheSurface.Texture.AsIs(), progress, reason);
        return AfterTextureRead(ws, path, code, code == 0 || code == PcxReadCancelled, reason);
    }
    case FileLightingDefinition:
    case FileSurfaceDefinition:
    case FileBrushDefinition:
        return ReadDefinition(ws, path, type, reason);
    case FileRaw16:
    case FileRaw16Raw:
        return AfterSurfaceRead(ws, path, ReadRawFile(path, 2, ws, reason));
    case FileRaw32:
        return AfterSurfaceRead(ws, path, ReadRawFile(path, 4, ws, reason));
    case FilePngSurface:
        return AfterSurfaceRead(ws, path, ReadPngFile(path, ws, reason));
    case FileGeoTiff:
        return AfterSurfaceRead(ws, path, ReadGeoTiffFile(path, ws, reason));
    case FileExr:
        return AfterSurfaceRead(ws, path, ReadExrFile(path, ws, reason));
    case FileAsciiGrid:
        return AfterSurfaceRead(ws, path, ReadAsciiGridFile(path, ws, reason));
    case FileHgt:
        return AfterSurfaceRead(ws, path, ReadHgtFile(path, ws, reason));
    case FileBryce2:
        return AfterSurfaceRead(ws, path, ReadBryceFile(BryceKind::Bryce2, path, ws, reason));
    case FileBryce3D:
        return AfterSurfaceRead(ws, path, ReadBryceFile(BryceKind::Bryce3D, path, ws, reason));
    case FileUsgsDem:
        return AfterSurfaceRead(ws, path, ReadUsgsDemFile(path, ws, reason));
    case FileBinary:
        return AfterSurfaceRead(ws, path, OpenBinarySurface(ws, path, reason));
    case FileDtedCell:
        return AfterSurfaceRead(ws, path, OpenDtedCell(ws, path, reason));
    case FileMuseDted:
        return AfterSurfaceRead(ws, path, OpenMuseDted(ws, path, reason));
    case FileTin:
    case FileCc2Contours:
    case FileVistaProDem:
        return DispatchNoReader;
    default:
        return DispatchNotReadable;
    }
}

// The codes the dispatch gives itself, rather than passing on from a reader.
bool IsDispatchRefusal(int32_t code) {
    return code == DispatchNoExtension || code == DispatchUnknownExtension ||
           code == DispatchNotReadable || code == DispatchNoReader;
}

// The reason of a dispatch code, naming the type where it helps.
std::string DispatchReason(int32_t code, int32_t type) {
    switch (code) {
    case DispatchNotReadable:
        return DescribeStatus(DispatchTexts, code) + " (" + Quoted(TypeName(type)) +
               " files are only written)";
    case DispatchNoReader: {
        if (FindFileType(type))
            return Quoted(TypeName(type)) + " files have no reader";
        char text[64];
        std::snprintf(text, sizeof text, "no file type has the code 0x%X", type);
        return text;
    }
    default:
        return DescribeStatus(DispatchTexts, code);
    }
}

} // namespace

const StatusTable DispatchTexts{"opening", DispatchTextList};

int32_t ReadFileByType(Workspace& ws, const std::string& path, bool refresh, int32_t type,
                       std::string* reason) {
    ws.FileNotes.clear();
    if (type < 0)
        type = ReadableTypeFromExtension(path);
    int32_t code = DispatchNoReader;
    if (type == DispatchNoExtension)
        code = DispatchNoExtension;
    else if (type >= FileUnknown && type <= FileTypeLast)
        code = Dispatch(ws, path, type, reason);
    if (IsDispatchRefusal(code))
        Refuse(reason, code, DispatchReason(code, type));
    if (refresh)
        ws.TheHost.InvalidateView();
    return code;
}

std::string OpenFailureMessage(int32_t code, const std::string& path, int32_t type,
                               const std::string& reason) {
    switch (code) {
    case 0:
        return {};
    case DispatchNoExtension:
        return Quoted(path) + " does not have an extension";
    case DispatchUnknownExtension:
        return "Unrecognized extension in " + Quoted(path) + ".";
    case DispatchMuseFailed:
        return "Error reading Muse DTED file " + Quoted(path) +
               (reason.empty() ? "." : ": " + reason);
    case DispatchDtedFailed:
        return "Error reading DTED cell file " + Quoted(path) +
               (reason.empty() ? "." : ": " + reason);
    case DispatchDefinitionFailed:
    case DispatchNoDefinition:
        // The definition reader's message names the file and says why.
        return reason.empty() ? "Error reading definition file " + Quoted(path) + "." : reason;
    default:
        break;
    }
    if (!reason.empty())
        return "cannot open " + Quoted(path) + ": " + reason;
    if (IsDispatchRefusal(code)) {
        if (type < 0)
            type = ReadableTypeFromExtension(path);
        return "cannot open " + Quoted(path) + ": " + DispatchReason(code, type);
    }
    return "cannot open " + Quoted(path) + ": " + DescribeStatus(DispatchTexts, code);
}

namespace {

// A writer's failure on one line: the documented text, the file and why.
std::string WriteFailure(const std::string& text, const std::string& path,
                         const std::string& reason) {
    return text + " " + Quoted(path) + ": " + reason;
}

int32_t Written(int32_t code, const std::string& path, const std::string& reason,
                std::string& message) {
    if (code != 0)
        message = WriteFailure("Error writing to", path, reason);
    return code;
}

// The whole Surface was saved under path: it becomes the document.
int32_t SavedAsDocument(Workspace& ws, const std::string& path, int32_t code,
                        const std::string& failure, const std::string& reason,
                        std::string& message) {
    if (code != 0) {
        message = WriteFailure(failure, path, reason);
        return code;
    }
    ws.CurrentFile = path;
    ws.RecentFiles.Add(path);
    return 0;
}

// A type this version does not write: said of the type when there is one.
int32_t Unwritable(const std::string& path, int32_t type, std::string& message) {
    const FileTypeEntry* row = FindFileType(type);
    if (!row || type == FileUnknown)
        message = "Unable to save file " + path +
                  " because extension is not recognized and no type was specified.";
    else if (row->CanRead())
        message = "Unable to save file " + path + ": " + Quoted(row->Name) +
                  " files can be read but not written";
    else
        message =
            "Unable to save file " + path + ": " + Quoted(row->Name) + " files cannot be written";
    return -1;
}

// The TextureMap, computed first when an edit left it stale.
int32_t WritePicture(Workspace& ws, const std::string& path, int32_t type, std::string& message) {
    if (const int32_t code = UpdateTexture(ws);
        code == TextureCancelled || code == TextureNoPicture) {
        message = "Cannot write " + Quoted(path) + ": " +
                  (code == TextureNoPicture ? "no memory for its picture"
                                            : "computing its picture was cancelled");
        return -1;
    }
    const Image& picture = CurrentTexture(ws);
    Progress& progress = ws.TheProgress;
    const bool palette = picture.BitsPerPixel() == 8;
    std::string why;
    switch (type) {
    case FileTargaTexture:
        return Written(palette ? WriteTgaTexture8(path, picture, progress, &why)
                               : WriteTgaTexture24(path, picture, progress, &why),
                       path, why, message);
    case FilePcxTexture:
        return Written(palette ? WritePcx256(path, picture, progress, &why)
                               : WritePcx24(path, picture, progress, &why),
                       path, why, message);
    default:
        return Written(WriteBmpImage(path, picture, progress, &why), path, why, message);
    }
}

// A BMP written: GDAL and QGIS place it on the map through the world file beside it.
int32_t WithWorldFile(Workspace& ws, const std::string& path, int32_t code) {
    if (code == 0)
        WriteWorldFileBeside(path, ws.TheSurface, ws.FileNotes);
    return code;
}

} // namespace

std::function<int32_t(const std::string& path, std::string& message)>
PictureSaverFor(Workspace& ws) {
    return [&ws](const std::string& path, std::string& message) {
        return WriteFileByType(ws, path, -1, message);
    };
}

int32_t WriteFileByType(Workspace& ws, const std::string& path, int32_t type,
                        std::string& message) {
    message.clear();
    ws.FileNotes.clear();
    if (type < 0)
        type = TypeFromExtension(path);
    if (type == FileUnknown)
        return DispatchNoExtension;
    const FileTypeEntry* row = FindFileType(type);
    if (!row || !row->CanWrite())
        return Unwritable(path, type, message);
    std::string why;
    switch (type) {
    case FileBmpTexture:
    case FileBmpSurface:
        return WithWorldFile(ws, path,
                             type == FileBmpTexture
                                 ? WritePicture(ws, path, type, message)
                                 : Written(WriteBmpSurface(path, ws, &why), path, why, message));
    case FileTargaTexture:
    case FilePcxTexture:
        return WritePicture(ws, path, type, message);
    case FilePgm:
        return Written(WritePgm(path, ws, &why), path, why, message);
    case FileMdr:
        return SavedAsDocument(ws, path, WriteMdrFile(path, ws, &why), "Error writing MDR file",
                               why, message);
    case FileMat:
        return SavedAsDocument(ws, path, WriteMatFile(path, ws, &why), "Error writing MAT file",
                               why, message);
    case FileStm:
        return SavedAsDocument(ws, path, WriteStmFile(path, ws, true, &why),
                               "Error writing STM file", why, message);
    case FilePovTgaSurface:
        return SavedAsDocument(ws, path, WriteFractintTga(path, ws, &why), "Error writing to", why,
                               message);
    case FileSurfaceDefinition:
        return WriteSurfaceDefinitionFile(path, ws, message);
    case FileRaw16:
    case FileRaw16Raw:
        return Written(WriteRawFile(path, 2, ws, &why), path, why, message);
    case FileRaw32:
        return Written(WriteRawFile(path, 4, ws, &why), path, why, message);
    case FileAsciiGrid:
        return Written(WriteAsciiGridFile(path, ws, &why), path, why, message);
    case FilePngSurface:
        return Written(WritePngFile(path, ws, &why), path, why, message);
    case FileGeoTiff:
        return Written(WriteGeoTiffFile(path, ws, &why), path, why, message);
    case FileExr:
        return Written(WriteExrFile(path, ws, &why), path, why, message);
    case FileLightingDefinition:
        return WriteLightingDefinitionFile(path, ws, message);
    case FileBrushDefinition:
        return WriteBrushDefinitionFile(path, ws, message);
    case FileMuseDted: {
        const int32_t code = WriteMuseDtedFile(path, ws, &why);
        return SavedAsDocument(ws, path, code,
                               std::string("Error \"") + MuseWriteStep(code) + "\" writing", why,
                               message);
    }
    case FileBinary:
        return Written(ExportBinaryFile(path, ws, &why), path, why, message);
    case FileDxfQuads:
    case FileDxfTriangles:
    case FilePovMesh:
    case FileRayDream:
    case FileTin:
    case FileObj:
    case FileLonLatText:
    case FileRawTriangles:
        return ExportMesh(ws, path, type, message);
    case FileDxfContours:
        return ExportDxfContours(ws, path, message);
    case FileCc2Contours:
        return ExportCc2Contours(ws, path, message);
    case FileBryce2:
        return ExportBryce(ws, path, BryceKind::Bryce2, message);
    case FileBryce3D:
        return ExportBryce(ws, path, BryceKind::Bryce3D, message);
    default:
        // A row that says it writes but has no case here: refused rather than a silent success.
        return Unwritable(path, type, message);
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

int32_t RunTextureBatch(Workspace& ws, const std::vector<std::string>& paths, std::string& message,
                        std::vector<TextureTile>& tiles) {
    for (const std::string& path : paths) {
        std::string reason;
        if (const int32_t code = ReadFileByType(ws, path, false, -1, &reason); code != 0) {
            message = OpenFailureMessage(code, path, -1, reason);
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
        const std::string tile = TextureTileName(s.Left, s.Bottom);
        // Two inputs with the same corner would leave only the second one's picture.
        for (const TextureTile& written : tiles)
            if (written.Name == tile) {
                message = "Tile " + tile + " of " + Quoted(path) +
                          " would overwrite the one written from " + Quoted(written.Input) +
                          ": both maps have the same lower-left corner";
                return TextureTileClash;
            }
        if (const int32_t code = WriteFileByType(ws, tile, -1, message); code != 0)
            return code;
        tiles.push_back({tile, path});
    }
    return 0;
}

} // namespace korvel
