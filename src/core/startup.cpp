#include "core/startup.h"

#include "core/host.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

namespace korvel {

uint64_t PhysicalMemoryBytes() {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0)
        return 0;
    return static_cast<uint64_t>(pages) * static_cast<uint64_t>(pageSize);
}

uint64_t AvailableMemoryBytes() {
    std::ifstream meminfo("/proc/meminfo");
    std::string key;
    uint64_t kilobytes = 0;
    std::string unit;
    while (meminfo >> key >> kilobytes >> unit)
        if (key == "MemAvailable:")
            return kilobytes * 1024u;
    const long pages = sysconf(_SC_AVPHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0)
        return 0;
    return static_cast<uint64_t>(pages) * static_cast<uint64_t>(pageSize);
}

void CheckStartupSize(int32_t& xsize, int32_t& ysize, uint64_t physicalBytes, Host& host) {
    if (xsize < 4)
        xsize = 384;
    if (ysize < 4)
        ysize = 192;
    // 64-bit arithmetic: the sizes of a bad settings file must not overflow the question.
    const uint64_t bytes = static_cast<uint64_t>(xsize) * static_cast<uint64_t>(ysize) * 5u;
    if (physicalBytes == 0 || bytes <= physicalBytes / 2)
        return;
    char text[160];
    std::snprintf(text, sizeof text,
                  "Surface size from last run is excessive (%d x %d = %llu bytes)\nReduce to "
                  "384x192?",
                  xsize, ysize, static_cast<unsigned long long>(bytes));
    if (host.AskYesNo(text)) {
        xsize = 384;
        ysize = 192;
    }
}

} // namespace korvel
