// The share read over SMB, through the connection seam with a server in memory: where a path is
// read from, how many calls reach the server, and the credentials file's checks.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/fake_share.h"
#include "platform/file.h"
#include "platform/file_calls.h"
#include "platform/paths.h"
#include "platform/share.h"
#include "platform/smb.h"
#include "platform/test_support.h"

namespace dv::platform {
namespace {

using dv::testing::ScopedEnv;
using dv::testing::ScopedFakeShare;
using dv::testing::TempFolder;
using dv::testing::WriteFile;

// libsmbclient is loaded with the first SMB connection, never by reading a local folder: its
// binding costs every start-up 20 ms. Run in a fresh process of its own (the test program
// started again for this test alone), where no other test has made a connection yet.
TEST(SmbLibraryTest, IsLoadedByTheFirstConnectionAndNotByLocalReads) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto loaded = [] {
        void* handle = ::dlopen("libsmbclient.so.0", RTLD_LAZY | RTLD_NOLOAD);
        if (handle != nullptr) ::dlclose(handle);
        return handle != nullptr;
    };
    EXPECT_EXIT(
        {
            TempFolder dir;
            WriteFile(dir / "F", "abc");
            int error = 0;
            const auto file = ReadOnlyFile::Open(dir / "F", &error,
                                                 std::filesystem::canonical(dir.path()).string());
            std::string bytes;
            const bool read = file && file->ReadAt(0, 3, bytes) == 0 && bytes == "abc";
            const bool before = loaded();
            const std::shared_ptr<ShareConnection> connection = NewSmbConnection();
            std::_Exit(read && !before && loaded() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

class SmbSeamTest : public ::testing::Test {
  protected:
    SmbSeamTest() : env_("DASHVANE_SHARES", root_.path()), port_("DASHVANE_SMB_PORT", "") {
        std::filesystem::create_directories(root_ / "DS1/TMARLNK");
        share_->AddFile("smb://ds2/tmarlnk/D01/FILE0", std::string(1000, 'f'));
        share_->AddFile("smb://ds2/tmarlnk/D01/Sub/X", "x");
        share_->AddFile("smb://ds2/tmarlnk/ttymap", "WS7 7\n");
        ResetPathCache();
    }
    // Opens a Windows path as the engine does: inside its share.
    std::shared_ptr<ReadOnlyFile> OpenShare(const std::string& windows_path, int& error) {
        const auto local = LocalPath(windows_path);
        const auto inside = ShareFolder(windows_path);
        if (!local || !inside) return nullptr;
        return ReadOnlyFile::Open(*local, &error, *inside);
    }

    TempFolder root_;
    ScopedEnv env_;
    ScopedEnv port_;
    ScopedFakeShare share_;
};

TEST_F(SmbSeamTest, AShareWithoutALocalFolderIsReadFromItsServer) {
    // A mapped share stays local; the other is asked of its server, names matched as listed.
    EXPECT_EQ(LocalPath("\\\\DS1\\TMARLNK\\D01\\FILE0"), root_ / "DS1/TMARLNK/D01/FILE0");
    EXPECT_EQ(LocalPath("\\\\ds2\\tmarlnk\\d01\\file0"), "smb://ds2/tmarlnk/D01/FILE0");
    EXPECT_EQ(ShareFolder("\\\\ds2\\tmarlnk\\d01\\file0"), "smb://ds2/tmarlnk");
    EXPECT_EQ(share_->opens, 0);
    const ScopedEnv port("DASHVANE_SMB_PORT", "4450");
    ResetPathCache();
    share_->AddFile("smb://ds2:4450/tmarlnk/D01/FILE0", "x");
    EXPECT_EQ(LocalPath("\\\\ds2\\tmarlnk\\D01\\FILE0"), "smb://ds2:4450/tmarlnk/D01/FILE0");
}

// The listing gives the length: one open and one read per whole file, no status request, and a
// read that asks for more than is left is not repeated.
TEST_F(SmbSeamTest, AFileIsOpenedWithItsListedLengthAndReadToItsEndInOneRequest) {
    int error = -1;
    const auto file = OpenShare("\\\\ds2\\tmarlnk\\D01\\FILE0", error);
    ASSERT_TRUE(file) << error;
    EXPECT_EQ(file->OpenedLength(), 1000);
    EXPECT_EQ(share_->stats, 0);
    EXPECT_EQ(share_->opens, 1);
    std::string out;
    ASSERT_EQ(file->ReadAt(990, 512, out), 0);
    EXPECT_EQ(out, std::string(10, 'f') + std::string(502, '\0'));
    EXPECT_EQ(share_->reads, 1);
    ASSERT_EQ(file->ReadAt(0, 1000, out), 0);
    EXPECT_EQ(share_->reads, 2);
    EXPECT_EQ(share_->fstats, 0);
}

TEST_F(SmbSeamTest, AFileThatGrewIsReadPastItsListedLength) {
    int error = -1;
    const auto file = OpenShare("\\\\ds2\\tmarlnk\\D01\\FILE0", error);
    ASSERT_TRUE(file);
    share_->nodes["smb://ds2/tmarlnk/D01/FILE0"].bytes += "grown";
    std::string out;
    ASSERT_EQ(file->ReadAt(998, 10, out), 0);
    EXPECT_EQ(out, std::string("ffgrown") + std::string(3, '\0'));
    int64_t length = 0;
    ASSERT_EQ(file->Length(length), 0);
    EXPECT_EQ(length, 1005);
    EXPECT_EQ(share_->fstats, 1);
}

TEST_F(SmbSeamTest, OnlyOrdinaryFilesInsideTheShareAreOpened) {
    int error = 0;
    EXPECT_FALSE(OpenShare("\\\\ds2\\tmarlnk\\D01\\Sub", error));  // a folder
    EXPECT_EQ(error, ENOENT);
    EXPECT_FALSE(OpenShare("\\\\ds2\\tmarlnk\\D01\\NOPE", error));
    EXPECT_EQ(error, ENOENT);
    EXPECT_FALSE(ReadOnlyFile::Open("smb://ds2/tmarlnk/D01/FILE0", &error, "smb://ds2/other"));
    EXPECT_EQ(error, ENOENT);
    EXPECT_EQ(share_->opens, 0);  // none of them reached the server
    // Nothing on the share is ever opened for writing.
    EXPECT_FALSE(WritableFile::Open("smb://ds2/tmarlnk/D01/FILE0", &error));
    EXPECT_EQ(error, EROFS);
}

// A document fetched whole: the listed length spares the status request and bounds the reads
// (64 KiB a request, none past the end); a listed length above the limit opens nothing. A
// fetch worker, while the program's connection is a replaced one, leaves every file to the
// caller.
TEST_F(SmbSeamTest, AFetchReadsToTheListedLengthAndNoFurther) {
    using Outcome = FetchedFile::Outcome;
    share_->AddFile("smb://ds2/tmarlnk/D01/BIG", std::string(64 * 1024 + 10, 'b'));
    const std::unique_ptr<FileFetcher> fetcher = MakeSmbFetcher();
    struct Case {
        const char* url;
        int64_t listed;
        size_t limit;
        Outcome outcome;
        size_t bytes;
        int opens, reads, stats;
    };
    const Case cases[] = {
        {"smb://ds2/tmarlnk/D01/FILE0", 1000, 4096, Outcome::kRead, 1000, 1, 1, 0},
        {"smb://ds2/tmarlnk/D01/BIG", 64 * 1024 + 10, 1 << 20, Outcome::kRead, 64 * 1024 + 10, 1, 2,
         0},
        {"smb://ds2/tmarlnk/D01/FILE0", -1, 4096, Outcome::kRead, 1000, 1, 1, 1},
        {"smb://ds2/tmarlnk/D01/FILE0", 1000, 999, Outcome::kTooLarge, 0, 0, 0, 0},
        {"smb://ds2/tmarlnk/D01/NONE", -1, 4096, Outcome::kFailed, 0, 0, 0, 1},
        {"smb://ds2/tmarlnk/D01/Sub", -1, 4096, Outcome::kFailed, 0, 0, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.url) + " listed " + std::to_string(c.listed));
        const int opens = share_->opens, reads = share_->reads, stats = share_->stats;
        FetchRequest request{c.url, "smb://ds2/tmarlnk", c.limit};
        request.listed_length = c.listed;
        const FetchedFile fetched = fetcher->Fetch(request);
        EXPECT_EQ(fetched.outcome, c.outcome);
        EXPECT_EQ(fetched.bytes.size(), c.bytes);
        if (c.outcome == Outcome::kFailed) {
            EXPECT_EQ(fetched.error, ENOENT);
        }
        EXPECT_EQ(share_->opens - opens, c.opens);
        EXPECT_EQ(share_->reads - reads, c.reads);
        EXPECT_EQ(share_->stats - stats, c.stats);
    }
    // Outside the share: refused before any call.
    const int calls = share_->opens + share_->stats;
    EXPECT_EQ(fetcher->Fetch({"smb://ds2/other/X", "smb://ds2/tmarlnk", 4096}).error, ENOENT);
    EXPECT_EQ(share_->opens + share_->stats, calls);
}

TEST_F(SmbSeamTest, TheShareCheckAsksTheServerAndKeepsTheListing) {
    const ShareCheck ok = CheckShare("\\\\ds2\\tmarlnk\\");
    EXPECT_TRUE(ok.ok);
    EXPECT_TRUE(ok.over_smb);
    EXPECT_EQ(ok.place, "smb://ds2/tmarlnk");
    const int lists = share_->lists;
    EXPECT_EQ(LocalPath("\\\\ds2\\tmarlnk\\TTYMAP"), "smb://ds2/tmarlnk/ttymap");
    EXPECT_EQ(share_->lists, lists);  // found in the share check's listing

    share_->fail = EACCES;
    const ShareCheck refused = CheckShare("\\\\ds2\\tmarlnk\\");
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.reason, "Permission denied");
    share_->fail = ECONNREFUSED;
    EXPECT_EQ(CheckShare("\\\\ds2\\tmarlnk\\").reason,
              "the server does not answer on its SMB port (connection refused)");
    // A share folder mounted meanwhile is found by the next check.
    std::filesystem::create_directories(root_ / "ds2/TMARLNK");
    const ShareCheck local = CheckShare("\\\\ds2\\tmarlnk\\");
    EXPECT_TRUE(local.ok);
    EXPECT_FALSE(local.over_smb);
}

// Runs check in a child process without root's rights (as nobody), so that permissions count;
// gives what it wrote.
std::string Unprivileged(const std::function<std::string()>& check) {
    int fds[2];
    if (::pipe(fds) != 0) return "pipe failed";
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
        const std::string text = check();
        const ssize_t n = ::write(fds[1], text.data(), text.size());
        ::_exit(n == static_cast<ssize_t>(text.size()) ? 0 : 3);
    }
    ::close(fds[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<size_t>(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return text;
}

// A share folder or a temporary folder that is there but can't be read says why; a missing one
// says nothing more.
TEST_F(SmbSeamTest, AFolderThatCanNotBeReadNamesTheSystemsReason) {
    ::chmod(root_.path().c_str(), 0755);
    std::filesystem::create_directories(root_ / "DS3/TMARLNK");
    ::chmod((root_ / "DS3/TMARLNK").c_str(), 0);
    const std::string text = Unprivileged([] {
        const ShareCheck check = CheckShare("\\\\DS3\\TMARLNK\\");
        return std::string(check.ok ? "ok" : "failed") + (check.over_smb ? " smb" : " local") +
               ": " + check.reason;
    });
    EXPECT_EQ(text, "failed local: Permission denied");
    EXPECT_EQ(Unprivileged([&] { return FolderReadFailure(root_ / "DS3/TMARLNK"); }),
              "Permission denied");
    EXPECT_EQ(FolderReadFailure(root_ / "missing"), "");
    EXPECT_EQ(FolderReadFailure(root_ / "DS1"), "");
    ::chmod((root_ / "DS3/TMARLNK").c_str(), 0755);
}

TEST(SmbCredentialsTest, TheFileIsReadAsMountCifsReadsItAndOnlyWhenPrivate) {
    TempFolder folder;
    const std::string path = folder / "smb-credentials";
    struct Case {
        const char* text;
        mode_t mode;
        const char* user;  // nullptr: refused
        const char* password;
        const char* domain;
        const char* refusal;  // part of the refusal
    };
    const Case cases[] = {
        {"username=ann\npassword=se=cret\ndomain=NORTH\n", 0600, "ann", "se=cret", "NORTH", ""},
        {"user=NORTH/ann%pw\r\n", 0400, "ann", "pw", "NORTH", ""},
        {"username=ann\npassword=x\n", 0640, nullptr, "", "", "mode 0640"},
        {"username=ann\npassword=x\n", 0604, nullptr, "", "", "chmod 600"},
        {"password=x\n", 0600, nullptr, "", "", "names no user"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        WriteFile(path, c.text);
        ::chmod(path.c_str(), c.mode);
        std::string refusal;
        const auto login = ReadSmbCredentials(path, &refusal);
        if (c.user == nullptr) {
            EXPECT_FALSE(login);
            EXPECT_NE(refusal.find(c.refusal), std::string::npos) << refusal;
            EXPECT_NE(refusal.find(path), std::string::npos) << refusal;
            continue;
        }
        ASSERT_TRUE(login) << refusal;
        EXPECT_EQ(login->user, c.user);
        EXPECT_EQ(login->password, c.password);
        EXPECT_EQ(login->domain, c.domain);
    }
    std::string refusal;
    EXPECT_FALSE(ReadSmbCredentials(folder / "none", &refusal));
    EXPECT_EQ(refusal, "");

    const ScopedEnv config("XDG_CONFIG_HOME", folder.path());
    EXPECT_EQ(SmbCredentialsPath(), folder / "dashvane/smb-credentials");
}

}  // namespace
}  // namespace dv::platform
