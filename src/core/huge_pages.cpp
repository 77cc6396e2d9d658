#include "core/huge_pages.h"

#include <cstdint>
#include <sys/mman.h>

namespace korvel {

void AdviseHugePages(void* block, size_t bytes) {
    if (block == nullptr || bytes < (size_t{4} << 20))
        return;
    const auto start = (reinterpret_cast<uintptr_t>(block) + 4095) & ~uintptr_t{4095};
    const auto end = (reinterpret_cast<uintptr_t>(block) + bytes) & ~uintptr_t{4095};
    // Only advice: without huge pages the block works the same, just with more faults.
    madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
}

} // namespace korvel
