#pragma once
// Heights as 8- or 16-bit grey PNG (through libpng): written with Min..Max stretched over the
// whole integer range, read as the integers themselves unless a range gives the heights of 0 and
// of the largest integer. Colour PNGs read as their grey level.

#include "core/dialog_fields.h"
#include "core/status.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace korvel {

class Workspace;

// Reading codes; 0 read. Every refusal leaves the Surface untouched.
enum PngReadStatus : int32_t {
    PngReadCancelled = -1, // the range dialog
    PngCannotOpen = -2,
    PngCannotMap = -3,
    PngNotPng = -5,    // no PNG signature
    PngTruncated = -7, // cut short, corrupt (the reason is libpng's), or too small for its size
    PngBadSize = -8,   // a size the Surface cannot take
    PngOutOfMemory = -9,
};
extern const StatusTable PngReadTexts;
int32_t ReadPngBuffer(const uint8_t* data, size_t size, const GreyRangeFields& range, Workspace& ws,
                      const std::string& name = std::string(), std::string* reason = nullptr);
// Asks for the "range" fields first.
int32_t ReadPngFile(const std::string& path, Workspace& ws, std::string* reason = nullptr);

// Writing codes; on any non-zero code the file at path is left as it was.
enum PngWriteStatus : int32_t {
    PngWriteCancelled = -1,
    PngCannotCreate = -2,
    PngWriteFailed = -3,
    PngBadOptions = -4, // a bit depth other than 8 or 16
    PngNoGrid = -5,
    PngEncodeFailed = -6,
};
extern const StatusTable PngWriteTexts;
// The rounding is reported in ws.FileNotes; a world file (".pgw") goes beside the picture.
int32_t WritePngFile(const std::string& path, Workspace& ws, std::string* reason = nullptr);

} // namespace korvel
