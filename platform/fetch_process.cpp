#include "platform/fetch_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/file.h"
#include "platform/tempdir.h"

extern char** environ;

namespace dv::platform {
namespace fetch_frame {
namespace {

constexpr char kMagic[4] = {'D', 'V', 'F', '1'};
// A request asks for a file of at most this many bytes.
constexpr uint64_t kMaxLimit = 64ull * 1024 * 1024;
// A reply without its bytes: outcome, errno, read error, six counts and the bytes' length.
constexpr size_t kReplyHead = 1 + 4 + 1 + 6 * 8 + 4;

// An unsigned number in little-endian order, as many bytes as its type holds.
template <class T>
void PutLittleEndian(std::string& out, T v) {
    for (size_t i = 0; i < sizeof(T); ++i) out += static_cast<char>((v >> (8 * i)) & 0xff);
}
void PutU32(std::string& out, uint32_t v) {
    PutLittleEndian(out, v);
}
void PutU64(std::string& out, uint64_t v) {
    PutLittleEndian(out, v);
}
void PutString(std::string& out, std::string_view s) {
    PutU32(out, static_cast<uint32_t>(s.size()));
    out.append(s);
}

// Takes the fields of a body in order; any read past its end fails, and so does every later one.
class Fields {
  public:
    explicit Fields(std::string_view body) : body_(body) {}
    bool U8(uint8_t& v) {
        if (!Have(1)) return false;
        v = static_cast<uint8_t>(body_[at_++]);
        return true;
    }
    bool U32(uint32_t& v) { return LittleEndian(v); }
    bool U64(uint64_t& v) { return LittleEndian(v); }
    bool String(std::string& s, size_t max) {
        uint32_t n = 0;
        if (!U32(n) || n > max || !Have(n)) return false;
        s.assign(body_.substr(at_, n));
        at_ += n;
        return true;
    }
    bool Bytes(std::string_view want) {
        if (!Have(want.size()) || body_.substr(at_, want.size()) != want) return false;
        at_ += want.size();
        return true;
    }
    bool AtEnd() const { return ok_ && at_ == body_.size(); }

  private:
    template <class T>
    bool LittleEndian(T& v) {
        if (!Have(sizeof(T))) return false;
        v = 0;
        for (size_t i = 0; i < sizeof(T); ++i)
            v |= static_cast<T>(static_cast<uint8_t>(body_[at_++])) << (8 * i);
        return true;
    }
    bool Have(size_t n) {
        ok_ = ok_ && body_.size() - at_ >= n;
        return ok_;
    }
    std::string_view body_;
    size_t at_ = 0;
    bool ok_ = true;
};

// Milliseconds left before the deadline for poll (-1: no deadline; 0 once it has passed).
int WaitMs(const Deadline& deadline) {
    if (!deadline) return -1;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        *deadline - std::chrono::steady_clock::now());
    return left.count() <= 0 ? 0 : static_cast<int>(std::min<int64_t>(left.count(), 1 << 30));
}

// Reads exactly n bytes; got tells how many came before the input ended.
Status ReadExactly(int fd, char* into, size_t n, size_t& got, const Deadline& deadline) {
    got = 0;
    while (got < n) {
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, WaitMs(deadline));
        if (ready < 0) {
            if (errno == EINTR) continue;
            return Status::kFailed;
        }
        if (ready == 0) return Status::kTimedOut;
        const ssize_t r = ::read(fd, into + got, n - got);
        if (r < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            return Status::kFailed;
        }
        if (r == 0) return Status::kEnd;
        got += static_cast<size_t>(r);
    }
    return Status::kOk;
}

}  // namespace

size_t MaxReply(size_t limit) {
    return kReplyHead + limit;
}

std::string EncodeStart(const SmbSessionLogin& login) {
    std::string out(kMagic, sizeof kMagic);
    out += static_cast<char>((login.kerberos ? 1 : 0) | (login.anonymous_after ? 2 : 0));
    PutString(out, login.login.user);
    PutString(out, login.login.password);
    PutString(out, login.login.domain);
    PutString(out, login.share);
    return out;
}

