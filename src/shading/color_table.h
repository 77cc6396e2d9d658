#pragma once
// ColorList::ColorAt at the cost of a table lookup, with the very same colours. The positions
// (0, 1) are cut into Cells equal cells; a cell holds its colour when every float position in it
// is sure to give that colour, which is the case for all but the few cells where a channel steps
// to the next integer, a blend turns or a segment ends. Those, and lists the table cannot
// vouch for, go to ColorAt itself.

#include "core/color_list.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvel {

class ColorTable {
public:
    static constexpr int32_t Cells = 16384;

    // Without Build every lookup is ColorAt. list must outlive the table.
    explicit ColorTable(const ColorList& list) : List(&list) {}
    // Fills the cells (a few milliseconds: worth it for large pictures only).
    void Build();

    PackedColor At(float t) const {
        if (t > 0.0f && t < 1.0f && !Table.empty()) {
            const auto cell = static_cast<int32_t>(t * static_cast<float>(Cells));
            const PackedColor c = Table[static_cast<size_t>(cell)];
            if (c != Unsure)
                return c;
        }
        return List->ColorAt(t);
    }

private:
    static constexpr PackedColor Unsure = 0xFFFFFFFF;

    PackedColor CellColor(int32_t cell) const;

    const ColorList* List;
    std::vector<PackedColor> Table;
};

} // namespace korvel
