#include "platform/fetch_frames.h"

#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace dv::platform::fetch_frame {
namespace {

constexpr char kMagic[4] = {'D', 'V', 'F', '1'};
// A request asks for a file of at most this many bytes.
constexpr uint64_t kMaxLimit = 64ull * 1024 * 1024;
// A reply without its bytes: outcome, errno, read error, six counts and the bytes' length.
constexpr size_t kReplyHead = 1 + 4 + 1 + 6 * 8 + 4;

// An unsigned number in little-endian order, as many bytes as its type holds.
template <class T>
void PutLittleEndian(std::string& out, T v) {
    for (size_t i = 0; i < sizeof(T); ++i) out += static_cast<char>((v >> (8 * i)) & 0xff);
}
void PutU32(std::string& out, uint32_t v) {
    PutLittleEndian(out, v);
}
void PutU64(std::string& out, uint64_t v) {
    PutLittleEndian(out, v);
}
void PutString(std::string& out, std::string_view s) {
    PutU32(out, static_cast<uint32_t>(s.size()));
    out.append(s);
}

// Takes the fields of a body in order; any read past its end fails, and so does every later one.
class Fields {
  public:
    explicit Fields(std::string_view body) : body_(body) {}
    bool U8(uint8_t& v) {
        if (!Have(1)) return false;
        v = static_cast<uint8_t>(body_[at_++]);
        return true;
    }
    bool U32(uint32_t& v) { return LittleEndian(v); }
    bool U64(uint64_t& v) { return LittleEndian(v); }
    bool String(std::string& s, size_t max) {
        uint32_t n = 0;
        if (!U32(n) || n > max || !Have(n)) return false;
        s.assign(body_.substr(at_, n));
        at_ += n;
        return true;
    }
    bool Bytes(std::string_view want) {
        if (!Have(want.size()) || body_.substr(at_, want.size()) != want) return false;
        at_ += want.size();
        return true;
    }
    bool AtEnd() const { return ok_ && at_ == body_.size(); }

  private:
    template <class T>
    bool LittleEndian(T& v) {
        if (!Have(sizeof(T))) return false;
        v = 0;
        for (size_t i = 0; i < sizeof(T); ++i)
            v |= static_cast<T>(static_cast<uint8_t>(body_[at_++])) << (8 * i);
        return true;
    }
    bool Have(size_t n) {
        ok_ = ok_ && body_.size() - at_ >= n;
        return ok_;
    }
    std::string_view body_;
    size_t at_ = 0;
    bool ok_ = true;
};

// Milliseconds left before the deadline for poll (-1: no deadline; 0 once it has passed).
int WaitMs(const Deadline& deadline) {
    if (!deadline) return -1;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        *deadline - std::chrono::steady_clock::now());
    return left.count() <= 0 ? 0 : static_cast<int>(std::min<int64_t>(left.count(), 1 << 30));
}

// Reads exactly n bytes; got tells how many came before the input ended.
Status ReadExactly(int fd, char* into, size_t n, size_t& got, const Deadline& deadline) {
    got = 0;
    while (got < n) {
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, WaitMs(deadline));
        if (ready < 0) {
            if (errno == EINTR) continue;
            return Status::kFailed;
        }
        if (ready == 0) return Status::kTimedOut;
        const ssize_t r = ::read(fd, into + got, n - got);
        if (r < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            return Status::kFailed;
        }
        if (r == 0) return Status::kEnd;
        got += static_cast<size_t>(r);
    }
    return Status::kOk;
}

}  // namespace

size_t MaxReply(size_t limit) {
    return kReplyHead + limit;
}

std::string EncodeStart(const SmbSessionLogin& login) {
    std::string out(kMagic, sizeof kMagic);
    out += static_cast<char>((login.kerberos ? 1 : 0) | (login.anonymous_after ? 2 : 0));
    PutString(out, login.login.user);
    PutString(out, login.login.password);
    PutString(out, login.login.domain);
    PutString(out, login.share);
    return out;
}

bool DecodeStart(std::string_view body, SmbSessionLogin& login) {
    Fields f(body);
    uint8_t flags = 0;
    if (!f.Bytes(std::string_view(kMagic, sizeof kMagic)) || !f.U8(flags) || flags > 3 ||
        !f.String(login.login.user, kMaxStart) || !f.String(login.login.password, kMaxStart) ||
        !f.String(login.login.domain, kMaxStart) || !f.String(login.share, kMaxStart) || !f.AtEnd())
        return false;
    login.kerberos = (flags & 1) != 0;
    login.anonymous_after = (flags & 2) != 0;
    return true;
}