bool DecodeStart(std::string_view body, SmbSessionLogin& login) {
    Fields f(body);
    uint8_t flags = 0;
    if (!f.Bytes(std::string_view(kMagic, sizeof kMagic)) || !f.U8(flags) || flags > 3 ||
        !f.String(login.login.user, kMaxStart) || !f.String(login.login.password, kMaxStart) ||
        !f.String(login.login.domain, kMaxStart) || !f.String(login.share, kMaxStart) || !f.AtEnd())
        return false;
    login.kerberos = (flags & 1) != 0;
    login.anonymous_after = (flags & 2) != 0;
    return true;
}

std::string EncodeRequest(const std::string& url, int64_t listed_length, uint64_t limit) {
    std::string out;
    PutString(out, url);
    PutU64(out, static_cast<uint64_t>(listed_length));
    PutU64(out, limit);
    return out;
}

bool DecodeRequest(std::string_view body, std::string& url, int64_t& listed_length,
                   uint64_t& limit) {
    Fields f(body);
    uint64_t listed = 0;
    if (!f.String(url, kMaxRequest) || !f.U64(listed) || !f.U64(limit) || !f.AtEnd() ||
        limit > kMaxLimit)
        return false;
    listed_length = static_cast<int64_t>(listed);
    return listed_length >= -1;
}

std::string EncodeReply(const FetchedFile& file, const FileCalls& calls) {
    std::string out;
    out.reserve(kReplyHead + file.bytes.size());
    out += static_cast<char>(file.outcome);
    PutU32(out, static_cast<uint32_t>(file.error));
    out += static_cast<char>(file.read_error ? 1 : 0);
    for (const uint64_t v :
         {calls.opens, calls.closes, calls.reads, calls.bytes, calls.fstats, calls.lookups})
        PutU64(out, v);
    PutString(out, file.bytes);
    return out;
}

bool DecodeReply(std::string_view body, size_t limit, FetchedFile& file, FileCalls& calls) {
    Fields f(body);
    uint8_t outcome = 0, read_error = 0;
    uint32_t error = 0;
    if (!f.U8(outcome) || outcome > static_cast<uint8_t>(FetchedFile::Outcome::kNotFetched) ||
        !f.U32(error) || !f.U8(read_error) || read_error > 1 || !f.U64(calls.opens) ||
        !f.U64(calls.closes) || !f.U64(calls.reads) || !f.U64(calls.bytes) ||
        !f.U64(calls.fstats) || !f.U64(calls.lookups) || !f.String(file.bytes, limit) || !f.AtEnd())
        return false;
    file.outcome = static_cast<FetchedFile::Outcome>(outcome);
    file.error = static_cast<int>(error);
    file.read_error = read_error != 0;
    // Bytes come with a whole file only; a failure names its errno.
    if (file.outcome != FetchedFile::Outcome::kRead && !file.bytes.empty()) return false;
    if (file.outcome == FetchedFile::Outcome::kFailed && file.error <= 0) return false;
    return true;
}

Status ReadFrame(int fd, size_t max, std::string& body, Deadline deadline) {
    body.clear();
    char head[4];
    size_t got = 0;
    Status s = ReadExactly(fd, head, sizeof head, got, deadline);
    if (s == Status::kEnd) return got == 0 ? Status::kEnd : Status::kRefused;
    if (s != Status::kOk) return s;
    uint32_t n = 0;
    for (int i = 0; i < 4; ++i)
        n |= static_cast<uint32_t>(static_cast<uint8_t>(head[i])) << (8 * i);
    if (n > max) return Status::kRefused;
    body.resize(n);
    s = ReadExactly(fd, body.data(), n, got, deadline);
    if (s == Status::kEnd) s = Status::kRefused;
    if (s != Status::kOk) body.clear();
    return s;
}

