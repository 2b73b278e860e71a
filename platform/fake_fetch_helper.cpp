// A stand-in for dashvane-fetch in the tests of the helper set (fetch_helper_set_test.cpp): it
// speaks the helper's frames without a server, and answers each request by its url's last part.
//   whoami   a file: "<the start message's user> <this process's id>"
//   missing  a missing file (ENOENT)
//   refused  a failure other than a missing file (EACCES)
//   large    a file larger than the limit
//   long     a reply with more bytes than the limit
//   garbage  bytes that are no frame, then waits for its input to end
//   die      ends without an answer
//   hang     never answers: waits for its input to end
// Every answer reports one open, one read and one close. As it starts, it appends its process id
// to the file the start message names as its domain, so that a test counts the helpers started.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/fetch_frames.h"

namespace {

using namespace dv::platform;
using fetch_frame::Status;

// Reads until the input ends.
int Hang() {
    char buffer[256];
    while (::read(0, buffer, sizeof buffer) > 0) {
    }
    return 0;
}

void NoteStart(const std::string& log) {
    const int fd = ::open(log.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return;
    const std::string line = std::to_string(::getpid()) + "\n";
    [[maybe_unused]] const ssize_t w = ::write(fd, line.data(), line.size());
    ::close(fd);
}

}  // namespace

int main() {
    std::string body;
    SmbSessionLogin login;
    if (fetch_frame::ReadFrame(0, fetch_frame::kMaxStart, body, {}) != Status::kOk ||
        !fetch_frame::DecodeStart(body, login))
        return 2;
    if (!login.login.domain.empty()) NoteStart(login.login.domain);
    while (fetch_frame::ReadFrame(0, fetch_frame::kMaxRequest, body, {}) == Status::kOk) {
        std::string url;
        int64_t listed = 0;
        uint64_t limit = 0;
        if (!fetch_frame::DecodeRequest(body, url, listed, limit)) return 2;
        const std::string what = url.substr(url.rfind('/') + 1);
        FetchedFile file;
        file.outcome = FetchedFile::Outcome::kFailed;
        if (what == "whoami") {
            file.outcome = FetchedFile::Outcome::kRead;
            file.bytes = login.login.user + " " + std::to_string(::getpid());
        } else if (what == "missing") {
            file.error = ENOENT;
        } else if (what == "refused") {
            file.error = EACCES;
        } else if (what == "large") {
            file.outcome = FetchedFile::Outcome::kTooLarge;
        } else if (what == "long") {
            file.outcome = FetchedFile::Outcome::kRead;
            file.bytes.assign(limit + 1, 'x');
        } else if (what == "garbage") {
            const std::string junk = "\xff\xff\xff\xffnot a frame";
            if (::write(1, junk.data(), junk.size()) < 0) return 1;
            return Hang();
        } else if (what == "die") {
            return 0;
        } else if (what == "hang") {
            return Hang();
        } else {
            file.error = ENOENT;
        }
        FileCalls calls;
        calls.opens = 1;
        calls.reads = 1;
        calls.closes = 1;
        calls.bytes = file.bytes.size();
        if (fetch_frame::WriteFrame(1, fetch_frame::EncodeReply(file, calls), {}) != Status::kOk)
            return 1;
    }
    return 0;
}
