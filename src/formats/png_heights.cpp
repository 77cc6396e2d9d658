#include "formats/png_heights.h"

#include "core/host.h"
#include "core/workspace.h"
#include "formats/format_support.h"
#include "formats/height_raster.h"
#include "formats/world_file.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <vector>

namespace korvel {

namespace {

// Deflate gives at most about 1032 bytes for one: a header promising more samples than that
// from the bytes there are is refused before anything is allocated.
constexpr uint64_t DeflateMaxRatio = 1032;

constexpr StatusText ReadTexts[] = {
    {PngReadCancelled, "cancelled"},
    {PngCannotOpen, "PNG file cannot be opened"},
    {PngCannotMap, "PNG file cannot be mapped"},
    {PngNotPng, "not a PNG file"},
    {PngTruncated, "PNG file is shorter than its size needs, or its data is corrupt"},
    {PngBadSize, "PNG file has a size the Surface cannot take"},
    {PngOutOfMemory, "out of memory for the Surface of the PNG file"},
};
constexpr StatusText WriteTexts[] = {
    {PngWriteCancelled, "cancelled"},
    {PngCannotCreate, "the PNG file cannot be created"},
    {PngWriteFailed, "the PNG file cannot be written"},
    {PngBadOptions, "png.BitDepth must be 8 or 16"},
    {PngNoGrid, "the Surface has no grid to write"},
    {PngEncodeFailed, "libpng cannot compress the picture"},
};

// Frees libpng's state on every path out.
struct PngImage {
    png_image Image;
    PngImage() {
        std::memset(&Image, 0, sizeof Image);
        Image.version = PNG_IMAGE_VERSION;
    }
    ~PngImage() { png_image_free(&Image); }
    PngImage(const PngImage&) = delete;
    PngImage& operator=(const PngImage&) = delete;
};

// Where libpng's writer puts the file, and what it last complained of.
struct PngSink {
    std::vector<uint8_t>* Out;
    std::string Error;
};

void OnPngError(png_structp png, png_const_charp message) {
    static_cast<PngSink*>(png_get_error_ptr(png))->Error = message;
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

void WriteToSink(png_structp png, png_bytep data, size_t length) {
    auto* sink = static_cast<PngSink*>(png_get_io_ptr(png));
    bool grown = true;
    try {
        sink->Out->insert(sink->Out->end(), data, data + length);
    } catch (const std::bad_alloc&) {
        grown = false;
    }
    // Outside the handler: png_error leaves through longjmp.
    if (!grown)
        png_error(png, "out of memory for the encoded file");
}

// The rows (northern first, 16-bit samples big-endian) as a grey PNG; false with sink.Error set.
// Level 1 with libpng's row filters: heights compress within a few percent of the default level
// in a third of the time. Only trivially destructible locals live here, as longjmp needs.
bool EncodePng(const uint8_t* pixels, uint32_t width, uint32_t height, int bits, PngSink& sink) {
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, &sink, OnPngError, OnPngWarning);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &sink, WriteToSink, nullptr);
    png_set_compression_level(png, 1);
    png_set_IHDR(png, info, width, height, bits, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const size_t stride = size_t(width) * size_t(bits / 8);
    for (uint32_t row = 0; row < height; ++row)
        png_write_row(png, pixels + row * stride);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

const StatusTable PngReadTexts{"PNG reading", ReadTexts};
const StatusTable PngWriteTexts{"PNG writing", WriteTexts};

int32_t ReadPngBuffer(const uint8_t* data, size_t size, const GreyRangeFields& range, Workspace& ws,
                      const std::string& name, std::string* reason) {
    PngImage png;
    png_image& image = png.Image;
    if (!data || size < 8 || png_sig_cmp(data, 0, 8) != 0)
        return Refuse(reason, PngReadTexts, PngNotPng,
                      size == 0 ? "empty" : "it does not begin with the PNG signature");
    if (!png_image_begin_read_from_memory(&image, data, size))
        return Refuse(reason, PngReadTexts, PngTruncated, image.message);
    const uint32_t width = image.width;
    const uint32_t height = image.height;
    if (!SurfaceAcceptsSize(static_cast<int32_t>(std::min<uint32_t>(width, INT32_MAX)),
                            static_cast<int32_t>(std::min<uint32_t>(height, INT32_MAX))))
        return Refuse(reason, PngReadTexts, PngBadSize, SizeText(width, height));
    const bool sixteen = (image.format & PNG_FORMAT_FLAG_LINEAR) != 0;
    image.format = sixteen ? PNG_FORMAT_LINEAR_Y : PNG_FORMAT_GRAY;
    const uint64_t stride = uint64_t(width) * (sixteen ? 2 : 1);
    const uint64_t need = (stride + 1) * height;
    if (need > DeflateMaxRatio * size)
        return Refuse(reason, PngReadTexts, PngTruncated,
                      SizeText(width, height) + " from " + GroupedNumber(size) + " bytes");
    std::vector<uint8_t> pixels;
    try {
        pixels.resize(stride * height);
    } catch (const std::bad_alloc&) {
        return Refuse(reason, PngReadTexts, PngOutOfMemory);
    }
    // libpng counts a row's stride in samples, not bytes.
    if (!png_image_finish_read(&image, nullptr, pixels.data(), static_cast<png_int_32>(width),
                               nullptr))
        return Refuse(reason, PngReadTexts, PngTruncated, image.message);

    Surface& s = ws.TheSurface;
    if (s.Resize(static_cast<int32_t>(width), static_cast<int32_t>(height), -1) != 0)
        return Refuse(reason, PngReadTexts, PngOutOfMemory);
    const double top = sixteen ? 65535.0 : 255.0;
    const bool scaled = range.High != range.Low;
    const double step = scaled ? (range.High - range.Low) / top : 1.0;
    const double base = scaled ? range.Low : 0.0;
    for (uint32_t row = 0; row < height; ++row) {
        float* out = RowOfFileRow(s, static_cast<int32_t>(row), false);
        const uint8_t* in = pixels.data() + row * stride;
        for (int32_t x = 0; x < s.XSize; ++x) {
            uint32_t code = in[x];
            if (sixteen) {
                uint16_t wide = 0;
                std::memcpy(&wide, in + 2 * size_t(x), 2);
                code = wide;
            }
            out[x] = static_cast<float>(base + code * step);
        }
    }
    NoteWidthCut(ws.FileNotes, name, static_cast<int32_t>(width));
    FinishHeights(s, ws.TheProgress, ws.FileNotes, name);
    return 0;
}

int32_t ReadPngFile(const std::string& path, Workspace& ws, std::string* reason) {
    if (!ws.TheHost.EditParameters("range", "Height Range of the Grey Levels", ws))
        return Refuse(reason, PngReadTexts, PngReadCancelled);
    return ReadMappedFile(
        path, reason,
        [&](const uint8_t* data, size_t size) {
            const int32_t code = ReadPngBuffer(data, size, ws.GreyRange, ws, path, reason);
            if (code == 0)
                PlaceByWorldFileBeside(path, ws.TheSurface, ws.FileNotes);
            return code;
        },
        PngCannotOpen, PngCannotMap);
}

int32_t WritePngFile(const std::string& path, Workspace& ws, std::string* reason) {
    const Surface& s = ws.TheSurface;
    if (!s.HasGrid())
        return Refuse(reason, PngWriteTexts, PngNoGrid);
    if (!ws.TheHost.EditParameters("png", "PNG Save Parameters", ws))
        return Refuse(reason, PngWriteTexts, PngWriteCancelled);
    const int32_t bits = ws.RasterSave.PngBits;
    if (bits != 8 && bits != 16)
        return Refuse(reason, PngWriteTexts, PngBadOptions, "it is " + std::to_string(bits));
    const size_t bytes = bits / 8;
    StoredGrid grid(s, ws.RasterSave.EngineSize);
    const size_t stride = size_t(grid.Width) * bytes;
    Quantizer quantizer(s.Min, s.Max, bits == 16 ? 65535 : 255, bits);
    std::vector<uint8_t> pixels(stride * size_t(grid.Height));
    for (int32_t row = 0; row < grid.Height; ++row) {
        const float* heights = grid.Row(row, false);
        uint8_t* out = pixels.data() + row * stride;
        for (int32_t x = 0; x < grid.Width; ++x) {
            const uint32_t code = quantizer.Encode(heights[x]);
            if (bits == 16) {
                out[2 * size_t(x)] = static_cast<uint8_t>(code >> 8);
                out[2 * size_t(x) + 1] = static_cast<uint8_t>(code);
            } else {
                out[x] = static_cast<uint8_t>(code);
            }
        }
    }
    std::vector<uint8_t> encoded;
    encoded.reserve(pixels.size() / 2);
    PngSink sink{&encoded, {}};
    if (!EncodePng(pixels.data(), static_cast<uint32_t>(grid.Width),
                   static_cast<uint32_t>(grid.Height), bits, sink))
        return Refuse(reason, PngWriteTexts, PngEncodeFailed, sink.Error);
    AtomicFile file(path);
    if (!file.Open())
        return FileFailure(file, PngCannotCreate, reason);
    if (!file.Write(encoded.data(), encoded.size()) || !file.Commit())
        return FileFailure(file, PngWriteFailed, reason);
    if (const std::string note = grid.Note(path); !note.empty())
        ws.FileNotes.push_back(note);
    ws.FileNotes.push_back(quantizer.Report(path));
    WriteWorldFileBeside(path, WorldFileText(grid.Left, grid.Top, grid.CellWidth, grid.CellHeight),
                         ws.FileNotes);
    return 0;
}

} // namespace korvel
