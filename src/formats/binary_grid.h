#pragma once
// Raw binary grids: a header of a given length, then rows of 1-, 2- or 4-byte integers or 4-byte
// floats, northern row first, described by the "Binary File Import" dialog or by a BIL header
// (".hdr", as GDAL's EHdr driver writes it). The export writes 16-bit little-endian integers.

#include "core/status.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace korvel {

class Workspace;
struct BinaryImportFields;

enum BinarySampleType : int32_t {
    BinaryByte = 0,
    BinaryShort = 1,
    BinaryLong = 2,
    BinaryFloat = 3,
};

// Import codes; 0 read. Every refusal leaves the Surface untouched.
enum BinaryReadStatus : int32_t {
    BinaryEmptyBlock = -1, // the memory block lies outside the Surface
    BinaryCannotOpen = -2,
    BinaryCannotMap = -3,
    BinaryTooShort = -4,  // the file ends before the file block does
    BinaryBadLayout = -5, // a negative start, a block wider than the line, an unknown type
    BinaryBadSize = -8,   // a size the Surface cannot take
    BinaryOutOfMemory = -9,
    BinaryCancelled = -10,
};
extern const StatusTable BinaryReadTexts;

// How the file block lands in the Surface.
enum class BinaryTarget {
    WholeSurface, // Open: the Surface is sized to the memory block and takes the map edges
    Subsection,   // "Image Subsection...": into the memory block of the Surface as it is
};

// Sample (row, column) of the file block goes to the memory block, stretched or shrunk by
// truncation; the first file row is the top of the block. Min and Max are found afterwards.
int32_t ImportBinaryBuffer(const uint8_t* data, size_t size, const BinaryImportFields& layout,
                           BinaryTarget target, Workspace& ws,
                           const std::string& name = std::string(), std::string* reason = nullptr);
int32_t ImportBinaryFile(const std::string& path, const BinaryImportFields& layout,
                         BinaryTarget target, Workspace& ws, std::string* reason = nullptr);

// "Read BIL Header...": fills layout from the text of a BIL header. 0, or -1 with the reason
// ("Unknown size parameter in NBITS 12").
int32_t ReadBilHeaderText(const std::string& text, BinaryImportFields& layout,
                          std::string* reason = nullptr);
int32_t ReadBilHeaderFile(const std::string& path, BinaryImportFields& layout,
                          std::string* reason = nullptr);

// Export codes; on any non-zero code the file at path is left as it was.
enum BinaryWriteStatus : int32_t {
    BinaryWriteCancelled = -1,
    BinaryCannotCreate = -2,
    BinaryWriteFailed = -3,
    BinaryNoGrid = -5,
};
extern const StatusTable BinaryWriteTexts;
// Northern row first, as the import reads it back; samples truncated toward zero and clamped to
// -32768..32767, NaN written as 0.
int32_t ExportBinaryFile(const std::string& path, Workspace& ws, std::string* reason = nullptr);

} // namespace korvel