Status WriteFrame(int fd, std::string_view body, Deadline deadline) {
    std::string frame;
    frame.reserve(4 + body.size());
    PutU32(frame, static_cast<uint32_t>(body.size()));
    frame.append(body);
    // A reader that has gone makes the write fail with EPIPE; the signal it raises is kept from
    // this thread and taken back, so that it never ends the program.
    sigset_t pipe_only, old;
    sigemptyset(&pipe_only);
    sigaddset(&pipe_only, SIGPIPE);
    ::pthread_sigmask(SIG_BLOCK, &pipe_only, &old);
    sigset_t pending;
    sigemptyset(&pending);
    ::sigpending(&pending);
    const bool was_pending = sigismember(&pending, SIGPIPE) == 1;
    Status status = Status::kOk;
    size_t done = 0;
    while (done < frame.size()) {
        pollfd p{fd, POLLOUT, 0};
        const int ready = ::poll(&p, 1, WaitMs(deadline));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) {
            status = ready == 0 ? Status::kTimedOut : Status::kFailed;
            break;
        }
        const ssize_t w = ::write(fd, frame.data() + done, frame.size() - done);
        if (w < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            if (errno == EPIPE && !was_pending) {
                const timespec now{0, 0};
                ::sigtimedwait(&pipe_only, nullptr, &now);
            }
            status = Status::kFailed;
            break;
        }
        done += static_cast<size_t>(w);
    }
    std::fill(frame.begin(), frame.end(), '\0');  // a start frame holds a password
    ::pthread_sigmask(SIG_SETMASK, &old, nullptr);
    return status;
}

}  // namespace fetch_frame

int RunFetchHelper(int in, int out) {
    using fetch_frame::Status;
    // Never outlives the program; one that has already gone is not waited for.
    const pid_t parent = ::getppid();
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent) return 1;
    try {
        std::string body;
        if (fetch_frame::ReadFrame(in, fetch_frame::kMaxStart, body, {}) != Status::kOk) return 1;
        SmbSessionLogin login;
        const bool started = fetch_frame::DecodeStart(body, login);
        std::fill(body.begin(), body.end(), '\0');
        if (!started) return 2;
        const ScopedShareConnection use(NewSmbConnection(login));
        // The calling thread's connection, reporting every failure: the parent decides.
        const std::unique_ptr<FileFetcher> fetcher = MakeSmbFetcher();
        // The calls made since the last reply, the connection's first included: each reply
        // reports them, so that the program counts every call its helpers made.
        FileCalls before = FileCallCounts();
        if (IsShareUrl(login.share)) {
            // Connected while the program still loads its first views; a failure here is met
            // again, and reported, by the first fetch.
            RemoteEntry root;
            CurrentShareConnection().Stat(login.share, root);
        }
        while (true) {
            const Status s = fetch_frame::ReadFrame(in, fetch_frame::kMaxRequest, body, {});
            if (s == Status::kEnd) return 0;
            if (s != Status::kOk) return 2;
            FetchRequest request;
            uint64_t limit = 0;
            if (!fetch_frame::DecodeRequest(body, request.local_path, request.listed_length, limit))
                return 2;
            request.limit = static_cast<size_t>(limit);
            FetchedFile file;
            if (IsShareUrl(request.local_path)) {
                file = fetcher->Fetch(request);
            } else {
                file.outcome = FetchedFile::Outcome::kFailed;
                file.error = ENOENT;  // only the share is read here
            }
            if (fetch_frame::WriteFrame(out,
                                        fetch_frame::EncodeReply(file, FileCallCounts() - before),
                                        {}) != Status::kOk)
                return 1;
            before = FileCallCounts();
        }
    } catch (...) {
        return 3;
    }
}

