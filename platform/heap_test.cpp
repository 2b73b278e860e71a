// The heap's tuning: what it changes can be seen in the allocator's own figures, and the
// environment switch leaves the defaults.
#include "platform/heap.h"

#include <gtest/gtest.h>
#include <malloc.h>

#include <cstdlib>

#include "platform/test_support.h"

namespace dv::platform {
namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kOwnAllocator = false;  // the sanitizer's allocator takes no such settings
#else
constexpr bool kOwnAllocator = true;
#endif

TEST(Heap, TheSwitchLeavesTheAllocatorsDefaults) {
    const testing::ScopedEnv off("DASHVANE_HEAP_TUNING", "0");
    EXPECT_FALSE(TuneHeap());
    if (!kOwnAllocator) GTEST_SKIP();
    // The heap has not grown by a step (this process's tests allocate far less).
    EXPECT_LT(mallinfo2().arena, kHeapStep);
}

TEST(Heap, TunedTheHeapGrowsAStepAndKeepsLargeBlocks) {
    for (const char* setting : {"", "1"}) {
        const testing::ScopedEnv on("DASHVANE_HEAP_TUNING", setting);
        EXPECT_TRUE(TuneHeap()) << setting;
    }
    if (!kOwnAllocator) GTEST_SKIP();
    EXPECT_GE(mallinfo2().arena, kHeapStep);
    // A read-ahead window's size comes from the heap, and its pages stay there once freed.
    const size_t mapped = mallinfo2().hblks;
    void* volatile block = std::malloc(1024 * 1024);
    EXPECT_EQ(mallinfo2().hblks, mapped);
    std::free(block);
    EXPECT_GE(mallinfo2().arena, kHeapStep);
}

}  // namespace
}  // namespace dv::platform
