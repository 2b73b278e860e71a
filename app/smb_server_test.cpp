// The share read from a real Samba server on loopback (tools/smb_server.sh, started by the test
// command): dashvane-dump gives the same document over SMB as from the local folder, its
// document fetches made by helper processes or, when a helper fails, by the view itself; and
// every fault of the server or of the share ends in a clear message or in the view's error path.
//
// The server serves one share, TMARLNK, from the folder its link "served" points at; each test
// writes its data set under the server's sets folder (one the server's user may read, wherever
// the checkout lives) and points the link at it. The tests take turns (one CTest resource lock).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/fetch_helper_set.h"
#include "platform/fetch_pool.h"
#include "platform/fetch_process.h"
#include "platform/file.h"
#include "platform/paths.h"
#include "platform/share.h"
#include "platform/smb.h"
#include "platform/test_support.h"
#include "sampledata/damage.h"

#ifndef DASHVANE_DUMP
#error "DASHVANE_DUMP names the dashvane-dump binary"
#endif
#ifndef DASHVANE_FETCH
#error "DASHVANE_FETCH names the dashvane-fetch binary"
#endif

namespace dv {
namespace {

namespace fs = std::filesystem;

// The server the test command started: DASHVANE_TEST_SMB=HOST:PORT, DASHVANE_TEST_SMB_DIR its
// folder (smb.conf, credentials, the log), DASHVANE_TEST_SMB_SETS the folder for the sets it
// serves (the link "served", the empty folder "empty").
struct TestServer {
    std::string host;
    std::string port;
    std::string dir;
    std::string sets;
};

std::optional<TestServer> FindServer() {
    const char* address = std::getenv("DASHVANE_TEST_SMB");
    const char* dir = std::getenv("DASHVANE_TEST_SMB_DIR");
    const char* sets = std::getenv("DASHVANE_TEST_SMB_SETS");
    for (const char* value : {address, dir, sets})
        if (value == nullptr || *value == '\0') return std::nullopt;
    const std::string a = address;
    const size_t colon = a.rfind(':');
    if (colon == std::string::npos) return std::nullopt;
    return TestServer{a.substr(0, colon), a.substr(colon + 1), dir, sets};
}

std::string RunCommand(const std::string& command, int* status = nullptr) {
    std::string out;
    FILE* p = ::popen(command.c_str(), "r");
    if (p == nullptr) return out;
    char buf[65536];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    const int raw = ::pclose(p);
    if (status != nullptr) *status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return out;
}

// The log's dates and times ("12/10/2026 4:33:55 PM") as DATE TIME, so that two runs compare.
std::string Scrubbed(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    const auto digits = [&](size_t at, size_t& end) {
        end = at;
        while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) ++end;
        return end - at;
    };
    while (i < text.size()) {
        size_t a = 0, b = 0, c = 0, d = 0, e = 0, f = 0;
        if (digits(i, a) >= 1 && a < text.size() && text[a] == '/' && digits(a + 1, b) >= 1 &&
            b < text.size() && text[b] == '/' && digits(b + 1, c) == 4 && c < text.size() &&
            text[c] == ' ' && digits(c + 1, d) >= 1 && d < text.size() && text[d] == ':' &&
            digits(d + 1, e) == 2 && e < text.size() && text[e] == ':' && digits(e + 1, f) == 2 &&
            f + 2 < text.size() + 1 && text.compare(f, 3, " AM") * text.compare(f, 3, " PM") == 0) {
            out += "DATE TIME";
            i = f + 3;
            continue;
        }
        out += text[i++];
    }
    return out;
}

// The test's server read in this process, with no local folder for the share: the program's
// connection starts afresh and is put back when the object goes.
struct InProcessShare {
    InProcessShare(const std::string& base, const TestServer& server)
        : shares("DASHVANE_SHARES", base + "/none"),
          config("XDG_CONFIG_HOME", base + "/config"),
          port("DASHVANE_SMB_PORT", server.port),
          root("\\\\" + server.host + "\\TMARLNK\\") {
        platform::SetProgramShareConnection(nullptr);
        platform::ResetPathCache();
    }
    ~InProcessShare() { platform::SetProgramShareConnection(nullptr); }
    InProcessShare(const InProcessShare&) = delete;
    InProcessShare& operator=(const InProcessShare&) = delete;

