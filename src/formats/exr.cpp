#include "formats/exr.h"

#include "core/workspace.h"
#include "formats/format_support.h"
#include "formats/height_raster.h"

#include <ImfChannelList.h>
#include <ImfFrameBuffer.h>
#include <ImfHeader.h>
#include <ImfIO.h>
#include <ImfInputFile.h>
#include <ImfOutputFile.h>
#include <ImfVersion.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace korvel {

namespace {

// Past this many samples per byte no compression OpenEXR offers can have made the file.
constexpr uint64_t MaxCompressionRatio = 4096;

constexpr StatusText ReadTexts[] = {
    {ExrCannotOpen, "EXR file cannot be opened"},
    {ExrCannotMap, "EXR file cannot be mapped"},
    {ExrNotExr, "not an OpenEXR file"},
    {ExrUnsupported, "EXR file of a kind this version cannot read"},
    {ExrTruncated, "EXR file is shorter than its size needs, or its data is corrupt"},
    {ExrBadSize, "EXR file has a size the Surface cannot take"},
    {ExrOutOfMemory, "out of memory for the Surface of the EXR file"},
};
constexpr StatusText WriteTexts[] = {
    {ExrCannotCreate, "the EXR file cannot be created"},
    {ExrWriteFailed, "the EXR file cannot be written"},
    {ExrNoGrid, "the Surface has no grid to write"},
    {ExrEncodeFailed, "OpenEXR cannot make the file"},
};

class MemoryIStream : public Imf::IStream {
public:
    MemoryIStream(const uint8_t* data, size_t size)
        : Imf::IStream("memory"), Data(data), Size(size) {}
    bool read(char c[], int n) override {
        // A seek may have gone anywhere (offsets come from the file): no sum that can wrap.
        if (n < 0 || Position > Size || uint64_t(n) > Size - Position)
            throw std::runtime_error("unexpected end of file");
        std::memcpy(c, Data + Position, size_t(n));
        Position += uint64_t(n);
        return Position < Size;
    }
    uint64_t tellg() override { return Position; }
    void seekg(uint64_t position) override { Position = position; }

private:
    const uint8_t* Data;
    uint64_t Size;
    uint64_t Position = 0;
};

class MemoryOStream : public Imf::OStream {
public:
    explicit MemoryOStream(std::vector<uint8_t>& out) : Imf::OStream("memory"), Out(out) {}
    void write(const char c[], int n) override {
        if (Position + uint64_t(n) > Out.size())
            Out.resize(Position + uint64_t(n));
        std::memcpy(Out.data() + Position, c, size_t(n));
        Position += uint64_t(n);
    }
    uint64_t tellp() override { return Position; }
    void seekp(uint64_t position) override { Position = position; }

private:
    std::vector<uint8_t>& Out;
    uint64_t Position = 0;
};

// The channel heights are read from; empty when there is none to read.
std::string HeightChannel(const Imf::ChannelList& channels) {
    for (const char* name : {"Y", "Z", "R"})
        if (channels.findChannel(name))
            return name;
    const auto first = channels.begin();
    if (first != channels.end() && ++Imf::ChannelList::ConstIterator(first) == channels.end())
        return first.name();
    return {};
}

// OpenEXR reads the values of the types it knows by their content, not by the size the file
// gives them: a size that differs would put its reading out of step with the walk below.
struct KnownType {
    const char* Name;
    int32_t Bytes; // -1: a channel list, -2: a preview picture
};
constexpr KnownType KnownTypes[] = {
    {"box2i", 16},      {"box2f", 16},   {"chromaticities", 32},
    {"compression", 1}, {"double", 8},   {"envmap", 1},
    {"float", 4},       {"int", 4},      {"keycode", 28},
    {"lineOrder", 1},   {"m33f", 36},    {"m44f", 64},
    {"m33d", 72},       {"m44d", 128},   {"rational", 8},
    {"tiledesc", 9},    {"timecode", 8}, {"v2i", 8},
    {"v2f", 8},         {"v2d", 16},     {"v3i", 12},
    {"v3f", 12},        {"v3d", 24},     {"deepImageState", 1},
    {"chlist", -1},     {"preview", -2},
};

// Stands for a value whose entries run past the size given.
constexpr int64_t RunsPast = INT64_MAX;

// The bytes a channel list from `from` takes as OpenEXR reads it (entries of a name and 16
// bytes, up to an empty name), or RunsPast.
int64_t ChannelListBytes(const uint8_t* data, size_t from, size_t limit) {
    size_t at = from;
    while (at < limit) {
        if (data[at] == 0)
            return int64_t(at + 1 - from);
        size_t end = at;
        while (end < limit && data[end] != 0 && end - at < 256)
            ++end;
        if (end >= limit || data[end] != 0)
            return RunsPast;
        at = end + 1 + 16;
    }
    return RunsPast;
}

// The bytes a value of a known type takes, or -1 for a type read by its size.
int64_t ContentBytes(const std::string& type, const uint8_t* value, size_t claimed) {
    for (const KnownType& known : KnownTypes) {
        if (type != known.Name)
            continue;
        if (known.Bytes == -1)
            return ChannelListBytes(value, 0, claimed);
        if (known.Bytes == -2) { // width and height, then 4 bytes a pixel
            if (claimed < 8)
                return RunsPast;
            const uint64_t pixels =
                uint64_t(uint32_t(GetI32(value))) * uint64_t(uint32_t(GetI32(value + 4)));
            return pixels > claimed ? RunsPast : int64_t(8 + 4 * pixels);
        }
        return known.Bytes;
    }
    return -1;
}

// The data window's size, as the header claims it (0 x 0 when it has none).
struct WindowSize {
    int64_t Width = 0;
    int64_t Height = 0;
};

// OpenEXR allocates each header attribute at the size the file claims before reading it, and its
// line buffers at the width of the data window: the claims are checked against the bytes first.
// Empty when the (first) header is sound.
std::string CheckHeaderSizes(const uint8_t* data, size_t size, WindowSize& window) {
    size_t at = 8; // magic number and version
    const auto text = [&](size_t& end) {
        end = at;
        while (end < size && data[end] != 0 && end - at < 256)
            ++end;
        return end < size && data[end] == 0;
    };
    while (true) {
        size_t end = 0;
        if (!text(end))
            return "header attribute name runs past the end";
        if (end == at)
            return {};
        const std::string name(reinterpret_cast<const char*>(data + at), end - at);
        at = end + 1;
        if (!text(end))
            return "type of attribute \"" + name + "\" runs past the end";
        const std::string type(reinterpret_cast<const char*>(data + at), end - at);
        at = end + 1;
        if (size - at < 4)
            return "size of attribute \"" + name + "\" runs past the end";
        const int32_t claimed = GetI32(data + at);
        at += 4;
        if (claimed < 0 || uint64_t(claimed) > size - at)
            return "attribute \"" + name + "\" claims " + std::to_string(claimed) + " bytes, " +
                   std::to_string(size - at) + " remain";
        if (const int64_t bytes = ContentBytes(type, data + at, size_t(claimed));
            bytes >= 0 && bytes != claimed)
            return "attribute \"" + name + "\" of type " + type + " claims " +
                   std::to_string(claimed) + " bytes where its value " +
                   (bytes == RunsPast ? std::string("runs past them")
                                      : "takes " + std::to_string(bytes));
        if (name == "dataWindow" && claimed == 16)
            window = {int64_t(GetI32(data + at + 8)) - GetI32(data + at) + 1,
                      int64_t(GetI32(data + at + 12)) - GetI32(data + at + 4) + 1};
        at += size_t(claimed);
    }
}

} // namespace

