#include "formats/mesh_grid.h"

#include "formats/text_sink.h"

#include <algorithm>
#include <cmath>

namespace korvel {

namespace {

constexpr StatusText WriteTexts[] = {
    {MeshCancelled, "cancelled"},
    {MeshCannotCreate, "the mesh file cannot be created"},
    {MeshWriteFailed, "the mesh file cannot be written"},
    {MeshNoGrid, "the Surface has no grid to write"},
    {MeshTooNarrow, "a mesh needs at least 2 rows and 2 columns"},
};

int32_t OwnSizeBelowTwo(int32_t requested, int32_t own) {
    return requested < 2 ? own : requested;
}

} // namespace

const StatusTable MeshWriteTexts{"mesh writing", WriteTexts};

int32_t MeshGrid::Lay(const Surface& s, const MeshLayout& layout, const InterpSettings& interp,
                      std::string* reason) {
    if (!s.HasGrid())
        return Refuse(reason, MeshWriteTexts, MeshNoGrid);
    if (s.XSize < 2 || s.YSize < 2)
        return Refuse(reason, MeshWriteTexts, MeshTooNarrow,
                      "the Surface is " + std::to_string(s.XSize) + " x " +
                          std::to_string(s.YSize));
    S = &s;
    Interp = interp;
    Columns = OwnSizeBelowTwo(layout.Width, s.XSize);
    RowCount = OwnSizeBelowTwo(layout.Height, s.YSize);
    Places = std::clamp(layout.Decimals, 0, 16);
    MinY = layout.MinY;
    SpanY = layout.MaxY - layout.MinY;
    MinZ = layout.MinZ;
    SurfaceMin = s.Min;
    // A flat Surface maps every Z to MinZ.
    const double range = s.Max - s.Min;
    ZScale = (layout.MaxZ - layout.MinZ) * (range != 0.0 ? 1.0 / range : 1.0);
    Xs.resize(static_cast<size_t>(Columns));
    for (int32_t i = 0; i < Columns; ++i)
        Xs[static_cast<size_t>(i)] =
            layout.MinX + (layout.MaxX - layout.MinX) * ColumnAt(i) / s.XSize;
    return 0;
}

// i x (XSize - 1) / (Width - 1): exact at both ends, never a sum of rounded steps.
double MeshGrid::ColumnAt(int32_t i) const {
    return static_cast<double>(i) * (S->XSize - 1) / (Columns - 1);
}
double MeshGrid::RowAt(int32_t j) const {
    return static_cast<double>(j) * (S->YSize - 1) / (RowCount - 1);
}

void MeshGrid::SampleRow(int32_t j, std::vector<double>& z) const {
    z.resize(static_cast<size_t>(Columns));
    const double y = RowAt(j);
    const bool wholeRow = y == std::floor(y);
    const float* row = wholeRow ? S->Rows[static_cast<int32_t>(y)] : nullptr;
    for (int32_t i = 0; i < Columns; ++i) {
        const double x = ColumnAt(i);
        const double h =
            row && x == std::floor(x) ? row[static_cast<int32_t>(x)] : S->SampleAt(x, y, Interp);
        z[static_cast<size_t>(i)] = MinZ + (h - SurfaceMin) * ZScale;
    }
}

void NumberTexts::Assign(const std::vector<double>& values, int decimals) {
    // Room for the longest number ahead of each one: short numbers do not pay for long ones.
    Starts.resize(values.size() + 1);
    Starts[0] = 0;
    size_t used = 0;
    for (size_t i = 0; i < values.size(); ++i) {
        if (Text.size() < used + LongestFixedNumber)
            Text.resize(std::max(Text.size() * 2, used + LongestFixedNumber));
        used = static_cast<size_t>(PutFixed(Text.data() + used, values[i], decimals) - Text.data());
        Starts[i + 1] = used;
    }
}

} // namespace korvel