    const testing::ScopedEnv shares;
    const testing::ScopedEnv config;
    const testing::ScopedEnv port;
    // The share's UNC root, \\SERVER\TMARLNK\ with its last separator.
    const std::string root;
};

struct DumpRun {
    int status = -1;
    std::string out;
    std::string err;
};

class SmbServerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        server_ = FindServer();
        if (!server_) {
            const char* ci = std::getenv("CI");
            if (ci != nullptr && std::string(ci) == "true")
                FAIL() << "CI runs the SMB tests against a real smbd, but none was started "
                          "(DASHVANE_TEST_SMB is not set): run them through tools/test.sh";
            GTEST_SKIP() << "no SMB test server: tools/test.sh starts one (tools/smb_server.sh) "
                            "and sets DASHVANE_TEST_SMB";
        }
        // What the sample writer writes is read by the server's user: others may read it.
        ::umask(022);
        const std::string base = server_->sets + "/" + Name();
        fs::remove_all(base);
        fs::create_directories(base + "/none");
        base_ = base;
        // The test user's login, as a user keeps it.
        fs::create_directories(base_ + "/config/dashvane");
        fs::copy_file(server_->dir + "/credentials", Credentials(),
                      fs::copy_options::overwrite_existing);
        ::chmod(Credentials().c_str(), 0600);
        log_start_ = fs::exists(Log()) ? fs::file_size(Log()) : 0;
    }
    void TearDown() override {
        if (server_) Serve(server_->sets + "/empty");
    }

    static std::string Name() {
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        for (char& c : name)
            if (c == '/') c = '_';
        return name;
    }
    std::string Credentials() const { return base_ + "/config/dashvane/smb-credentials"; }
    std::string Log() const { return server_->dir + "/log/smbd.log"; }
    std::string Share() const { return base_ + "/share/DS1/TMARLNK"; }

    // Writes the demo set (with a damage) and names the loopback server in its catalog.
    void WriteSet(const std::string& damage = "") {
        std::string command =
            std::string("'") + DASHVANE_SAMPLE + "' --scale demo --as-of 2026-06-30";
        if (!damage.empty()) command += " --damage " + damage;
        int status = 0;
        RunCommand(command + " '" + base_ + "' 2>&1", &status);
        ASSERT_EQ(status, 0);
        const std::string catalog = base_ + "/tmp/tMRCatalog.ini";
        std::string text = testing::ReadFileBytes(catalog);
        const size_t at = text.find("Server=");
        ASSERT_NE(at, std::string::npos);
        text.replace(at, text.find('\n', at) - at, "Server=" + server_->host);
        testing::WriteFile(catalog, text);
        // The same files as a local folder for the server's name.
        fs::create_directories(base_ + "/local/" + server_->host);
        fs::create_symlink(Share(), base_ + "/local/" + server_->host + "/TMARLNK");
        Serve(Share());
    }
    void Serve(const std::string& folder) {
        const std::string link = server_->sets + "/served";
        const std::string next = link + ".next";
        fs::remove(next);
        fs::create_symlink(folder, next);
        fs::rename(next, link);
    }
    // dashvane-dump over SMB (no local folder for the share), or from the local folder.
    DumpRun Dump(bool over_smb, const std::string& args = "--details",
                 const std::string& program = DASHVANE_DUMP) {
        const std::string err_path = base_ + (over_smb ? "/smb.err" : "/local.err");
        const std::string command =
            "DASHVANE_SHARES='" + base_ + (over_smb ? "/none" : "/local") + "' TMPDIR='" + base_ +
            "/tmp' TEMP='" + base_ + "/tmp' XDG_CONFIG_HOME='" + base_ +
            "/config' DASHVANE_SMB_PORT=" + server_->port + " timeout 120 '" + program + "' " +
            args + " 2>'" + err_path + "'";
        DumpRun run;
        run.out = RunCommand(command, &run.status);
        run.err = testing::ReadFileBytes(err_path);
        return run;
    }
    // What the server logged since the test began.
    std::string LogSinceStart() const {
        const std::string all = testing::ReadFileBytes(Log());
        return all.size() > log_start_ ? all.substr(log_start_) : std::string();
    }

    std::optional<TestServer> server_;
    std::string base_;
    uintmax_t log_start_ = 0;
};

