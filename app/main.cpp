// dashvane: the desktop program. Started by the dealer system's menu with the launch token as
// its only argument.
#include "app/qt_views.h"
#include "app/views.h"
#include "shell/qt/program.h"

// The heap keeps the allocator's defaults here: its tuning (platform/heap.h), which speeds up
// dashvane-dump, made the window's start slower when measured (docs/PERFORMANCE.md).
int main(int argc, char** argv) {
    dv::ViewRegistry views;
    dv::RegisterViews(views);
    dv::qt::QtViewRegistry qt_views;
    dv::qt::RegisterQtViews(qt_views);
    return dv::qt::RunDashvane(argc, argv, views, qt_views);
}
