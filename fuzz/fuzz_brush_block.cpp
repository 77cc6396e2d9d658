// Feeds arbitrary text to the Brush block reader through a file, as a .brs file reaches it;
// libFuzzer and the sanitizers report what goes wrong, and the brush must come out usable.

#include "fuzz/quiet_host.h"
#include "generate/evaluator.h"
#include "generate/token_reader.h"
#include "paint/brush.h"
#include "paint/brush_block.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = "/tmp/fuzz_brush_block." + std::to_string(getpid());
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    korvel::Workspace& ws = korvel::fuzz::FuzzWorkspace();
    korvel::Surface& s = ws.TheSurface;
    korvel::Evaluator eval(s, ws.Noise, ws.Random, s.Generation);
    korvel::TokenReader reader;
    if (reader.Open(path) != 0)
        return 0;
    korvel::Brush brush;
    korvel::ReadBrush(brush, reader, eval);
    const size_t cells = static_cast<size_t>(brush.XSize) * static_cast<size_t>(brush.YSize);
    if (brush.Data.size() != cells || brush.Mask.size() != cells || brush.Work.size() != cells ||
        brush.XSize % 2 == 0 || brush.XSize > korvel::Brush::MaxSize)
        std::abort();
    return 0;
}
