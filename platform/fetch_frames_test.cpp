// The fetch helper's frames: what is written reads back whole, and a reply that is cut short,
// longer than the file asked for, or not a reply at all is refused rather than trusted.
#include "platform/fetch_frames.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <string>

namespace dv::platform {
namespace {

using Outcome = FetchedFile::Outcome;
using fetch_frame::Status;

FetchedFile Read(std::string bytes) {
    FetchedFile f;
    f.outcome = Outcome::kRead;
    f.bytes = std::move(bytes);
    return f;
}

TEST(FetchFrame, StartRequestAndReplyReadBack) {
    SmbSessionLogin login{false, true, {"dvuser", "p\0ss", "WORK"}, "smb://h:4450/S"};
    SmbSessionLogin back;
    ASSERT_TRUE(fetch_frame::DecodeStart(fetch_frame::EncodeStart(login), back));
    EXPECT_EQ(back.login.user, "dvuser");
    EXPECT_EQ(back.login.password, login.login.password);
    EXPECT_EQ(back.login.domain, "WORK");
    EXPECT_FALSE(back.kerberos);
    EXPECT_TRUE(back.anonymous_after);
    EXPECT_EQ(back.share, "smb://h:4450/S");

    std::string url;
    int64_t listed = 0;
    uint64_t limit = 0;
    ASSERT_TRUE(fetch_frame::DecodeRequest(
        fetch_frame::EncodeRequest("smb://h:4450/S/D01/P1", -1, 4096), url, listed, limit));
    EXPECT_EQ(url, "smb://h:4450/S/D01/P1");
    EXPECT_EQ(listed, -1);
    EXPECT_EQ(limit, 4096u);

    FileCalls calls;
    calls.opens = 1;
    calls.reads = 2;
    calls.bytes = 70000;
    FetchedFile file;
    FileCalls calls_back;
    ASSERT_TRUE(fetch_frame::DecodeReply(fetch_frame::EncodeReply(Read("abc"), calls), 3, file,
                                         calls_back));
    EXPECT_EQ(file.outcome, Outcome::kRead);
    EXPECT_EQ(file.bytes, "abc");
    EXPECT_EQ(calls_back.Calls(), 3u);
    EXPECT_EQ(calls_back.bytes, 70000u);
}

TEST(FetchFrame, AReplyThatIsNotWholeOrTooLongIsRefused) {
    const std::string good = fetch_frame::EncodeReply(Read("0123456789"), {});
    FetchedFile failed;
    failed.outcome = Outcome::kFailed;
    failed.error = 0;  // a failure without its reason
    FetchedFile too_large;
    too_large.outcome = Outcome::kTooLarge;
    too_large.bytes = "x";  // bytes with no whole file
    std::string bad_outcome = good;
    bad_outcome[0] = 9;
    struct Case {
        const char* what;
        std::string body;
        size_t limit;
    };
    const Case cases[] = {
        {"longer than the limit", good, 9},
        {"one byte left over", good + "x", 10},
        {"an unknown outcome", bad_outcome, 10},
        {"a failure with no errno", fetch_frame::EncodeReply(failed, {}), 10},
        {"bytes with no whole file", fetch_frame::EncodeReply(too_large, {}), 10},
        {"empty", "", 10},
    };
    for (const Case& c : cases) {
        FetchedFile file;
        FileCalls calls;
        EXPECT_FALSE(fetch_frame::DecodeReply(c.body, c.limit, file, calls)) << c.what;
    }
    // Cut short anywhere.
    for (size_t n = 0; n < good.size(); ++n) {
        FetchedFile file;
        FileCalls calls;
        EXPECT_FALSE(fetch_frame::DecodeReply(good.substr(0, n), 10, file, calls)) << n;
    }
    FetchedFile file;
    FileCalls calls;
    EXPECT_TRUE(fetch_frame::DecodeReply(good, 10, file, calls));
}

class Pipe {
  public:
    Pipe() { EXPECT_EQ(::pipe2(fds_, O_CLOEXEC | O_NONBLOCK), 0); }
    ~Pipe() {
        CloseWriter();
        ::close(fds_[0]);
    }
    int reader() const { return fds_[0]; }
    int writer() const { return fds_[1]; }
    void Write(const std::string& bytes) {
        ASSERT_EQ(::write(fds_[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    void CloseWriter() {
        if (fds_[1] >= 0) ::close(fds_[1]);
        fds_[1] = -1;
    }

  private:
    int fds_[2] = {-1, -1};
};

fetch_frame::Deadline Soon() {
    return std::chrono::steady_clock::now() + std::chrono::milliseconds(200);
}

TEST(FetchFrame, AFrameOnAPipeIsReadWholeOrRefused) {
    const std::string frame_of_5 = std::string("\x05\0\0\0", 4) + "hello";
    struct Case {
        const char* what;
        std::string bytes;
        bool close_after;
        size_t max;
        Status status;
    };
    const Case cases[] = {
        {"a whole frame", frame_of_5, false, 5, Status::kOk},
        {"longer than the reader takes", frame_of_5, false, 4, Status::kRefused},
        {"a length of 4 GiB", "\xff\xff\xff\xff", false, 1 << 20, Status::kRefused},
        {"cut short by the writer's end", frame_of_5.substr(0, 7), true, 5, Status::kRefused},
        {"cut short in its length", frame_of_5.substr(0, 2), true, 5, Status::kRefused},
        {"the writer ended before a frame", "", true, 5, Status::kEnd},
        {"cut short, the writer still there", frame_of_5.substr(0, 7), false, 5, Status::kTimedOut},
        {"nothing yet", "", false, 5, Status::kTimedOut},
    };
    for (const Case& c : cases) {
        Pipe pipe;
        pipe.Write(c.bytes);
        if (c.close_after) pipe.CloseWriter();
        std::string body;
        EXPECT_EQ(fetch_frame::ReadFrame(pipe.reader(), c.max, body, Soon()), c.status) << c.what;
        if (c.status == Status::kOk) {
            EXPECT_EQ(body, "hello");
        }
    }
}

TEST(FetchFrame, WritingToAReaderThatHasGoneFailsWithoutASignal) {
    int fds[2];
    ASSERT_EQ(::pipe2(fds, O_CLOEXEC), 0);
    ::close(fds[0]);
    // SIGPIPE's default would end this test program.
    EXPECT_EQ(fetch_frame::WriteFrame(fds[1], "request", Soon()), Status::kFailed);
    ::close(fds[1]);
}

}  // namespace
}  // namespace dv::platform
