#pragma once
// Bryce terrains: Bryce 2 (".brc") and Bryce 3D (".br3") composite documents holding one square
// grid of N x N unsigned 16-bit samples, most significant byte first, N from 16 to 1024. The
// scene records around the grid are written by Korvel itself; a reader only needs the signature,
// the chunk tag before the grid and the size code the tag carries.

#include "core/status.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace korvel {

class Workspace;

enum class BryceKind { Bryce2, Bryce3D };

// The grid sizes a Bryce terrain may have.
std::span<const int32_t> BryceSizes();
bool IsBryceSize(int32_t n);
// The length of a file Korvel writes: head, grid and tail.
size_t BryceFileLength(BryceKind kind, int32_t n);

// Reading codes; 0 read, Min and Max rescanned from the samples.
enum BryceReadStatus : int32_t {
    BryceCannotOpen = -2,
    BryceCannotMap = -3,
    BryceNoGrid = -5,      // no chunk tag, a size code not listed, or a grid past the file's end
    BryceNotBryce = -6,    // the file does not begin with "CCmF - Universal"
    BryceOutOfMemory = -7, // the Surface is then empty, 0 x 0
    BryceReadCancelled = -8,
};
extern const StatusTable BryceReadTexts;
// The grid goes into the whole Surface, sized N x N, its first row at the top (row N - 1).
// Every refusal before BryceOutOfMemory leaves the Surface untouched.
int32_t ReadBryceBuffer(BryceKind kind, const uint8_t* data, size_t size, Workspace& ws,
                        const std::string& name = std::string(), std::string* reason = nullptr);
int32_t ReadBryceFile(BryceKind kind, const std::string& path, Workspace& ws,
                      std::string* reason = nullptr);

// What is written: N and the area of the Surface (in samples) the grid spans. The grid's first
// row is taken at Top, its first column at Left.
struct BryceLayout {
    int32_t Size = 128;
    double Top = 0.0;
    double Left = 0.0;
    double Right = 0.0;
    double Bottom = 0.0;
};
// The whole Surface, north row first, so that a written file reads back the right way up.
BryceLayout WholeSurfaceLayout(const Workspace& ws, int32_t n);

// Writing codes; on any non-zero code the file at path is left as it was.
enum BryceWriteStatus : int32_t {
    BryceWriteCancelled = -1,
    BryceBadSize = -2,
    BryceCannotCreate = -3,
    BryceWriteFailed = -4,
    BryceNothingToWrite = -5,
};
extern const StatusTable BryceWriteTexts;
// Samples are scaled from Min..Max by 65534 (Bryce 3D) or 2047 (Bryce 2) over the range plus
// 0.00001, truncated, and clamped to 0..65534 or 0..2047 so that stale extremes cannot wrap them.
// The area's edges are clamped to the Surface first.
int32_t WriteBryceFile(BryceKind kind, const std::string& path, const BryceLayout& layout,
                       Workspace& ws, std::string* reason = nullptr);

} // namespace korvel
