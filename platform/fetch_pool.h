// Small files fetched several at a time. Over a network share each open, read and close is a
// round trip; a view that shows one document file per row knows every name from its index walk
// before it builds the first row, so a few workers fetch the files while the fill, on its own
// thread, takes them in order. The workers only open, read and close files by local path: they
// touch none of the engine's tables, no path cache and no cache of reads.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace dv::platform {

// What fetching one file gave.
struct FetchedFile {
    enum class Outcome {
        kRead,       // bytes holds the whole file
        kFailed,     // error holds the errno of the open or of the read
        kTooLarge,   // the file is longer than the limit: nothing kept
        kNotFetched  // the pool stopped before it came to this file
    };
    Outcome outcome = Outcome::kNotFetched;
    int error = 0;
    bool read_error = false;  // kFailed: the open succeeded and the read failed
    std::string bytes;
};

// One file to fetch: its local path and the real path of the folder it must lie inside (see
// ReadOnlyFile::Open), read whole when it is at most `limit` bytes long.
struct FetchRequest {
    std::string local_path;
    std::string inside;
    size_t limit = 0;
    // Over SMB: the file's length when its folder's listing gave it (an ordinary file there);
    // -1 when unknown, and the fetcher asks the server for it.
    int64_t listed_length = -1;
};

// One worker's access to the files: a backend may keep a connection of its own per worker.
class FileFetcher {
  public:
    virtual ~FileFetcher() = default;
    virtual FetchedFile Fetch(const FetchRequest& request) = 0;
};

// Makes the fetcher of one worker; called on that worker's thread.
using FetcherFactory = std::function<std::unique_ptr<FileFetcher>()>;

// The local backend: an open that does not wait, the inside check of ReadOnlyFile::Open, one
// positioned read of up to 64 KiB and a close. The read's count gives the length, so no fstat
// is made; only a file that fills that read takes an fstat (one above the limit is kTooLarge,
// never read through) and a second read. Only an
// ordinary file reads: the kernel refuses a positioned read of a folder (EISDIR) or of a FIFO,
// socket or terminal (ESPIPE), and those read as missing (ENOENT).
std::unique_ptr<FileFetcher> MakeLocalFetcher();

// The one default backend of every pool: local paths read as MakeLocalFetcher does, and paths
// on the share read over SMB by a helper process of the worker's own (MakeProcessFetcher,
// fetch_process.h). SetFetcherFactory puts another in its place (a test's); an empty factory
// puts the default back. Set and read on the fill's thread.
void SetFetcherFactory(FetcherFactory factory);
FetcherFactory CurrentFetcherFactory();

// The number of workers a pool starts unless told otherwise; 0 means every file is left to the
// caller (no pool).
inline constexpr int kDefaultFetchWorkers = 8;
void SetFetchWorkers(int workers);
int FetchWorkers();

// How many workers a pool runs and when they start, from where its files lie.
//
// Over SMB (the first request's path "smb://...") each fetch is a round trip to the server, so
// every worker starts with the pool, at most kSmbFetchWorkers: the helper processes that serve
// them (smb.h). For local paths two workers start with the pool and the others only once the
// caller has waited kLocalGrowAfter for one file: a file in the page cache is fetched well
// inside that, and two workers keep ahead of the fill (one alone falls just behind it) while
// more would only contend for the pool's lock and the process's table of open files; a local
// disk that must seek is slow enough to make the caller wait, and then every worker is wanted.
struct FetchGrowth {
    size_t workers = 0;  // at most this many
    size_t first = 0;    // started with the pool
    // The others start once the caller has waited this long for one file.
    std::chrono::microseconds grow_after{0};

    static constexpr size_t kLocalFirstWorkers = 2;
    static constexpr std::chrono::microseconds kLocalGrowAfter{500};

    // The rule for up to `workers` workers (none below 1) fetching `requests`; never more
    // workers than requests.
    static FetchGrowth For(const std::vector<FetchRequest>& requests, int workers);
};

// Fetches the requests with up to `workers` threads, started as FetchGrowth::For says, never
// more than `ahead` files past the one the caller takes next, so that the memory held stays
// bounded. Take(i) waits for file i; the files are to be taken in order. The destructor stops
// the workers and joins them: no thread and no open file outlives the pool. Without a factory
// the workers fetch through CurrentFetcherFactory().
class FetchPool {
  public:
    FetchPool(std::vector<FetchRequest> requests, int workers, size_t ahead = 64,
              FetcherFactory factory = {});
    ~FetchPool();
    FetchPool(const FetchPool&) = delete;
    FetchPool& operator=(const FetchPool&) = delete;

    size_t size() const { return requests_.size(); }
    // File i's result (moved out); kNotFetched when i is out of range or already taken.
    FetchedFile Take(size_t i);
    // The threads started so far (for local files fewer than asked until the caller has
    // waited, or when the system refuses one).
    int workers() const { return static_cast<int>(threads_.size()); }

  private:
    void Work();
    // Starts workers until `count` run or the system refuses one (then no more are asked for).
    void StartWorkers(size_t count);
    // True when the files a worker may fetch ahead number at least a quarter of `ahead_` (or
    // reach the last file): idle workers are woken for a batch, not for each file taken.
    bool RoomForBatch() const;

    std::vector<FetchRequest> requests_;
    FetcherFactory factory_;
    FetchGrowth growth_;
    size_t max_workers_;
    std::vector<FetchedFile> results_;
    std::vector<bool> done_;
    size_t next_ = 0;   // the next request a worker takes
    size_t taken_ = 0;  // the next result the caller takes
    size_t ahead_;
    int running_ = 0;  // workers not yet finished
    int idle_ = 0;     // workers waiting for the caller to take a file
    static constexpr size_t kNobody = static_cast<size_t>(-1);
    size_t waiting_ = kNobody;  // the file the caller waits for
    bool stop_ = false;
    std::mutex mutex_;
    std::condition_variable work_;
    std::condition_variable ready_;
    std::vector<std::thread> threads_;
};

}  // namespace dv::platform
