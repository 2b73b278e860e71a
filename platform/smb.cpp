#include "platform/smb.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <libsmbclient.h>
#include <netdb.h>
#include <pwd.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <set>

#include "platform/file.h"
#include "platform/file_calls.h"
#include "platform/tempdir.h"

namespace dv::platform {
namespace {

// Each call waits at most this long for the server (connecting included).
constexpr int kTimeoutMs = 5000;

// The client's own settings, so that the machine's smb.conf (a server's, perhaps) changes
// nothing: SMB 2 and 3 only, names resolved by the host's resolver alone (no NetBIOS broadcast,
// which waits for answers that never come).
constexpr const char* kClientConfig =
    "[global]\n"
    "client min protocol = SMB2_02\n"
    "client max protocol = SMB3\n"
    "name resolve order = host\n"
    "disable netbios = yes\n"
    "client use spnego = yes\n"
    "log level = 0\n";

std::string Getenv(const char* name) {
    const char* v = std::getenv(name);
    return v != nullptr ? v : "";
}

std::string UserName() {
    if (const passwd* pw = ::getpwuid(::getuid()); pw != nullptr && pw->pw_name != nullptr)
        return pw->pw_name;
    return Getenv("USER");
}

// True when the user holds a Kerberos ticket cache.
bool HasKerberosTicket() {
    std::string cache = Getenv("KRB5CCNAME");
    if (cache.empty()) cache = "FILE:/tmp/krb5cc_" + std::to_string(::getuid());
    if (cache.rfind("FILE:", 0) == 0)
        cache = cache.substr(5);
    else if (cache.find(':') != std::string::npos)
        return true;  // a keyring or a KCM cache: let the library look
    struct stat st {};
    return ::stat(cache.c_str(), &st) == 0 && st.st_size > 0;
}

// smb://server[:port]/share/... split into its server (with the port) and its share.
void ServerAndShare(const std::string& url, std::string& server, std::string& share) {
    server.clear();
    share.clear();
    if (!IsShareUrl(url)) return;
    const size_t start = 6;
    const size_t slash = url.find('/', start);
    server = url.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
    if (slash == std::string::npos) return;
    const size_t next = url.find('/', slash + 1);
    share = url.substr(slash + 1, next == std::string::npos ? std::string::npos : next - slash - 1);
}

std::string HostOf(const std::string& server) {
    if (!server.empty() && server.front() == '[') return server.substr(1, server.find(']') - 1);
    const size_t colon = server.rfind(':');
    return colon == std::string::npos ? server : server.substr(0, colon);
}

void Copy(const std::string& from, char* to, int room) {
    if (room <= 0) return;
    std::strncpy(to, from.c_str(), static_cast<size_t>(room) - 1);
    to[room - 1] = '\0';
}

SmbLoginPrompt& Prompt() {
    static SmbLoginPrompt prompt;
    return prompt;
}

// The logins typed in this session, by server: a connection made later (a fetch worker's) tries
// them too, without asking again.
std::mutex g_typed_mutex;
std::map<std::string, SmbLogin>& TypedLogins() {
    static auto* logins = new std::map<std::string, SmbLogin>();
    return *logins;
}

// One way of logging in, tried in the order they are listed.
struct Login {
    std::string what;  // for messages
    bool kerberos = false;
    bool anonymous_after = false;  // let the library fall back to an anonymous session
    SmbLogin login;
    bool typed = false;  // typed in by the user
};

// The login each server took from the program's connection, for the fetch processes.
std::mutex g_in_use_mutex;
std::map<std::string, SmbSessionLogin>& LoginsInUse() {
    static auto* logins = new std::map<std::string, SmbSessionLogin>();
    return *logins;
}

// Told of each server the program's connection logs in to.
std::mutex g_listener_mutex;
SmbLoginListener& LoginListener() {
    static auto* listener = new SmbLoginListener();
    return *listener;
}

void AnnounceLogin(const std::string& server) {
    SmbLoginListener listener;
    {
        const std::lock_guard<std::mutex> lock(g_listener_mutex);
        listener = LoginListener();
    }
    if (listener) listener(server);
}

// What the connection knows of one server.
struct Server {
    bool listed = false;  // the logins below have been worked out
    bool logged_in = false;
    bool prompt_declined = false;
    size_t current = 0;
    std::vector<Login> logins;
    std::string tried;           // the logins the server refused, for messages
    std::string accepted;        // the logins it accepted but refused the share to
    std::string share;           // that share
    bool typed_refused = false;  // the last login it refused was the one typed in
    std::string refusal;         // why the credentials file was not used
    // The folders whose listing the server refused to the login it accepted.
    std::set<std::string> refused_folders;
};

void Append(std::string& list, const std::string& item) {
    if (!list.empty()) list += ", ";
    list += item;
}

// url's folder below its share ("D01/SUB" of smb://server/share/D01/SUB); empty for the share's
// root.
std::string BelowShare(const std::string& url) {
    const size_t server_end = url.find('/', 6);
    if (server_end == std::string::npos) return {};
    const size_t share_end = url.find('/', server_end + 1);
    if (share_end == std::string::npos) return {};
    std::string rest = url.substr(share_end + 1);
    while (!rest.empty() && rest.back() == '/') rest.pop_back();
    return rest;
}

// libsmbclient, loaded the first time a connection is made: the library and the hundred
// libraries it needs are bound at load time, which costs a process that reads local folders
// alone (most runs) about 20 ms of start-up. Only its types come from the header; every call
// goes through this table.
#define DV_SMBC_FUNCTIONS(X)               \
    X(smbc_new_context)                    \
    X(smbc_init_context)                   \
    X(smbc_free_context)                   \
    X(smbc_setDebug)                       \
    X(smbc_setOptionDebugToStderr)         \
    X(smbc_setConfiguration)               \
    X(smbc_setTimeout)                     \
    X(smbc_setOptionUserData)              \
    X(smbc_getOptionUserData)              \
    X(smbc_setFunctionAuthDataWithContext) \
    X(smbc_setOptionNoAutoAnonymousLogin)  \
    X(smbc_setOptionUseKerberos)           \
    X(smbc_setOptionFallbackAfterKerberos) \
    X(smbc_setOptionUseCCache)             \
    X(smbc_setOptionProtocols)             \
    X(smbc_getFunctionOpen)                \
    X(smbc_getFunctionRead)                \
    X(smbc_getFunctionLseek)               \
    X(smbc_getFunctionFstat)               \
    X(smbc_getFunctionClose)               \
    X(smbc_getFunctionStat)                \
    X(smbc_getFunctionOpendir)             \
    X(smbc_getFunctionReaddirPlus)         \
    X(smbc_getFunctionClosedir)            \
    X(smbc_getFunctionPurgeCachedServers)

struct SmbLibrary {
#define DV_SMBC_MEMBER(name) decltype(&::name) name = nullptr;
    DV_SMBC_FUNCTIONS(DV_SMBC_MEMBER)
#undef DV_SMBC_MEMBER
    std::string failure;  // why it could not be loaded; empty once loaded
};

constexpr const char* kSmbLibraryName = "libsmbclient.so.0";

// The library's functions, loaded once (never unloaded: its files may be closed while the
// program exits); null with the reason in `failure` when the library or one of its functions
// is missing.
const SmbLibrary& Smb() {
    static const SmbLibrary* library = [] {
        auto* lib = new SmbLibrary();
        void* handle = ::dlopen(kSmbLibraryName, RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) {
            const char* why = ::dlerror();
            lib->failure = why != nullptr ? why : kSmbLibraryName;
            return lib;
        }
#define DV_SMBC_LOAD(name)                                                   \
    lib->name = reinterpret_cast<decltype(&::name)>(::dlsym(handle, #name)); \
    if (lib->name == nullptr && lib->failure.empty())                        \
        lib->failure = std::string(kSmbLibraryName) + " has no " #name;
        DV_SMBC_FUNCTIONS(DV_SMBC_LOAD)
#undef DV_SMBC_LOAD
        return lib;
    }();
    return *library;
}

// libsmbclient keeps its scratch memory (talloc's stack frames) in process-wide variables
// unless thread functions are installed, which this build of the library does not offer: its
// calls are made one at a time, whichever thread and connection makes them. Never destroyed:
// files closed while the program exits still find it.
std::mutex& LibraryMutex() {
    static auto* mutex = new std::mutex();
    return *mutex;
}

class SmbFile : public RemoteFile {
  public:
    SmbFile(SMBCCTX* ctx, SMBCFILE* file) : ctx_(ctx), file_(file) {}
    ~SmbFile() override {
        const std::lock_guard<std::mutex> lock(LibraryMutex());
        count::Close();
        Smb().smbc_getFunctionClose(ctx_)(ctx_, file_);
    }
    int Read(int64_t offset, size_t length, char* out, size_t& got) override {
        got = 0;
        const std::lock_guard<std::mutex> lock(LibraryMutex());
        // The position is kept by the client: no request goes to the server for it.
        if (Smb().smbc_getFunctionLseek(ctx_)(ctx_, file_, static_cast<off_t>(offset), SEEK_SET) <
            0)
            return errno != 0 ? errno : EIO;
        const ssize_t n = Smb().smbc_getFunctionRead(ctx_)(ctx_, file_, out, length);
        if (n < 0) return errno != 0 ? errno : EIO;
        got = static_cast<size_t>(n);
        return 0;
    }
    int Length(int64_t& length) override {
        struct stat st {};
        const std::lock_guard<std::mutex> lock(LibraryMutex());
        if (Smb().smbc_getFunctionFstat(ctx_)(ctx_, file_, &st) != 0)
            return errno != 0 ? errno : EIO;
        length = static_cast<int64_t>(st.st_size);
        return 0;
    }

  private:
    SMBCCTX* ctx_;
    SMBCFILE* file_;
};

class SmbConnection : public ShareConnection {
  public:
    // may_prompt: the program's own connection, which may ask the user for a login. With only,
    // that login alone is tried, on every server.
    explicit SmbConnection(bool may_prompt = true, std::optional<SmbSessionLogin> only = {})
        : may_prompt_(may_prompt), only_(std::move(only)) {
        const std::lock_guard<std::mutex> lock(LibraryMutex());
        if (!Smb().failure.empty()) return;
        ctx_ = Smb().smbc_new_context();
        if (ctx_ == nullptr) return;
        Smb().smbc_setDebug(ctx_, 0);
        Smb().smbc_setOptionDebugToStderr(ctx_, 1);
        SetConfiguration();
        Smb().smbc_setTimeout(ctx_, kTimeoutMs);
        Smb().smbc_setOptionUserData(ctx_, this);
        Smb().smbc_setFunctionAuthDataWithContext(ctx_, &SmbConnection::Auth);
        Smb().smbc_setOptionNoAutoAnonymousLogin(ctx_, 1);
        Smb().smbc_setOptionUseKerberos(ctx_, 0);
        Smb().smbc_setOptionFallbackAfterKerberos(ctx_, 0);
        Smb().smbc_setOptionUseCCache(ctx_, 0);
        Smb().smbc_setOptionProtocols(ctx_, "SMB2_02", "SMB3");
        if (Smb().smbc_init_context(ctx_) == nullptr) {
            Smb().smbc_free_context(ctx_, 1);
            ctx_ = nullptr;
        }
    }
    ~SmbConnection() override {
        const std::lock_guard<std::mutex> lock(LibraryMutex());
        if (ctx_ != nullptr) Smb().smbc_free_context(ctx_, 1);
    }
    SmbConnection(const SmbConnection&) = delete;
    SmbConnection& operator=(const SmbConnection&) = delete;

    int Open(const std::string& url, std::unique_ptr<RemoteFile>& file) override {
        return Call(url, [&]() -> int {
            count::Open();
            SMBCFILE* f = Smb().smbc_getFunctionOpen(ctx_)(ctx_, url.c_str(), O_RDONLY, 0);
            if (f == nullptr) return errno != 0 ? errno : EIO;
            file = std::make_unique<SmbFile>(ctx_, f);
            return 0;
        });
    }

    int List(const std::string& url, std::vector<RemoteEntry>& entries) override {
        const int error = Call(url, [&]() -> int {
            entries.clear();
            count::Lookup();
            SMBCFILE* d = Smb().smbc_getFunctionOpendir(ctx_)(ctx_, url.c_str());
            if (d == nullptr) return errno != 0 ? errno : EIO;
            while (const libsmb_file_info* info =
                       Smb().smbc_getFunctionReaddirPlus(ctx_)(ctx_, d)) {
                if (info->name == nullptr) continue;
                const std::string name = info->name;
                if (name == "." || name == "..") continue;
                RemoteEntry e;
                e.name = name;
                e.kind = (info->attrs & 0x10) != 0 ? RemoteEntry::Kind::kFolder
                                                   : RemoteEntry::Kind::kFile;
                e.size = static_cast<int64_t>(info->size);
                entries.push_back(std::move(e));
            }
            Smb().smbc_getFunctionClosedir(ctx_)(ctx_, d);
            return 0;
        });
        // A folder refused to the login the server accepted: the reasons of the paths in it say
        // so.
        if (error == EACCES || error == EPERM) {
            std::string server, share;
            ServerAndShare(url, server, share);
            Server& s = servers_[server];
            if (s.logged_in) {
                std::string folder = url;
                while (!folder.empty() && folder.back() == '/') folder.pop_back();
                s.refused_folders.insert(folder);
            }
        }
        return error;
    }

    int Stat(const std::string& url, RemoteEntry& entry) override {
        return Call(url, [&]() -> int {
            struct stat st {};
            count::Lookup();
            if (Smb().smbc_getFunctionStat(ctx_)(ctx_, url.c_str(), &st) != 0)
                return errno != 0 ? errno : EIO;
            entry.kind = S_ISDIR(st.st_mode)   ? RemoteEntry::Kind::kFolder
                         : S_ISREG(st.st_mode) ? RemoteEntry::Kind::kFile
                                               : RemoteEntry::Kind::kOther;
            entry.size = static_cast<int64_t>(st.st_size);
            return 0;
        });
    }

    std::string Reason(const std::string& url, int error) const override {
        std::string server, share;
        ServerAndShare(url, server, share);
        if (error == ELIBACC && !Smb().failure.empty())
            return "the SMB client library can't be loaded (" + Smb().failure + ")";
        std::string text = ShareConnection::Reason(url, error);
        const auto it = servers_.find(server);
        if (it == servers_.end()) return text;
        const Server& s = it->second;
        if (!s.logged_in && error != EACCES && error != EPERM && error != ECONNREFUSED) {
            // The library reports a name it can't resolve as a bad argument or a missing file.
            addrinfo hints{};
            hints.ai_socktype = SOCK_STREAM;
            addrinfo* found = nullptr;
            const std::string host = HostOf(server);
            const int g = ::getaddrinfo(host.c_str(), nullptr, &hints, &found);
            if (found != nullptr) ::freeaddrinfo(found);
            if (g != 0)
                return "the server name " + host + " can't be resolved (" + ::gai_strerror(g) + ")";
        }
        const bool refused = error == EACCES || error == EPERM;
        if (!s.logged_in && refused) {
            // A login the server accepted and the share it refused to it are told apart from a
            // login it refused: blaming the login would send the user after the wrong fault.
            if (!s.accepted.empty()) text += "; " + ShareRefusedTo(s);
            if (!s.tried.empty())
                text += (s.accepted.empty() ? "; the server refused every login tried: "
                                            : "; the server refused the other logins tried: ") +
                        s.tried;
        }
        if (s.logged_in && refused && s.current < s.logins.size()) {
            if (const std::optional<std::string> folder = RefusedFolderOf(s, url)) {
                const std::string below = BelowShare(*folder);
                text += "; " +
                        (below.empty() ? "the share " + share
                                       : "the folder " + below + " of the share " + share) +
                        " is refused to the login the server accepted: " + s.logins[s.current].what;
            }
        }
        if (!s.refusal.empty() && (!s.logged_in || refused)) text += "; " + s.refusal;
        return text;
    }

  private:
    // The refused folder url lies in (or is), if any.
    static std::optional<std::string> RefusedFolderOf(const Server& s, const std::string& url) {
        for (const std::string& folder : s.refused_folders) {
            if (url == folder ||
                (url.size() > folder.size() && url.compare(0, folder.size(), folder) == 0 &&
                 url[folder.size()] == '/'))
                return folder;
        }
        return std::nullopt;
    }

    // Whether the server accepts the login being tried, when it refused that login a share: a
    // login it accepts may list the server's shares (the IPC$ share of every SMB server), one it
    // refuses may not. Only a listing that succeeds counts as accepted.
    bool LoginAccepted(const std::string& server) {
        const std::lock_guard<std::mutex> lock(LibraryMutex());
        const std::string url = "smb://" + server + "/";
        count::Lookup();
        SMBCFILE* d = Smb().smbc_getFunctionOpendir(ctx_)(ctx_, url.c_str());
        if (d == nullptr) return false;
        Smb().smbc_getFunctionClosedir(ctx_)(ctx_, d);
        return true;
    }

    // Why the user is asked for a login, one sentence a line.
    static std::string LoginNotes(const Server& s) {
        std::string notes;
        auto add = [&](const std::string& line) {
            if (!notes.empty()) notes += "\n";
            notes += line;
        };
        if (!s.accepted.empty()) add(Capitalized(ShareRefusedTo(s)) + ".");
        if (s.typed_refused) {
            add("The server refused the " + s.logins[s.current - 1].what + ".");
        } else if (!s.tried.empty()) {
            add(std::string(s.accepted.empty() ? "The server refused every login tried: "
                                               : "The server refused the other logins tried: ") +
                s.tried + ".");
        }
        if (!s.refusal.empty()) {
            // Its remedy in a line of its own, the command whole.
            std::string refusal = Capitalized(s.refusal);
            if (const size_t at = refusal.find("; make it"); at != std::string::npos)
                refusal.replace(at, 9, ".\nMake it");
            add(refusal + ".");
        }
        return notes;
    }

    static std::string Capitalized(std::string text) {
        if (!text.empty() && text[0] >= 'a' && text[0] <= 'z')
            text[0] = static_cast<char>(text[0] - 'a' + 'A');
        return text;
    }

    // "the share SHARE is refused to the login the server accepted: ..." for the logins it
    // accepted but refused the share to.
    static std::string ShareRefusedTo(const Server& s) {
        const bool several = s.accepted.find(", ") != std::string::npos;
        return "the share " + s.share + " is refused to the login" + (several ? "s" : "") +
               " the server accepted: " + s.accepted;
    }

    void SetConfiguration() {
        // The settings from memory, so that no file is written for them.
        const int fd = ::memfd_create("dashvane-smb.conf", MFD_CLOEXEC);
        if (fd >= 0) {
            const size_t n = std::strlen(kClientConfig);
            if (::write(fd, kClientConfig, n) == static_cast<ssize_t>(n)) {
                const std::string path = "/proc/self/fd/" + std::to_string(fd);
                if (::access(path.c_str(), R_OK) == 0 &&
                    Smb().smbc_setConfiguration(ctx_, path.c_str()) == 0) {
                    ::close(fd);
                    return;
                }
            }
            ::close(fd);
        }
        Smb().smbc_setConfiguration(ctx_, "/dev/null");
    }

    Server& ServerOf(const std::string& server, const std::string& share) {
        Server& s = servers_[server];
        if (s.listed) return s;
        s.listed = true;
        if (only_) {
            s.logins.push_back(
                {"login of the program's connection (user " + only_->login.user + ")",
                 only_->kerberos, only_->anonymous_after, only_->login});
            (void)share;
            Apply(s);
            return s;
        }
        if (HasKerberosTicket())
            s.logins.push_back({"Kerberos ticket", true, false, {UserName(), "", ""}});
        const std::string path = SmbCredentialsPath();
        if (auto login = ReadSmbCredentials(path, &s.refusal))
            s.logins.push_back(
                {"credentials file " + path + " (user " + login->user + ")", false, false, *login});
        s.logins.push_back({"guest", false, true, {"guest", "", ""}});
        {
            const std::lock_guard<std::mutex> lock(g_typed_mutex);
            if (const auto typed = TypedLogins().find(server); typed != TypedLogins().end())
                s.logins.push_back({"login typed in (user " + typed->second.user + ")", false,
                                    false, typed->second, true});
        }
        (void)share;
        Apply(s);
        return s;
    }

    void Apply(const Server& s) {
        if (s.current >= s.logins.size()) return;
        const Login& l = s.logins[s.current];
        Smb().smbc_setOptionUseKerberos(ctx_, l.kerberos ? 1 : 0);
        Smb().smbc_setOptionNoAutoAnonymousLogin(ctx_, l.anonymous_after ? 0 : 1);
    }

    // Runs a call; while the server refuses the login, the next login is tried (the user is
    // asked when a prompt is installed and every other login was refused).
    template <class F>
    int Call(const std::string& url, F&& call) {
        if (ctx_ == nullptr) return Smb().failure.empty() ? ENOMEM : ELIBACC;
        std::string server, share;
        ServerAndShare(url, server, share);
        Server& s = ServerOf(server, share);
        current_ = &s;
        while (true) {
            Apply(s);
            int e = 0;
            {
                const std::lock_guard<std::mutex> lock(LibraryMutex());
                errno = 0;
                e = call();
            }
            if (e == 0) {
                if (!s.logged_in && may_prompt_ && s.current < s.logins.size()) {
                    const Login& l = s.logins[s.current];
                    SetProgramLogin(server, SmbSessionLogin{l.kerberos, l.anonymous_after, l.login,
                                                            "smb://" + server + "/" + share});
                    // The fetch helpers start while the program goes on with its start-up.
                    AnnounceLogin(server);
                }
                s.logged_in = true;
                return 0;
            }
            if (s.logged_in || (e != EACCES && e != EPERM)) return e;
            if (s.current < s.logins.size()) {
                const Login& l = s.logins[s.current];
                const bool accepted = LoginAccepted(server);
                if (accepted) {
                    Append(s.accepted, l.what);
                    s.share = share;
                } else {
                    Append(s.tried, l.what);
                }
                s.typed_refused = l.typed && !accepted;
                ++s.current;
            }
            if (s.current >= s.logins.size()) {
                SmbLoginQuestion question{HostOf(server), share, LoginNotes(s), "", ""};
                for (const Login& l : s.logins) {
                    if (!l.typed) continue;
                    question.user = l.login.user;
                    question.domain = l.login.domain;
                }
                SmbLogin typed;
                if (!may_prompt_ || s.prompt_declined || !AskSmbLogin(question, typed)) {
                    s.prompt_declined = true;
                    return e;
                }
                {
                    const std::lock_guard<std::mutex> lock(g_typed_mutex);
                    TypedLogins()[server] = typed;
                }
                s.logins.push_back(
                    {"login typed in (user " + typed.user + ")", false, false, typed, true});
            }
            const std::lock_guard<std::mutex> lock(LibraryMutex());
            Smb().smbc_getFunctionPurgeCachedServers(ctx_)(ctx_);
        }
    }

    static void Auth(SMBCCTX* ctx, const char* /*server*/, const char* /*share*/, char* workgroup,
                     int workgroup_len, char* user, int user_len, char* password,
                     int password_len) {
        auto* self = static_cast<SmbConnection*>(Smb().smbc_getOptionUserData(ctx));
        if (self == nullptr || self->current_ == nullptr) return;
        const Server& s = *self->current_;
        if (s.current >= s.logins.size()) return;
        const SmbLogin& l = s.logins[s.current].login;
        if (!l.domain.empty()) Copy(l.domain, workgroup, workgroup_len);
        Copy(l.user, user, user_len);
        Copy(l.password, password, password_len);
    }

    bool may_prompt_;
    std::optional<SmbSessionLogin> only_;
    SMBCCTX* ctx_ = nullptr;
    std::map<std::string, Server> servers_;
    Server* current_ = nullptr;
};

// Never destroyed: files the engine closes while the program exits still find it in place.
std::shared_ptr<ShareConnection>& ProgramConnection() {
    static auto* connection = new std::shared_ptr<ShareConnection>();
    return *connection;
}

thread_local ShareConnection* t_connection = nullptr;

// Set while the program's connection is one put in place of libsmbclient's (a test's server in
// memory), which serves the fill's thread alone.
std::atomic<bool> g_program_replaced{false};

class SmbFetcher : public FileFetcher {
  public:
    FetchedFile Fetch(const FetchRequest& request) override {
        if (!IsShareUrl(request.local_path)) {
            if (!local_) local_ = MakeLocalFetcher();
            return local_->Fetch(request);
        }
        return FetchRemote(request);
    }

  private:
    FetchedFile FetchRemote(const FetchRequest& request) {
        FetchedFile out;
        out.outcome = FetchedFile::Outcome::kFailed;
        const std::string& url = request.local_path;
        if (!request.inside.empty() && !LiesInside(url, request.inside)) {
            out.error = ENOENT;
            return out;
        }
        ShareConnection& connection = CurrentShareConnection();
        int64_t length = request.listed_length;
        if (length < 0) {
            RemoteEntry entry;
            if (const int e = connection.Stat(url, entry); e != 0) {
                out.error = e;
                return out;
            }
            if (entry.kind != RemoteEntry::Kind::kFile) {
                out.error = ENOENT;  // a folder or a device reads as missing
                return out;
            }
            length = entry.size;
        }
        if (length > static_cast<int64_t>(request.limit)) {
            out.outcome = FetchedFile::Outcome::kTooLarge;
            return out;
        }
        std::unique_ptr<RemoteFile> file;
        if (const int e = connection.Open(url, file); e != 0) {
            out.error = e;
            return out;
        }
        constexpr size_t kRequest = 64 * 1024;
        out.bytes.resize(static_cast<size_t>(length));
        size_t done = 0;
        while (done < out.bytes.size()) {
            const size_t want = std::min(kRequest, out.bytes.size() - done);
            size_t got = 0;
            count::Read(want);
            const int e =
                file->Read(static_cast<int64_t>(done), want, out.bytes.data() + done, got);
            if (e == EINTR) continue;
            if (e != 0) {
                out.bytes.clear();
                out.error = e;
                out.read_error = true;
                return out;
            }
            if (got == 0) break;  // cut short since it was listed: what it holds now
            done += got;
        }
        out.bytes.resize(done);
        out.outcome = FetchedFile::Outcome::kRead;
        return out;
    }

    std::unique_ptr<FileFetcher> local_;
};

}  // namespace

std::unique_ptr<FileFetcher> MakeSmbFetcher() {
    return std::make_unique<SmbFetcher>();
}

std::string ShareConnection::Reason(const std::string& /*url*/, int error) const {
    switch (error) {
        case ECONNREFUSED:
            return "the server does not answer on its SMB port (connection refused)";
        case ETIMEDOUT:
            return "the server did not answer in time";
        case EHOSTUNREACH:
        case ENETUNREACH:
            return "the server can't be reached (" + std::string(std::strerror(error)) + ")";
        default:
            return std::strerror(error);
    }
}

void SetSmbLoginPrompt(SmbLoginPrompt prompt) {
    Prompt() = std::move(prompt);
}

bool AskSmbLogin(const SmbLoginQuestion& question, SmbLogin& login) {
    const SmbLoginPrompt prompt = Prompt();  // a copy: the prompt may replace itself
    return prompt && prompt(question, login);
}

std::shared_ptr<ShareConnection> NewSmbConnection() {
    return std::make_shared<SmbConnection>();
}

std::shared_ptr<ShareConnection> NewSmbConnection(const SmbSessionLogin& only) {
    return std::make_shared<SmbConnection>(false, only);
}

std::optional<SmbSessionLogin> ProgramLogin(const std::string& server) {
    const std::lock_guard<std::mutex> lock(g_in_use_mutex);
    const auto it = LoginsInUse().find(server);
    if (it == LoginsInUse().end()) return std::nullopt;
    return it->second;
}

void SetProgramLogin(const std::string& server, std::optional<SmbSessionLogin> login) {
    const std::lock_guard<std::mutex> lock(g_in_use_mutex);
    if (login)
        LoginsInUse()[server] = std::move(*login);
    else
        LoginsInUse().erase(server);
}

void SetSmbLoginListener(SmbLoginListener listener) {
    const std::lock_guard<std::mutex> lock(g_listener_mutex);
    LoginListener() = std::move(listener);
}

bool ProgramShareConnectionReplaced() {
    return g_program_replaced;
}

std::string ShareServer(const std::string& url) {
    std::string server, share;
    ServerAndShare(url, server, share);
    return server;
}

ShareConnection& CurrentShareConnection() {
    if (t_connection != nullptr) return *t_connection;
    std::shared_ptr<ShareConnection>& program = ProgramConnection();
    if (!program) program = NewSmbConnection();
    return *program;
}

void SetProgramShareConnection(std::shared_ptr<ShareConnection> connection) {
    g_program_replaced = connection != nullptr;
    ProgramConnection() = std::move(connection);
}

ScopedShareConnection::ScopedShareConnection(std::shared_ptr<ShareConnection> connection)
    : connection_(std::move(connection)), previous_(t_connection) {
    t_connection = connection_.get();
}

ScopedShareConnection::~ScopedShareConnection() {
    t_connection = previous_;
}

bool IsShareUrl(std::string_view path) {
    return path.rfind("smb://", 0) == 0;
}

std::string ShareUrl(std::string_view server, std::string_view share) {
    std::string host(server);
    if (host.find(':') != std::string::npos && host.front() != '[') host = "[" + host + "]";
    const std::string port = Getenv("DASHVANE_SMB_PORT");
    if (!port.empty()) host += ":" + port;
    return "smb://" + host + "/" + std::string(share);
}

std::string SmbCredentialsPath() {
    return UserConfigDir() + "/dashvane/smb-credentials";
}

std::optional<SmbLogin> ReadSmbCredentials(const std::string& path, std::string* refusal) {
    auto refuse = [&](const std::string& why) -> std::optional<SmbLogin> {
        if (refusal != nullptr) *refusal = "the credentials file " + path + " " + why;
        return std::nullopt;
    };
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
        return refuse("can't be read: " + std::string(std::strerror(errno)));
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return refuse("is not an ordinary file");
    }
    if ((st.st_mode & 077) != 0) {
        ::close(fd);
        char mode[8];
        std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(st.st_mode & 07777));
        return refuse("was not used: others than its owner may read it (mode " + std::string(mode) +
                      "); make it private with chmod 600 " + path);
    }
    std::string text;
    char buffer[4096];
    ssize_t n = 0;
    while (text.size() < 65536 && (n = ::read(fd, buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<size_t>(n));
    ::close(fd);
    SmbLogin login;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        std::string key = line.substr(0, eq);
        while (!key.empty() && (key.front() == ' ' || key.front() == '\t')) key.erase(0, 1);
        while (!key.empty() && (key.back() == ' ' || key.back() == '\t')) key.pop_back();
        const std::string value = line.substr(eq + 1);
        if (key == "username" || key == "user") {
            // mount.cifs also takes "domain/user" and "user%password" in this line.
            std::string user = value;
            if (const size_t pct = user.find('%'); pct != std::string::npos) {
                login.password = user.substr(pct + 1);
                user.resize(pct);
            }
            if (const size_t slash = user.find_first_of("/\\"); slash != std::string::npos) {
                login.domain = user.substr(0, slash);
                user = user.substr(slash + 1);
            }
            login.user = user;
        } else if (key == "password" || key == "pass") {
            login.password = value;
        } else if (key == "domain" || key == "dom" || key == "workgroup") {
            login.domain = value;
        }
    }
    if (login.user.empty()) return refuse("names no user (a username= line)");
    return login;
}

}  // namespace dv::platform
