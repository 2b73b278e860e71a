#include "platform/file_calls.h"

namespace dv::platform {
namespace {
FileCalls g_calls;
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
    return g_calls;
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
}  // namespace count

}  // namespace dv::platform
