#include "engine/fill_cache.h"

#include <algorithm>
#include <deque>
#include <map>
#include <memory>
#include <unordered_map>
#include <utility>

#include "engine/physical.h"
#include "platform/file.h"

namespace dv {
namespace {

// What a kept entry costs beyond its bytes (map node, key, string header), for the budget.
constexpr size_t kEntryOverhead = 96;
// The first read-ahead of a run; each further one doubles, up to kReadAheadBytes.
constexpr int64_t kFirstReadAhead = 64 * 1024;
// A read counts as the next of an ascending run when it starts at most this many of its own
// lengths past the end of the previous one (a walk that skips a few deleted records).
constexpr int64_t kRunGapReads = 8;

// Bytes of a file held from `start`: a logical file read whole, or a read-ahead window. The
// buffer is read into as it is allocated (no zero fill first, as a string's would be).
struct Window {
    int64_t start = 0;
    std::unique_ptr<char[]> data;
    size_t size = 0;

    Window() = default;
    Window(int64_t from, size_t length)
        : start(from), data(new char[length > 0 ? length : 1]), size(length) {}

    bool Covers(int64_t position, size_t length) const {
        return position >= start &&
               position + static_cast<int64_t>(length) <= start + static_cast<int64_t>(size);
    }
    // The bytes [position, position + length), which the window covers.
    std::string_view View(int64_t position, size_t length) const {
        return {data.get() + (position - start), length};
    }
    // The bytes from position on, as a read there gives them: fewer at the end of the file.
    std::string Slice(int64_t position, size_t length) const {
        const size_t from = static_cast<size_t>(position - start);
        return from < size ? std::string(data.get() + from, std::min(length, size - from))
                           : std::string();
    }
};

// A window of [position, position + length) of a file, read.
Window ReadWindowBytes(const cOpenFile& file, int64_t position, size_t length, const char* source) {
    Window w(position, length);
    ReadCountedInto(*file.handle, position, length, w.data.get(), source);
    return w;
}

// The read-ahead windows a stream keeps: two walks of one file taking turns (a chain of pages
// read downward inside a sweep upward) each keep theirs.
constexpr size_t kWindowsPerStream = 4;

// The reads of one logical file within a container.
struct Stream {
    int64_t next = -1;                 // where the last read ended; -1 before the first
    int64_t ahead = 0;                 // the size of the last read-ahead
    std::deque<Window> windows;        // the latest first
    int64_t random_reads = 0;          // reads out of order that went to the file
    std::map<int64_t, Window> chunks;  // chunks read whole, by their position

