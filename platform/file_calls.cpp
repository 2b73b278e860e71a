#include "platform/file_calls.h"

#include <atomic>

namespace dv::platform {
namespace {
// Counted from the fill's thread and from the fetch workers.
struct Counters {
    std::atomic<uint64_t> opens{0}, closes{0}, reads{0}, bytes{0}, fstats{0}, lookups{0};
};
Counters g_calls;
}  // namespace

FileCalls FileCalls::operator-(const FileCalls& earlier) const {
    FileCalls d;
    d.opens = opens - earlier.opens;
    d.closes = closes - earlier.closes;
    d.reads = reads - earlier.reads;
    d.bytes = bytes - earlier.bytes;
    d.fstats = fstats - earlier.fstats;
    d.lookups = lookups - earlier.lookups;
    return d;
}

FileCalls FileCallCounts() {
    FileCalls c;
    c.opens = g_calls.opens;
    c.closes = g_calls.closes;
    c.reads = g_calls.reads;
    c.bytes = g_calls.bytes;
    c.fstats = g_calls.fstats;
    c.lookups = g_calls.lookups;
    return c;
}

namespace count {
void Open() {
    ++g_calls.opens;
}
void Close() {
    ++g_calls.closes;
}
void Read(size_t bytes) {
    ++g_calls.reads;
    g_calls.bytes += bytes;
}
void Fstat() {
    ++g_calls.fstats;
}
void Lookup() {
    ++g_calls.lookups;
}
void Add(const FileCalls& calls) {
    g_calls.opens += calls.opens;
    g_calls.closes += calls.closes;
    g_calls.reads += calls.reads;
    g_calls.bytes += calls.bytes;
    g_calls.fstats += calls.fstats;
    g_calls.lookups += calls.lookups;
}
}  // namespace count

}  // namespace dv::platform
