#pragma once
// libtiff over bytes in memory: a file to read is handed over as a buffer (the fuzz targets and
// the mapped file use the same path), and a file to write is made in memory and then put in place
// by AtomicFile. libtiff's messages are caught per handle instead of going to stderr.

#include <tiffio.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace korvel {

// The bytes behind one TIFF handle, and the first error libtiff reported on it.
struct TiffMemory {
    const uint8_t* Data = nullptr;       // reading
    std::vector<uint8_t>* Out = nullptr; // writing
    uint64_t Size = 0;
    uint64_t Position = 0;
    std::string FirstError;
};

struct TiffCloser {
    void operator()(TIFF* tif) const { TIFFClose(tif); }
};
using TiffHandle = std::unique_ptr<TIFF, TiffCloser>;

// Opens bytes for reading ("r") or an empty buffer for writing ("w"); null with memory.FirstError
// set when libtiff refuses. The GeoTIFF tags are known to every handle opened here.
TiffHandle OpenTiffInMemory(TiffMemory& memory, const char* mode);

} // namespace korvel
