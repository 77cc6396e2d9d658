#include "core/grid.h"

#include <gtest/gtest.h>

namespace korvel {
namespace {

TEST(GridTest, AllocGivesZeroedContiguousRows) {
    void** table = GridAlloc(5, 3, 4);
    ASSERT_NE(table, nullptr);
    const GridHeader* header = GridHeaderOf(table);
    EXPECT_EQ(header->Columns, 5);
    EXPECT_EQ(header->Rows, 3);
    EXPECT_EQ(header->ElementSize, 4);
    const auto* data = static_cast<const unsigned char*>(header->Data);
    for (int y = 0; y < 3; ++y)
        EXPECT_EQ(table[y], data + y * 20) << y;
    for (int i = 0; i < 60; ++i)
        ASSERT_EQ(data[i], 0) << i;
    GridFree(table);

    EXPECT_EQ(GridAlloc(0, 3, 4), nullptr);
    EXPECT_EQ(GridAlloc(5, 0, 4), nullptr);
    EXPECT_EQ(GridAlloc(5, 3, 0), nullptr);
    GridFree(nullptr);
}

TEST(GridTest, CopyChecksBothGridsAndShapes) {
    float** source = GridAllocOf<float>(4, 3);
    source[2][3] = 7.5f;
    const struct {
        int32_t Columns, Rows;
        bool NullSource, NullDestination;
        int32_t Code;
    } cases[] = {
        {4, 3, true, false, -1},  {4, 3, false, true, -2}, {4, 2, false, false, -3},
        {8, 3, false, false, -3}, {4, 3, false, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Code);
        float** destination = GridAllocOf<float>(c.Columns, c.Rows);
        destination[c.Rows - 1][c.Columns - 1] = 1.0f;
        EXPECT_EQ(
            GridCopyOf(c.NullDestination ? nullptr : destination, c.NullSource ? nullptr : source),
            c.Code);
        EXPECT_EQ(destination[c.Rows - 1][c.Columns - 1], c.Code == 0 ? 7.5f : 1.0f);
        GridFreeOf(destination);
    }
    GridFreeOf(source);
}

} // namespace
} // namespace korvel
