#pragma once
// The table of file types every open and save goes through: display names, extensions, type
// codes and what each type offers. The order matters: it is the order of the filter lists, and
// the first row with an extension wins when a name is matched.

#include <cstdint>
#include <span>
#include <string>

namespace korvel {

enum FileTypeFlags : uint32_t {
    FileReadable = 0x01,
    FileWritable = 0x02,
    FileSubsection = 0x04,
    FileSurfaceData = 0x10,
    FileImageData = 0x20,
    FileOffered8Bit = 0x40,
    FileOffered24Bit = 0x80,
};

// Type codes are 0x800 + k; 0x800 itself means "extension not in the table".
enum FileTypeCode : int32_t {
    FileUnknown = 0x800,
    FileTargaTexture = 0x801,
    FilePovTgaSurface = 0x802,
    FilePcxTexture = 0x803,
    FilePcxSurface = 0x804,
    FileBmpTexture = 0x805,
    FileBmpSurface = 0x806,
    FileMdr = 0x807,
    FileMuseDted = 0x808,
    FileBinary = 0x809,
    FileDtedCell = 0x80A,
    FileUsgsDem = 0x80B,
    FileMat = 0x80C,
    FilePgm = 0x80D,
    FileDxfQuads = 0x80E,
    FileDxfTriangles = 0x80F,
    FileRawTriangles = 0x810,
    FileTin = 0x811,
    FileObj = 0x812,
    FileLonLatText = 0x813,
    FileRayDream = 0x814,
    FileDmed = 0x815,
    FileDxfContours = 0x816,
    FileStm = 0x817,
    FileBryce2 = 0x818,
    FileBryce3D = 0x819,
    FileCc2Contours = 0x81A,
    FilePovMesh = 0x81B,
    FileVistaProDem = 0x81C,
    FileLightingDefinition = 0x81D,
    FileBrushDefinition = 0x81E,
    FileSurfaceDefinition = 0x81F,
    // The formats other terrain and GIS programs move, after the documented ones.
    FilePngSurface = 0x820,
    FileRaw16 = 0x821,
    FileRaw16Raw = 0x822, // ".raw": the extension finds "3D RAW triangles" first, for saving
    FileRaw32 = 0x823,
    FileGeoTiff = 0x824,
    FileExr = 0x825,
    FileAsciiGrid = 0x826,
    FileHgt = 0x827,
    FileTypeLast = 0x827,
};

// What this version does with a type. The documented flags say what the dialogs offer, which
// includes types whose readers and writers are not built yet.
enum FileCapability : uint32_t {
    FileCanRead = 0x01,
    FileCanWrite = 0x02,
};

struct FileTypeEntry {
    const char* Name;
    const char* Extension; // lower case, without the dot
    int32_t Type;
    uint32_t Flags;
    uint32_t Capabilities; // FileCapability bits

    bool CanRead() const { return (Capabilities & FileCanRead) != 0; }
    bool CanWrite() const { return (Capabilities & FileCanWrite) != 0; }
};

// The listed rows: the end marker and the rows behind it are not part of the span.
std::span<const FileTypeEntry> FileTypeRows();
// The whole table: the listed rows, the end marker, then the two unlisted rows.
std::span<const FileTypeEntry> FileTypeTable();
// The row of a type code, listed or not; nullptr for codes the table does not hold.
const FileTypeEntry* FindFileType(int32_t type);

// The type of the first listed row whose extension is the path's (after the last dot, lowered);
// FileUnknown when none is, -100 when the path has no dot.
int32_t TypeFromExtension(const std::string& path);
// For opening: the first listed row with the extension that can be read, so that ".raw" opens as
// heights while it saves as triangles; TypeFromExtension's answer when no such row reads.
int32_t ReadableTypeFromExtension(const std::string& path);

struct FileFilter {
    std::string Text;
    int32_t Count = 0;
};
// "Name (*.ext)|*.ext|" for every row whose flags hold all bits of mask, then the all-files entry.
FileFilter BuildFilter(uint32_t mask);
// The type of the index-th (from 1) row whose flags hold all bits of mask; -1 when there is none.
int32_t TypeFromFilterIndex(int32_t index, uint32_t mask);
// A row by its display name (without regard to case) or by its code written in decimal or as
// 0x...; -1 when nothing matches.
int32_t TypeFromName(const std::string& nameOrCode);

} // namespace korvel
