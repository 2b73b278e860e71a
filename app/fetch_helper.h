// The fetch helper's main loop (dashvane-fetch): the program's side of it is
// platform/fetch_helper_set.h, the messages platform/fetch_frames.h.
#pragma once

namespace dv {

// Runs on its input and output descriptors: the start message, then each request answered until
// the input ends. Returns the exit status.
int RunFetchHelper(int in, int out);

}  // namespace dv
