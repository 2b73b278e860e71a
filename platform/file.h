// Files on the local file system. The dealer's files are opened read-only: ReadOnlyFile never
// asks for write access. WritableFile exists for the engine's write members alone, which open
// it only when writing has been enabled explicitly. Functions return 0 or an errno value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace dv::platform {

class ReadOnlyFile {
  public:
    // Opens local_path with O_RDONLY | O_CLOEXEC; null with *error set when that fails.
    static std::shared_ptr<ReadOnlyFile> Open(const std::string& local_path, int* error);
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    // Exactly length bytes from offset: the bytes the file holds there, then zero bytes where
    // the file ends early. One positioned read (continued only after a short count).
    int ReadAt(int64_t offset, size_t length, std::string& out) const;
    // The file's length in bytes.
    int Length(int64_t& length) const;
    const std::string& local_path() const { return path_; }

  private:
    ReadOnlyFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    int fd_;
    std::string path_;
};

class WritableFile {
  public:
    // Opens an existing file with O_WRONLY | O_CLOEXEC (never creates one).
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

// True when local_path names an ordinary file (after symbolic links); folders don't count.
bool IsOrdinaryFile(const std::string& local_path);

// The whole file into out; EFBIG (and out empty) when it holds more than max_bytes, found by
// reading at most max_bytes + 1 of them.
int ReadWholeFile(const std::string& local_path, std::string& out,
                  size_t max_bytes = static_cast<size_t>(-1));

}  // namespace dv::platform
