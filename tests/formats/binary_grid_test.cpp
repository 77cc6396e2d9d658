#include "formats/binary_grid.h"

#include "core/dialog_fields.h"
#include "core/workspace.h"
#include "support/elevation_files.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace korvel {
namespace {

using Bytes = std::vector<uint8_t>;

// A file of rows x columns samples value(row, column), row 0 first, after header bytes.
template <class T>
Bytes Grid(int32_t rows, int32_t columns, bool bigEndian, size_t header,
           T (*value)(int32_t, int32_t)) {
    Bytes file(header, 0xEE);
    for (int32_t r = 0; r < rows; ++r)
        for (int32_t c = 0; c < columns; ++c) {
            const T v = value(r, c);
            uint8_t bytes[sizeof(T)];
            std::memcpy(bytes, &v, sizeof(T));
            if (bigEndian)
                std::reverse(bytes, bytes + sizeof(T));
            file.insert(file.end(), bytes, bytes + sizeof(T));
        }
    return file;
}

int16_t Signed16(int32_t r, int32_t c) {
    return int16_t(-1000 + r * 100 + c);
}
uint8_t Unsigned8(int32_t r, int32_t c) {
    return uint8_t(200 + r * 10 + c);
}
float Float32(int32_t r, int32_t c) {
    return 0.5f + float(r) - float(c) / 4;
}

TEST(BinaryGrid, FileBlockIntoTheWholeSurface) {
    const struct {
        const char* Name;
        Bytes File;
        BinaryImportFields Layout;
        int32_t Width, Height;
        std::function<double(int32_t, int32_t)> Expected; // by file row and column
        int32_t RowStep, ColumnStep, FirstRow, FirstColumn;
    } cases[] = {
        {"2-byte signed, most significant first", Grid<int16_t>(5, 8, true, 16, Signed16),
         [] {
             BinaryImportFields f;
             f.SampleType = BinaryShort;
             f.LsbFirst = false;
             f.HeaderLength = 16;
             f.LineWidth = 8;
             return f;
         }(),
         8, 5, [](int32_t r, int32_t c) { return -1000 + r * 100 + c; }, 1, 1, 0, 0},
        {"1-byte unsigned block of a line, halved", Grid<uint8_t>(6, 10, false, 0, Unsigned8),
         [] {
             BinaryImportFields f;
             f.SampleType = BinaryByte;
             f.Signed = false;
             f.LineWidth = 10;
             f.FileXStart = 2;
             f.FileYStart = 2;
             f.FileWidth = 8;
             f.FileHeight = 4;
             f.MemWidth = 4;
             f.MemHeight = 2;
             return f;
         }(),
         4, 2, [](int32_t r, int32_t c) { return 200 + r * 10 + c; }, 2, 2, 2, 2},
        {"float, height from the file's length", Grid<float>(3, 4, false, 0, Float32),
         [] {
             BinaryImportFields f;
             f.SampleType = BinaryFloat;
             f.LineWidth = 4;
             return f;
         }(),
         4, 3, [](int32_t r, int32_t c) { return 0.5 + r - c / 4.0; }, 1, 1, 0, 0},
    };
    for (const auto& c : cases) {
        test::RecordingHost host;
        Workspace ws{host};
        BinaryImportFields layout = c.Layout;
        layout.Left = 10;
        layout.Right = 10 + c.Width;
        layout.Top = 50;
        layout.Bottom = 50 - c.Height * 0.5;
        ASSERT_EQ(ImportBinaryBuffer(c.File.data(), c.File.size(), layout,
                                     BinaryTarget::WholeSurface, ws),
                  0)
            << c.Name;
        const Surface& s = ws.TheSurface;
        ASSERT_EQ(s.XSize, c.Width) << c.Name;
        ASSERT_EQ(s.YSize, c.Height) << c.Name;
        double lo = 1e9;
        double hi = -1e9;
        for (int32_t k = 0; k < s.YSize; ++k)
            for (int32_t j = 0; j < s.XSize; ++j) {
                // The first file row is the top of the Surface.
                const double v =
                    c.Expected(c.FirstRow + k * c.RowStep, c.FirstColumn + j * c.ColumnStep);
                ASSERT_EQ(s.Rows[s.YSize - 1 - k][j], v) << c.Name << " " << j << "," << k;
                lo = std::min(lo, v);
                hi = std::max(hi, v);
            }
        EXPECT_EQ(s.Min, lo) << c.Name;
        EXPECT_EQ(s.Max, hi) << c.Name;
        EXPECT_DOUBLE_EQ(s.Left, 10) << c.Name;
        EXPECT_DOUBLE_EQ(s.Top, 50) << c.Name;
        EXPECT_DOUBLE_EQ(s.XRes, 1) << c.Name;
        EXPECT_DOUBLE_EQ(s.YRes, 0.5) << c.Name;
    }
}

TEST(BinaryGrid, SubsectionLandsInTheMemoryBlockClippedToTheSurface) {
    const Bytes file = Grid<int16_t>(5, 8, false, 0, Signed16);
    BinaryImportFields f;
    f.LineWidth = 8;
    f.MemXStart = 6;
    f.MemYStart = 1;
    f.MemWidth = 8; // clipped to the 2 columns left of a width of 8
    f.MemHeight = 2;
    test::RecordingHost host;
    Workspace ws{host};
    Surface& s = ws.TheSurface;
    ASSERT_EQ(s.Resize(8, 4, 0), 0);
    s.SetEdges(0, 7, 3, 0);
    ASSERT_EQ(ImportBinaryBuffer(file.data(), file.size(), f, BinaryTarget::Subsection, ws), 0);
    EXPECT_EQ(s.XSize, 8);
    // Memory row k = 0 is Surface row 4 - 1 - 1 = 2, and takes file row 0 * 5 / 2 = 0; the
    // clipped block is 2 wide, so column j takes file column j * 8 / 2.
    EXPECT_EQ(s.Rows[2][6], -1000);
    EXPECT_EQ(s.Rows[2][7], -996);
    EXPECT_EQ(s.Rows[1][6], -1000 + 200); // k = 1: file row 5 / 2 = 2
    EXPECT_EQ(s.Rows[3][6], 0);
    EXPECT_EQ(s.Rows[2][5], 0);
    EXPECT_EQ(s.Min, -1000);
    EXPECT_EQ(s.Max, 0);
    EXPECT_DOUBLE_EQ(s.Right, 7); // the edges stay

    f.MemXStart = 8;
    std::string reason;
    EXPECT_EQ(ImportBinaryBuffer(file.data(), file.size(), f, BinaryTarget::Subsection, ws, "g.bin",
                                 &reason),
              BinaryEmptyBlock);
    EXPECT_EQ(reason, "the memory block lies outside the Surface (at 8 x 1 in a Surface of 8 x 4)");
}

TEST(BinaryGrid, HostileLayoutsAreRefusedAndChangeNothing) {
    const Bytes file = Grid<int16_t>(5, 8, false, 0, Signed16);
    auto layout = [](auto change) {
        BinaryImportFields f;
        f.LineWidth = 8;
        change(f);
        return f;
    };
    const struct {
        const char* Name;
        BinaryImportFields Layout;
        int32_t Code;
        const char* Reason;
    } cases[] = {
        {"block wider than the line", layout([](auto& f) { f.FileXStart = 4, f.FileWidth = 5; }),
         BinaryBadLayout,
         "binary file's layout is not usable (columns 4..9 of a line of 8 samples; give "
         "binary.LineWidth)"},
        {"no width at all", layout([](auto& f) { f.LineWidth = 0; }), BinaryBadLayout,
         "binary file's layout is not usable (columns 0..0 of a line of 0 samples; give "
         "binary.LineWidth)"},
        {"rows past the end", layout([](auto& f) { f.FileHeight = 6; }), BinaryTooShort,
         "binary file is shorter than the file block needs (80 bytes where the block ends at "
         "byte 96)"},
        {"a start two billion rows on",
         layout([](auto& f) { f.FileYStart = 2000000000, f.FileHeight = 1; }), BinaryTooShort,
         "binary file is shorter than the file block needs (80 bytes where the block ends at "
         "byte 32,000,000,016)"},
        {"header past the end", layout([](auto& f) { f.HeaderLength = 1000; }), BinaryTooShort,
         "binary file is shorter than the file block needs (no row from row 0 on)"},
        {"sample type 7", layout([](auto& f) { f.SampleType = 7; }), BinaryBadLayout,
         "binary file's layout is not usable (sample type 7)"},
        {"negative start", layout([](auto& f) { f.FileXStart = -1; }), BinaryBadLayout,
         "binary file's layout is not usable (a negative start or size)"},
        {"a Surface too large", layout([](auto& f) { f.MemWidth = 200000; }), BinaryBadSize,
         "binary file's block has a size the Surface cannot take (200000 x 5)"},
    };
    for (const auto& c : cases)
        test::ExpectRefusedUntouched(c.Name, c.Code, c.Reason, [&](Workspace& ws, std::string* r) {
            return ImportBinaryBuffer(file.data(), file.size(), c.Layout,
                                      BinaryTarget::WholeSurface, ws, "g.bin", r);
        });
}

TEST(BinaryGrid, BilHeaders) {
    const struct {
        const char* Name;
        const char* Text;
        int32_t Type;
        bool Lsb, Signed;
        int32_t Width, Height, LineWidth, Header;
        double Left, Top, Right, Bottom;
    } cases[] = {
        // As gdal_translate -of EHdr -ot Int16 writes it; ULXMAP/ULYMAP are cell centres.
        {"GDAL Int16",
         "BYTEORDER      I\nLAYOUT         BIL\nNROWS          4\nNCOLS          6\nNBANDS    "
         "     1\nNBITS          16\nBANDROWBYTES   12\nTOTALROWBYTES  12\nPIXELTYPE      "
         "SIGNEDINT\nULXMAP         -119.875\nULYMAP         45.875\nXDIM           0.25\nYDIM   "
         "        0.25\n",
         BinaryShort, true, true, 6, 4, 6, 0, -120.0, 46.0, -118.5, 45.0},
        {"float, most significant first, with a header and padded rows",
         "byteorder M\r\nnrows 2\r\nncols 3\r\nnbits 32\r\npixeltype FLOAT\r\ntotalrowbytes "
         "16\r\nskipbytes 64\r\nulxmap 10.5\r\nulymap 20.5\r\nxdim 1\r\nydim 1\r\n",
         BinaryFloat, false, true, 3, 2, 4, 64, 10.0, 21.0, 13.0, 19.0},
        {"unsigned bytes",
         "NROWS 2\nNCOLS 2\nNBITS 8\nPIXELTYPE UNSIGNEDINT\nULXMAP 0.5\nULYMAP 1.5\nXDIM 1\nYDIM "
         "1\n",
         BinaryByte, true, false, 2, 2, 2, 0, 0.0, 2.0, 2.0, 0.0},
    };
    for (const auto& c : cases) {
        BinaryImportFields f;
        f.HeaderLength = 99;
        f.FileXStart = 3;
        ASSERT_EQ(ReadBilHeaderText(c.Text, f), 0) << c.Name;
        EXPECT_EQ(f.SampleType, c.Type) << c.Name;
        EXPECT_EQ(f.LsbFirst, c.Lsb) << c.Name;
        EXPECT_EQ(f.Signed, c.Signed) << c.Name;
        EXPECT_EQ(f.FileWidth, c.Width) << c.Name;
        EXPECT_EQ(f.FileHeight, c.Height) << c.Name;
        EXPECT_EQ(f.LineWidth, c.LineWidth) << c.Name;
        EXPECT_EQ(f.HeaderLength, c.Header) << c.Name;
        EXPECT_EQ(f.FileXStart, 0) << c.Name;
        EXPECT_DOUBLE_EQ(f.Left, c.Left) << c.Name;
        EXPECT_DOUBLE_EQ(f.Top, c.Top) << c.Name;
        EXPECT_DOUBLE_EQ(f.Right, c.Right) << c.Name;
        EXPECT_DOUBLE_EQ(f.Bottom, c.Bottom) << c.Name;
    }
    BinaryImportFields f;
    std::string reason;
    EXPECT_EQ(ReadBilHeaderText("NBITS 12\n", f, &reason), -1);
    EXPECT_EQ(reason, "Unknown size parameter in 12");
}

TEST(BinaryGrid, ExportWritesTheNorthRowFirstAsShortsAndReadsBack) {
    test::TempDir dir;
    test::RecordingHost host;
    Workspace ws{host};
    Surface& s = ws.TheSurface;
    ASSERT_EQ(s.Resize(4, 2, 0), 0);
    const float south[] = {-1.7f, 1.7f, 70000.0f, std::numeric_limits<float>::quiet_NaN()};
    const float north[] = {-70000.0f, 32767.9f, -32768.9f, 5.0f};
    std::copy(south, south + 4, s.Rows[0]);
    std::copy(north, north + 4, s.Rows[1]);
    const std::string path = dir.File("g.bin");
    ASSERT_EQ(ExportBinaryFile(path, ws), 0);
    const Bytes bytes = test::ReadFileBytes(path);
    const int16_t expected[] = {-32768, 32767, -32768, 5, -1, 1, 32767, 0};
    ASSERT_EQ(bytes.size(), sizeof expected);
    for (size_t i = 0; i < 8; ++i)
        EXPECT_EQ(int16_t(bytes[2 * i] | bytes[2 * i + 1] << 8), expected[i]) << i;

    BinaryImportFields f;
    f.LineWidth = 4;
    Workspace back{host};
    ASSERT_EQ(ImportBinaryFile(path, f, BinaryTarget::WholeSurface, back), 0);
    EXPECT_EQ(back.TheSurface.Rows[0][0], -1);
    EXPECT_EQ(back.TheSurface.Rows[1][3], 5);
}

} // namespace
} // namespace korvel
