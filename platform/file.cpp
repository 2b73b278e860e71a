#include "platform/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/file_calls.h"

namespace dv::platform {

std::shared_ptr<ReadOnlyFile> ReadOnlyFile::Open(const std::string& local_path, int* error) {
    count::Open();
    const int fd = ::open(local_path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (error != nullptr) *error = errno;
        return nullptr;
    }
    if (error != nullptr) *error = 0;
    return std::shared_ptr<ReadOnlyFile>(new ReadOnlyFile(fd, local_path));
}

ReadOnlyFile::~ReadOnlyFile() {
    count::Close();
    ::close(fd_);
}

int ReadOnlyFile::ReadAt(int64_t offset, size_t length, std::string& out) const {
    out.assign(length, '\0');
    if (offset < 0) return EINVAL;
    size_t done = 0;
    while (done < length) {
        count::Read(length - done);
        const ssize_t n = ::pread(fd_, out.data() + done, length - done,
                                  static_cast<off_t>(offset + static_cast<int64_t>(done)));
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (n == 0) break;  // end of file: the rest stays zero bytes
        done += static_cast<size_t>(n);
    }
    return 0;
}

int ReadOnlyFile::Length(int64_t& length) const {
    struct stat st {};
    count::Fstat();
    if (::fstat(fd_, &st) != 0) return errno;
    length = static_cast<int64_t>(st.st_size);
    return 0;
}

std::shared_ptr<WritableFile> WritableFile::Open(const std::string& local_path, int* error) {
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

bool IsOrdinaryFile(const std::string& local_path) {
    struct stat st {};
    count::Lookup();
    return ::stat(local_path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

int ReadWholeFile(const std::string& local_path, std::string& out, size_t max_bytes) {
    out.clear();
    count::Open();
    const int fd = ::open(local_path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno;
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
        if (out.size() > max_bytes) {
            out.clear();
            count::Close();
            ::close(fd);
            return EFBIG;
        }
    }
    count::Close();
    ::close(fd);
    return 0;
}

}  // namespace dv::platform