namespace {

using Clock = std::chrono::steady_clock;

// A helper waits for a connection of its own and each call of a fetch: as long as the library
// waits for one call (smb.cpp), for each of those.
constexpr auto kCallWait = std::chrono::milliseconds(5000);
// A fetcher waits this long for an idle helper or one being started.
constexpr auto kBorrowWait = std::chrono::seconds(10);
// A helper that has not ended this long after its input closed is killed.
constexpr auto kEndWait = std::chrono::seconds(2);
// Helpers that fail to start or die before the set stops starting them, for the run.
constexpr int kMaxFailures = 16;

struct Helper {
    pid_t pid = -1;
    int to = -1;    // its standard input
    int from = -1;  // its standard output
    std::string server;
};

void CloseFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

// Waits for pid until the deadline, then kills it and waits for it: never left a zombie.
void Reap(pid_t pid, Clock::time_point deadline) {
    if (pid <= 0) return;
    while (true) {
        int status = 0;
        const pid_t r = ::waitpid(pid, &status, WNOHANG);
        if (r == pid || (r < 0 && errno != EINTR)) return;
        if (Clock::now() >= deadline) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ::kill(pid, SIGKILL);
    while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
}

// A helper that misbehaved: killed at once.
void Kill(Helper& h) {
    if (h.pid > 0) ::kill(h.pid, SIGKILL);
    CloseFd(h.to);
    CloseFd(h.from);
    Reap(h.pid, Clock::now());
    h.pid = -1;
}

// fd moved above the standard descriptors (they are the helper's), close-on-exec.
int AboveStandard(int fd) {
    if (fd < 0 || fd > 2) return fd;
    const int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
    ::close(fd);
    return moved;
}

std::string DefaultHelperPath() {
    const std::string folder = ProgramFolder();
    return folder.empty() ? std::string() : folder + "dashvane-fetch";
}

// Starts a helper and sends it its start message; null with errno's value in error when the
// program can't be started.
std::unique_ptr<Helper> StartHelper(const std::string& path, const std::string& server,
                                    const SmbSessionLogin& login, int& error) {
    error = 0;
    int to[2] = {-1, -1}, from[2] = {-1, -1};
    if (::pipe2(to, O_CLOEXEC) != 0 || ::pipe2(from, O_CLOEXEC) != 0) {
        error = errno;
        for (int& fd : to) CloseFd(fd);
        return nullptr;
    }
    for (int* fd : {&to[0], &to[1], &from[0], &from[1]}) *fd = AboveStandard(*fd);
    auto helper = std::make_unique<Helper>();
    helper->server = server;
    helper->to = to[1];
    helper->from = from[0];
    if (to[0] < 0 || from[1] < 0 || helper->to < 0 || helper->from < 0) {
        error = EMFILE;
        for (int* fd : {&to[0], &from[1], &helper->to, &helper->from}) CloseFd(*fd);
        return nullptr;
    }
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawnattr_init(&attributes);
    ::posix_spawn_file_actions_adddup2(&actions, to[0], 0);
    ::posix_spawn_file_actions_adddup2(&actions, from[1], 1);
    ::posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    // No other descriptor of the program reaches the helper.
    ::posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    sigset_t none;
    sigemptyset(&none);
    ::posix_spawnattr_setsigmask(&attributes, &none);
    ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
    char name[] = "dashvane-fetch";
    char* argv[] = {name, nullptr};
    pid_t pid = -1;
    error = ::posix_spawn(&pid, path.c_str(), &actions, &attributes, argv, environ);
    ::posix_spawn_file_actions_destroy(&actions);
    ::posix_spawnattr_destroy(&attributes);
    CloseFd(to[0]);
    CloseFd(from[1]);
    if (error != 0) {
        CloseFd(helper->to);
        CloseFd(helper->from);
        return nullptr;
    }
    helper->pid = pid;
    for (const int fd : {helper->to, helper->from})
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    std::string start = fetch_frame::EncodeStart(login);
    const fetch_frame::Status sent =
        fetch_frame::WriteFrame(helper->to, start, Clock::now() + kCallWait);
    std::fill(start.begin(), start.end(), '\0');
    if (sent != fetch_frame::Status::kOk) {
        Kill(*helper);
        error = EPIPE;
        return nullptr;
    }
    return helper;
}

// The run's helpers: the idle ones, and a thread that starts new ones. A helper is started on
// that thread alone, which lives until the set ends: the signal that ends a helper whose
// program has gone comes when the thread that started it ends.
class Helpers {
  public:
    std::unique_ptr<Helper> Borrow(const std::string& server) {
        if (!ProgramLogin(server)) return nullptr;
        std::unique_lock<std::mutex> lock(mutex_);
        if (!StartThread()) return nullptr;
        ++waiting_[server];
        const auto deadline = Clock::now() + kBorrowWait;
        std::unique_ptr<Helper> found;
        while (true) {
            if (const auto it = std::find_if(idle_.begin(), idle_.end(),
                                             [&](const auto& h) { return h->server == server; });
                it != idle_.end()) {
                found = std::move(*it);
                idle_.erase(it);
                break;
            }
            if (stop_ || !MayStart()) break;
            if (starting_[server] < waiting_[server]) Queue(server);
            if (done_.wait_until(lock, deadline) == std::cv_status::timeout) break;
        }
        --waiting_[server];
        return found;
    }

    void GiveBack(std::unique_ptr<Helper> helper) {
        if (!helper) return;
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            if (!stop_) {
                idle_.push_back(std::move(helper));
                done_.notify_all();
                return;
            }
        }
        Kill(*helper);
    }

    void Failed() {
        const std::lock_guard<std::mutex> lock(mutex_);
        ++failures_;
    }

    void Warm(const std::string& server, int count) {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (stop_ || !MayStart() || !StartThread()) return;
        int have = starting_[server];
        for (const auto& h : idle_) have += h->server == server ? 1 : 0;
        for (; have < count; ++have) Queue(server);
    }

    void End() {
        std::vector<std::unique_ptr<Helper>> ending;
        std::thread starter;
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
            ending = std::move(idle_);
            idle_.clear();
            starter = std::move(starter_);
            queue_.clear();
            work_.notify_all();
            done_.notify_all();
        }
        // Each helper ends when its input closes: all of them closed first, then reaped.
        const auto deadline = Clock::now() + kEndWait;
        for (auto& h : ending) CloseFd(h->to);
        for (auto& h : ending) {
            Reap(h->pid, deadline);
            CloseFd(h->from);
        }
        if (starter.joinable()) starter.join();
        const std::lock_guard<std::mutex> lock(mutex_);
        // One the thread started while the set was ending.
        for (auto& h : idle_) Kill(*h);
        idle_.clear();
        starting_.clear();
        failures_ = 0;
        stop_ = false;
    }

