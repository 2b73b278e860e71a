// The fetch pool: every file comes back whole, in the order asked, with what a read of it one
// at a time would have found; no fstat is made; and no thread or open file outlives the pool.
#include "platform/fetch_pool.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/file_calls.h"
#include "platform/smb.h"
#include "platform/test_support.h"

namespace dv::platform {
namespace {

using dv::testing::ProcessThreads;
using dv::testing::TempFolder;
using dv::testing::WriteFile;
using Outcome = FetchedFile::Outcome;

// Entries of a /proc/self folder: the process's open descriptors (fd).
size_t Entries(const char* folder) {
    size_t n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder)) ++n;
    return n;
}

std::string Real(const std::string& path) {
    return std::filesystem::canonical(path).string();
}

TEST(FetchPool, GivesEachFileWholeInOrderWithoutAnFstat) {
    TempFolder dir;
    std::vector<FetchRequest> requests;
    std::vector<std::string> contents;
    for (int i = 0; i < 40; ++i) {
        contents.push_back(
            std::string(static_cast<size_t>(i * 97), static_cast<char>('a' + i % 26)));
        WriteFile(dir / ("F" + std::to_string(i)), contents.back());
        requests.push_back({dir / ("F" + std::to_string(i)), Real(dir.path()), 4096});
    }
    const size_t threads = ProcessThreads();
    const size_t descriptors = Entries("/proc/self/fd");
    const FileCalls before = FileCallCounts();
    {
        FetchPool pool(requests, 8, 4);
        for (size_t i = 0; i < requests.size(); ++i) {
            FetchedFile f = pool.Take(i);
            ASSERT_EQ(f.outcome, Outcome::kRead) << i;
            EXPECT_EQ(f.bytes, contents[i]) << i;
        }
        EXPECT_EQ(pool.Take(0).outcome, Outcome::kNotFetched);  // taken already
    }
    const FileCalls calls = FileCallCounts() - before;
    EXPECT_EQ(calls.opens, 40u);
    EXPECT_EQ(calls.closes, 40u);
    EXPECT_EQ(calls.reads, 40u);  // one each: the short count gives the length
    EXPECT_EQ(calls.fstats, 0u);
    EXPECT_EQ(ProcessThreads(), threads);
    EXPECT_EQ(Entries("/proc/self/fd"), descriptors);
}

// What a one-at-a-time open would refuse or miss: a missing name, a folder, a FIFO, a link
// out of the folder; a file above the limit is left to the caller.
TEST(FetchPool, ReportsWhatAnOpenOfEachWouldFind) {
    TempFolder dir, outside;
    WriteFile(dir / "ok", "12345");
    WriteFile(dir / "big", std::string(100, 'x'));
    WriteFile(dir / "exact", std::string(64, 'y'));
    std::filesystem::create_directory(dir / "folder");
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    WriteFile(outside / "secret", "s");
    std::filesystem::create_symlink(outside / "secret", dir / "out");
    const std::string inside = Real(dir.path());
    FetchPool pool({{dir / "ok", inside, 64},
                    {dir / "none", inside, 64},
                    {dir / "folder", inside, 64},
                    {dir / "fifo", inside, 64},
                    {dir / "out", inside, 64},
                    {dir / "big", inside, 64},
                    {dir / "exact", inside, 64}},
                   3);
    EXPECT_EQ(pool.Take(0).bytes, "12345");
    for (size_t i : {1u, 2u, 3u, 4u}) {
        const FetchedFile f = pool.Take(i);
        EXPECT_EQ(f.outcome, Outcome::kFailed) << i;
        EXPECT_EQ(f.error, ENOENT) << i;
        EXPECT_FALSE(f.read_error) << i;
    }
    EXPECT_EQ(pool.Take(5).outcome, Outcome::kTooLarge);
    const FetchedFile exact = pool.Take(6);
    EXPECT_EQ(exact.outcome, Outcome::kRead);
    EXPECT_EQ(exact.bytes.size(), 64u);
}

// A worker that fails hands its error to the caller; one that throws, or a backend that gives
// no fetcher, leaves the file to the caller; no worker at all, every file.
TEST(FetchPool, FailuresOfABackendReachTheCaller) {
    struct Failing : FileFetcher {
        FetchedFile Fetch(const FetchRequest& request) override {
            if (request.local_path == "throw") throw std::runtime_error("lost connection");
            FetchedFile f;
            f.outcome = Outcome::kFailed;
            f.error = EIO;
            f.read_error = true;
            return f;
        }
    };
    {
        FetchPool pool({{"eio", "", 8}, {"throw", "", 8}}, 2, 64,
                       [] { return std::make_unique<Failing>(); });
        const FetchedFile f = pool.Take(0);
        EXPECT_EQ(f.outcome, Outcome::kFailed);
        EXPECT_EQ(f.error, EIO);
        EXPECT_TRUE(f.read_error);
        EXPECT_EQ(pool.Take(1).outcome, Outcome::kNotFetched);
    }
    {
        FetchPool pool({{"a", "", 8}}, 4, 64, []() -> std::unique_ptr<FileFetcher> {
            throw std::runtime_error("no connection");
        });
        EXPECT_EQ(pool.Take(0).outcome, Outcome::kNotFetched);
    }
    FetchPool none({{"a", "", 8}}, 0);
    EXPECT_EQ(none.workers(), 0);
    EXPECT_EQ(none.Take(0).outcome, Outcome::kNotFetched);
}

