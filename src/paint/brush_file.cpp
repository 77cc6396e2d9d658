#include "paint/brush_file.h"

#include "generate/definition_file.h"
#include "generate/evaluator.h"
#include "generate/keywords.h"
#include "paint/brush_block.h"
#include "paint/paint_state.h"

namespace korvel {

int32_t ReadBrushDefinitionFile(const std::string& path, Workspace& ws, std::string& message) {
    PaintState& state = PaintStateOf(ws);
    // Read into a copy: a file that ends inside its block leaves the brush in use untouched.
    Brush read = state.Brushes.Current;
    Surface& s = ws.TheSurface;
    Evaluator eval(s, ws.Noise, ws.Random, s.Generation);
    const int32_t code = ReadDefinitionBlocks(
        path, ws, KwBrush, "Brush",
        [&read, &eval](TokenReader& reader, Builtins&) { return ReadBrush(read, reader, eval); },
        message);
    if (code != 0)
        return code;
    state.Brushes.Current = std::move(read);
    state.Brushes.CurrentChanged();
    return 0;
}

int32_t WriteBrushDefinitionFile(const std::string& path, Workspace& ws, std::string& message) {
    return WriteDefinitionText(path, FormatBrush(PaintStateOf(ws).Brushes.Current), message);
}

} // namespace korvel
