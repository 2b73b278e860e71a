// The operation log: a plain text file, dvoperation.log in the directory named by TEMP, to which
// the program appends a line when it starts and ends and an entry for every trapped error.
// Error entries start with "*"; an entry whose text holds a CR LF spans several lines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace dv {

// The log's full path, set once at start-up (InitLogPath).
extern std::string mLogPath;
// The line buffer the error handlers build their entry in before they call WriteLog.
extern std::string mLogLine;

inline constexpr std::string_view kLogFileName = "dvoperation.log";

// TEMP & "/dvoperation.log"; with TEMP unset or empty the temporary directory ($TMPDIR, else /tmp)
// stands in for it.
// A TEMP that ends in "/" gives a doubled separator, which the file system accepts.
std::string LogPathFromEnvironment();
// mLogPath = LogPathFromEnvironment().
void InitLogPath();

// A text read from the share (a file name, a key, a record's field) as it may stand inside a log
// entry: every control character written as \r, \n, \t or \xNN, so that it can neither end the
// entry nor forge another one. Texts without control characters come back as they are.
std::string EscapeLogText(std::string_view text);

// Appends text and CR LF to the file at path, creating it when missing; the file is opened and
// closed on every call. A symbolic link or anything but an ordinary file at path is never
// written to (the failure below). Never throws: when the file can't be written the program goes on,
// and the first such failure of the run is reported on stderr.
void WriteLog(const std::string& path, const std::string& text) noexcept;

// While a LogCapture lives, every text passed to WriteLog is also kept in it (whether or not
// the file could be written), split into the lines it makes in the file. Captures nest.
class LogCapture {
  public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    const std::vector<std::string>& lines() const { return lines_; }
    // Hands the lines over and starts afresh.
    std::vector<std::string> Take();

  private:
    friend void WriteLog(const std::string&, const std::string&) noexcept;
    std::vector<std::string> lines_;
};

// The text of a log file for the viewer: empty when it does not exist or can't be read.
std::string ReadLogText(const std::string& path);

// Why the run's last WriteLog, when it went to path, failed (the system's reason, "Permission
// denied"); empty when that line was written, or when the last line went elsewhere.
std::string LogWriteError(const std::string& path);

// What the log viewer says above the log when it can't show it whole: one line for a file that
// can't be read and one for a file that the program could not write, each naming the path and
// the system's reason. Empty when the file reads and the last line reached it.
std::string LogFileProblems(const std::string& path);

// Tests only: makes the next unwritable log report itself again.
void ResetLogWarningForTest();

}  // namespace dv