// Every access the server granted, as the audit module logs it ("audit|create_file|ok|0x120089|
// file|open|PATH"): none asks for more than reading; no byte-range lock was taken.
void ExpectReadAccessOnly(const std::string& log) {
    constexpr unsigned long kWriteBits = 0x2 | 0x4 | 0x10 | 0x40 | 0x100 | 0x10000 | 0x40000 |
                                         0x80000 | 0x2000000 | 0x10000000 | 0x40000000;
    size_t opens = 0;
    for (size_t at = log.find("audit|create_file|"); at != std::string::npos;
         at = log.find("audit|create_file|", at + 1)) {
        const size_t mask_at = log.find("|0x", at);
        ASSERT_NE(mask_at, std::string::npos);
        const unsigned long mask = std::strtoul(log.c_str() + mask_at + 1, nullptr, 16);
        EXPECT_EQ(mask & kWriteBits, 0u) << log.substr(at, log.find('\n', at) - at);
        ++opens;
    }
    EXPECT_GT(opens, 0u);
    EXPECT_EQ(log.find("audit|brl_lock_windows"), std::string::npos);
}

// The processes running the program at path (as /proc/PID/exe names it).
std::vector<pid_t> ProcessesOf(const std::string& path) {
    std::vector<pid_t> pids;
    const fs::path program = fs::canonical(path);
    for (const auto& entry : fs::directory_iterator("/proc")) {
        const std::string name = entry.path().filename();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        std::error_code ec;
        const fs::path exe = fs::read_symlink(entry.path() / "exe", ec);
        if (!ec && exe == program) pids.push_back(std::stoi(name));
    }
    return pids;
}

// Every process: its id, its parent's and its command name (from /proc/PID/stat).
struct ProcessEntry {
    pid_t pid;
    pid_t parent;
    std::string command;
};
std::vector<ProcessEntry> Processes() {
    std::vector<ProcessEntry> out;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        const std::string name = entry.path().filename();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        const std::string stat = testing::ReadFileBytes(entry.path().string() + "/stat");
        const size_t open = stat.find('('), close = stat.rfind(')');
        int parent = 0;
        char state = 0;
        if (open == std::string::npos || close == std::string::npos || close < open ||
            std::sscanf(stat.c_str() + close + 1, " %c %d", &state, &parent) != 2)
            continue;
        out.push_back({std::stoi(name), parent, stat.substr(open + 1, close - open - 1)});
    }
    return out;
}

// This process's children, running or not yet reaped.
std::vector<pid_t> Children() {
    std::vector<pid_t> pids;
    for (const ProcessEntry& p : Processes())
        if (p.parent == ::getpid()) pids.push_back(p.pid);
    return pids;
}

size_t OpenDescriptors() {
    size_t n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator("/proc/self/fd")) ++n;
    return n;
}

class SmbDumpTest : public SmbServerTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(SmbDumpTest, OverSmbTheDocumentIsTheSameAsFromTheLocalFolder) {
    WriteSet(GetParam() == "demo" ? "" : GetParam());
    const DumpRun local = Dump(false);
    const DumpRun smb = Dump(true);
    EXPECT_EQ(smb.status, local.status);
    ASSERT_FALSE(local.out.empty()) << local.err;
    EXPECT_EQ(Scrubbed(smb.out), Scrubbed(local.out)) << smb.err;
    EXPECT_EQ(Scrubbed(smb.err), Scrubbed(local.err));
    ExpectReadAccessOnly(LogSinceStart());
    // The program ended its fetch helpers before it exited.
    EXPECT_TRUE(ProcessesOf(DASHVANE_FETCH).empty());
}