const StatusTable ExrReadTexts{"EXR reading", ReadTexts};
const StatusTable ExrWriteTexts{"EXR writing", WriteTexts};

int32_t ReadExrBuffer(const uint8_t* data, size_t size, Workspace& ws, const std::string& name,
                      std::string* reason) {
    if (!data || size < 4 || !Imf::isImfMagic(reinterpret_cast<const char*>(data)))
        return Refuse(reason, ExrReadTexts, ExrNotExr, "no OpenEXR magic number");
    // OpenEXR allocates its tables from the header's size: larger ones are refused by it first.
    static const bool limited = [] {
        Imf::Header::setMaxImageSize(Surface::SizeLimit, Surface::SizeLimit);
        return true;
    }();
    (void)limited;
    // The window is checked from the header before OpenEXR sees it and from OpenEXR after.
    const auto windowFault = [&](int64_t width, int64_t height) {
        if (!SurfaceAcceptsSize(static_cast<int32_t>(std::clamp<int64_t>(width, 0, INT32_MAX)),
                                static_cast<int32_t>(std::clamp<int64_t>(height, 0, INT32_MAX))))
            return Refuse(reason, ExrReadTexts, ExrBadSize, SizeText(width, height));
        if (uint64_t(width) * uint64_t(height) > MaxCompressionRatio * size)
            return Refuse(reason, ExrReadTexts, ExrTruncated,
                          SizeText(width, height) + " from " + GroupedNumber(size) + " bytes");
        return 0;
    };
    // Multi-part and deep files hold several headers or sample counts the walk below does not
    // follow; a height grid is one part of flat samples.
    if (size < 8 || (GetI32(data + 4) & (Imf::NON_IMAGE_FLAG | Imf::MULTI_PART_FILE_FLAG)) != 0)
        return Refuse(reason, ExrReadTexts, size < 8 ? ExrTruncated : ExrUnsupported,
                      size < 8 ? "no version field" : "a multi-part or deep file");
    WindowSize claimed;
    if (const std::string fault = CheckHeaderSizes(data, size, claimed); !fault.empty())
        return Refuse(reason, ExrReadTexts, ExrTruncated, fault);
    if (claimed.Width != 0 || claimed.Height != 0)
        if (const int32_t code = windowFault(claimed.Width, claimed.Height); code != 0)
            return code;
    MemoryIStream stream(data, size);
    std::vector<float> grid;
    int64_t width = 0;
    int64_t height = 0;
    try {
        Imf::InputFile file(stream);
        const Imf::Header& header = file.header();
        const Imath::Box2i window = header.dataWindow();
        width = int64_t(window.max.x) - window.min.x + 1;
        height = int64_t(window.max.y) - window.min.y + 1;
        if (const int32_t code = windowFault(width, height); code != 0)
            return code;
        const std::string channel = HeightChannel(header.channels());
        if (channel.empty())
            return Refuse(reason, ExrReadTexts, ExrUnsupported,
                          "no channel Y, Z or R, and more than one other");
        grid.resize(size_t(width) * size_t(height));
        Imf::FrameBuffer frame;
        frame.insert(channel, Imf::Slice::Make(Imf::FLOAT, grid.data(), window));
        file.setFrameBuffer(frame);
        file.readPixels(window.min.y, window.max.y);
    } catch (const std::bad_alloc&) {
        return Refuse(reason, ExrReadTexts, ExrOutOfMemory);
    } catch (const std::exception& e) {
        // The magic number was there: the rest of the file is cut short or corrupt.
        return Refuse(reason, ExrReadTexts, ExrTruncated, e.what());
    }
    Surface& s = ws.TheSurface;
    if (s.Resize(static_cast<int32_t>(width), static_cast<int32_t>(height), -1) != 0)
        return Refuse(reason, ExrReadTexts, ExrOutOfMemory);
    for (int32_t row = 0; row < s.YSize; ++row)
        std::memcpy(RowOfFileRow(s, row, false), grid.data() + size_t(row) * size_t(width),
                    size_t(s.XSize) * sizeof(float));
    NoteWidthCut(ws.FileNotes, name, static_cast<int32_t>(width));
    FinishHeights(s, ws.TheProgress, ws.FileNotes, name);
    return 0;
}

