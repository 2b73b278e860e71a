#include "platform/fetch_pool.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <system_error>

#include "platform/fetch_process.h"
#include "platform/file.h"
#include "platform/file_calls.h"
#include "platform/smb.h"

namespace dv::platform {
namespace {

std::atomic<int> g_workers{kDefaultFetchWorkers};
FetcherFactory g_factory;  // set and read on the fill's thread only

// The real path of what fd has open, from /proc (answered by the kernel, no file-system call).
bool OpenedInside(int fd, const std::string& inside) {
    if (inside.empty()) return true;
    const std::optional<std::string> opened = DescriptorPath(fd);
    return opened && LiesInside(*opened, inside);
}

class LocalFetcher : public FileFetcher {
  public:
    FetchedFile Fetch(const FetchRequest& request) override {
        FetchedFile out;
        count::Open();
        const int fd =
            ::open(request.local_path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
        if (fd < 0) {
            out.outcome = FetchedFile::Outcome::kFailed;
            out.error = errno;
            return out;
        }
        struct Closer {
            int fd;
            ~Closer() {
                count::Close();
                ::close(fd);
            }
        } closer{fd};
        if (!OpenedInside(fd, request.inside)) {
            out.outcome = FetchedFile::Outcome::kFailed;
            out.error = ENOENT;
            return out;
        }
        // One read answers a file of up to 64 KiB (every document but the longest); a longer
        // one takes an fstat (a file above the limit is not read further) and a second read for
        // the rest, up to one byte past the limit. The first read goes to the worker's own
        // buffer, so that a document costs one allocation of its own length.
        const size_t want = request.limit + 1;
        size_t done = 0;
        while (done < want) {
            const size_t room = done == 0 ? std::min(want, kFirstRead) : want;
            char* into = first_.get();
            if (done > 0) {
                out.bytes.resize(room);
                into = out.bytes.data();
            }
            const ssize_t n = ::pread(fd, into + done, room - done, static_cast<off_t>(done));
            count::Read(n > 0 ? static_cast<size_t>(n) : 0);
            if (n < 0) {
                if (errno == EINTR) continue;
                const int e = errno;
                out.bytes.clear();
                out.outcome = FetchedFile::Outcome::kFailed;
                // Not an ordinary file: the same as a missing one.
                out.error = (e == EISDIR || e == ESPIPE || e == ENXIO) ? ENOENT : e;
                out.read_error = out.error != ENOENT;
                return out;
            }
            if (done == 0) out.bytes.assign(into, static_cast<size_t>(n));
            done += static_cast<size_t>(n);
            // A short count from an ordinary file is its end: no further read is needed.
            if (n == 0 || done < room) break;
            // A longer file: its length first, so that one above the limit is not read.
            struct stat st {};
            count::Fstat();
            if (::fstat(fd, &st) == 0 && st.st_size > static_cast<off_t>(request.limit)) {
                done = want;
                break;
            }
        }
        if (done > request.limit) {
            out.bytes.clear();
            out.outcome = FetchedFile::Outcome::kTooLarge;
            return out;
        }
        out.bytes.resize(done);
        out.outcome = FetchedFile::Outcome::kRead;
        return out;
    }

  private:
    static constexpr size_t kFirstRead = 64 * 1024;
    std::unique_ptr<char[]> first_{new char[kFirstRead]};  // left uninitialised: read into
};

}  // namespace

std::unique_ptr<FileFetcher> MakeLocalFetcher() {
    return std::make_unique<LocalFetcher>();
}

void SetFetcherFactory(FetcherFactory factory) {
    g_factory = std::move(factory);
}

FetcherFactory CurrentFetcherFactory() {
    return g_factory ? g_factory : FetcherFactory(MakeProcessFetcher);
}

void SetFetchWorkers(int workers) {
    g_workers = workers < 0 ? 0 : workers;
}

int FetchWorkers() {
    return g_workers;
}

FetchGrowth FetchGrowth::For(const std::vector<FetchRequest>& requests, int workers) {
    FetchGrowth growth;
    const size_t asked = workers < 0 ? 0 : static_cast<size_t>(workers);
    if (!requests.empty() && IsShareUrl(requests.front().local_path)) {
        growth.workers = std::min(asked, static_cast<size_t>(kSmbFetchWorkers));
        growth.first = growth.workers;
    } else {
        growth.workers = asked;
        growth.first = std::min(kLocalFirstWorkers, asked);
        growth.grow_after = kLocalGrowAfter;
    }
    growth.workers = std::min(growth.workers, requests.size());
    growth.first = std::min(growth.first, growth.workers);
    return growth;
}

FetchPool::FetchPool(std::vector<FetchRequest> requests, int workers, size_t ahead,
                     FetcherFactory factory)
    : requests_(std::move(requests)),
      factory_(factory ? std::move(factory) : CurrentFetcherFactory()),
      growth_(FetchGrowth::For(requests_, workers)),
      max_workers_(growth_.workers),
      results_(requests_.size()),
      done_(requests_.size(), false),
      ahead_(ahead == 0 ? 1 : ahead) {
    threads_.reserve(max_workers_);
    StartWorkers(growth_.first);
}

void FetchPool::StartWorkers(size_t count) {
    while (threads_.size() < count) {
        try {
            {
                const std::lock_guard<std::mutex> lock(mutex_);
                ++running_;
            }
            threads_.emplace_back([this] { Work(); });
        } catch (const std::system_error&) {
            // Fewer workers than asked; without any, the caller reads every file itself.
            const std::lock_guard<std::mutex> lock(mutex_);
            --running_;
            max_workers_ = threads_.size();
            break;
        }
    }
}

FetchPool::~FetchPool() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    work_.notify_all();
    for (std::thread& t : threads_) t.join();
}

void FetchPool::Work() {
    std::unique_ptr<FileFetcher> fetcher;
    try {
        fetcher = factory_();
    } catch (...) {
        fetcher.reset();
    }
    std::unique_lock<std::mutex> lock(mutex_);
    while (fetcher) {
        if (!stop_ && next_ < size() && next_ >= taken_ + ahead_) {
            // Ahead by the limit: wait until the caller has taken a batch, not each file.
            ++idle_;
            work_.wait(lock, [&] { return stop_ || next_ >= size() || RoomForBatch(); });
            --idle_;
        }
        if (stop_ || next_ >= size()) break;
        const size_t i = next_++;
        lock.unlock();
        FetchedFile result;
        try {
            result = fetcher->Fetch(requests_[i]);
        } catch (...) {
            result = FetchedFile{};  // left to the caller, who reads the file itself
        }
        lock.lock();
        results_[i] = std::move(result);
        done_[i] = true;
        // Only the caller waits here, and only for the file it takes next.
        if (waiting_ == i) ready_.notify_one();
    }
    --running_;
    ready_.notify_all();
}

bool FetchPool::RoomForBatch() const {
    const size_t limit = taken_ + ahead_;
    return limit >= size() || limit >= next_ + std::max<size_t>(1, ahead_ / 4);
}

FetchedFile FetchPool::Take(size_t i) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (i >= size() || i < taken_) return {};
    taken_ = i;
    if (idle_ > 0 && RoomForBatch()) work_.notify_all();
    if (!done_[i] && running_ > 0) {
        waiting_ = i;
        const auto ready = [&] { return done_[i] || running_ == 0; };
        if (threads_.size() < max_workers_ && !ready_.wait_for(lock, growth_.grow_after, ready)) {
            // Slow fetches: the other workers start. Threads are started without the lock,
            // which the workers take.
            lock.unlock();
            StartWorkers(max_workers_);
            lock.lock();
        }
        ready_.wait(lock, ready);
        waiting_ = kNobody;
    }
    taken_ = i + 1;
    if (idle_ > 0 && RoomForBatch()) work_.notify_all();
    if (!done_[i]) return {};
    done_[i] = false;
    return std::move(results_[i]);
}

}  // namespace dv::platform
