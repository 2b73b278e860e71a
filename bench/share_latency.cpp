// A latency model of a network share, loaded with LD_PRELOAD into any program (dashvane-dump,
// cat): every file-system call on a path under the share folder is delayed by a fixed time and
// counted, as if each were one round trip to a file server.
//
//   DASHVANE_LATENCY_ROOT    the share folder (default: $DASHVANE_SHARES); calls elsewhere pass
//                            untouched
//   DASHVANE_LATENCY_US      the delay per call in microseconds (default 1000; 0 only counts)
//   DASHVANE_LATENCY_REPORT  a file to which each process appends one line of counts at exit:
//                            "opens N closes N reads N bytes N stats N lookups N dirs N"
//
// What counts as one call: an open (open, openat, creat), a close, a read (read, pread, readv;
// each call, however many bytes), an fstat of an open file, a look-up of a path (stat, lstat,
// fstatat, statx, access, realpath: one per call), and a directory listing (opendir, closedir).
// A read of a directory's entries (readdir) is not counted: one listing of a few hundred
// entries is a single round trip on a share.
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr int kMaxFd = 65536;

struct Counts {
    std::atomic<unsigned long long> opens{0}, closes{0}, reads{0}, bytes{0}, stats{0}, lookups{0},
        dirs{0};
};

Counts g_counts;
std::atomic<bool> g_share_fd[kMaxFd];
std::string* g_root = nullptr;  // without a trailing slash; null when no root is set
long g_delay_ns = 1000000;
bool g_ready = false;

template <typename F>
F Next(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

void Delay() {
    if (g_delay_ns <= 0) return;
    timespec until{};
    clock_gettime(CLOCK_MONOTONIC, &until);
    until.tv_nsec += g_delay_ns;
    while (until.tv_nsec >= 1000000000L) {
        until.tv_nsec -= 1000000000L;
        ++until.tv_sec;
    }
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
}

bool UnderRootAbsolute(const char* path) {
    if (!g_ready || g_root == nullptr || path == nullptr) return false;
    const size_t n = g_root->size();
    return std::strncmp(path, g_root->c_str(), n) == 0 && (path[n] == '/' || path[n] == '\0');
}

// Whether path, taken relative to dirfd as the *at calls take it, lies under the share.
bool UnderRoot(int dirfd, const char* path) {
    if (!g_ready || g_root == nullptr || path == nullptr) return false;
    if (path[0] == '/') return UnderRootAbsolute(path);
    if (dirfd != AT_FDCWD) return dirfd >= 0 && dirfd < kMaxFd && g_share_fd[dirfd].load();
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd) == nullptr) return false;
    std::string full = std::string(cwd) + "/" + path;
    return UnderRootAbsolute(full.c_str());
}

bool ShareFd(int fd) {
    return g_ready && fd >= 0 && fd < kMaxFd && g_share_fd[fd].load();
}

void MarkFd(int fd, bool share) {
    if (fd >= 0 && fd < kMaxFd) g_share_fd[fd].store(share);
}

int Opened(int fd, bool share) {
    if (fd >= 0) MarkFd(fd, share);
    return fd;
}

void Report() {
    const char* file = std::getenv("DASHVANE_LATENCY_REPORT");
    if (file == nullptr || *file == '\0') return;
    char line[256];
    const int n = std::snprintf(
        line, sizeof line,
        "opens %llu closes %llu reads %llu bytes %llu stats %llu lookups %llu dirs %llu\n",
        g_counts.opens.load(), g_counts.closes.load(), g_counts.reads.load(), g_counts.bytes.load(),
        g_counts.stats.load(), g_counts.lookups.load(), g_counts.dirs.load());
    g_ready = false;  // the report's own file is no share file
    using OpenFn = int (*)(const char*, int, ...);
    static const auto real_open = Next<OpenFn>("open");
    const int fd = real_open(file, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return;
    ssize_t ignored = ::write(fd, line, static_cast<size_t>(n));
    (void)ignored;
    ::close(fd);
}

__attribute__((constructor)) void Start() {
    const char* root = std::getenv("DASHVANE_LATENCY_ROOT");
    if (root == nullptr || *root == '\0') root = std::getenv("DASHVANE_SHARES");
    if (root != nullptr && *root != '\0') {
        g_root = new std::string(root);
        while (g_root->size() > 1 && g_root->back() == '/') g_root->pop_back();
    }
    if (const char* us = std::getenv("DASHVANE_LATENCY_US"); us != nullptr && *us != '\0')
        g_delay_ns = std::strtol(us, nullptr, 10) * 1000L;
    prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0);  // sleep to the microsecond, not 50 µs late
    g_ready = true;
    std::atexit(Report);
}