int32_t ReadExrFile(const std::string& path, Workspace& ws, std::string* reason) {
    return ReadMappedFile(
        path, reason,
        [&](const uint8_t* data, size_t size) {
            return ReadExrBuffer(data, size, ws, path, reason);
        },
        ExrCannotOpen, ExrCannotMap);
}

int32_t WriteExrFile(const std::string& path, Workspace& ws, std::string* reason) {
    const Surface& s = ws.TheSurface;
    if (!s.HasGrid())
        return Refuse(reason, ExrWriteTexts, ExrNoGrid);
    std::vector<uint8_t> encoded;
    try {
        // The rows in file order, northern first, so that one slice describes them.
        std::vector<float> grid(size_t(s.XSize) * size_t(s.YSize));
        for (int32_t row = 0; row < s.YSize; ++row)
            std::memcpy(grid.data() + size_t(row) * size_t(s.XSize), RowOfFileRow(s, row, false),
                        size_t(s.XSize) * sizeof(float));
        Imf::Header header(s.XSize, s.YSize);
        header.channels().insert("Y", Imf::Channel(Imf::FLOAT));
        header.compression() = Imf::ZIP_COMPRESSION;
        MemoryOStream stream(encoded);
        Imf::OutputFile file(stream, header);
        Imf::FrameBuffer frame;
        frame.insert("Y", Imf::Slice::Make(Imf::FLOAT, grid.data(), header.dataWindow()));
        file.setFrameBuffer(frame);
        file.writePixels(s.YSize);
    } catch (const std::exception& e) {
        return Refuse(reason, ExrWriteTexts, ExrEncodeFailed, e.what());
    }
    AtomicFile file(path);
    if (!file.Open())
        return FileFailure(file, ExrCannotCreate, reason);
    if (!file.Write(encoded.data(), encoded.size()) || !file.Commit())
        return FileFailure(file, ExrWriteFailed, reason);
    return 0;
}

} // namespace korvel
