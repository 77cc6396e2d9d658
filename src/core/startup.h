#pragma once
// The size check made before the first Surface is allocated.

#include <cstdint>

namespace korvel {

class Host;

uint64_t PhysicalMemoryBytes();
// The memory a new allocation can still take: MemAvailable of /proc/meminfo, else the free
// physical pages; 0 when neither can be read.
uint64_t AvailableMemoryBytes();

// Widths below 4 become 384 and heights below 4 become 192; a surface whose 5 bytes per sample
// exceed half the physical memory is offered a reduction to 384 x 192.
void CheckStartupSize(int32_t& xsize, int32_t& ysize, uint64_t physicalBytes, Host& host);

} // namespace korvel
