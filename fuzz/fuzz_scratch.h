// The scratch folder of a fuzz target's process: TMPDIR/dashvane-NAME-fuzz-PID, made on first
// use and removed when the process exits through exit() (the end of a run, -max_total_time,
// -runs, a run over the seed corpus). A crashing run leaves its folder for the finding's
// reproduction; the next run of any target removes the folders of processes that are gone.
#pragma once

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace dv::fuzz {

class ScratchFolder {
  public:
    explicit ScratchFolder(std::string_view target) {
        namespace fs = std::filesystem;
        const fs::path base = fs::temp_directory_path();
        RemoveLeftovers(base);
        path_ = base / ("dashvane-" + std::string(target) + "-fuzz-" + std::to_string(getpid()));
        fs::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

  private:
    // Folders named dashvane-*-fuzz-PID whose process no longer runs.
    static void RemoveLeftovers(const std::filesystem::path& base) {
        namespace fs = std::filesystem;
        std::error_code ec;
        for (const fs::directory_entry& entry : fs::directory_iterator(base, ec)) {
            const std::string name = entry.path().filename().string();
            const size_t mark = name.rfind("-fuzz-");
            if (name.rfind("dashvane-", 0) != 0 || mark == std::string::npos) continue;
            const std::string digits = name.substr(mark + 6);
            if (digits.empty() || digits.size() > 9 ||
                digits.find_first_not_of("0123456789") != std::string::npos)
                continue;
            if (::kill(static_cast<pid_t>(std::stol(digits)), 0) == 0 || errno != ESRCH) continue;
            std::error_code ignored;
            fs::remove_all(entry.path(), ignored);
        }
    }

    std::filesystem::path path_;
};

// The process's one scratch folder (a static object: its destructor runs at exit()).
inline const std::filesystem::path& Scratch(std::string_view target) {
    static const ScratchFolder folder(target);
    return folder.path();
}

}  // namespace dv::fuzz