// A fetch helper that can't be started, answers garbage, ends after a few requests
// or is killed mid-load leaves its documents to the views, which read them themselves: the
// document is the same as from the local folder. The program runs from a folder of its own,
// where the helper beside it is the case's.
TEST_F(SmbServerTest, AFailingFetchHelperLeavesTheSameDocument) {
    WriteSet();
    const DumpRun local = Dump(false);
    ASSERT_FALSE(local.out.empty()) << local.err;
    const std::string real = DASHVANE_FETCH;
    struct Case {
        const char* what;
        std::string script;  // the helper beside the program; empty: none
    };
    const Case cases[] = {
        {"no helper", ""},
        {"garbage", "#!/bin/sh\nprintf 'not a reply at all'\nexec cat >/dev/null\n"},
        {"ends after a few requests",
         "#!/bin/sh\ndd bs=1 count=1500 status=none | '" + real + "'\n"},
        {"killed mid-load",
         "#!/bin/sh\n'" + real + "' <&0 &\nsleep 0.05\nkill -9 $!\nexec cat >/dev/null\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string dir = base_ + "/programs";
        fs::remove_all(dir);
        fs::create_directories(dir);
        fs::copy_file(DASHVANE_DUMP, dir + "/dashvane-dump");
        // Only the helper beside it differs.
        if (!c.script.empty()) {
            testing::WriteFile(dir + "/dashvane-fetch", c.script);
            ::chmod((dir + "/dashvane-fetch").c_str(), 0755);
        }
        const DumpRun smb = Dump(true, "--details", dir + "/dashvane-dump");
        EXPECT_EQ(smb.status, local.status);
        EXPECT_EQ(Scrubbed(smb.out), Scrubbed(local.out)) << smb.err;
        EXPECT_EQ(Scrubbed(smb.err), Scrubbed(local.err));
    }
}

// In this process: the helpers started when the program's connection logs in, and those
// started on demand after they were ended, fetch the documents as the local folder holds them;
// once ended, no helper is left running or unreaped and no descriptor is left open.
TEST_F(SmbServerTest, FetchHelpersGiveTheFilesAndLeaveNothingBehindWhenEnded) {
    WriteSet();
    const InProcessShare in_process(base_, *server_);
    const std::string& root = in_process.root;
    platform::SetFetchHelperPath(DASHVANE_FETCH);
    ASSERT_TRUE(platform::CheckShare(root).ok);
    const std::string share = *platform::ShareFolder(root);
    const std::string folder = *platform::LocalPath(root + "D01");
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(Share() + "/D01"))
        if (entry.is_regular_file() && entry.file_size() < 4096)
            names.push_back(entry.path().filename());
    ASSERT_GE(names.size(), 20u);
    names.resize(20);
    names.push_back("NO-SUCH-FILE");
    auto fetch_all = [&] {
        std::vector<platform::FetchRequest> requests;
        for (const std::string& name : names)
            requests.push_back({folder + "/" + name, share, 4096});
        platform::FetchPool pool(requests, platform::kSmbFetchWorkers);
        for (size_t i = 0; i + 1 < names.size(); ++i) {
            platform::FetchedFile f = pool.Take(i);
            ASSERT_EQ(f.outcome, platform::FetchedFile::Outcome::kRead) << names[i];
            EXPECT_EQ(f.bytes, testing::ReadFileBytes(Share() + "/D01/" + names[i])) << names[i];
        }
        const platform::FetchedFile missing = pool.Take(names.size() - 1);
        EXPECT_EQ(missing.outcome, platform::FetchedFile::Outcome::kFailed);
        EXPECT_EQ(missing.error, ENOENT);
        EXPECT_FALSE(Children().empty());
    };
    fetch_all();
    platform::EndFetchProcesses();
    EXPECT_TRUE(Children().empty());
    const size_t descriptors = OpenDescriptors();
    fetch_all();
    platform::EndFetchProcesses();
    EXPECT_TRUE(Children().empty());
    EXPECT_EQ(OpenDescriptors(), descriptors);
    platform::SetFetchHelperPath("");
}

std::vector<std::string> SetNames() {
    std::vector<std::string> names = {"demo"};
    for (const auto& damage : sample::damage::NamedDamages()) names.emplace_back(damage.name);
    return names;
}

INSTANTIATE_TEST_SUITE_P(Sets, SmbDumpTest, ::testing::ValuesIn(SetNames()),
                         [](const ::testing::TestParamInfo<std::string>& param) {
                             std::string name = param.param;
                             for (char& c : name)
                                 if (c == '-') c = '_';
                             return name;
                         });

