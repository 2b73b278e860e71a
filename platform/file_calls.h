// Counts of the file-system calls the program makes on files and folders: each is a round trip
// when the dealer's files lie on a network share. The platform layer counts every call it
// makes; a caller takes the difference of two snapshots to see what one step cost.
#pragma once

#include <cstddef>
#include <cstdint>

namespace dv::platform {

struct FileCalls {
    uint64_t opens = 0;    // files opened
    uint64_t closes = 0;   // files closed
    uint64_t reads = 0;    // read calls, however many bytes each
    uint64_t bytes = 0;    // bytes those reads asked for
    uint64_t fstats = 0;   // status of an open file (its length)
    uint64_t lookups = 0;  // path look-ups: the status of a path, a folder's listing

    // Every call: opens, closes, reads, fstats and look-ups.
    uint64_t Calls() const { return opens + closes + reads + fstats + lookups; }
    FileCalls operator-(const FileCalls& earlier) const;
};

// The calls made since the program started.
FileCalls FileCallCounts();

// The counters, for the platform's own file code.
namespace count {
void Open();
void Close();
void Read(size_t bytes);
void Fstat();
void Lookup();
// Calls another process made for this one (a fetch helper's).
void Add(const FileCalls& calls);
}  // namespace count

}  // namespace dv::platform
