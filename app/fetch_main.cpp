// dashvane-fetch: the helper a program starts for its document fetches over SMB
// (platform/fetch_helper_set.h, app/fetch_helper.h). It reads its start message and requests on
// standard input and answers on standard output; it ends when its input ends. Not meant to be run
// by hand.
#include "app/fetch_helper.h"

int main() {
    return dv::RunFetchHelper(0, 1);
}
