// dashvane-fetch: the helper a program starts for its document fetches over SMB
// (platform/fetch_process.h). It reads its start message and requests on standard input and
// answers on standard output; it ends when its input ends. Not meant to be run by hand.
#include "platform/fetch_process.h"

int main() {
    return dv::platform::RunFetchHelper(0, 1);
}