TEST_F(SmbServerTest, ALoginTheServerRefusesIsNamedAndNothingIsAsked) {
    WriteSet();
    struct Case {
        const char* what;
        const char* file;  // the credentials file's text; nullptr: none
        mode_t mode;
        const char* said;
    };
    const Case cases[] = {
        {"no credentials", nullptr, 0600, "the server refused every login tried: guest"},
        {"wrong password", "username=dvsmbtest\npassword=wrong\n", 0600,
         "refused every login tried: credentials file "},
        {"unknown user", "username=nosuchuser\npassword=x\n", 0600, "(user nosuchuser), guest"},
        {"file open to others", nullptr, 0644, "others than its owner may read it (mode 0644)"},
    };
    const std::string good = testing::ReadFileBytes(Credentials());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.file != nullptr || c.mode == 0600) {
            fs::remove(Credentials());
            if (c.file != nullptr) testing::WriteFile(Credentials(), c.file);
        } else {
            testing::WriteFile(Credentials(), good);
        }
        if (fs::exists(Credentials())) ::chmod(Credentials().c_str(), c.mode);
        const DumpRun run = Dump(true, "");
        EXPECT_NE(run.err.find("Connection Error: You are attempting to connect to: \\\\" +
                               server_->host +
                               "\\TMARLNK\\ and this shows to be an invalid "
                               "network share"),
                  std::string::npos)
            << run.err;
        EXPECT_NE(run.err.find("so the share TMARLNK was asked of the server " + server_->host +
                               " over SMB (smb://" + server_->host + ":" + server_->port +
                               "/TMARLNK): Permission denied"),
                  std::string::npos)
            << run.err;
        EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
    }
}

