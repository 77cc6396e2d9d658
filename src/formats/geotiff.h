#pragma once
// GeoTIFF height rasters (libtiff and libgeotiff): one band of 8-, 16- or 32-bit integers or 32-
// or 64-bit floats, stripped or tiled, any compression libtiff reads. The map record is written as
// WGS 84 longitude/latitude with pixel-is-area; a pixel-is-point file is read half a cell wider.
// A projected file reads with its plane coordinates as the edges and a note saying so.

#include "core/status.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace korvel {

class Workspace;

// Reading codes; 0 read. Every refusal leaves the Surface untouched.
enum GeoTiffReadStatus : int32_t {
    GeoTiffCannotOpen = -2,
    GeoTiffCannotMap = -3,
    GeoTiffNotTiff = -5,     // libtiff refuses the file (the reason is its own)
    GeoTiffUnsupported = -6, // more than one band, or a sample type that is not a height
    GeoTiffTruncated = -7,   // a strip or tile cannot be read, or the size cannot fit the bytes
    GeoTiffBadSize = -8,     // a size the Surface cannot take
    GeoTiffOutOfMemory = -9,
};
extern const StatusTable GeoTiffReadTexts;
int32_t ReadGeoTiffBuffer(const uint8_t* data, size_t size, Workspace& ws,
                          const std::string& name = std::string(), std::string* reason = nullptr);
int32_t ReadGeoTiffFile(const std::string& path, Workspace& ws, std::string* reason = nullptr);

// Writing codes; on any non-zero code the file at path is left as it was.
enum GeoTiffWriteStatus : int32_t {
    GeoTiffWriteCancelled = -1,
    GeoTiffCannotCreate = -2,
    GeoTiffWriteFailed = -3,
    GeoTiffBadOptions = -4, // tif.DataType other than 0 (Float32), 1 (Int16) or 2 (UInt16)
    GeoTiffNoGrid = -5,
    GeoTiffEncodeFailed = -6, // libtiff refused a tag or a strip (the reason is its own)
};
extern const StatusTable GeoTiffWriteTexts;
// Float32 keeps every height and writes NaN as no-data "nan"; Int16 and UInt16 round heights to
// whole units (no-data -32768 and 65535), with the rounding reported in ws.FileNotes.
int32_t WriteGeoTiffFile(const std::string& path, Workspace& ws, std::string* reason = nullptr);

} // namespace korvel
