#include "formats/file_type_table.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

TEST(FileTypeTable, ExtensionsFindTheFirstRowAfterLowering) {
    const std::pair<const char*, int32_t> cases[] = {
        {"terrain.BMP", 0x805}, {"a.b.mdr", 0x807},     {"x.TGA", 0x801}, {"x.pcx", 0x803},
        {"x.dxf", 0x80E},       {"x.dem", 0x80B},       {"x.xyz", 0x800}, {"README", -100},
        {"dir.d/file", 0x800},  {"x.", 0x800},          {"x.lgt", 0x81D}, {"x.dmd", 0x800},
        {"x.srf", 0x81F},       {"x.Stm", 0x817},       {"x.raw", 0x810}, {"x.R16", 0x821},
        {"x.asc", 0x826},       {"N45W120.hgt", 0x827},
    };
    for (const auto& [path, type] : cases)
        EXPECT_EQ(TypeFromExtension(path), type) << path;
}

TEST(FileTypeTable, OpeningTakesTheFirstRowThatReads) {
    const std::pair<const char*, int32_t> cases[] = {
        {"heights.raw", 0x822}, // "3D RAW triangles" is only written
        {"x.bmp", 0x805},       // the first row reads already
        {"x.dxf", 0x80E},       // no row reads: the first one's refusal stands
        {"x.xyz", 0x800},       {"README", -100},
    };
    for (const auto& [path, type] : cases)
        EXPECT_EQ(ReadableTypeFromExtension(path), type) << path;
}

TEST(FileTypeTable, FiltersListTheRowsHoldingEveryBitOfTheMask) {
    const FileFilter open8 = BuildFilter(0x41);
    // Every listed row but the eleven save-only ones can be read.
    EXPECT_EQ(open8.Count, 37 - 11);
    EXPECT_TRUE(open8.Text.starts_with("BMP Texture (*.bmp)|*.bmp|Targa Texture (*.tga)|*.tga|"));
    EXPECT_TRUE(open8.Text.ends_with("|SRTM HGT Tile (*.hgt)|*.hgt|All Files (*.*)|*.*||"));

    const FileFilter save = BuildFilter(0x82);
    // Not writable: 8-bit PCX surface, USGS DEM, binary, DTED cell and HGT.
    EXPECT_EQ(save.Count, 37 - 5);
    EXPECT_EQ(BuildFilter(0x04).Text, "All Files (*.*)|*.*||");

    // Save As: the 5th writable row is MDR (8-bit PCX surface is not writable).
    EXPECT_EQ(TypeFromFilterIndex(5, 0x82), 0x807);
    EXPECT_EQ(TypeFromFilterIndex(1, 0x41), 0x805);
    EXPECT_EQ(TypeFromFilterIndex(save.Count + 1, 0x82), -1);
    EXPECT_EQ(TypeFromFilterIndex(0, 0x82), -1);
}

TEST(FileTypeTable, TypesByNameOrCode) {
    EXPECT_EQ(TypeFromName("8-bit BMP Surface (8-bit)"), 0x806);
    EXPECT_EQ(TypeFromName("mdr surface"), 0x807);
    EXPECT_EQ(TypeFromName("0x802"), 0x802);
    EXPECT_EQ(TypeFromName("2055"), 0x807);
    EXPECT_EQ(TypeFromName("0x800"), -1);
    EXPECT_EQ(TypeFromName("0x900"), -1);
    EXPECT_EQ(TypeFromName("Bitmap"), -1);
    EXPECT_EQ(TypeFromName(""), -1);
    EXPECT_EQ(TypeFromName("99999999999999999999"), -1);
}

} // namespace
} // namespace korvel