// A login the server refuses is blamed on the login; a share or a folder of it that the server
// refuses to a login it accepted (here: a folder its own user may not read) is named as refused
// to that login, and the login is not blamed.
TEST_F(SmbServerTest, AShareOrFolderRefusedToAnAcceptedLoginIsNotBlamedOnTheLogin) {
    WriteSet();
    const std::string good = testing::ReadFileBytes(Credentials());
    const std::string accepted = "is refused to the login the server accepted: credentials file " +
                                 Credentials() + " (user dvsmbtest)";
    struct Case {
        const char* what;
        std::string closed;  // a folder made root's alone (0700); empty: none
        const char* password;
        int status;
        std::string said;    // on stderr or in the operation log
        std::string unsaid;  // in neither
    };
    const Case cases[] = {
        {"wrong password", "", "wrong", 1,
         "Permission denied; the server refused every login tried: credentials file " +
             Credentials() + " (user dvsmbtest), guest.",
         "is refused to the login"},
        {"the share's folder", Share(), nullptr, 1,
         "Permission denied; the share TMARLNK " + accepted +
             "; the server refused the other logins tried: guest.",
         "refused every login"},
        {"a folder of the share", Share() + "/D01", nullptr, 0,
         "Could not open file: \\\\" + server_->host +
             "\\TMARLNK\\D01\\FILE0 (Permission denied; the folder D01 of the share TMARLNK " +
             accepted + ")",
         "refused every login"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testing::WriteFile(Credentials(),
                           c.password == nullptr
                               ? good
                               : "username=dvsmbtest\npassword=" + std::string(c.password) + "\n");
        ::chmod(Credentials().c_str(), 0600);
        if (!c.closed.empty()) ::chmod(c.closed.c_str(), 0700);
        fs::remove(base_ + "/tmp/dvoperation.log");
        const DumpRun run = Dump(true, "");
        if (!c.closed.empty()) ::chmod(c.closed.c_str(), 0755);
        EXPECT_EQ(run.status, c.status) << run.err;
        const std::string said = run.err + testing::ReadFileBytes(base_ + "/tmp/dvoperation.log");
        EXPECT_NE(said.find(c.said), std::string::npos) << said;
        EXPECT_EQ(said.find(c.unsaid), std::string::npos) << said;
    }
}

// The login question says why it is asked: the logins the server refused and the credentials
// file left unused because others may read it, with the command that mends it; after a wrong
// password, that the server refused the login typed in, starting from its user name.
TEST_F(SmbServerTest, TheLoginQuestionSaysWhyItIsAsked) {
    WriteSet();
    const std::string credentials = testing::ReadFileBytes(Credentials());
    ::chmod(Credentials().c_str(), 0644);
    const InProcessShare in_process(base_, *server_);
    const size_t at = credentials.find("password=") + 9;
    const std::string password = credentials.substr(at, credentials.find('\n', at) - at);
    std::vector<platform::SmbLoginQuestion> questions;
    platform::SetSmbLoginPrompt(
        [&](const platform::SmbLoginQuestion& question, platform::SmbLogin& login) {
            questions.push_back(question);
            login.user = "dvsmbtest";
            login.password = questions.size() == 1 ? "wrong" : password;
            return true;
        });
    EXPECT_TRUE(platform::CheckShare(in_process.root).ok);
    platform::SetSmbLoginPrompt(nullptr);
    const std::string unused = "The credentials file " + Credentials() +
                               " was not used: others than its owner may read it (mode 0644).\n"
                               "Make it private with chmod 600 " +
                               Credentials() + ".";
    ASSERT_EQ(questions.size(), 2u);
    EXPECT_EQ(questions[0].server, server_->host);
    EXPECT_EQ(questions[0].share, "TMARLNK");
    EXPECT_EQ(questions[0].notes, "The server refused every login tried: guest.\n" + unused);
    EXPECT_EQ(questions[0].user, "");
    EXPECT_EQ(questions[1].notes,
              "The server refused the login typed in (user dvsmbtest).\n" + unused);
    EXPECT_EQ(questions[1].user, "dvsmbtest");
}

// With no other login the server takes, the user is asked (the desktop's dialog), once a
// session: the login typed in serves the next checks too.
TEST_F(SmbServerTest, WhenTheServerRefusesEveryOtherLoginTheUserIsAskedOnce) {
    WriteSet();
    const std::string credentials = testing::ReadFileBytes(Credentials());
    fs::remove(Credentials());
    const InProcessShare in_process(base_, *server_);
    const std::string& root = in_process.root;
    std::vector<std::string> asked;
    platform::SetSmbLoginPrompt(
        [&](const platform::SmbLoginQuestion& question, platform::SmbLogin& login) {
            asked.push_back(question.server + "\\" + question.share);
            login.user = "dvsmbtest";
            const size_t at = credentials.find("password=") + 9;
            login.password = credentials.substr(at, credentials.find('\n', at) - at);
            return true;
        });
    EXPECT_TRUE(platform::CheckShare(root).ok);
    platform::ResetPathCache();
    EXPECT_TRUE(platform::CheckShare(root).ok);
    EXPECT_EQ(asked, std::vector<std::string>{server_->host + "\\TMARLNK"});
    platform::SetSmbLoginPrompt(nullptr);
}

// The share check in this process: a share the server lacks, a port nobody listens on, and a
// server name that does not resolve each give their own reason, at once.
TEST_F(SmbServerTest, TheShareCheckNamesTheServersReason) {
    const testing::ScopedEnv shares("DASHVANE_SHARES", base_ + "/none");
    const testing::ScopedEnv config("XDG_CONFIG_HOME", base_ + "/config");
    struct Case {
        const char* port;
        std::string root;
        const char* reason;
    };
    const Case cases[] = {
        {"", "\\\\" + server_->host + "\\NOSHARE\\", "No such file or directory"},
        {"1", "\\\\" + server_->host + "\\TMARLNK\\", "connection refused"},
        {"", "\\\\nosuchhost.invalid\\TMARLNK\\", "can't be resolved"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.root);
        const testing::ScopedEnv port("DASHVANE_SMB_PORT", *c.port ? c.port : server_->port);
        platform::SetProgramShareConnection(nullptr);
        platform::ResetPathCache();
        const auto start = std::chrono::steady_clock::now();
        const platform::ShareCheck check = platform::CheckShare(c.root);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
        EXPECT_FALSE(check.ok);
        EXPECT_TRUE(check.over_smb);
        EXPECT_NE(check.reason.find(c.reason), std::string::npos) << check.reason;
    }
    platform::SetProgramShareConnection(nullptr);
}

// A document file the share user may not read ends the Returns view in its error path; the
// rest of the board is filled.
TEST_F(SmbServerTest, AFileTheShareUserMayNotReadEndsItsViewInItsErrorPath) {
    WriteSet();
    ::chmod((Share() + "/D01/R10001").c_str(), 0600);  // root's; not the share user's
    const DumpRun run = Dump(true, "");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("{\"index\": 5, \"text\": \"Data Error !\", \"error\": true}"),
              std::string::npos);
    EXPECT_NE(run.out.find("{\"index\": 1, \"text\": \"$1,925,279.15\", \"error\": false}"),
              std::string::npos);
}

