#include "platform/heap.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace dv::platform {

void KeepFreedBlocksOnHeap() {
    ::mallopt(M_MMAP_THRESHOLD, static_cast<int>(kHeapBlockLimit));
    ::mallopt(M_TRIM_THRESHOLD, static_cast<int>(kHeapTrimLimit));
}

void GrowHeapInHugePages() {
    // A load touches some 20 MiB of heap, which in huge pages costs a few hundred page faults
    // instead of several thousand. One block past the top makes the heap grow now; freed, it
    // stays as the heap's top for the allocations to come.
    constexpr uintptr_t kHugePage = 2 * 1024 * 1024;
    ::mallopt(M_TOP_PAD, static_cast<int>(kHeapStep));
    const auto low = reinterpret_cast<uintptr_t>(::sbrk(0));
    void* volatile block = ::malloc(1024 * 1024);  // volatile: not to be elided with its free
    ::free(block);
    const auto high = reinterpret_cast<uintptr_t>(::sbrk(0));
    const uintptr_t first = (low + kHugePage - 1) & ~(kHugePage - 1);
    const uintptr_t last = high & ~(kHugePage - 1);
    if (low != static_cast<uintptr_t>(-1) && last > first)
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

bool TuneHeap() {
    const char* setting = std::getenv("DASHVANE_HEAP_TUNING");
    if (setting != nullptr && std::strcmp(setting, "0") == 0) return false;
    KeepFreedBlocksOnHeap();
    GrowHeapInHugePages();
    return true;
}

}  // namespace dv::platform
