// The allocator's settings for a program that loads a data set, made once as it starts. A load
// allocates and frees read-ahead windows of up to a MiB and record buffers by the thousand; with
// the allocator's defaults every block above 128 KiB is a fresh mapping the kernel must clear
// and map (and unmap again at its free), and the heap grows a few pages at a time, each page a
// fault of its own.
#pragma once

#include <cstddef>

namespace dv::platform {

// Blocks below this come from the heap (not a mapping of their own) ...
inline constexpr size_t kHeapBlockLimit = 8 * 1024 * 1024;
// ... and the heap's top goes back to the kernel only once this much of it is free: the read
// cache is bounded at 32 MiB, so the heap stays below the load's peak.
inline constexpr size_t kHeapTrimLimit = 64 * 1024 * 1024;
// The heap grows this much at once (address space: pages are taken as they are touched).
inline constexpr size_t kHeapStep = 32 * 1024 * 1024;

// Keeps what the program frees for its next allocations: blocks below kHeapBlockLimit come
// from the heap, whose top is kept up to kHeapTrimLimit, so that a freed window's pages, already
// touched, serve the next one.
void KeepFreedBlocksOnHeap();

// Grows the heap by kHeapStep now and asks for that step as transparent huge pages, so that
// what a load touches of it first costs one fault per 2 MiB rather than one per 4 KiB. Advice
// only: where the kernel has no huge pages to give, the heap works as before.
void GrowHeapInHugePages();

// Both of the above, unless the environment's DASHVANE_HEAP_TUNING is "0" (the allocator's own
// defaults, to measure what they gain). True when the heap was tuned. Call it first thing in
// main, before any thread starts.
bool TuneHeap();

}  // namespace dv::platform
