// The load's read cache: what the views' load reads of the dealer's files, kept for that load
// alone. Over a network share every read is a round trip, and a load asks for the same index
// nodes and records again and again (the header and root of an index for every lookup, the same
// vendor for many orders). Within a fill each such read goes to the file once.
//
// What a view sees is what the dealer's own one-read-per-node walk gives: bytes read during its
// own load, never older than the load's start (a walk's cursor may already hold a node that has
// changed since it was read). The cache starts with the outermost FillCache scope and is dropped
// when that scope ends, on Refresh, on an engine's creation and on any write.
//
// Inside a fill a read is served, in this order, from:
//   - a file read by block outside any logical file (the control file FILE0) of at most
//     kBlockFileBytes, read whole the first time any of it is asked for;
//   - a logical file read whole: a record or index file of at most kWholeFileBytes is read in
//     one positioned read the first time any of it is asked for;
//   - a read-ahead window: a run of ascending reads in one logical file (a walk of a record file
//     in order, of an index's leaves) is read ahead in growing positioned reads of up to
//     kReadAheadBytes (from 64 KiB, each doubling); each logical file keeps its last four windows,
//     so that a chain of pages walked downward inside a sweep upward (each document's pages from
//     its head) stays held;
//   - a read made earlier with the same position and length;
//   - a chunk of a file read at random: once a fill has read more records of one logical file
//     (of at most kDenseFileBytes) out of order than the file has chunks of kDenseChunkBytes,
//     each further such read takes the whole chunk around it. A fill that looks up a record
//     for each of many rows (the customer of each open ticket) then makes at most twice the
//     reads of the better of reading record by record and reading the file chunk by chunk.
//     The bytes read stay below the file's size.
// The cache lives for one load of every view (start-up or Refresh: the outermost scope), so
// that a file several views read is read once. Its memory is bounded by kCacheBudgetBytes;
// past it the cache starts afresh.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "engine/tables.h"

namespace dv {

inline constexpr int64_t kWholeFileBytes = 64 * 1024;
inline constexpr int64_t kReadAheadBytes = 1024 * 1024;
inline constexpr size_t kCacheBudgetBytes = 32 * 1024 * 1024;
inline constexpr int64_t kDenseFileBytes = 8 * 1024 * 1024;
inline constexpr int64_t kDenseChunkBytes = 256 * 1024;
inline constexpr int64_t kBlockFileBytes = 512 * 1024;

// The bytes of one logical file inside its container, [start, end); an empty extent when the
// read belongs to no logical file.
struct FileExtent {
    int64_t start = 0;
    int64_t end = 0;
    bool Known() const { return end > start; }
};

// A fill's scope. The outermost scope starts the cache and drops it at its end; nested scopes
// (the recap board loaded inside a view's load) share it. Does nothing while caching is off.
class FillCache {
  public:
    FillCache();
    ~FillCache();
    FillCache(const FillCache&) = delete;
    FillCache& operator=(const FillCache&) = delete;

    // True while a scope is open and caching is on.
    static bool Active();
    // Drops everything the running fill has kept (the scope stays open).
    static void Drop();
    // A number for the load now running (the outermost scope), new with each; 0 outside one
    // or while caching is off. What the start-up learns of the share is kept for one load.
    static uint64_t LoadNumber();
    // Program-wide switch, on unless turned off (dashvane-dump --no-cache, tests).
    static void SetEnabled(bool enabled);
    static bool Enabled();
};

// Reads length bytes at position from an open file, through the running fill's cache when there
// is one; extent tells the logical file the read belongs to. Without a fill it is one positioned
// read. Errors as ReadCounted.
std::string CachedRead(const cOpenFile& file, int64_t position, size_t length,
                       const FileExtent& extent, const char* source);
// The same bytes seen where the cache holds them, with no copy: the view lasts until the next
// read or drop of the cache. Bytes it does not hold are read into scratch, which the view then
// shows.
std::string_view CachedReadView(const cOpenFile& file, int64_t position, size_t length,
                                const FileExtent& extent, const char* source, std::string& scratch);

// Reads [position, position + length) of a file in one read and keeps it for the running fill,
// so that the reads of that run which follow are answered from it: a caller that is about to
// read a run of blocks (the job table of the control file) makes one read instead of one a
// block. Bytes past the end of the file read as zeros, as any read gives them. Does nothing
// without a fill, or when the run is held already.
// The bytes a read of the share file `path` (as the open-file table keys it) at position would
// give, when the running load holds them; nothing otherwise. Lets a reader that opens a file
// for one read (the control file's option and caption readers) skip the open.
std::optional<std::string> HeldRead(std::string_view path, int64_t position, size_t length);

void ReadRunAhead(const cOpenFile& file, int64_t position, size_t length, const char* source);

// One answer per distinct question within a fill: the value remembered under (kind, key), or
// compute's result, remembered until the fill ends. Without a fill compute runs every time. An
// error of compute is not remembered.
std::string RememberForFill(std::string_view kind, std::string_view key,
                            const std::function<std::string()>& compute);

// One answer per question within a load (the outermost scope), kept when a fill's cache is
// dropped (an engine's creation drops it): what the first engine of a start-up learned of the
// share (that it is valid, the terminal map, the link table), which the main window's own
// engine, created next, would ask again. Outside a load compute runs every time; an error of
// compute is not remembered.
std::optional<std::string> RememberForLoad(
    std::string_view key, const std::function<std::optional<std::string>()>& compute);

}  // namespace dv
