// Test helpers: a fresh temporary folder removed afterwards, an environment variable set for one
// test and restored afterwards, and writing a file of given bytes.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>

namespace dv::testing {

class TempFolder {
  public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "dvtest.XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(std::string_view rest) const { return path_ + "/" + std::string(rest); }

  private:
    std::string path_;
};

class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (old_) {
            ::setenv(name_.c_str(), old_->c_str(), 1);
        } else {
            ::unsetenv(name_.c_str());
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    std::string name_;
    std::optional<std::string> old_;
};

// Writes bytes to path, making its folders first.
inline void WriteFile(const std::string& path, std::string_view bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

// Puts a FIFO (named pipe) where path is, replacing a file of that name: nothing ever writes to
// it, so a blocking open or read of it never returns.
inline void MakeFifo(const std::string& path) {
    std::filesystem::remove(path);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    if (::mkfifo(path.c_str(), 0644) != 0) throw std::runtime_error("cannot make FIFO " + path);
}

inline std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The threads of this process now (/proc/self/task). A thread is started and joined before
// the first count: a sanitizer that adds a background thread of its own starts it with the
// process's first thread, and that one is then counted in every figure alike. A thread already
// joined can still be listed for a moment while the kernel finishes its exit; it has given up
// the process's memory by then (its statm reads all zeros), and is not counted.
inline size_t ProcessThreads() {
    static const bool primed = [] {
        std::thread([] {}).join();
        return true;
    }();
    (void)primed;
    size_t n = 0;
    for (const auto& e : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream statm(e.path() / "statm");
        unsigned long pages = 0;
        if (statm >> pages && pages > 0) ++n;
    }
    return n;
}

}  // namespace dv::testing
