// The frames a program and its fetch helpers (fetch_helper_set.h) exchange over the helper's
// standard input and output: the parent writes a start message (the login the program's
// connection logged in with: never on a command line or in the environment), then one request at
// a time, each answered by one reply. Every message is a frame: a 32-bit little-endian length and
// that many bytes.
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
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/fetch_pool.h"
#include "platform/file_calls.h"
#include "platform/smb.h"

namespace dv::platform::fetch_frame {

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

}  // namespace dv::platform::fetch_frame
