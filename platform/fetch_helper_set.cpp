#include "platform/fetch_helper_set.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/fetch_frames.h"
#include "platform/fetch_pool.h"
#include "platform/smb.h"
#include "platform/tempdir.h"

extern char** environ;

namespace dv::platform {
namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kDefaultCallWait = std::chrono::milliseconds(5000);
std::atomic<int64_t> g_call_wait_ms{kDefaultCallWait.count()};
// A fetcher waits this long for an idle helper or one being started.
constexpr auto kBorrowWait = std::chrono::seconds(10);
// A helper that has not ended this long after its input closed is killed.
constexpr auto kEndWait = std::chrono::seconds(2);
// Helpers that fail to start or die before the set stops starting them, for the run.
constexpr int kMaxFailures = 16;

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
void Kill(FetchHelper& h) {
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
std::unique_ptr<FetchHelper> StartHelper(const std::string& path, const std::string& server,
                                         const SmbSessionLogin& login, int& error) {
    error = 0;
    int to[2] = {-1, -1}, from[2] = {-1, -1};
    if (::pipe2(to, O_CLOEXEC) != 0 || ::pipe2(from, O_CLOEXEC) != 0) {
        error = errno;
        for (int& fd : to) CloseFd(fd);
        return nullptr;
    }
    for (int* fd : {&to[0], &to[1], &from[0], &from[1]}) *fd = AboveStandard(*fd);
    auto helper = std::make_unique<FetchHelper>();
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
        fetch_frame::WriteFrame(helper->to, start, Clock::now() + FetchCallWait());
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
    std::unique_ptr<FetchHelper> Borrow(const std::string& server) {
        if (!ProgramLogin(server)) return nullptr;
        std::unique_lock<std::mutex> lock(mutex_);
        if (!StartThread()) return nullptr;
        ++waiting_[server];
        const auto deadline = Clock::now() + kBorrowWait;
        std::unique_ptr<FetchHelper> found;
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

    void GiveBack(std::unique_ptr<FetchHelper> helper) {
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
        std::vector<std::unique_ptr<FetchHelper>> ending;
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
            std::unique_ptr<FetchHelper> helper =
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
    std::vector<std::unique_ptr<FetchHelper>> idle_;
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

}  // namespace

std::unique_ptr<FetchHelper> BorrowFetchHelper(const std::string& server) {
    return TheHelpers().Borrow(server);
}

void GiveBackFetchHelper(std::unique_ptr<FetchHelper> helper) {
    TheHelpers().GiveBack(std::move(helper));
}

void DropFetchHelper(std::unique_ptr<FetchHelper> helper) {
    if (!helper) return;
    Kill(*helper);
    TheHelpers().Failed();
}

std::chrono::milliseconds FetchCallWait() {
    return std::chrono::milliseconds(g_call_wait_ms.load());
}

void SetFetchCallWait(std::chrono::milliseconds wait) {
    g_call_wait_ms = wait.count() > 0 ? wait.count() : kDefaultCallWait.count();
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