// The server's process for this client, other than its own helpers.
std::vector<pid_t> ClientProcesses(const std::string& dir) {
    std::vector<pid_t> pids;
    const pid_t main = std::stoi(testing::ReadFileBytes(dir + "/smbd.pid"));
    for (const ProcessEntry& p : Processes()) {
        if (p.parent != main) continue;
        if (p.command.find("notifyd") != std::string::npos ||
            p.command.find("cleanupd") != std::string::npos)
            continue;
        pids.push_back(p.pid);
    }
    return pids;
}

// The connection lost (the server's process for it ends, as when the server restarts): a read
// on a file opened before fails at once with the system's reason; the next open reconnects.
// A file that grows on the server is read to its new end.
TEST_F(SmbServerTest, ALostConnectionFailsTheReadAndTheNextOpenReconnects) {
    WriteSet();
    const InProcessShare in_process(base_, *server_);
    const std::string& root = in_process.root;
    ASSERT_TRUE(platform::CheckShare(root).ok);
    const std::string ttymap = *platform::LocalPath(root + "ttymap");
    int error = 0;
    auto file = platform::ReadOnlyFile::Open(ttymap, &error, *platform::ShareFolder(root));
    ASSERT_TRUE(file) << error;
    const int64_t length = file->OpenedLength();
    std::string out;
    ASSERT_EQ(file->ReadAt(0, 64, out), 0);

    // Grown on the server meanwhile: the bytes past the listed length are read too.
    {
        std::ofstream append(Share() + "/ttymap", std::ios::app | std::ios::binary);
        append << "WS99 99\n";
    }
    ASSERT_EQ(file->ReadAt(length, 8, out), 0);
    EXPECT_EQ(out, "WS99 99\n");

    const std::vector<pid_t> clients = ClientProcesses(server_->dir);
    ASSERT_FALSE(clients.empty());
    for (const pid_t pid : clients) ::kill(pid, SIGKILL);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_NE(file->ReadAt(0, 64, out), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    file.reset();

    platform::ResetPathCache();
    file = platform::ReadOnlyFile::Open(ttymap, &error, *platform::ShareFolder(root));
    ASSERT_TRUE(file) << error;
    ASSERT_EQ(file->ReadAt(0, 8, out), 0);
}

// A folder of 100,000 files is listed once and a name in it found, in bounded time.
TEST_F(SmbServerTest, AFolderOf100000FilesIsListedOnce) {
    const std::string big = base_ + "/big";
    fs::create_directories(big + "/D01");
    for (int i = 0; i < 100000; ++i) std::ofstream(big + "/D01/F" + std::to_string(i));
    std::ofstream(big + "/D01/LAST") << "last";
    Serve(big);
    const InProcessShare in_process(base_, *server_);
    const std::string& root = in_process.root;
    ASSERT_TRUE(platform::CheckShare(root).ok);
    const auto start = std::chrono::steady_clock::now();
    const auto local = platform::LocalPath(root + "d01\\last");
    ASSERT_TRUE(local);
    int error = 0;
    auto file = platform::ReadOnlyFile::Open(*local, &error, *platform::ShareFolder(root));
    // Each request waits a bounded time: on a server too slow to list the folder in time (a
    // machine under heavy load) the name is not found, and that is all.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(120));
    if (local->substr(local->size() - 9) == "/D01/LAST") {
        ASSERT_TRUE(file) << error;
        EXPECT_EQ(file->OpenedLength(), 4);
    } else {
        std::cout << "the server did not list the folder in time: " << *local << "\n";
    }
    file.reset();
    fs::remove_all(big);
}

}  // namespace
}  // namespace dv
