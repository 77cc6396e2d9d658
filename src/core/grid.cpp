#include "core/grid.h"

#include "core/huge_pages.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace korvel {

namespace {
GridHeader* HeaderOf(void* const* table) {
    return reinterpret_cast<GridHeader*>(const_cast<char*>(reinterpret_cast<const char*>(table)) -
                                         sizeof(GridHeader));
}
} // namespace

void** GridAlloc(int32_t columns, int32_t rows, int32_t elementSize) {
    if (columns <= 0 || rows <= 0 || elementSize <= 0)
        return nullptr;
    const size_t tableBytes = sizeof(GridHeader) + sizeof(void*) * static_cast<size_t>(rows);
    const size_t rowBytes = static_cast<size_t>(columns) * static_cast<size_t>(elementSize);
    auto* head = static_cast<char*>(std::calloc(1, tableBytes));
    if (!head)
        return nullptr;
    // calloc hands large blocks out as fresh zero pages, so zeroing costs nothing up front.
    auto* data = static_cast<char*>(std::calloc(static_cast<size_t>(rows), rowBytes));
    if (!data) {
        std::free(head);
        return nullptr;
    }
    // Large grids are written soon after.
    AdviseHugePages(data, rowBytes * static_cast<size_t>(rows));
    auto* header = reinterpret_cast<GridHeader*>(head);
    header->Data = data;
    header->Columns = columns;
    header->Rows = rows;
    header->ElementSize = elementSize;
    auto** table = reinterpret_cast<void**>(head + sizeof(GridHeader));
    for (int32_t y = 0; y < rows; ++y)
        table[y] = data + static_cast<size_t>(y) * rowBytes;
    return table;
}

void GridFree(void** table) {
    if (!table)
        return;
    GridHeader* header = HeaderOf(table);
    std::free(header->Data);
    std::free(header);
}

int32_t GridCopy(void** destination, void** const source) {
    if (!source)
        return -1;
    if (!destination)
        return -2;
    const GridHeader* from = HeaderOf(source);
    const GridHeader* to = HeaderOf(destination);
    if (from->Columns != to->Columns || from->Rows != to->Rows)
        return -3;
    const size_t bytes = static_cast<size_t>(from->Columns) * static_cast<size_t>(from->Rows) *
                         static_cast<size_t>(from->ElementSize);
    // Equal shapes with different element sizes would overrun the destination.
    if (from->ElementSize != to->ElementSize)
        return -3;
    std::memcpy(to->Data, from->Data, bytes);
    return 0;
}

const GridHeader* GridHeaderOf(void* const* table) {
    return table ? HeaderOf(table) : nullptr;
}

} // namespace korvel
