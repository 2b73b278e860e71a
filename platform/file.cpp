#include "platform/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "platform/file_calls.h"
#include "platform/paths.h"
#include "platform/smb.h"

namespace dv::platform {
namespace {

// Opens local_path for reading without waiting and keeps it only when the descriptor is an
// ordinary file: the descriptor and the file's length, or -1 and the errno value (ENOENT for
// anything but an ordinary file). O_NONBLOCK makes the open of a FIFO return at once; it
// changes nothing for reads of an ordinary file.
int OpenOrdinary(const std::string& local_path, int64_t& length, int& error) {
    count::Open();
    const int fd = ::open(local_path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        error = errno;
        return -1;
    }
    struct stat st {};
    count::Fstat();
    const bool status = ::fstat(fd, &st) == 0;
    if (!status || !S_ISREG(st.st_mode)) {
        error = status ? ENOENT : errno;
        count::Close();
        ::close(fd);
        return -1;
    }
    error = 0;
    length = static_cast<int64_t>(st.st_size);
    return fd;
}

// The path of the file that fd has open, every symbolic link resolved: from /proc, which
// the kernel answers from memory; without /proc, the real path of local_path (one look-up).
std::optional<std::string> OpenedPath(int fd, const std::string& local_path) {
    if (std::optional<std::string> path = DescriptorPath(fd)) return path;
    return RealPath(local_path);
}

// The entry url names on the share: from its folder's listing when the path cache holds it, else
// asked of the server (one status request).
int RemoteEntryOf(const std::string& url, RemoteEntry& entry) {
    if (std::optional<RemoteEntry> listed = ListedEntry(url)) {
        entry = *listed;
        return 0;
    }
    return CurrentShareConnection().Stat(url, entry);
}

}  // namespace

namespace {

// This process's /proc/self/fd, opened as the program starts (before any test counts its open
// descriptors), so that reading where a descriptor leads looks up one name, not four. Another
// process (a child forked from this one) finds the descriptor of its parent's folder and takes
// the path instead.
struct DescriptorFolder {
    int fd = ::open("/proc/self/fd", O_PATH | O_DIRECTORY | O_CLOEXEC);
    pid_t pid = ::getpid();
};
const DescriptorFolder g_descriptors;

}  // namespace

std::optional<std::string> DescriptorPath(int fd) {
    char target[PATH_MAX];
    ssize_t n = -1;
    if (g_descriptors.fd >= 0 && g_descriptors.pid == ::getpid()) {
        char name[16];
        std::snprintf(name, sizeof name, "%d", fd);
        n = ::readlinkat(g_descriptors.fd, name, target, sizeof target);
    } else {
        char link[32];
        std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
        n = ::readlink(link, target, sizeof target);
    }
    if (n <= 0 || static_cast<size_t>(n) >= sizeof target) return std::nullopt;
    return std::string(target, static_cast<size_t>(n));
}

ReadOnlyFile::ReadOnlyFile(std::unique_ptr<RemoteFile> remote, std::string path, int64_t length)
    : fd_(-1),
      opened_length_(length),
      path_(std::move(path)),
      remote_(std::move(remote)),
      known_length_(length) {}

std::shared_ptr<ReadOnlyFile> ReadOnlyFile::Open(const std::string& local_path, int* error,
                                                 const std::string& inside) {
    if (IsShareUrl(local_path)) {
        RemoteEntry entry;
        int e = 0;
        if (!inside.empty() && !LiesInside(local_path, inside)) {
            e = ENOENT;
        } else if (e = RemoteEntryOf(local_path, entry); e == 0) {
            if (entry.kind != RemoteEntry::Kind::kFile) e = ENOENT;  // a folder or a device
        }
        std::unique_ptr<RemoteFile> remote;
        if (e == 0) e = CurrentShareConnection().Open(local_path, remote);
        if (error != nullptr) *error = e;
        if (e != 0) return nullptr;
        return std::shared_ptr<ReadOnlyFile>(
            new ReadOnlyFile(std::move(remote), local_path, entry.size));
    }
    int64_t length = 0;
    int e = 0;
    int fd = OpenOrdinary(local_path, length, e);
    if (fd >= 0 && !inside.empty()) {
        const std::optional<std::string> opened = OpenedPath(fd, local_path);
        if (!opened || !LiesInside(*opened, inside)) {
            count::Close();
            ::close(fd);
            fd = -1;
            e = ENOENT;
        }
    }
    if (error != nullptr) *error = e;
    if (fd < 0) return nullptr;
    return std::shared_ptr<ReadOnlyFile>(new ReadOnlyFile(fd, local_path, length));
}

ReadOnlyFile::~ReadOnlyFile() {
    if (remote_) return;  // the remote file counts and sends its own close
    count::Close();
    ::close(fd_);
}

int ReadOnlyFile::ReadAt(int64_t offset, size_t length, std::string& out) const {
    out.assign(length, '\0');
    return ReadInto(offset, length, out.data());
}

int ReadOnlyFile::ReadInto(int64_t offset, size_t length, char* out) const {
    if (offset < 0) return EINVAL;
    size_t done = 0;
    if (remote_) {
        while (done < length) {
            count::Read(length - done);
            size_t got = 0;
            const int e =
                remote_->Read(offset + static_cast<int64_t>(done), length - done, out + done, got);
            if (e == EINTR) continue;
            if (e != 0) return e;
            if (got == 0) break;  // end of file
            done += got;
            const int64_t reached = offset + static_cast<int64_t>(done);
            if (reached > known_length_) known_length_ = reached;  // it has grown
            // A short answer that reaches the known end of the file: nothing more to ask.
            if (done < length && reached >= known_length_) break;
        }
    } else {
        while (done < length) {
            count::Read(length - done);
            const ssize_t n = ::pread(fd_, out + done, length - done,
                                      static_cast<off_t>(offset + static_cast<int64_t>(done)));
            if (n < 0) {
                if (errno == EINTR) continue;
                return errno;
            }
            if (n == 0) break;  // end of file
            done += static_cast<size_t>(n);
        }
    }
    std::memset(out + done, 0, length - done);  // past the end: zero bytes
    return 0;
}

int ReadOnlyFile::Length(int64_t& length) const {
    if (remote_) {
        count::Fstat();
        if (const int e = remote_->Length(length); e != 0) return e;
        known_length_ = length;
        return 0;
    }
    struct stat st {};
    count::Fstat();
    if (::fstat(fd_, &st) != 0) return errno;
    length = static_cast<int64_t>(st.st_size);
    return 0;
}

std::shared_ptr<WritableFile> WritableFile::Open(const std::string& local_path, int* error) {
    if (IsShareUrl(local_path)) {
        if (error != nullptr) *error = EROFS;
        return nullptr;
    }
    const int fd = ::open(local_path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        if (error != nullptr) *error = errno;
        return nullptr;
    }
    if (error != nullptr) *error = 0;
    return std::shared_ptr<WritableFile>(new WritableFile(fd));
}

WritableFile::~WritableFile() {
    ::close(fd_);
}

int WritableFile::WriteAt(int64_t offset, std::string_view data) const {
    if (offset < 0) return EINVAL;
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::pwrite(fd_, data.data() + done, data.size() - done,
                                   static_cast<off_t>(offset + static_cast<int64_t>(done)));
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        done += static_cast<size_t>(n);
    }
    return 0;
}

