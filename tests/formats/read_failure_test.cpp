// Why each reader refuses a file, as the person is told it: a file shorter than it promises, one
// that is not of the format, a variant the reader does not take, and a file that is not there.
#include "core/image.h"
#include "core/workspace.h"
#include "formats/bmp.h"
#include "formats/mat.h"
#include "formats/mdr.h"
#include "formats/pcx.h"
#include "formats/stm.h"
#include "formats/tga.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace korvel {
namespace {

using Bytes = std::vector<uint8_t>;

void Put(Bytes& b, size_t at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        b[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
}

Bytes Text(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

// A MDR header of a 4 x 4 grid of the given data type, without samples.
Bytes MdrHeader(uint8_t dataType) {
    Bytes b(1024, 0);
    Put(b, 0, 0x4C56524B, 4); // "KRVL"
    Put(b, 4, 1024, 4);
    b[333] = dataType;
    Put(b, 360, 4, 4);
    Put(b, 364, 4, 4);
    return b;
}

Bytes MatHeader(uint32_t type, uint32_t rows, uint32_t columns) {
    Bytes b(24, 0);
    Put(b, 0, type, 4);
    Put(b, 4, rows, 4);
    Put(b, 8, columns, 4);
    Put(b, 16, 4, 4);
    return b;
}

// BMP headers of an 8 x 4 picture of the given depth, with (8 bits) a full palette.
Bytes BmpHeaders(uint32_t bits, uint32_t height = 4) {
    const uint32_t offset = bits == 8 ? 1078 : 54;
    Bytes b(offset, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put(b, 10, offset, 4);
    Put(b, 14, 40, 4);
    Put(b, 18, 8, 4);
    Put(b, 22, height, 4);
    Put(b, 26, 1, 2);
    Put(b, 28, bits, 2);
    return b;
}

Bytes PcxHeader(uint8_t version, uint32_t width, uint32_t height) {
    Bytes b(128, 0);
    b[0] = 10;
    b[1] = version;
    b[2] = 1;
    b[3] = 8;
    Put(b, 8, width - 1, 2);
    Put(b, 10, height - 1, 2);
    b[65] = 1;
    Put(b, 66, width, 2);
    return b;
}

Bytes TgaHeader(uint8_t imageType) {
    Bytes b(18, 0);
    b[2] = imageType;
    Put(b, 12, 8, 2);
    Put(b, 14, 4, 2);
    b[16] = 24;
    return b;
}

Bytes Grown(Bytes b, size_t size) {
    b.resize(size, 1);
    return b;
}

using BufferReader = std::function<int32_t(const Bytes&, Workspace&, std::string*)>;

struct Case {
    const char* Name;
    BufferReader Read;
    Bytes File;
    int32_t Code;
    std::string Reason;
};

TEST(ReadFailure, ReasonsOfEveryReader) {
    const BufferReader mdr = [](const Bytes& b, Workspace& ws, std::string* r) {
        return ReadMdrBuffer(b.data(), b.size(), ws, "", r);
    };
    const BufferReader mat = [](const Bytes& b, Workspace& ws, std::string* r) {
        return ReadMatBuffer(b.data(), b.size(), ws, "", r);
    };
    const BufferReader stm = [](const Bytes& b, Workspace& ws, std::string* r) {
        return ReadStmBuffer(b.data(), b.size(), ws, "", r);
    };
    const BufferReader bmpSurface = [](const Bytes& b, Workspace& ws, std::string* r) {
        return ReadBmpSurfaceBuffer(b.data(), b.size(), ws, "h.bmp", r);
    };
    const BufferReader bmpImage = [](const Bytes& b, Workspace& ws, std::string* r) {
        return ReadBmpImageBuffer(b.data(), b.size(), ws.TheSurface.Texture.AsIs(), ws.TheProgress,
                                  r);
    };
    const BufferReader pcxTexture = [](const Bytes& b, Workspace& ws, std::string* r) {
        return ReadPcxTextureBuffer(b.data(), b.size(), ws.TheSurface.Texture.AsIs(),
                                    ws.TheProgress, "", r);
    };
    const BufferReader pcxSurface = [](const Bytes& b, Workspace& ws, std::string* r) {
        return ReadPcxSurfaceBuffer(b.data(), b.size(), ws, "", r);
    };
    const BufferReader tgaChannel = [](const Bytes& b, Workspace& ws, std::string* r) {
        return ReadTgaChannelBuffer(b.data(), b.size(), 0, ws, r);
    };
    const BufferReader fractint = [](const Bytes& b, Workspace& ws, std::string* r) {
        return ReadFractintTgaBuffer(b.data(), b.size(), ws, r);
    };
    // Eight literal bytes, one row of an 8-wide PCX.
    Bytes pcxOneRow = PcxHeader(5, 8, 2);
    pcxOneRow.insert(pcxOneRow.end(), 8, 7);

    const Case cases[] = {
        {"MDR short header", mdr, Bytes(100, 0), MdrTruncated,
         "MDR file is shorter than its header promises (100 of 1,024 bytes)"},
        {"MDR short samples", mdr, MdrHeader(0), MdrTruncated,
         "MDR file is shorter than its header promises (1,024 of 1,088 bytes)"},
        {"MDR magic", mdr, Bytes(1024, 'x'), MdrNotMdr,
         "not an MDR file (it does not begin with \"KRVL\")"},
        {"MDR data type 3", mdr, MdrHeader(3), MdrUnsupported,
         "MDR file of a kind this version cannot read (scan type 0, compression 0, data type 3)"},
        {"MAT short header", mat, Bytes(10, 0), MatTruncated,
         "MAT file is shorter than its header promises (10 of 20 bytes)"},
        {"MAT short elements", mat, MatHeader(10, 4, 4), MatTruncated,
         "MAT file is shorter than its header promises (24 of 88 bytes)"},
        {"MAT type 20", mat, MatHeader(20, 4, 4), MatUnsupported,
         "MAT file holds no matrix of floats or doubles (type 20)"},
        {"MAT no rows", mat, MatHeader(10, 0, 4), MatBadSize,
         "MAT file has a size the Surface cannot take (4 x 0)"},
        {"STM magic", stm, Text("STL 4 4 \n"), StmNotStm,
         "not an STM file (it does not begin with \"STM \")"},
        {"STM no height", stm, Text("STM 4\n"), StmBadHeader,
         "STM file header has no width and height of 0 to 100000 ended by a line feed"},
        {"STM short samples", stm, Grown(Text("STM 4 2 \x04\x03\x02\x01\n"), 23), StmTruncated,
         "STM file is shorter than its header promises (23 of 29 bytes)"},
        {"BMP surface magic", bmpSurface, Bytes(60, 'x'), BmpSurfaceNotBmp,
         "h.bmp appears not to be a BMP file"},
        {"BMP surface 24 bits", bmpSurface, Grown(BmpHeaders(24), 54 + 96), BmpSurfaceUnsupported,
         "Only 8-bit uncompressed BMP files supported"},
        {"BMP surface short rows", bmpSurface, Grown(BmpHeaders(8), 1078 + 31), BmpSurfaceTruncated,
         "The BMP file is truncated"},
        {"BMP surface 3 rows", bmpSurface, Grown(BmpHeaders(8, 3), 1078 + 24), BmpSurfaceBadSize,
         "File width or height too small (minimum 4 pixels)"},
        {"BMP picture short headers", bmpImage, Text("BM 12 bytes"), BmpImageTruncated,
         "BMP file is shorter than its headers promise (11 bytes)"},
        {"BMP picture magic", bmpImage, Bytes(60, 'x'), BmpImageUnsupported,
         "not a BMP file of 8 or 24 uncompressed bits (it does not begin with \"BM\")"},
        {"BMP picture 16 bits", bmpImage, Grown(BmpHeaders(16), 54 + 64), BmpImageUnsupported,
         "not a BMP file of 8 or 24 uncompressed bits (16 bits, compression 0, 8 x 4)"},
        {"PCX short header", pcxTexture, Bytes(50, 10), PcxTruncated,
         "PCX file is shorter than its header promises (50 of 128 bytes)"},
        {"PCX short rows", pcxSurface, pcxOneRow, PcxTruncated,
         "PCX file is shorter than its header promises (the rows end at row 1 of 2)"},
        {"PCX magic", pcxSurface, Bytes(200, 0), PcxUnsupported,
         "not a PCX file Korvel reads (8 bits a plane, 1 or 3 planes) (it does not begin with 10)"},
        {"PCX version 3", pcxTexture, Grown(PcxHeader(3, 8, 2), 200), PcxUnsupported,
         "not a PCX file Korvel reads (8 bits a plane, 1 or 3 planes) (version 3, encoding 1, 8 "
         "bits, planes 1)"},
        {"TGA short header", tgaChannel, Bytes(10, 0), TgaTruncated,
         "TGA file is shorter than its header promises (10 of 18 bytes)"},
        {"TGA short pixels", fractint, TgaHeader(2), TgaTruncated,
         "TGA file is shorter than its header promises (18 of 114 bytes)"},
        {"TGA run-length coded", fractint, Grown(TgaHeader(10), 114), TgaUnsupported,
         "not an uncompressed 24-bit TGA file (image type 10, 24 bits, colour map type 0)"},
    };
    for (const Case& c : cases) {
        test::RecordingHost host;
        Workspace ws(host);
        ASSERT_EQ(ws.TheSurface.Resize(8, 8, 0), 0);
        std::string reason;
        EXPECT_EQ(c.Read(c.File, ws, &reason), c.Code) << c.Name;
        EXPECT_EQ(reason, c.Reason) << c.Name;
        // The refusal changed nothing, and what is reported is left to the caller.
        EXPECT_EQ(ws.TheSurface.XSize, 8) << c.Name;
        EXPECT_TRUE(host.Messages.empty()) << c.Name;
    }
}

TEST(ReadFailure, AMissingFileSaysSo) {
    test::TempDir dir;
    const std::string path = dir.File("gone");
    const std::function<int32_t(Workspace&, std::string*)> readers[] = {
        [&](Workspace& ws, std::string* r) { return ReadMdrFile(path, ws, r); },
        [&](Workspace& ws, std::string* r) { return ReadMatFile(path, ws, r); },
        [&](Workspace& ws, std::string* r) { return ReadStmFile(path, ws, r); },
        [&](Workspace& ws, std::string* r) { return ReadBmpSurface(path, ws, r); },
        [&](Workspace& ws, std::string* r) {
            return ReadBmpImage(path, ws.TheSurface.Texture.AsIs(), ws.TheProgress, r);
        },
        [&](Workspace& ws, std::string* r) {
            return ReadPcxTexture(path, ws.TheSurface.Texture.AsIs(), ws.TheProgress, r);
        },
        [&](Workspace& ws, std::string* r) { return ReadPcxSurface(path, ws, r); },
        [&](Workspace& ws, std::string* r) { return ReadTgaChannel(path, 0, ws, r); },
        [&](Workspace& ws, std::string* r) { return ReadFractintTga(path, ws, r); },
    };
    for (size_t i = 0; i < std::size(readers); ++i) {
        test::RecordingHost host;
        Workspace ws(host);
        std::string reason;
        EXPECT_NE(readers[i](ws, &reason), 0) << i;
        EXPECT_EQ(reason, "No such file or directory") << i;
        EXPECT_TRUE(host.Messages.empty()) << i;
    }
    // A folder opens but is no file to read.
    test::RecordingHost host;
    Workspace ws(host);
    std::string reason;
    EXPECT_EQ(ReadMdrFile(dir.File(""), ws, &reason), MdrCannotOpen);
    EXPECT_EQ(reason, "Is a directory");
}

} // namespace
} // namespace korvel
