#include "formats/tiff_memory.h"

#include <xtiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace korvel {

namespace {

// A strip or tile larger than this is refused rather than allocated.
constexpr tmsize_t MaxSingleAllocation = tmsize_t{1} << 30;

TiffMemory& Of(thandle_t handle) {
    return *static_cast<TiffMemory*>(handle);
}

tmsize_t ReadProc(thandle_t handle, void* buffer, tmsize_t size) {
    TiffMemory& m = Of(handle);
    if (!m.Data || size < 0 || m.Position >= m.Size)
        return 0;
    const auto n = static_cast<tmsize_t>(std::min<uint64_t>(uint64_t(size), m.Size - m.Position));
    std::memcpy(buffer, m.Data + m.Position, size_t(n));
    m.Position += uint64_t(n);
    return n;
}

tmsize_t WriteProc(thandle_t handle, void* buffer, tmsize_t size) {
    TiffMemory& m = Of(handle);
    if (!m.Out || size < 0)
        return -1;
    const uint64_t end = m.Position + uint64_t(size);
    if (end > m.Out->size())
        m.Out->resize(end);
    std::memcpy(m.Out->data() + m.Position, buffer, size_t(size));
    m.Position = end;
    m.Size = std::max(m.Size, end);
    return size;
}

toff_t SeekProc(thandle_t handle, toff_t offset, int whence) {
    TiffMemory& m = Of(handle);
    const uint64_t base = whence == SEEK_CUR ? m.Position : whence == SEEK_END ? m.Size : 0;
    m.Position = base + offset;
    return m.Position;
}

int CloseProc(thandle_t) {
    return 0;
}

toff_t SizeProc(thandle_t handle) {
    return Of(handle).Size;
}

// Reading needs no copy: libtiff takes strips straight from the bytes.
int MapProc(thandle_t handle, void** base, toff_t* size) {
    TiffMemory& m = Of(handle);
    if (!m.Data)
        return 0;
    *base = const_cast<uint8_t*>(m.Data);
    *size = m.Size;
    return 1;
}

void UnmapProc(thandle_t, void*, toff_t) {}

int OnError(TIFF*, void* user, const char* module, const char* format, va_list args) {
    TiffMemory& m = *static_cast<TiffMemory*>(user);
    if (m.FirstError.empty()) {
        char text[512];
        std::vsnprintf(text, sizeof text, format, args);
        m.FirstError = (module ? std::string(module) + ": " : std::string()) + text;
    }
    return 1;
}

int OnWarning(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

// GDAL's no-data tag, which libtiff does not know by itself.
constexpr TIFFFieldInfo NoDataField = {
    TIFFTAG_GDAL_NODATA, -1, -1, TIFF_ASCII,
    FIELD_CUSTOM,        1,  0,  const_cast<char*>("GDALNoDataValue")};
TIFFExtendProc ParentExtender = nullptr;

void AddNoDataTag(TIFF* tif) {
    TIFFMergeFieldInfo(tif, &NoDataField, 1);
    if (ParentExtender)
        ParentExtender(tif);
}

void RegisterTags() {
    XTIFFInitialize();
    ParentExtender = TIFFSetTagExtender(AddNoDataTag);
}

} // namespace

TiffHandle OpenTiffInMemory(TiffMemory& memory, const char* mode) {
    static std::once_flag tags;
    std::call_once(tags, RegisterTags);
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, MaxSingleAllocation);
    TIFFOpenOptionsSetErrorHandlerExtR(options, OnError, &memory);
    TIFFOpenOptionsSetWarningHandlerExtR(options, OnWarning, &memory);
    TIFF* tif = TIFFClientOpenExt("memory", mode, &memory, ReadProc, WriteProc, SeekProc, CloseProc,
                                  SizeProc, MapProc, UnmapProc, options);
    TIFFOpenOptionsFree(options);
    if (!tif && memory.FirstError.empty())
        memory.FirstError = "libtiff cannot open it";
    return TiffHandle(tif);
}

} // namespace korvel
