// dashvane-dump: runs the dashboard's start-up without a window and prints its figures as one
// JSON document on stdout (see dump_document.h and the README). With --refresh it then runs
// File > Refresh and prints a second document. Engine messages go to stderr. There is no
// launch check.
//
// Exit status: 0 when the load ran to its end, 1 when it stopped on an error (the document is
// printed all the same), 2 for a wrong command line.
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/physical.h"
#include "shell/dump_document.h"
#include "shell/headless.h"
#include "shell/main_controller.h"
#include "shell/operation_log.h"
#include "shell/view_registry.h"

namespace {

void Print(const std::string& document) {
    std::fwrite(document.data(), 1, document.size(), stdout);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    bool refresh = false;
    bool stats = false;
    bool details = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--refresh") == 0) {
            refresh = true;
        } else if (std::strcmp(argv[i], "--stats") == 0) {
            stats = true;
        } else if (std::strcmp(argv[i], "--details") == 0) {
            details = true;
        } else {
            std::fprintf(stderr,
                         "usage: dashvane-dump [--refresh] [--stats] [--details]\n"
                         "Prints the dashboard's figures as JSON; reads tMRCatalog.ini from the "
                         "temporary directory.\n");
            return 2;
        }
    }

    dv::InitLogPath();
    dv::ViewRegistry views;
    dv::RegisterViews(views);
    dv::HeadlessWindow window;
    dv::MainController controller(views, dv::DefaultEngineHooks(), window, window);

    dv::LogCapture log;
    controller.Start();
    const bool loaded = controller.load_completed();
    // The details run before the document is written, so that what their clicks log is in it.
    auto document = [&] {
        const std::string detail_text = details ? dv::DumpDetails(controller) : std::string();
        return dv::DumpDocument(controller, log.Take(), detail_text);
    };
    Print(document());
    if (refresh) {
        controller.MenuClick(dv::Menu::kFile, 0);
        Print(document());
    }
    controller.Unload();
    if (stats) {
        // The engine's own reads of the dealer files, for the load benchmark.
        const dv::ReadStats read = dv::EngineReadStats();
        std::fprintf(stderr, "engine reads: %lld calls, %lld bytes\n",
                     static_cast<long long>(read.reads), static_cast<long long>(read.bytes));
    }
    return loaded ? 0 : 1;
}