std::optional<std::string> RealPath(const std::string& local_path) {
    count::Lookup();
    char* real = ::realpath(local_path.c_str(), nullptr);
    if (real == nullptr) return std::nullopt;
    std::string path = real;
    std::free(real);
    return path;
}

std::string FolderReadFailure(const std::string& local_path) {
    struct stat st {};
    count::Lookup();
    if (::stat(local_path.c_str(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) return {};
        return std::strerror(errno);
    }
    if (!S_ISDIR(st.st_mode)) return "not a folder";
    count::Lookup();
    if (::access(local_path.c_str(), R_OK | X_OK) != 0) return std::strerror(errno);
    return {};
}

std::string FailureReason(const std::string& local_path, int error) {
    if (IsShareUrl(local_path)) return CurrentShareConnection().Reason(local_path, error);
    return std::strerror(error);
}

bool IsOrdinaryFile(const std::string& local_path) {
    if (IsShareUrl(local_path)) {
        RemoteEntry entry;
        return RemoteEntryOf(local_path, entry) == 0 && entry.kind == RemoteEntry::Kind::kFile;
    }
    struct stat st {};
    count::Lookup();
    return ::stat(local_path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

int ReadWholeFile(const std::string& local_path, std::string& out, size_t max_bytes) {
    out.clear();
    int64_t length = 0;
    int error = 0;
    const int fd = OpenOrdinary(local_path, length, error);
    if (fd < 0) return error;
    if (length > 0 && static_cast<uint64_t>(length) > max_bytes) {
        count::Close();
        ::close(fd);
        return EFBIG;
    }
    char buffer[65536];
    while (true) {
        const size_t room = max_bytes - out.size();  // one byte past it tells a longer file
        const ssize_t n = ::read(fd, buffer, room < sizeof buffer ? room + 1 : sizeof buffer);
        count::Read(n > 0 ? static_cast<size_t>(n) : 0);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int e = errno;
            count::Close();
            ::close(fd);
            return e;
        }
        if (n == 0) break;
        out.append(buffer, static_cast<size_t>(n));
        if (out.size() > max_bytes) {  // grown since its length was taken
            out.clear();
            count::Close();
            ::close(fd);
            return EFBIG;
        }
        // An ordinary file that gave less than was asked for and no more than its length has
        // nothing further: the read that would return 0 is spared.
        if (static_cast<size_t>(n) < sizeof buffer && static_cast<int64_t>(out.size()) >= length)
            break;
    }
    count::Close();
    ::close(fd);
    return 0;
}

bool LiesInside(const std::string& path, const std::string& folder) {
    const std::string prefix = folder.empty() || folder.back() != '/' ? folder + "/" : folder;
    return path.size() > prefix.size() && path.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace dv::platform
