// Every named status code of the readers, writers, area operations and the open dispatch has a
// text of its own, so no failure reaches a person as a bare number.
#include "commands/file_dispatch.h"
#include "core/status.h"
#include "edit/area_operations.h"
#include "edit/convolution.h"
#include "edit/point_operations.h"
#include "formats/ascii_grid.h"
#include "formats/bmp.h"
#include "formats/exr.h"
#include "formats/geotiff.h"
#include "formats/hgt.h"
#include "formats/krn.h"
#include "formats/mat.h"
#include "formats/mdr.h"
#include "formats/pcx.h"
#include "formats/pgm.h"
#include "formats/png_heights.h"
#include "formats/raw_heights.h"
#include "formats/selection_bmp.h"
#include "formats/stm.h"
#include "formats/tga.h"
#include "shading/texture.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace korvel {
namespace {

struct Family {
    const StatusTable* Table;
    std::vector<int32_t> Codes; // the named codes of the header
};

TEST(StatusTexts, EveryNamedCodeHasItsOwnText) {
    const Family families[] = {
        {&AsciiGridReadTexts,
         {AsciiGridCannotOpen, AsciiGridCannotMap, AsciiGridNotGrid, AsciiGridTruncated,
          AsciiGridBadSize, AsciiGridOutOfMemory, AsciiGridBadValue}},
        {&AsciiGridWriteTexts,
         {AsciiGridWriteCancelled, AsciiGridCannotCreate, AsciiGridWriteFailed, AsciiGridNoGrid}},
        {&RawReadTexts,
         {RawCancelled, RawCannotOpen, RawCannotMap, RawSizeUnknown, RawWrongLength, RawBadSize,
          RawOutOfMemory}},
        {&RawWriteTexts, {RawWriteCancelled, RawCannotCreate, RawWriteFailed, RawNoGrid}},
        {&ExrReadTexts,
         {ExrCannotOpen, ExrCannotMap, ExrNotExr, ExrUnsupported, ExrTruncated, ExrBadSize,
          ExrOutOfMemory}},
        {&ExrWriteTexts, {ExrCannotCreate, ExrWriteFailed, ExrNoGrid, ExrEncodeFailed}},
        {&GeoTiffReadTexts,
         {GeoTiffCannotOpen, GeoTiffCannotMap, GeoTiffNotTiff, GeoTiffUnsupported, GeoTiffTruncated,
          GeoTiffBadSize, GeoTiffOutOfMemory}},
        {&GeoTiffWriteTexts,
         {GeoTiffWriteCancelled, GeoTiffCannotCreate, GeoTiffWriteFailed, GeoTiffBadOptions,
          GeoTiffNoGrid, GeoTiffEncodeFailed}},
        {&HgtReadTexts, {HgtCannotOpen, HgtCannotMap, HgtBadName, HgtBadLength, HgtOutOfMemory}},
        {&PngReadTexts,
         {PngReadCancelled, PngCannotOpen, PngCannotMap, PngNotPng, PngTruncated, PngBadSize,
          PngOutOfMemory}},
        {&PngWriteTexts,
         {PngWriteCancelled, PngCannotCreate, PngWriteFailed, PngBadOptions, PngNoGrid,
          PngEncodeFailed}},
        {&MdrReadTexts,
         {MdrCannotOpen, MdrCannotMap, MdrNotMdr, MdrUnsupported, MdrTruncated, MdrBadSize,
          MdrOutOfMemory}},
        {&MdrWriteTexts,
         {MdrWriteCancelled, MdrCannotCreate, MdrWriteFailed, MdrBadOptions, MdrNoGrid}},
        {&MatReadTexts,
         {MatCannotOpen, MatCannotMap, MatUnsupported, MatTruncated, MatBadSize, MatOutOfMemory}},
        {&MatWriteTexts, {MatWriteCancelled, MatCannotCreate, MatWriteFailed, MatNoGrid}},
        {&StmReadTexts,
         {StmCannotOpen, StmCannotMap, StmNotStm, StmBadHeader, StmTruncated, StmBadSize,
          StmCancelled, StmOutOfMemory}},
        {&StmWriteTexts, {StmWriteCancelled, StmCannotCreate, StmWriteFailed, StmNoGrid}},
        {&BmpImageWriteTexts,
         {BmpImageCannotCreate, BmpImageWriteFailed, BmpImageWriteCancelled, BmpImageWriteBadSize}},
        {&BmpImageReadTexts,
         {BmpImageCannotOpen, BmpImageUnsupported, BmpImageNoPicture, BmpImageTruncated}},
        {&BmpSurfaceWriteTexts,
         {BmpSurfaceCannotCreate, BmpSurfaceWriteFailed, BmpSurfaceWriteCancelled,
          BmpSurfaceWriteBadSize}},
        {&BmpSurfaceReadTexts,
         {BmpSurfaceCannotOpen, BmpSurfaceNotBmp, BmpSurfaceUnsupported, BmpSurfaceBadSize,
          BmpSurfaceTruncated, BmpSurfaceOutOfMemory}},
        {&PcxWriteTexts,
         {PcxCannotCreate, PcxWriteFailed, PcxWriteCancelled, PcxBadSize, PcxNoPalette}},
        {&PcxReadTexts,
         {PcxUnsupported, PcxCannotOpen, PcxTruncated, PcxBadReadSize, PcxOutOfMemory,
          PcxReadCancelled}},
        {&TgaWriteTexts,
         {TgaCannotCreate, TgaWriteFailed, TgaWriteCancelled, TgaWriteBadSize, TgaNoPalette}},
        {&TgaReadTexts,
         {TgaUnsupported, TgaCannotOpen, TgaTruncated, TgaBadReadSize, TgaOutOfMemory,
          TgaReadCancelled}},
        {&PgmWriteTexts,
         {PgmCannotCreate, PgmBadRange, PgmWriteCancelled, PgmWriteFailed, PgmNoGrid}},
        {&KernelFileTexts, {KernelFileUnusable, KernelFileTooLarge, KernelFileNoKernel}},
        {&SelectionFileTexts,
         {SelectionNoMask, SelectionUnusableFile, SelectionNotBmp, SelectionUnsupported,
          SelectionWrongSize}},
        {&PointTexts, {PointCancelled, PointFlat, PointNoLevels}},
        {&AreaTexts, {AreaCancelled, AreaNoRowBuffer, AreaHeightNotMultipleOf4}},
        {&ConvolveTexts, {ConvolveCancelled, ConvolveNoWorkGrid}},
        {&TextureTexts, {TextureCancelled, TextureEmpty, TextureNoPicture}},
        {&DispatchTexts,
         {DispatchNoExtension, DispatchUnknownExtension, DispatchNotReadable, DispatchMuseFailed,
          DispatchDtedFailed, DispatchDefinitionFailed, DispatchMuseCancelled,
          DispatchDtedCancelled, DispatchNoDefinition, DispatchNoReader}},
    };
    for (const Family& f : families) {
        const std::string operation = f.Table->Operation;
        std::set<std::string> texts;
        for (const int32_t code : f.Codes) {
            EXPECT_TRUE(HasStatusText(*f.Table, code)) << operation << " " << code;
            const std::string text = DescribeStatus(*f.Table, code);
            EXPECT_EQ(text.find("code"), std::string::npos) << operation << " " << code;
            texts.insert(text);
        }
        // One text for each code, and no text for a code the header does not name.
        EXPECT_EQ(texts.size(), f.Codes.size()) << operation;
        EXPECT_EQ(f.Table->Texts.size(), f.Codes.size()) << operation;
        EXPECT_FALSE(HasStatusText(*f.Table, 0)) << operation;
    }
}

} // namespace
} // namespace korvel
