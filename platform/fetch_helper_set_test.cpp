// The fetch helpers with a stand-in helper that needs no server (fake_fetch_helper.cpp): one is
// started when none is idle and reused after, what it answers is what the fetcher gives, and one
// that dies, answers garbage or does not answer in time is ended, reaped and replaced.
#include "platform/fetch_helper_set.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/fetch_pool.h"
#include "platform/fetch_process.h"
#include "platform/file_calls.h"
#include "platform/smb.h"
#include "platform/test_support.h"

namespace dv::platform {
namespace {

using Outcome = FetchedFile::Outcome;

constexpr char kServer[] = "fetch-test.invalid:1";

FetchRequest Request(const std::string& what, std::string inside = "") {
    return {std::string("smb://") + kServer + "/S/D01/" + what, std::move(inside), 4096};
}

// The helper's process id, from its answer to whoami; -1 without one.
pid_t Who(FileFetcher& fetcher) {
    const FetchedFile f = fetcher.Fetch(Request("whoami"));
    if (f.outcome != Outcome::kRead || f.bytes.rfind("dvuser ", 0) != 0) return -1;
    return std::stoi(f.bytes.substr(7));
}

// True once pid is no child of this process any more: ended and reaped.
bool Reaped(pid_t pid) {
    return ::waitpid(pid, nullptr, WNOHANG) == -1 && errno == ECHILD;
}

class FetchHelperSetTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SmbSessionLogin login;
        login.login.user = "dvuser";
        login.login.domain = starts_;  // the stand-in notes each start there
        SetProgramLogin(kServer, login);
        SetFetchHelperPath(DASHVANE_FAKE_FETCH);
    }
    void TearDown() override {
        EndFetchProcesses();
        SetFetchCallWait({});
        SetFetchHelperPath("");
        SetProgramLogin(kServer, std::nullopt);
    }

    // The helpers started so far.
    size_t Starts() const {
        const std::string log = testing::ReadFileBytes(starts_);
        return static_cast<size_t>(std::count(log.begin(), log.end(), '\n'));
    }

    testing::TempFolder dir_;
    const std::string starts_ = dir_ / "starts";
};

TEST_F(FetchHelperSetTest, AHelperIsStartedWhenNoneIsIdleAndReusedAfter) {
    pid_t first = -1;
    {
        const auto a = MakeProcessFetcher();
        first = Who(*a);
        ASSERT_GT(first, 0);
        EXPECT_EQ(Who(*a), first);  // kept while the fetcher lives
        const auto b = MakeProcessFetcher();
        const pid_t second = Who(*b);
        EXPECT_GT(second, 0);
        EXPECT_NE(second, first);
    }
    // Given back: the next fetchers take them.
    for (int i = 0; i < 3; ++i) EXPECT_GT(Who(*MakeProcessFetcher()), 0);
    EXPECT_EQ(Starts(), 2u);

    // Ended, none is left unreaped, and the next fetch starts one anew.
    EndFetchProcesses();
    EXPECT_TRUE(Reaped(first));
    EXPECT_GT(Who(*MakeProcessFetcher()), 0);
    EXPECT_EQ(Starts(), 3u);
    EndFetchProcesses();

    // Warmed, as many start as the fetches over SMB use: that many fetchers at once take those,
    // one more starts one more.
    const size_t warm = static_cast<size_t>(std::min(FetchWorkers(), kSmbFetchWorkers));
    WarmFetchProcesses(kServer);
    std::vector<std::unique_ptr<FileFetcher>> fetchers;
    std::set<pid_t> helpers;
    for (size_t i = 0; i <= warm; ++i) {
        fetchers.push_back(MakeProcessFetcher());
        helpers.insert(Who(*fetchers.back()));
    }
    EXPECT_EQ(helpers.size(), warm + 1);
    EXPECT_EQ(Starts(), 3 + warm + 1);
    EXPECT_EQ(helpers.count(-1), 0u);

    // A helper program that is not there fails the fetch, and is not tried again.
    fetchers.clear();
    EndFetchProcesses();
    SetFetchHelperPath(dir_ / "no-such-program");
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(MakeProcessFetcher()->Fetch(Request("whoami")).outcome, Outcome::kNotFetched);
}

TEST_F(FetchHelperSetTest, WhatTheHelperAnswersIsWhatTheFetcherGives) {
    struct Case {
        const char* what;
        std::string inside;
        Outcome outcome;
        int error;
        uint64_t calls;  // the helper's, counted as this program's
    };
    const Case cases[] = {
        {"whoami", "", Outcome::kRead, 0, 3},
        {"missing", "", Outcome::kFailed, ENOENT, 3},
        // Any other failure is left to the caller's own open, which meets it and reports it.
        {"refused", "", Outcome::kNotFetched, 0, 3},
        {"large", "", Outcome::kTooLarge, 0, 3},
        // Outside the folder it must lie in: missing, and the helper is not asked.
        {"whoami", std::string("smb://") + kServer + "/T", Outcome::kFailed, ENOENT, 0},
    };
    const auto fetcher = MakeProcessFetcher();
    const pid_t helper = Who(*fetcher);
    ASSERT_GT(helper, 0);
    for (const Case& c : cases) {
        const FileCalls before = FileCallCounts();
        const FetchedFile f = fetcher->Fetch(Request(c.what, c.inside));
        EXPECT_EQ(f.outcome, c.outcome) << c.what;
        EXPECT_EQ(f.error, c.error) << c.what;
        EXPECT_EQ((FileCallCounts() - before).Calls(), c.calls) << c.what;
    }
    EXPECT_EQ(Who(*fetcher), helper);  // none of these ends the helper
    EXPECT_EQ(Starts(), 1u);
}

TEST_F(FetchHelperSetTest, AHelperThatMisbehavesIsEndedAndAnotherTakesItsPlace) {
    const auto fetcher = MakeProcessFetcher();
    for (const char* what : {"die", "garbage", "long", "hang"}) {
        const pid_t before = Who(*fetcher);
        ASSERT_GT(before, 0) << what;
        const size_t starts = Starts();
        // A helper that does not answer is given six calls' wait: short here.
        if (std::string(what) == "hang") SetFetchCallWait(std::chrono::milliseconds(50));
        EXPECT_EQ(fetcher->Fetch(Request(what)).outcome, Outcome::kNotFetched) << what;
        SetFetchCallWait({});
        EXPECT_TRUE(Reaped(before)) << what;
        const pid_t after = Who(*fetcher);
        EXPECT_GT(after, 0) << what;
        EXPECT_NE(after, before) << what;
        EXPECT_EQ(Starts(), starts + 1) << what;
    }

    // Once helpers have failed often enough this run, none is started any more.
    SetFetchHelperPath(DASHVANE_FAKE_FETCH);  // failures counted afresh
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(fetcher->Fetch(Request("die")).outcome, Outcome::kNotFetched) << i;
    const size_t starts = Starts();
    EXPECT_EQ(fetcher->Fetch(Request("whoami")).outcome, Outcome::kNotFetched);
    EXPECT_EQ(Starts(), starts);
}

}  // namespace
}  // namespace dv::platform
