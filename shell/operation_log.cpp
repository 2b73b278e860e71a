#include "shell/operation_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/tempdir.h"

namespace dv {

std::string mLogPath;
std::string mLogLine;

namespace {

bool g_warned = false;
std::vector<LogCapture*> g_captures;
// The path of the last write and its failure's errno (0: written).
std::string g_last_write_path;
int g_last_write_error = 0;

std::string EnvOrEmpty(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

// Splits text + CR LF into the lines it makes in the file.
void AppendLines(std::vector<std::string>& lines, std::string_view text) {
    size_t start = 0;
    while (true) {
        const size_t at = text.find("\r\n", start);
        if (at == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            return;
        }
        lines.emplace_back(text.substr(start, at - start));
        start = at + 2;
    }
}

// The log lies in a folder other users may write to: a symbolic link planted under its name is
// never followed, and nothing but an ordinary file is written to (a FIFO is not waited on).
bool AppendToFile(const std::string& path, const std::string& data, int& error) {
    const int fd = ::open(
        path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
    if (fd < 0) {
        error = errno;
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        error = EINVAL;
        ::close(fd);
        return false;
    }
    size_t done = 0;
    bool ok = true;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            error = errno;
            ok = false;
            break;
        }
        done += static_cast<size_t>(n);
    }
    if (::close(fd) != 0 && ok) {
        error = errno;
        ok = false;
    }
    return ok;
}

}  // namespace

std::string EscapeLogText(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 0x20 && c != 0x7F) {
            out += ch;
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else {
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        }
    }
    return out;
}

std::string LogPathFromEnvironment() {
    std::string dir = EnvOrEmpty("TEMP");
    if (dir.empty()) dir = platform::TempDir();
    return dir + "/" + std::string(kLogFileName);
}

void InitLogPath() {
    mLogPath = LogPathFromEnvironment();
}

void WriteLog(const std::string& path, const std::string& text) noexcept {
    try {
        for (LogCapture* c : g_captures) AppendLines(c->lines_, text);
        int error = 0;
        const bool written = AppendToFile(path, text + "\r\n", error);
        g_last_write_path = path;
        g_last_write_error = written ? 0 : error;
        if (!written && !g_warned) {
            g_warned = true;
            std::fprintf(stderr, "dashvane: the operation log %s can't be written: %s\n",
                         path.c_str(), std::strerror(error));
        }
    } catch (...) {
        // Out of memory while building the line: the log loses it, the program goes on.
    }
}

LogCapture::LogCapture() {
    g_captures.push_back(this);
}

LogCapture::~LogCapture() {
    for (auto it = g_captures.begin(); it != g_captures.end(); ++it) {
        if (*it == this) {
            g_captures.erase(it);
            break;
        }
    }
}

std::vector<std::string> LogCapture::Take() {
    std::vector<std::string> out;
    out.swap(lines_);
    return out;
}

std::string ReadLogText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    std::ostringstream s;
    s << in.rdbuf();
    return in.bad() ? std::string() : s.str();
}

std::string LogWriteError(const std::string& path) {
    if (path != g_last_write_path || g_last_write_error == 0) return {};
    return std::strerror(g_last_write_error);
}

std::string LogFileProblems(const std::string& path) {
    std::string problems;
    int read_error = 0;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        read_error = errno;
    } else {
        char probe[1];
        if (::read(fd, probe, sizeof probe) < 0) read_error = errno;
        ::close(fd);
    }
    if (read_error != 0)
        problems += "The log file " + path + " can't be read: " + std::strerror(read_error);
    const std::string write_error = LogWriteError(path);
    if (!write_error.empty()) {
        if (!problems.empty()) problems += "\n";
        problems += "The log file " + path + " can't be written: " + write_error;
    }
    return problems;
}

void ResetLogWarningForTest() {
    g_warned = false;
}

}  // namespace dv