// The workers stay within `ahead` files of the one the caller takes next, and a pool dropped
// before its files are taken stops and joins its workers.
TEST(FetchPool, FetchesNoFurtherAheadThanAskedAndStopsWhenDropped) {
    struct Counting : FileFetcher {
        explicit Counting(std::atomic<int>& n) : n_(n) {}
        FetchedFile Fetch(const FetchRequest&) override {
            ++n_;
            FetchedFile f;
            f.outcome = Outcome::kRead;
            return f;
        }
        std::atomic<int>& n_;
    };
    std::atomic<int> fetched{0};
    const size_t threads = ProcessThreads();
    {
        std::vector<FetchRequest> requests(100, FetchRequest{"x", "", 8});
        FetchPool pool(requests, 4, 5, [&] { return std::make_unique<Counting>(fetched); });
        EXPECT_EQ(pool.Take(0).outcome, Outcome::kRead);
        EXPECT_EQ(pool.Take(1).outcome, Outcome::kRead);
        // Taken up to 1: at most requests 2 to 6 may be fetched besides.
        EXPECT_LE(fetched.load(), 7);
    }
    EXPECT_LE(fetched.load(), 7);
    EXPECT_EQ(ProcessThreads(), threads);
}

// The growth rule: over SMB every worker starts with the pool (at most the helpers that serve
// them), for local paths two do and the others wait for the caller to wait; never more workers
// than files.
TEST(FetchPool, GrowthStartsEveryWorkerOverSmbAndTwoForLocalPaths) {
    constexpr const char* kLocal = "/data/D01/PO1";
    constexpr const char* kShare = "smb://server/share/D01/PO1";
    constexpr auto kSmb = static_cast<size_t>(kSmbFetchWorkers);
    struct Case {
        const char* path;
        size_t files;
        int workers;
        size_t most, first;
    };
    const Case cases[] = {
        {kLocal, 30, 8, 8, 2}, {kLocal, 30, 1, 1, 1},        {kLocal, 3, 8, 3, 2},
        {kLocal, 30, 0, 0, 0}, {kLocal, 30, -1, 0, 0},       {kLocal, 0, 8, 0, 0},
        {kShare, 30, 8, 8, 8}, {kShare, 30, 64, kSmb, kSmb}, {kShare, 5, 8, 5, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.path) + " files " + std::to_string(c.files) + " workers " +
                     std::to_string(c.workers));
        const FetchGrowth g = FetchGrowth::For(
            std::vector<FetchRequest>(c.files, FetchRequest{c.path, "", 8}), c.workers);
        EXPECT_EQ(g.workers, c.most);
        EXPECT_EQ(g.first, c.first);
        const bool local = c.path == kLocal;
        EXPECT_EQ(g.grow_after,
                  local ? FetchGrowth::kLocalGrowAfter : std::chrono::microseconds(0));
    }
}

// Fetches that keep the caller waiting start the other workers: every fetch here holds until
// eight are in flight at once, which only a pool grown to all its workers reaches. Over SMB all
// eight run from the start.
TEST(FetchPool, AllWorkersFetchAtOnceWhenTheCallerWaits) {
    struct Gathering : FileFetcher {
        explicit Gathering(std::atomic<int>& in_flight) : in_flight_(in_flight) {}
        FetchedFile Fetch(const FetchRequest&) override {
            ++in_flight_;
            const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(20);
            while (in_flight_.load() < 8 && std::chrono::steady_clock::now() < give_up)
                std::this_thread::sleep_for(std::chrono::microseconds(100));
            FetchedFile f;
            f.outcome = in_flight_.load() >= 8 ? Outcome::kRead : Outcome::kFailed;
            return f;
        }
        std::atomic<int>& in_flight_;
    };
    for (const auto& [path, started] : {std::pair{"x", 2}, std::pair{"smb://server/share/x", 8}}) {
        SCOPED_TRACE(path);
        std::atomic<int> in_flight{0};
        const size_t threads = ProcessThreads();
        {
            std::vector<FetchRequest> requests(30, FetchRequest{path, "", 8});
            FetchPool pool(requests, 8, 64, [&] { return std::make_unique<Gathering>(in_flight); });
            EXPECT_EQ(pool.workers(), started);  // until the caller waits
            for (size_t i = 0; i < requests.size(); ++i)
                ASSERT_EQ(pool.Take(i).outcome, Outcome::kRead) << i;
            EXPECT_EQ(pool.workers(), 8);
        }
        EXPECT_EQ(ProcessThreads(), threads);
    }
}

}  // namespace
}  // namespace dv::platform
