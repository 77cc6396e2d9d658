#pragma once
// The Surface's size and map record: "&New...", "&Size...", "&Map Info...", "&Find Min/Max..."
// and the small commands of the view and misc menus that only refresh or reset.

#include <cstdint>
#include <string>

namespace korvel {

class CommandTableBuilder;

void BindSurfaceCommands(CommandTableBuilder& table);

// Empty when a width x height Surface of bytesPerSample (grid, picture and masks together) fits
// in available bytes; otherwise the message that refuses it. available 0: unknown, not checked.
std::string MemoryShortfall(int32_t width, int32_t height, uint64_t bytesPerSample,
                            uint64_t available);

} // namespace korvel
