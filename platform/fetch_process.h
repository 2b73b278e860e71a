// Document fetches over SMB made by helper processes. libsmbclient keeps its scratch memory
// process-wide, so in one process its calls go one at a time; each helper (dashvane-fetch, beside
// the running program) has a libsmbclient and a connection of its own, so that several requests
// are in flight at once.
//
// The helper talks over its standard input and output: the parent writes a start message (the
// login the program's connection logged in with: never on a command line or in the
// environment), then one request at a time, each answered by one reply. Every message is a
// frame: a 32-bit little-endian length and that many bytes.
//
//   start    "DVF1", flags (1: Kerberos, 2: an anonymous session after the login), user,
//            password, domain, the share to connect to at once (may be empty)
//   request  url, listed length (int64, -1 unknown), limit (uint64)
//   reply    outcome, errno (int32), read error (0/1), the calls it made (six uint64: opens,
//            closes, reads, bytes, fstats, look-ups), the file's bytes
//
// Strings are a 32-bit length and their bytes. A reply is trusted only when it decodes whole:
// a known outcome, bytes only with a whole file and never more than the limit asked, nothing
// left over.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/fetch_pool.h"
#include "platform/file_calls.h"
#include "platform/smb.h"

namespace dv::platform {

// How the program's connection logged in to a server: a helper uses the same.
struct SmbSessionLogin {
    bool kerberos = false;
    bool anonymous_after = false;  // the library may fall back to an anonymous session
    SmbLogin login;
    // smb://SERVER/SHARE of the share it logged in to: a helper connects to it as it starts, so
    // that its first fetch does not wait for the connection.
    std::string share;
};

// The login the program's connection logged in to server with (its first success there).
std::optional<SmbSessionLogin> ProgramLogin(const std::string& server);
// A connection that tries only that login, never asking the user.
std::shared_ptr<ShareConnection> NewSmbConnection(const SmbSessionLogin& only);
// True while the program's connection is one put in place of libsmbclient's.
bool ProgramShareConnectionReplaced();
// "SERVER[:PORT]" of an smb:// url.
std::string ShareServer(const std::string& url);

// The frames of the helper's protocol.
namespace fetch_frame {
inline constexpr size_t kMaxStart = 16 * 1024;
inline constexpr size_t kMaxRequest = 64 * 1024;
// The longest reply to a request for a file of at most limit bytes.
size_t MaxReply(size_t limit);

std::string EncodeStart(const SmbSessionLogin& login);
bool DecodeStart(std::string_view body, SmbSessionLogin& login);
std::string EncodeRequest(const std::string& url, int64_t listed_length, uint64_t limit);
bool DecodeRequest(std::string_view body, std::string& url, int64_t& listed_length,
                   uint64_t& limit);
std::string EncodeReply(const FetchedFile& file, const FileCalls& calls);
// False, with file and calls left in no particular state, unless body is a whole reply whose
// bytes fit in limit.
bool DecodeReply(std::string_view body, size_t limit, FetchedFile& file, FileCalls& calls);

enum class Status { kOk, kEnd, kTimedOut, kRefused, kFailed };
// One frame of at most max bytes from fd: kEnd at the end of the input before a frame starts,
// kRefused for a length above max or input that ends inside a frame, kTimedOut past the
// deadline (none: wait as long as it takes).
using Deadline = std::optional<std::chrono::steady_clock::time_point>;
Status ReadFrame(int fd, size_t max, std::string& body, Deadline deadline);
// body as one frame; a closed reader is kFailed, never a signal.
Status WriteFrame(int fd, std::string_view body, Deadline deadline);
}  // namespace fetch_frame

// The helper's main loop on its input and output descriptors: the start message, then each
// request answered until the input ends. Returns the exit status.
int RunFetchHelper(int in, int out);

// The document fetcher over SMB: a path on the share is handed to a helper process borrowed
// from the idle ones (started when none is idle), kept while the fetcher lives and given back
// for the next fetcher of the run; a local path reads as MakeLocalFetcher's does. A helper that
// can't be started, dies, answers garbage or takes too long leaves the file to the caller
// (kNotFetched; a helper that misbehaves is ended and reaped), and so does a failure other than a
// missing file, which the caller then meets on its own open, as a one-at-a-time load does.
std::unique_ptr<FileFetcher> MakeProcessFetcher();

// Starts helpers for server in the background (as many as the fetches over SMB use), called
// when the program's connection first logs in to it.
void WarmFetchProcesses(const std::string& server);
// Ends every helper (its input closed, then reaped; one that does not end in time is killed)
// and the thread that starts them. Also run at the program's exit; the next fetch starts anew.
void EndFetchProcesses();
// The helper program to start; by default dashvane-fetch in the running program's folder.
void SetFetchHelperPath(std::string path);

}  // namespace dv::platform
