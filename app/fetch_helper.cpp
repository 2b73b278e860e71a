#include "app/fetch_helper.h"

#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/fetch_frames.h"
#include "platform/fetch_pool.h"
#include "platform/file_calls.h"
#include "platform/smb.h"

namespace dv {

int RunFetchHelper(int in, int out) {
    using namespace platform;
    using fetch_frame::Status;
    // Never outlives the program; one that has already gone is not waited for.
    const pid_t parent = ::getppid();
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent) return 1;
    try {
        std::string body;
        if (fetch_frame::ReadFrame(in, fetch_frame::kMaxStart, body, {}) != Status::kOk) return 1;
        SmbSessionLogin login;
        const bool started = fetch_frame::DecodeStart(body, login);
        std::fill(body.begin(), body.end(), '\0');
        if (!started) return 2;
        const ScopedShareConnection use(NewSmbConnection(login));
        // The calling thread's connection, reporting every failure: the parent decides.
        const std::unique_ptr<FileFetcher> fetcher = MakeSmbFetcher();
        // The calls made since the last reply, the connection's first included: each reply
        // reports them, so that the program counts every call its helpers made.
        FileCalls before = FileCallCounts();
        if (IsShareUrl(login.share)) {
            // Connected while the program still loads its first views; a failure here is met
            // again, and reported, by the first fetch.
            RemoteEntry root;
            CurrentShareConnection().Stat(login.share, root);
        }
        while (true) {
            const Status s = fetch_frame::ReadFrame(in, fetch_frame::kMaxRequest, body, {});
            if (s == Status::kEnd) return 0;
            if (s != Status::kOk) return 2;
            FetchRequest request;
            uint64_t limit = 0;
            if (!fetch_frame::DecodeRequest(body, request.local_path, request.listed_length, limit))
                return 2;
            request.limit = static_cast<size_t>(limit);
            FetchedFile file;
            if (IsShareUrl(request.local_path)) {
                file = fetcher->Fetch(request);
            } else {
                file.outcome = FetchedFile::Outcome::kFailed;
                file.error = ENOENT;  // only the share is read here
            }
            if (fetch_frame::WriteFrame(out,
                                        fetch_frame::EncodeReply(file, FileCallCounts() - before),
                                        {}) != Status::kOk)
                return 1;
            before = FileCallCounts();
        }
    } catch (...) {
        return 3;
    }
}

}  // namespace dv