    void SetPath(std::string path) {
        const std::lock_guard<std::mutex> lock(mutex_);
        path_ = std::move(path);
        missing_ = false;
        failures_ = 0;
    }

  private:
    bool MayStart() const { return !missing_ && failures_ < kMaxFailures; }

    void Queue(const std::string& server) {
        queue_.push_back(server);
        ++starting_[server];
        work_.notify_one();
    }

    // Under the lock.
    bool StartThread() {
        if (starter_.joinable()) return true;
        if (!exit_hook_) {
            exit_hook_ = true;
            std::atexit(EndFetchProcesses);
        }
        try {
            starter_ = std::thread([this] { StartLoop(); });
        } catch (const std::system_error&) {
            return false;
        }
        return true;
    }

    void StartLoop() {
        std::unique_lock<std::mutex> lock(mutex_);
        while (true) {
            work_.wait(lock, [&] { return stop_ || !queue_.empty(); });
            if (stop_) return;
            const std::string server = queue_.front();
            queue_.pop_front();
            if (!MayStart()) {
                // Starts queued before the program turned out to be missing.
                --starting_[server];
                done_.notify_all();
                continue;
            }
            if (path_.empty()) path_ = DefaultHelperPath();
            const std::string path = path_;
            lock.unlock();
            const std::optional<SmbSessionLogin> login = ProgramLogin(server);
            int error = 0;
            std::unique_ptr<Helper> helper =
                login ? StartHelper(path, server, *login, error) : nullptr;
            lock.lock();
            --starting_[server];
            if (helper) {
                idle_.push_back(std::move(helper));
            } else {
                ++failures_;
                // No such program, or not one to run: no further one is tried.
                if (error == ENOENT || error == EACCES || error == ENOEXEC || error == ENOTDIR)
                    missing_ = true;
            }
            done_.notify_all();
        }
    }

