// The document fetcher over SMB that hands each fetch to a helper process (fetch_helper_set.h),
// so that several are in flight at once.
#pragma once

#include <memory>

#include "platform/fetch_pool.h"

namespace dv::platform {

// A path on the share is handed to a helper borrowed from the idle ones (started when none is
// idle), kept while the fetcher lives and given back for the next fetcher of the run; a local
// path reads as MakeLocalFetcher's does. A helper that can't be started, dies, answers garbage or
// takes too long leaves the file to the caller (kNotFetched; a helper that misbehaves is ended
// and reaped), and so does a failure other than a missing file, which the caller then meets on
// its own open, as a one-at-a-time load does. Linking it in has the helpers start as soon as the
// program's connection logs in to a server.
std::unique_ptr<FileFetcher> MakeProcessFetcher();

}  // namespace dv::platform
