// The run's fetch helpers: processes (dashvane-fetch, beside the running program) that each
// fetch documents over SMB with a libsmbclient and a connection of their own. libsmbclient keeps
// its scratch memory process-wide, so in one process its calls go one at a time; with a helper
// each, several fetches are in flight at once. They talk in the frames of fetch_frames.h.
//
// The set keeps the idle helpers and a thread that starts new ones: a helper is started on that
// thread alone, which lives until the set ends, since the signal that ends a helper whose program
// has gone comes when the thread that started it ends. A fetcher (fetch_process.h) borrows a
// helper for a server, and gives it back for the next fetcher of the run, or drops one that
// misbehaved.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <memory>
#include <string>

namespace dv::platform {

// One helper process, for one server.
struct FetchHelper {
    pid_t pid = -1;
    int to = -1;    // its standard input
    int from = -1;  // its standard output
    std::string server;
};

// An idle helper for server, else one the set starts (waiting a bounded time for it); null when
// the program's connection has not logged in to server, the helper program is missing or has
// failed too often this run, or none came in time.
std::unique_ptr<FetchHelper> BorrowFetchHelper(const std::string& server);
// A helper back among the idle ones; ended at once while the set is ending.
void GiveBackFetchHelper(std::unique_ptr<FetchHelper> helper);
// A helper that misbehaved (died, answered garbage, took too long): killed and reaped at once,
// and counted among the failures after which the set starts no more helpers this run.
void DropFetchHelper(std::unique_ptr<FetchHelper> helper);

// How long a helper may take for each call of a fetch and for its connection: as long as the
// library waits for one call (smb.cpp).
std::chrono::milliseconds FetchCallWait();
// Shortens that wait, for tests of a helper that does not answer; zero puts the default back.
void SetFetchCallWait(std::chrono::milliseconds wait);

// Starts helpers for server in the background (as many as the fetches over SMB use); the fetch
// layer has it called when the program's connection first logs in to a server.
void WarmFetchProcesses(const std::string& server);
// Ends every helper (its input closed, then reaped; one that does not end in time is killed)
// and the thread that starts them. Also run at the program's exit; the next fetch starts anew.
void EndFetchProcesses();
// The helper program to start; by default dashvane-fetch in the running program's folder.
void SetFetchHelperPath(std::string path);

}  // namespace dv::platform
