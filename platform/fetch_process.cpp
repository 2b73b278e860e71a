#include "platform/fetch_process.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <string>

#include "platform/fetch_frames.h"
#include "platform/fetch_helper_set.h"
#include "platform/file.h"
#include "platform/file_calls.h"
#include "platform/smb.h"

namespace dv::platform {
namespace {

// The helpers start when the program's connection first logs in to a server, while the program
// goes on with its start-up: registered wherever this fetcher is linked in, the one way helpers
// are used.
[[maybe_unused]] const bool g_warm_on_login = [] {
    SetSmbLoginListener(WarmFetchProcesses);
    return true;
}();

class ProcessFetcher : public FileFetcher {
  public:
    ~ProcessFetcher() override { GiveBackFetchHelper(std::move(helper_)); }

    FetchedFile Fetch(const FetchRequest& request) override {
        if (!IsShareUrl(request.local_path)) {
            if (!local_) local_ = MakeLocalFetcher();
            return local_->Fetch(request);
        }
        // Replaced, the program's connection is the only one: the caller opens every file.
        if (ProgramShareConnectionReplaced()) return FetchedFile();
        if (!request.inside.empty() && !LiesInside(request.local_path, request.inside)) {
            FetchedFile out;
            out.outcome = FetchedFile::Outcome::kFailed;
            out.error = ENOENT;
            return out;
        }
        const std::string body = fetch_frame::EncodeRequest(
            request.local_path, request.listed_length, static_cast<uint64_t>(request.limit));
        if (body.size() > fetch_frame::kMaxRequest) return FetchedFile();
        const std::string server = ShareServer(request.local_path);
        if (helper_ && helper_->server != server) GiveBackFetchHelper(std::move(helper_));
        if (!helper_) helper_ = BorrowFetchHelper(server);
        if (!helper_) return FetchedFile();
        FetchedFile out;
        FileCalls calls;
        if (!Ask(body, request, out, calls)) {
            DropFetchHelper(std::move(helper_));
            return FetchedFile();
        }
        count::Add(calls);
        // Every failure but a missing file is left to the caller's own open.
        if (out.outcome == FetchedFile::Outcome::kFailed && out.error != ENOENT)
            return FetchedFile();
        return out;
    }

  private:
    bool Ask(const std::string& body, const FetchRequest& request, FetchedFile& out,
             FileCalls& calls) {
        using fetch_frame::Status;
        // A connection of its own, the length, the open, each read and the close.
        const size_t reads = request.limit / (64 * 1024) + 1;
        const auto deadline =
            std::chrono::steady_clock::now() + FetchCallWait() * static_cast<int>(5 + reads);
        if (fetch_frame::WriteFrame(helper_->to, body, deadline) != Status::kOk) return false;
        std::string reply;
        if (fetch_frame::ReadFrame(helper_->from, fetch_frame::MaxReply(request.limit), reply,
                                   deadline) != Status::kOk)
            return false;
        return fetch_frame::DecodeReply(reply, request.limit, out, calls);
    }

    std::unique_ptr<FetchHelper> helper_;
    std::unique_ptr<FileFetcher> local_;
};

}  // namespace

std::unique_ptr<FileFetcher> MakeProcessFetcher() {
    return std::make_unique<ProcessFetcher>();
}

}  // namespace dv::platform