// One counted, delayed call on the share.
void Call(std::atomic<unsigned long long>& counter) {
    ++counter;
    Delay();
}

mode_t ModeOf(int flags, va_list args) {
    return (flags & (O_CREAT | O_TMPFILE)) != 0 ? static_cast<mode_t>(va_arg(args, int)) : 0;
}

}  // namespace

extern "C" {

#define DV_OPEN(name)                                                         \
    int name(const char* path, int flags, ...) {                              \
        va_list args;                                                         \
        va_start(args, flags);                                                \
        const mode_t mode = ModeOf(flags, args);                              \
        va_end(args);                                                         \
        static const auto real = Next<int (*)(const char*, int, ...)>(#name); \
        const bool share = UnderRoot(AT_FDCWD, path);                         \
        if (share) Call(g_counts.opens);                                      \
        return Opened(real(path, flags, mode), share);                        \
    }
DV_OPEN(open)
DV_OPEN(open64)
#undef DV_OPEN

#define DV_OPENAT(name)                                                            \
    int name(int dirfd, const char* path, int flags, ...) {                        \
        va_list args;                                                              \
        va_start(args, flags);                                                     \
        const mode_t mode = ModeOf(flags, args);                                   \
        va_end(args);                                                              \
        static const auto real = Next<int (*)(int, const char*, int, ...)>(#name); \
        const bool share = UnderRoot(dirfd, path);                                 \
        if (share) Call(g_counts.opens);                                           \
        return Opened(real(dirfd, path, flags, mode), share);                      \
    }
DV_OPENAT(openat)
DV_OPENAT(openat64)
#undef DV_OPENAT

#define DV_OPEN_2(name)                                                  \
    int name(const char* path, int flags) {                              \
        static const auto real = Next<int (*)(const char*, int)>(#name); \
        const bool share = UnderRoot(AT_FDCWD, path);                    \
        if (share) Call(g_counts.opens);                                 \
        return Opened(real(path, flags), share);                         \
    }
DV_OPEN_2(__open_2)
DV_OPEN_2(__open64_2)
#undef DV_OPEN_2

#define DV_OPENAT_2(name)                                                     \
    int name(int dirfd, const char* path, int flags) {                        \
        static const auto real = Next<int (*)(int, const char*, int)>(#name); \
        const bool share = UnderRoot(dirfd, path);                            \
        if (share) Call(g_counts.opens);                                      \
        return Opened(real(dirfd, path, flags), share);                       \
    }
DV_OPENAT_2(__openat_2)
DV_OPENAT_2(__openat64_2)
#undef DV_OPENAT_2

int close(int fd) {
    static const auto real = Next<int (*)(int)>("close");
    if (ShareFd(fd)) {
        Call(g_counts.closes);
        MarkFd(fd, false);
    }
    return real(fd);
}

ssize_t read(int fd, void* buffer, size_t length) {
    static const auto real = Next<ssize_t (*)(int, void*, size_t)>("read");
    const bool share = ShareFd(fd);
    if (share) Call(g_counts.reads);
    const ssize_t n = real(fd, buffer, length);
    if (share && n > 0) g_counts.bytes += static_cast<unsigned long long>(n);
    return n;
}

#define DV_PREAD(name)                                                                \
    ssize_t name(int fd, void* buffer, size_t length, off_t offset) {                 \
        static const auto real = Next<ssize_t (*)(int, void*, size_t, off_t)>(#name); \
        const bool share = ShareFd(fd);                                               \
        if (share) Call(g_counts.reads);                                              \
        const ssize_t n = real(fd, buffer, length, offset);                           \
        if (share && n > 0) g_counts.bytes += static_cast<unsigned long long>(n);     \
        return n;                                                                     \
    }
DV_PREAD(pread)
DV_PREAD(pread64)
#undef DV_PREAD

ssize_t readv(int fd, const struct iovec* iov, int count) {
    static const auto real = Next<ssize_t (*)(int, const struct iovec*, int)>("readv");
    const bool share = ShareFd(fd);
    if (share) Call(g_counts.reads);
    const ssize_t n = real(fd, iov, count);
    if (share && n > 0) g_counts.bytes += static_cast<unsigned long long>(n);
    return n;
}

#define DV_FSTAT(name, type)                                       \
    int name(int fd, type* st) {                                   \
        static const auto real = Next<int (*)(int, type*)>(#name); \
        if (ShareFd(fd)) Call(g_counts.stats);                     \
        return real(fd, st);                                       \
    }
DV_FSTAT(fstat, struct stat)
DV_FSTAT(fstat64, struct stat64)
#undef DV_FSTAT

#define DV_STAT(name, type)                                                \
    int name(const char* path, type* st) {                                 \
        static const auto real = Next<int (*)(const char*, type*)>(#name); \
        if (UnderRoot(AT_FDCWD, path)) Call(g_counts.lookups);             \
        return real(path, st);                                             \
    }
DV_STAT(stat, struct stat)
DV_STAT(stat64, struct stat64)
DV_STAT(lstat, struct stat)
DV_STAT(lstat64, struct stat64)
#undef DV_STAT

#define DV_FSTATAT(name, type)                                                       \
    int name(int dirfd, const char* path, type* st, int flags) {                     \
        static const auto real = Next<int (*)(int, const char*, type*, int)>(#name); \
        const bool empty_path = path[0] == '\0';                                     \
        if (empty_path ? ShareFd(dirfd) : UnderRoot(dirfd, path))                    \
            Call(empty_path ? g_counts.stats : g_counts.lookups);                    \
        return real(dirfd, path, st, flags);                                         \
    }
DV_FSTATAT(fstatat, struct stat)
DV_FSTATAT(fstatat64, struct stat64)
#undef DV_FSTATAT

int statx(int dirfd, const char* path, int flags, unsigned int mask, struct statx* st) {
    static const auto real =
        Next<int (*)(int, const char*, int, unsigned int, struct statx*)>("statx");
    const bool empty_path = path[0] == '\0';
    if (empty_path ? ShareFd(dirfd) : UnderRoot(dirfd, path))
        Call(empty_path ? g_counts.stats : g_counts.lookups);
    return real(dirfd, path, flags, mask, st);
}

int access(const char* path, int mode) {
    static const auto real = Next<int (*)(const char*, int)>("access");
    if (UnderRoot(AT_FDCWD, path)) Call(g_counts.lookups);
    return real(path, mode);
}

int faccessat(int dirfd, const char* path, int mode, int flags) {
    static const auto real = Next<int (*)(int, const char*, int, int)>("faccessat");
    if (UnderRoot(dirfd, path)) Call(g_counts.lookups);
    return real(dirfd, path, mode, flags);
}

char* realpath(const char* path, char* resolved) {
    static const auto real = Next<char* (*)(const char*, char*)>("realpath");
    if (UnderRoot(AT_FDCWD, path)) Call(g_counts.lookups);
    return real(path, resolved);
}

DIR* opendir(const char* path) {
    static const auto real = Next<DIR* (*)(const char*)>("opendir");
    const bool share = UnderRoot(AT_FDCWD, path);
    if (share) Call(g_counts.dirs);
    DIR* d = real(path);
    if (d != nullptr) MarkFd(dirfd(d), share);
    return d;
}

DIR* fdopendir(int fd) {
    static const auto real = Next<DIR* (*)(int)>("fdopendir");
    if (ShareFd(fd)) Call(g_counts.dirs);
    return real(fd);
}

int closedir(DIR* d) {
    static const auto real = Next<int (*)(DIR*)>("closedir");
    const int fd = dirfd(d);
    if (ShareFd(fd)) {
        Call(g_counts.closes);
        MarkFd(fd, false);
    }
    return real(d);
}

}  // extern "C"
