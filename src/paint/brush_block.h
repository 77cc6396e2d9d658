#pragma once
// The Brush block of definition files and .brs files: a brush as text.
#include <cstdint>
#include <string>

namespace korvel {

class Brush;
class Evaluator;
class TokenReader;

// Reads the items up to BrushEnd into brush: 0 when BrushEnd was read (and consumed), -1 when
// the input ended first (the items read so far stay). Either way the grids match the sizes.
// Sizes are never trusted: a Data or Mask
// list that is short, or was read at sizes that are not odd and within Brush::MinSize..MaxSize
// or that changed afterwards, is dropped and the brush rebuilt from its fields.
int32_t ReadBrush(Brush& brush, TokenReader& reader, Evaluator& eval);
// The block as the writer lays it out: one item a line, one line a footprint row.
std::string FormatBrush(const Brush& brush);

} // namespace korvel
