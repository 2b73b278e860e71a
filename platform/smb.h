// The dealer's share read straight from the server over SMB, for a machine where the share is not
// mounted. A UNC path \\SERVER\SHARE\rest whose share has no local folder under the shares root
// is read as smb://SERVER/SHARE/rest (smb://SERVER:PORT/... when DASHVANE_SMB_PORT names a port).
//
// Calls go through a ShareConnection: the program's own one (one connection to each server for
// the whole run, made on first use), or one that a worker thread sets for itself, so that several
// threads can each talk to the server over a connection of their own. Every call waits a bounded
// time. Nothing asks for write access or for a lock.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/fetch_pool.h"

namespace dv::platform {

// One entry of a folder on the share, as its listing or its status gives it.
struct RemoteEntry {
    enum class Kind { kFile, kFolder, kOther };
    std::string name;
    Kind kind = Kind::kOther;
    int64_t size = 0;
};

// A file opened read-only on the share.
class RemoteFile {
  public:
    virtual ~RemoteFile() = default;
    // Up to length bytes at offset into out (one request); got is how many came. 0 or errno.
    virtual int Read(int64_t offset, size_t length, char* out, size_t& got) = 0;
    // The file's length now (one status request). 0 or errno.
    virtual int Length(int64_t& length) = 0;
};

// Talks to the servers. Functions return 0 or an errno value; Reason gives the text for the last
// failure, naming the server, the share and the system's reason.
class ShareConnection {
  public:
    virtual ~ShareConnection() = default;
    // Opens url read-only (never for writing, never with a lock).
    virtual int Open(const std::string& url, std::unique_ptr<RemoteFile>& file) = 0;
    // Every entry of the folder url, "." and ".." left out.
    virtual int List(const std::string& url, std::vector<RemoteEntry>& entries) = 0;
    // The status of url.
    virtual int Stat(const std::string& url, RemoteEntry& entry) = 0;
    // Why the last call on url's server failed, for a message: "<system's reason>" and, where
    // access was refused, what the server refused: every login tried, or the share or the folder
    // of url to a login it accepted; and why the credentials file was not used.
    virtual std::string Reason(const std::string& url, int error) const;
};

// A user name and password the user typed in, kept for the session.
struct SmbLogin {
    std::string user;
    std::string password;
    std::string domain;
};

// What the user is asked for a login: the server and its share, why the logins the program had
// did not serve (sentences, one a line: the login the server refused, the share it refused to a
// login it accepted, the credentials file not used and the command that mends it), and the user
// name and domain typed in last, to start from.
struct SmbLoginQuestion {
    std::string server;
    std::string share;
    std::string notes;
    std::string user;
    std::string domain;
};

// Asks the user for a login; false when the user declines. The desktop program installs one (a
// dialog); without one nobody is asked.
using SmbLoginPrompt = std::function<bool(const SmbLoginQuestion& question, SmbLogin& login)>;
void SetSmbLoginPrompt(SmbLoginPrompt prompt);
// Asks through the installed prompt; false without one.
bool AskSmbLogin(const SmbLoginQuestion& question, SmbLogin& login);

// How the program's connection logged in to a server: a fetch helper's connection uses the same.
struct SmbSessionLogin {
    bool kerberos = false;
    bool anonymous_after = false;  // the library may fall back to an anonymous session
    SmbLogin login;
    // smb://SERVER/SHARE of the share it logged in to: a helper connects to it as it starts, so
    // that its first fetch does not wait for the connection.
    std::string share;
};

// A new connection over libsmbclient, with its own client context.
std::shared_ptr<ShareConnection> NewSmbConnection();
// A connection that tries only that login, never asking the user.
std::shared_ptr<ShareConnection> NewSmbConnection(const SmbSessionLogin& only);

// The login the program's connection logged in to server with (its first success there).
std::optional<SmbSessionLogin> ProgramLogin(const std::string& server);
// Sets (nothing: forgets) the login the program's connection logged in to server with, as its
// first success there does, but without telling the listener: for tests of the fetch helpers
// without a server.
void SetProgramLogin(const std::string& server, std::optional<SmbSessionLogin> login);
// Told the server ("SERVER[:PORT]") when the program's connection first logs in to it, on the
// thread that made the call; the fetch layer starts its helpers then. Empty: nobody is told.
using SmbLoginListener = std::function<void(const std::string& server)>;
void SetSmbLoginListener(SmbLoginListener listener);

// The connection this thread uses: the one set with ScopedShareConnection, else the program's.
ShareConnection& CurrentShareConnection();
// Replaces the program's connection (tests install a fake); null goes back to libsmbclient.
// While it is replaced, the fetch workers make no connection of their own and leave every file
// on the share to the fill's thread (kNotFetched).
void SetProgramShareConnection(std::shared_ptr<ShareConnection> connection);

// True while the program's connection is one put in place of libsmbclient's.
bool ProgramShareConnectionReplaced();

// Makes this thread use connection until the object goes.
class ScopedShareConnection {
  public:
    explicit ScopedShareConnection(std::shared_ptr<ShareConnection> connection);
    ~ScopedShareConnection();
    ScopedShareConnection(const ScopedShareConnection&) = delete;
    ScopedShareConnection& operator=(const ScopedShareConnection&) = delete;

  private:
    std::shared_ptr<ShareConnection> connection_;
    ShareConnection* previous_;
};

// The fetch of one file over the calling thread's connection (CurrentShareConnection). A local
// path reads as MakeLocalFetcher's does. A path on the share takes its length from the request
// (its folder's listing) or from one status request, is opened read-only and read to that length
// in requests of up to 64 KiB, never past its end, and closed; every failure is reported. The
// fetch helper process (fetch_helper_set.h) runs it over a connection of its own, and the engine
// for a whole file on the fill's thread.
std::unique_ptr<FileFetcher> MakeSmbFetcher();

// The fetch workers worth starting for files on the share read over SMB. libsmbclient's calls
// in one process are made one at a time (see smb.cpp), so each worker hands its requests to a
// helper process of its own (fetch_helper_set.h): this many requests are in flight at once.
inline constexpr int kSmbFetchWorkers = 8;

// True for a path of the share read over SMB ("smb://...").
bool IsShareUrl(std::string_view path);
// smb://SERVER[:PORT]/SHARE for a server and a share; the port from DASHVANE_SMB_PORT.
std::string ShareUrl(std::string_view server, std::string_view share);
// "SERVER[:PORT]" of an smb:// url.
std::string ShareServer(const std::string& url);

// The credentials file: $XDG_CONFIG_HOME/dashvane/smb-credentials, else
// ~/.config/dashvane/smb-credentials.
std::string SmbCredentialsPath();
// The login a credentials file holds ("username=", "password=", "domain=" lines, as mount.cifs
// reads them; "user=" and "workgroup=" too). Nothing, with why in *refusal, when it can't be used:
// unreadable, or open to others than its owner (its mode, and the chmod 600 that mends it).
// Nothing and no refusal when there is no file.
std::optional<SmbLogin> ReadSmbCredentials(const std::string& path, std::string* refusal);

}  // namespace dv::platform
