// Every view of the program, one line each, in no particular order: the start-up order is the
// main controller's. A view's library is linked into dv_views in shell/CMakeLists.txt.
#include "shell/main_tables.h"
#include "shell/view_registry.h"

namespace dv {

void RegisterViews(ViewRegistry& registry) {
    (void)registry;
}

}  // namespace dv