    // The window or chunk holding all of [position, position + length), or null.
    const Window* Holding(int64_t position, size_t length) const {
        for (const Window& w : windows)
            if (w.Covers(position, length)) return &w;
        return Chunk(position, length);
    }
    const Window* Chunk(int64_t position, size_t length) const {
        auto it = chunks.upper_bound(position);
        if (it == chunks.begin()) return nullptr;
        --it;
        return it->second.Covers(position, length) ? &it->second : nullptr;
    }
};

struct FileState {
    std::map<int64_t, Stream> streams;  // by the start of the logical file's extent
    std::map<std::pair<int64_t, size_t>, std::string> reads;  // by position and length
};

struct CacheState {
    int depth = 0;
    std::unordered_map<std::string, FileState> files;  // by the file's path, folded
    std::unordered_map<std::string, std::string> answers;
    size_t bytes = 0;
};

CacheState g_cache;
bool g_enabled = true;
uint64_t g_load_number = 0;
// RememberForLoad's answers and the load they belong to.
uint64_t g_memo_load = 0;
std::unordered_map<std::string, std::optional<std::string>> g_load_memo;

std::string Folded(std::string_view path) {
    std::string f(path);
    for (char& c : f)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return f;
}

// The file the latest read went to, under the path as the caller spelled it: a run of reads
// of one file finds its state without folding and hashing its path each time.
struct LastFile {
    std::string path;
    FileState* state = nullptr;
};
LastFile g_last;

FileState& StateOf(const std::string& path) {
    if (g_last.state != nullptr && g_last.path == path) return *g_last.state;
    FileState& state = g_cache.files[Folded(path)];
    g_last.path = path;
    g_last.state = &state;
    return state;
}

void Clear() {
    g_last.state = nullptr;
    g_cache.files.clear();
    g_cache.answers.clear();
    g_cache.bytes = 0;
}

// Counts bytes kept; past the budget everything kept so far goes.
void Account(size_t bytes) {
    g_cache.bytes += bytes + kEntryOverhead;
    if (g_cache.bytes > kCacheBudgetBytes) Clear();
}

// Fills a stream's window with the bytes [position, position + length) and answers the read
// of `want` bytes at `at` from it.
std::string ReadWindow(Stream& stream, const cOpenFile& file, int64_t position, int64_t length,
                       int64_t at, size_t want, const char* source) {
    Window window = ReadWindowBytes(file, position, static_cast<size_t>(length), source);
    std::string answer = window.Slice(at, want);
    if (stream.windows.size() == kWindowsPerStream) {
        g_cache.bytes -= std::min(g_cache.bytes, stream.windows.back().size);
        stream.windows.pop_back();
    }
    stream.windows.push_front(std::move(window));
    Account(static_cast<size_t>(length));
    return answer;
}

// The bytes [position, position + length) when the running fill holds them: its own logical
// file's window first (a run of reads goes on from there), then any other window or chunk that
// holds them, then an earlier read of the same place and length.
std::optional<std::string_view> Held(FileState& state, int64_t key, int64_t position,
                                     size_t length) {
    if (const auto own = state.streams.find(key); own != state.streams.end()) {
        if (const Window* held = own->second.Holding(position, length)) {
            own->second.next = position + static_cast<int64_t>(length);
            return held->View(position, length);
        }
    }
    for (const auto& [start, stream] : state.streams)
        if (const Window* held = stream.Holding(position, length))
            return held->View(position, length);
    if (const auto earlier = state.reads.find({position, length}); earlier != state.reads.end())
        return earlier->second;
    return std::nullopt;
}

}  // namespace

FillCache::FillCache() {
    if (!g_enabled) return;
    if (g_cache.depth++ == 0) {
        Clear();
        ++g_load_number;
    }
}

FillCache::~FillCache() {
    if (g_cache.depth == 0) return;  // caching was off when this scope began
    if (--g_cache.depth == 0) {
        Clear();
        g_load_memo.clear();
    }
}

uint64_t FillCache::LoadNumber() {
    return Active() ? g_load_number : 0;
}

bool FillCache::Active() {
    return g_enabled && g_cache.depth > 0;
}

void FillCache::Drop() {
    Clear();
}

void FillCache::SetEnabled(bool enabled) {
    g_enabled = enabled;
    if (!enabled) Clear();
}

bool FillCache::Enabled() {
    return g_enabled;
}

std::string CachedRead(const cOpenFile& file, int64_t position, size_t length,
                       const FileExtent& extent, const char* source) {
    if (!FillCache::Active()) return ReadCounted(*file.handle, position, length, source);
    FileState& state = StateOf(file.Path);
    const int64_t key = extent.Known() ? extent.start : -1;
    if (const std::optional<std::string_view> held = Held(state, key, position, length))
        return std::string(*held);

    const int64_t end = position + static_cast<int64_t>(length);
    // A file read by block, outside any logical file (the control file), is read whole.
    if (!extent.Known() && file.handle) {
        const int64_t size = file.handle->OpenedLength();
        if (size > 0 && size <= kBlockFileBytes && end <= size) {
            Stream& stream = state.streams[-1];
            Window whole = ReadWindowBytes(file, 0, static_cast<size_t>(size), source);
            std::string answer = whole.Slice(position, length);
            stream.chunks.insert_or_assign(0, std::move(whole));
            Account(static_cast<size_t>(size));
            return answer;
        }
    }
    if (extent.Known() && position >= extent.start && end <= extent.end) {
        Stream& stream = state.streams[key];
        const int64_t size = extent.end - extent.start;
        if (size <= kWholeFileBytes) {
            stream.next = end;
            return ReadWindow(stream, file, extent.start, size, position, length, source);
        }
        const int64_t len = static_cast<int64_t>(length);
        const bool ascending = stream.next >= 0 && position >= stream.next &&
                               position - stream.next <= kRunGapReads * len;
        stream.next = end;
        if (ascending) {
            stream.ahead = std::min(kReadAheadBytes, std::max(kFirstReadAhead, stream.ahead * 2));
            const int64_t want = std::max(len, std::min(stream.ahead, extent.end - position));
            return ReadWindow(stream, file, position, want, position, length, source);
        }
        stream.ahead = 0;
        // Read at random: past as many such reads as the file has chunks, whole chunks.
        if (size <= kDenseFileBytes &&
            ++stream.random_reads > (size + kDenseChunkBytes - 1) / kDenseChunkBytes) {
            const int64_t from =
                extent.start + (position - extent.start) / kDenseChunkBytes * kDenseChunkBytes;
            const int64_t to = std::max(end, std::min(extent.end, from + kDenseChunkBytes));
            Window chunk = ReadWindowBytes(file, from, static_cast<size_t>(to - from), source);
            std::string answer = chunk.Slice(position, length);
            const size_t kept = chunk.size;
            stream.chunks.insert_or_assign(from, std::move(chunk));
            Account(kept);  // last: past the budget it drops the stream too
            return answer;
        }
    }
    std::string bytes = ReadCounted(*file.handle, position, length, source);
    state.reads.emplace(std::make_pair(position, length), bytes);
    Account(length);
    return bytes;
}

std::string_view CachedReadView(const cOpenFile& file, int64_t position, size_t length,
                                const FileExtent& extent, const char* source,
                                std::string& scratch) {
    if (FillCache::Active()) {
        FileState& state = StateOf(file.Path);
        if (const std::optional<std::string_view> held =
                Held(state, extent.Known() ? extent.start : -1, position, length))
            return *held;
    }
    scratch = CachedRead(file, position, length, extent, source);
    return scratch;
}

std::optional<std::string> HeldRead(std::string_view path, int64_t position, size_t length) {
    if (!FillCache::Active()) return std::nullopt;
    const auto it = g_cache.files.find(Folded(path));
    if (it == g_cache.files.end()) return std::nullopt;
    for (const auto& [start, stream] : it->second.streams)
        if (const Window* held = stream.Holding(position, length))
            return held->Slice(position, length);
    if (const auto earlier = it->second.reads.find({position, length});
        earlier != it->second.reads.end())
        return earlier->second;
    return std::nullopt;
}

void ReadRunAhead(const cOpenFile& file, int64_t position, size_t length, const char* source) {
    if (!FillCache::Active() || length == 0) return;
    FileState& state = StateOf(file.Path);
    for (const auto& [start, stream] : state.streams)
        if (stream.Holding(position, length) != nullptr) return;
    ReadWindow(state.streams[-1], file, position, static_cast<int64_t>(length), position, 0,
               source);
}

std::optional<std::string> RememberForLoad(
    std::string_view key, const std::function<std::optional<std::string>()>& compute) {
    const uint64_t load = FillCache::LoadNumber();
    if (load == 0) return compute();
    if (g_memo_load != load) {
        g_load_memo.clear();
        g_memo_load = load;
    }
    const std::string id(key);
    if (const auto known = g_load_memo.find(id); known != g_load_memo.end()) return known->second;
    std::optional<std::string> answer = compute();
    g_load_memo.insert_or_assign(id, answer);
    return answer;
}

std::string RememberForFill(std::string_view kind, std::string_view key,
                            const std::function<std::string()>& compute) {
    if (!FillCache::Active()) return compute();
    std::string id(kind);
    id.push_back('\0');
    id.append(key);
    if (const auto known = g_cache.answers.find(id); known != g_cache.answers.end())
        return known->second;
    std::string answer = compute();
    if (FillCache::Active()) {  // compute may have dropped the cache
        g_cache.answers.emplace(std::move(id), answer);
        Account(answer.size());
    }
    return answer;
}

}  // namespace dv
