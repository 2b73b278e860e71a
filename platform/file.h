// Files on the local file system, or on the share read over SMB (a path "smb://...", see smb.h).
// The dealer's files are opened read-only: ReadOnlyFile never asks for write access. WritableFile
// exists for the engine's write members alone, which open it only when writing has been enabled
// explicitly. Functions return 0 or an errno value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/smb.h"

namespace dv::platform {

// A path that names something other than an ordinary file (a folder, a FIFO, a device, a
// socket) is reported as ENOENT: not found as an ordinary file, the same as a missing one.

class ReadOnlyFile {
  public:
    // Opens local_path without waiting (O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK), then
    // takes the status of the descriptor opened (one fstat): only an ordinary file is kept, so
    // that neither the open nor a read can block on a FIFO or a device. With `inside` (a real
    // path, see ShareFolder) the file opened must also lie inside that folder, wherever
    // symbolic links on the way lead: the check reads what the descriptor has open
    // (/proc/self/fd, answered by the kernel without a file-system call; without /proc, the
    // path's real path, one look-up). Null with *error set when the open fails, or ENOENT when
    // the file is not an ordinary one or lies outside `inside`.
    //
    // Over SMB (local_path "smb://..."): the folder's listing tells whether the path is an
    // ordinary file and gives its length (a status request only when the folder was not
    // listed), then one open asks for read access alone; `inside` is the share's address and
    // the path must lie below it. The file is read through the connection of the thread that
    // opens it (CurrentShareConnection), which must outlive it.
    static std::shared_ptr<ReadOnlyFile> Open(const std::string& local_path, int* error,
                                              const std::string& inside = {});
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    // Exactly length bytes from offset: the bytes the file holds there, then zero bytes where
    // the file ends early. One positioned read (continued only after a short count; over SMB,
    // not continued once it has reached the file's known length, so that a read to the end of
    // the file costs one request).
    int ReadAt(int64_t offset, size_t length, std::string& out) const;
    // The same read into length bytes at out, which need not be cleared first: what the file
    // does not hold (past its end) is written as zero bytes.
    int ReadInto(int64_t offset, size_t length, char* out) const;
    // The file's length when it was opened (from the open's fstat, or over SMB from the
    // folder's listing; no further call).
    int64_t OpenedLength() const { return opened_length_; }
    // The file's length now (one fstat): for a file held open while another program may
    // append to it.
    int Length(int64_t& length) const;
    const std::string& local_path() const { return path_; }

  private:
    ReadOnlyFile(int fd, std::string path, int64_t length)
        : fd_(fd), opened_length_(length), path_(std::move(path)) {}
    ReadOnlyFile(std::unique_ptr<RemoteFile> remote, std::string path, int64_t length);
    int fd_;
    int64_t opened_length_;
    std::string path_;
    std::unique_ptr<RemoteFile> remote_;
    mutable int64_t known_length_ = 0;  // over SMB: the length last seen
};

class WritableFile {
  public:
    // Opens an existing file with O_WRONLY | O_CLOEXEC (never creates one). A file on the share
    // read over SMB is never opened for writing (EROFS).
    static std::shared_ptr<WritableFile> Open(const std::string& local_path, int* error);
    ~WritableFile();
    WritableFile(const WritableFile&) = delete;
    WritableFile& operator=(const WritableFile&) = delete;

    // Writes all of data at offset.
    int WriteAt(int64_t offset, std::string_view data) const;

  private:
    explicit WritableFile(int fd) : fd_(fd) {}
    int fd_;
};

// Why the folder can't be read when it exists but this process may not list or enter it (the
// system's reason); empty when it can be read or is not there at all.
std::string FolderReadFailure(const std::string& local_path);

// Why a call on local_path failed with error, for a message: the system's reason; over SMB the
// connection's (ShareConnection::Reason: a share or folder refused to the login the server
// accepted, the logins it refused).
std::string FailureReason(const std::string& local_path, int error);

// True when local_path names an ordinary file (after symbolic links); folders don't count.
bool IsOrdinaryFile(const std::string& local_path);

// What the descriptor fd has open, every symbolic link resolved, from /proc (answered by the
// kernel from memory, no call on the file system); nothing without /proc.
std::optional<std::string> DescriptorPath(int fd);

// True when path lies below folder, at a '/' boundary (both real paths, or both share URLs).
bool LiesInside(const std::string& path, const std::string& folder);

// local_path with every symbolic link resolved (one counted look-up); nothing when it can't be
// resolved.
std::optional<std::string> RealPath(const std::string& local_path);

// The whole file into out; only an ordinary file is read (else ENOENT), and its open does not
// wait, as ReadOnlyFile::Open. EFBIG (and out empty), with nothing read, when its length is
// above max_bytes; never more than max_bytes + 1 bytes are read, should it grow meanwhile.
int ReadWholeFile(const std::string& local_path, std::string& out,
                  size_t max_bytes = static_cast<size_t>(-1));

}  // namespace dv::platform
