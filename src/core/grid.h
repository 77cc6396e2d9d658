#pragma once
// Row-table grids: one contiguous zero-filled data block plus a table of row pointers.
// The table is preceded by a small header naming the block and its shape, so a caller that
// holds only the table can free or copy the grid.

#include <cstddef>
#include <cstdint>

namespace korvel {

struct GridHeader {
    void* Data;
    int32_t Columns;
    int32_t Rows;
    int32_t ElementSize;
    int32_t Reserved; // keeps the row pointers 8-byte aligned
};

// Returns the row table, or nullptr when either allocation fails or the shape is not positive.
void** GridAlloc(int32_t columns, int32_t rows, int32_t elementSize);
void GridFree(void** table);
// -1 source null, -2 destination null, -3 shapes differ, 0 copied.
int32_t GridCopy(void** destination, void** const source);
const GridHeader* GridHeaderOf(void* const* table);

template <class T> T** GridAllocOf(int32_t columns, int32_t rows) {
    return reinterpret_cast<T**>(GridAlloc(columns, rows, static_cast<int32_t>(sizeof(T))));
}
template <class T> void GridFreeOf(T** table) {
    GridFree(reinterpret_cast<void**>(table));
}
template <class T> int32_t GridCopyOf(T** destination, T** source) {
    return GridCopy(reinterpret_cast<void**>(destination), reinterpret_cast<void**>(source));
}

} // namespace korvel