std::string EncodeRequest(const std::string& url, int64_t listed_length, uint64_t limit) {
    std::string out;
    PutString(out, url);
    PutU64(out, static_cast<uint64_t>(listed_length));
    PutU64(out, limit);
    return out;
}

bool DecodeRequest(std::string_view body, std::string& url, int64_t& listed_length,
                   uint64_t& limit) {
    Fields f(body);
    uint64_t listed = 0;
    if (!f.String(url, kMaxRequest) || !f.U64(listed) || !f.U64(limit) || !f.AtEnd() ||
        limit > kMaxLimit)
        return false;
    listed_length = static_cast<int64_t>(listed);
    return listed_length >= -1;
}

std::string EncodeReply(const FetchedFile& file, const FileCalls& calls) {
    std::string out;
    out.reserve(kReplyHead + file.bytes.size());
    out += static_cast<char>(file.outcome);
    PutU32(out, static_cast<uint32_t>(file.error));
    out += static_cast<char>(file.read_error ? 1 : 0);
    for (const uint64_t v :
         {calls.opens, calls.closes, calls.reads, calls.bytes, calls.fstats, calls.lookups})
        PutU64(out, v);
    PutString(out, file.bytes);
    return out;
}

bool DecodeReply(std::string_view body, size_t limit, FetchedFile& file, FileCalls& calls) {
    Fields f(body);
    uint8_t outcome = 0, read_error = 0;
    uint32_t error = 0;
    if (!f.U8(outcome) || outcome > static_cast<uint8_t>(FetchedFile::Outcome::kNotFetched) ||
        !f.U32(error) || !f.U8(read_error) || read_error > 1 || !f.U64(calls.opens) ||
        !f.U64(calls.closes) || !f.U64(calls.reads) || !f.U64(calls.bytes) ||
        !f.U64(calls.fstats) || !f.U64(calls.lookups) || !f.String(file.bytes, limit) || !f.AtEnd())
        return false;
    file.outcome = static_cast<FetchedFile::Outcome>(outcome);
    file.error = static_cast<int>(error);
    file.read_error = read_error != 0;
    // Bytes come with a whole file only; a failure names its errno.
    if (file.outcome != FetchedFile::Outcome::kRead && !file.bytes.empty()) return false;
    if (file.outcome == FetchedFile::Outcome::kFailed && file.error <= 0) return false;
    return true;
}

Status ReadFrame(int fd, size_t max, std::string& body, Deadline deadline) {
    body.clear();
    char head[4];
    size_t got = 0;
    Status s = ReadExactly(fd, head, sizeof head, got, deadline);
    if (s == Status::kEnd) return got == 0 ? Status::kEnd : Status::kRefused;
    if (s != Status::kOk) return s;
    uint32_t n = 0;
    for (int i = 0; i < 4; ++i)
        n |= static_cast<uint32_t>(static_cast<uint8_t>(head[i])) << (8 * i);
    if (n > max) return Status::kRefused;
    body.resize(n);
    s = ReadExactly(fd, body.data(), n, got, deadline);
    if (s == Status::kEnd) s = Status::kRefused;
    if (s != Status::kOk) body.clear();
    return s;
}

Status WriteFrame(int fd, std::string_view body, Deadline deadline) {
    std::string frame;
    frame.reserve(4 + body.size());
    PutU32(frame, static_cast<uint32_t>(body.size()));
    frame.append(body);
    // A reader that has gone makes the write fail with EPIPE; the signal it raises is kept from
    // this thread and taken back, so that it never ends the program.
    sigset_t pipe_only, old;
    sigemptyset(&pipe_only);
    sigaddset(&pipe_only, SIGPIPE);
    ::pthread_sigmask(SIG_BLOCK, &pipe_only, &old);
    sigset_t pending;
    sigemptyset(&pending);
    ::sigpending(&pending);
    const bool was_pending = sigismember(&pending, SIGPIPE) == 1;
    Status status = Status::kOk;
    size_t done = 0;
    while (done < frame.size()) {
        pollfd p{fd, POLLOUT, 0};
        const int ready = ::poll(&p, 1, WaitMs(deadline));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) {
            status = ready == 0 ? Status::kTimedOut : Status::kFailed;
            break;
        }
        const ssize_t w = ::write(fd, frame.data() + done, frame.size() - done);
        if (w < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            if (errno == EPIPE && !was_pending) {
                const timespec now{0, 0};
                ::sigtimedwait(&pipe_only, nullptr, &now);
            }
            status = Status::kFailed;
            break;
        }
        done += static_cast<size_t>(w);
    }
    std::fill(frame.begin(), frame.end(), '\0');  // a start frame holds a password
    ::pthread_sigmask(SIG_SETMASK, &old, nullptr);
    return status;
}

}  // namespace dv::platform::fetch_frame
