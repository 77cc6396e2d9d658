#pragma once
// What every mesh writer shares: the output grid laid over the Surface, the box it is mapped
// into, and the codes the writers return.

#include "core/interpolation.h"
#include "core/status.h"
#include "core/surface.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// The output grid and the box of the export dialog, as the writers take them.
struct MeshLayout {
    int32_t Width = 0;  // vertices per row; below 2 the Surface's own width
    int32_t Height = 0; // rows of vertices; below 2 the Surface's own height
    int32_t Decimals = 4;
    double MinX = 0.0, MinY = 0.0, MinZ = 0.0;
    double MaxX = 1.0, MaxY = 1.0, MaxZ = 1.0;
    double ClipLow = -1e20;
    double ClipHigh = 1e20;
};

// Writing codes; on any non-zero code the file at path is left as it was.
enum MeshWriteStatus : int32_t {
    MeshCancelled = -1,
    MeshCannotCreate = -2,
    MeshWriteFailed =
        -3, // a write failed (disk full, I/O error) or the file could not be put in place
    MeshNoGrid = -4,
    MeshTooNarrow = -5, // the Surface or the output grid has a single row or column
};
extern const StatusTable MeshWriteTexts;

// The output grid: vertex i of a row lies at column i x (XSize - 1) / (Width - 1) of the
// Surface, so the first and last vertices are the Surface's first and last samples and no cell
// reaches beyond them.
class MeshGrid {
public:
    // Refuses (MeshNoGrid, MeshTooNarrow) with reason set; 0 when the grid can be walked.
    int32_t Lay(const Surface& s, const MeshLayout& layout, const InterpSettings& interp,
                std::string* reason);

    int32_t Width() const { return Columns; }
    int32_t Height() const { return RowCount; }
    // The decimal places of the layout, held to 0..16.
    int32_t Decimals() const { return Places; }
    double X(int32_t i) const { return Xs[static_cast<size_t>(i)]; }
    double Y(int32_t j) const { return MinY + SpanY * RowAt(j) / S->YSize; }
    // Z of every vertex of row j, mapped into the box.
    void SampleRow(int32_t j, std::vector<double>& z) const;

private:
    double ColumnAt(int32_t i) const;
    double RowAt(int32_t j) const;

    const Surface* S = nullptr;
    InterpSettings Interp;
    int32_t Columns = 0;
    int32_t RowCount = 0;
    int32_t Places = 4;
    double MinY = 0.0, SpanY = 0.0, MinZ = 0.0, ZScale = 1.0, SurfaceMin = 0.0;
    std::vector<double> Xs;
};

// Numbers written once and used many times: the text of each value, one after another.
class NumberTexts {
public:
    void Assign(const std::vector<double>& values, int decimals);
    std::string_view operator[](size_t i) const {
        return {Text.data() + Starts[i], Starts[i + 1] - Starts[i]};
    }

private:
    std::vector<char> Text;
    std::vector<size_t> Starts;
};

} // namespace korvel
