#include "formats/file_type_table.h"

#include <array>
#include <cctype>
#include <cstdlib>
#include <strings.h>

namespace korvel {

namespace {

constexpr uint32_t ReadWriteSurface = 0xD3;
constexpr uint32_t ReadWriteImage = 0xE3;
constexpr uint32_t ReadSurface = 0xD1;
constexpr uint32_t WriteOnly = 0xD2;

constexpr uint32_t Both = FileCanRead | FileCanWrite;
constexpr uint32_t Neither = 0;

constexpr std::array<FileTypeEntry, 40> Table = {{
    {"BMP Texture", "bmp", FileBmpTexture, ReadWriteImage, Both},
    {"Targa Texture", "tga", FileTargaTexture, ReadWriteImage, Both},
    {"PCX Texture", "pcx", FilePcxTexture, ReadWriteImage, Both},
    {"8-bit BMP Surface (8-bit)", "bmp", FileBmpSurface, ReadWriteSurface, Both},
    {"8-bit PCX Surface (8-bit)", "pcx", FilePcxSurface, ReadSurface, FileCanRead},
    {"MDR Surface", "mdr", FileMdr, ReadWriteSurface, Both},
    {"Muse DTED Surface", "dte", FileMuseDted, ReadWriteSurface, Both},
    {"USGS DEM Surface", "dem", FileUsgsDem, ReadSurface, FileCanRead},
    {"Binary Surface", "bin", FileBinary, ReadSurface, Both},
    {"Matlab MAT Surface", "mat", FileMat, ReadWriteSurface, Both},
    {"DMA DTED Cell Surface", "dt1", FileDtedCell, ReadSurface, FileCanRead},
    {"POV TGA Surface (16-bit)", "tga", FilePovTgaSurface, ReadWriteImage, Both},
    {"POV Triangle Mesh Include", "inc", FilePovMesh, WriteOnly, FileCanWrite},
    {"16-bit PGM Surface", "pgm", FilePgm, WriteOnly, FileCanWrite},
    {"3D DXF Quads", "dxf", FileDxfQuads, WriteOnly, FileCanWrite},
    {"3D DXF Triangles", "dxf", FileDxfTriangles, WriteOnly, FileCanWrite},
    {"3D RAW triangles", "raw", FileRawTriangles, WriteOnly, FileCanWrite},
    {"3D Triangle Irregular Network", "tin", FileTin, WriteOnly, FileCanWrite},
    {"3D Wavefront OBJ", "obj", FileObj, WriteOnly, FileCanWrite},
    {"3D Ray Dream Designer 4.1", "rd4", FileRayDream, WriteOnly, FileCanWrite},
    {"Lon/Lat Text Mesh", "txt", FileLonLatText, WriteOnly, FileCanWrite},
    {"CC2 Contour Map", "fcw", FileCc2Contours, WriteOnly, FileCanWrite},
    {"2D DXF Contour Map", "dxf", FileDxfContours, WriteOnly, FileCanWrite},
    {"STM Surface", "stm", FileStm, ReadWriteSurface, Both},
    {"Bryce 2 Terrain", "brc", FileBryce2, ReadWriteSurface, Both},
    {"Bryce 3D Terrain", "br3", FileBryce3D, ReadWriteSurface, Both},
    {"Lighting Definition", "lgt", FileLightingDefinition, ReadWriteSurface, Both},
    {"Brush Definition", "brs", FileBrushDefinition, ReadWriteSurface, Both},
    {"Surface Definition", "srf", FileSurfaceDefinition, ReadWriteSurface, Both},
    {"PNG Grey Surface (8/16-bit)", "png", FilePngSurface, ReadWriteSurface, Both},
    {"16-bit RAW Surface", "r16", FileRaw16, ReadWriteSurface, Both},
    {"16-bit RAW Surface (raw)", "raw", FileRaw16Raw, ReadWriteSurface, Both},
    {"32-bit RAW Surface", "r32", FileRaw32, ReadWriteSurface, Both},
    {"GeoTIFF Surface", "tif", FileGeoTiff, ReadWriteSurface, Both},
    {"OpenEXR Surface", "exr", FileExr, ReadWriteSurface, Both},
    {"ESRI ASCII Grid", "asc", FileAsciiGrid, ReadWriteSurface, Both},
    {"SRTM HGT Tile", "hgt", FileHgt, ReadSurface, FileCanRead},
    {"", "", FileUnknown, 0, Neither},
    // Behind the end marker: never listed or matched.
    {"DMA DMED", "dmd", FileDmed, ReadSurface, Neither},
    {"VistaPro DEM", "dem", FileVistaProDem, ReadWriteSurface, Neither},
}};

constexpr size_t ListedRows = 37;

} // namespace

std::span<const FileTypeEntry> FileTypeRows() {
    return {Table.data(), ListedRows};
}
std::span<const FileTypeEntry> FileTypeTable() {
    return {Table.data(), Table.size()};
}

const FileTypeEntry* FindFileType(int32_t type) {
    for (const FileTypeEntry& row : Table)
        if (row.Type == type && row.Flags != 0)
            return &row;
    return nullptr;
}

int32_t TypeFromExtension(const std::string& path) {
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos)
        return -100;
    std::string ext = path.substr(dot + 1);
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const FileTypeEntry& row : FileTypeRows())
        if (ext == row.Extension)
            return row.Type;
    return FileUnknown;
}

int32_t ReadableTypeFromExtension(const std::string& path) {
    const int32_t first = TypeFromExtension(path);
    const FileTypeEntry* row = FindFileType(first);
    if (!row || (row->Flags & FileReadable))
        return first;
    for (const FileTypeEntry& later : FileTypeRows())
        if ((later.Flags & FileReadable) && std::string(later.Extension) == row->Extension)
            return later.Type;
    return first;
}

FileFilter BuildFilter(uint32_t mask) {
    FileFilter filter;
    for (const FileTypeEntry& row : FileTypeRows()) {
        if ((row.Flags & mask) != mask)
            continue;
        const std::string ext = row.Extension;
        filter.Text += std::string(row.Name) + " (*." + ext + ")|*." + ext + "|";
        ++filter.Count;
    }
    filter.Text += "All Files (*.*)|*.*||";
    return filter;
}

int32_t TypeFromFilterIndex(int32_t index, uint32_t mask) {
    int32_t n = 0;
    for (const FileTypeEntry& row : FileTypeRows())
        if ((row.Flags & mask) == mask && ++n == index)
            return row.Type;
    return -1;
}

int32_t TypeFromName(const std::string& nameOrCode) {
    for (const FileTypeEntry& row : FileTypeRows())
        if (strcasecmp(row.Name, nameOrCode.c_str()) == 0)
            return row.Type;
    if (nameOrCode.empty())
        return -1;
    char* end = nullptr;
    const long code = std::strtol(nameOrCode.c_str(), &end, 0);
    if (*end != '\0' || FindFileType(static_cast<int32_t>(code)) == nullptr ||
        code != static_cast<int32_t>(code))
        return -1;
    return static_cast<int32_t>(code);
}

} // namespace korvel