    std::mutex mutex_;
    std::condition_variable work_;  // for the starting thread
    std::condition_variable done_;  // for borrowers: a helper went idle, or a start failed
    std::vector<std::unique_ptr<Helper>> idle_;
    std::deque<std::string> queue_;
    std::map<std::string, int> starting_;
    std::map<std::string, int> waiting_;
    std::thread starter_;
    std::string path_;
    bool stop_ = false;
    bool missing_ = false;
    bool exit_hook_ = false;
    int failures_ = 0;
};

// Never destroyed: the exit hook ends the helpers.
Helpers& TheHelpers() {
    static auto* helpers = new Helpers();
    return *helpers;
}

class ProcessFetcher : public FileFetcher {
  public:
    ~ProcessFetcher() override { TheHelpers().GiveBack(std::move(helper_)); }

    FetchedFile Fetch(const FetchRequest& request) override {
        if (!IsShareUrl(request.local_path)) {
            if (!local_) local_ = MakeLocalFetcher();
            return local_->Fetch(request);
        }
        // Replaced, the program's connection is the only one: the caller opens every file.
        if (ProgramShareConnectionReplaced()) return FetchedFile();
        if (!request.inside.empty() && !LiesInside(request.local_path, request.inside)) {
            FetchedFile out;
            out.outcome = FetchedFile::Outcome::kFailed;
            out.error = ENOENT;
            return out;
        }
        const std::string body = fetch_frame::EncodeRequest(
            request.local_path, request.listed_length, static_cast<uint64_t>(request.limit));
        if (body.size() > fetch_frame::kMaxRequest) return FetchedFile();
        const std::string server = ShareServer(request.local_path);
        if (helper_ && helper_->server != server) TheHelpers().GiveBack(std::move(helper_));
        if (!helper_) helper_ = TheHelpers().Borrow(server);
        if (!helper_) return FetchedFile();
        FetchedFile out;
        FileCalls calls;
        if (!Ask(body, request, out, calls)) {
            Kill(*helper_);
            helper_.reset();
            TheHelpers().Failed();
            return FetchedFile();
        }
        count::Add(calls);
        // Every failure but a missing file is left to the caller's own open.
        if (out.outcome == FetchedFile::Outcome::kFailed && out.error != ENOENT)
            return FetchedFile();
        return out;
    }

  private:
    bool Ask(const std::string& body, const FetchRequest& request, FetchedFile& out,
             FileCalls& calls) {
        using fetch_frame::Status;
        // A connection of its own, the length, the open, each read and the close.
        const size_t reads = request.limit / (64 * 1024) + 1;
        const auto deadline = Clock::now() + kCallWait * static_cast<int>(5 + reads);
        if (fetch_frame::WriteFrame(helper_->to, body, deadline) != Status::kOk) return false;
        std::string reply;
        if (fetch_frame::ReadFrame(helper_->from, fetch_frame::MaxReply(request.limit), reply,
                                   deadline) != Status::kOk)
            return false;
        return fetch_frame::DecodeReply(reply, request.limit, out, calls);
    }

    std::unique_ptr<Helper> helper_;
    std::unique_ptr<FileFetcher> local_;
};

}  // namespace

std::unique_ptr<FileFetcher> MakeProcessFetcher() {
    return std::make_unique<ProcessFetcher>();
}

void WarmFetchProcesses(const std::string& server) {
    const int count = std::min(FetchWorkers(), kSmbFetchWorkers);
    if (count > 0) TheHelpers().Warm(server, count);
}

void EndFetchProcesses() {
    TheHelpers().End();
}

void SetFetchHelperPath(std::string path) {
    TheHelpers().SetPath(std::move(path));
}

}  // namespace dv::platform
