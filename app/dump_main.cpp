// dashvane-dump: runs the dashboard's start-up without a window and prints its figures as one
// JSON document on stdout (see dump_document.h and the README). With --refresh it then runs
// File > Refresh and prints a second document. Engine messages go to stderr. There is no
// launch check.
//
// Exit status: 0 when the load ran to its end, 1 when it stopped on an error (the document is
// printed all the same), 2 for a wrong command line.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "app/views.h"
#include "engine/fill_cache.h"
#include "platform/fetch_pool.h"
#include "platform/file.h"
#include "platform/file_calls.h"
#include "platform/heap.h"
#include "platform/paths.h"
#include "shell/dump_document.h"
#include "shell/headless.h"
#include "shell/main_controller.h"
#include "shell/operation_log.h"
#include "shell/qt/qt_settings_store.h"

namespace {

void Print(const std::string& document) {
    std::fwrite(document.data(), 1, document.size(), stdout);
    std::fflush(stdout);
}

void PrintCalls(const char* what, const dv::platform::FileCalls& c) {
    std::fprintf(
        stderr, "%-22s %7llu %10llu %6llu %6llu %6llu %8llu %7llu\n", what,
        static_cast<unsigned long long>(c.reads), static_cast<unsigned long long>(c.bytes),
        static_cast<unsigned long long>(c.opens), static_cast<unsigned long long>(c.closes),
        static_cast<unsigned long long>(c.fstats), static_cast<unsigned long long>(c.lookups),
        static_cast<unsigned long long>(c.Calls()));
}

// The file-system calls of each view's last load and of the whole run, for the load benchmark:
// a regression in any view shows in its own line.
void PrintStats(const dv::MainController& controller) {
    std::fprintf(stderr, "%-22s %7s %10s %6s %6s %6s %8s %7s\n", "file-system calls", "reads",
                 "bytes", "opens", "closes", "fstats", "look-ups", "calls");
    if (const dv::RecapBoard* recap = controller.recap_board())
        PrintCalls(recap->form_name().c_str(), recap->load_calls());
    for (const dv::View* view : controller.LoadedViews())
        PrintCalls(view->form_name().c_str(), view->load_calls());
    PrintCalls("whole run", dv::platform::FileCallCounts());
}

// A count of 0 to 64 written in decimal.
bool IsCount(const char* text) {
    if (*text == '\0' || std::strlen(text) > 2) return false;
    for (const char* c = text; *c != '\0'; ++c)
        if (*c < '0' || *c > '9') return false;
    return std::atoi(text) <= 64;
}

}  // namespace

int main(int argc, char** argv) {
    dv::platform::TuneHeap();
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
        } else if (std::strcmp(argv[i], "--no-cache") == 0) {
            dv::FillCache::SetEnabled(false);
            dv::platform::SetPathCacheEnabled(false);
        } else if (std::strcmp(argv[i], "--fetch-workers") == 0 && i + 1 < argc &&
                   IsCount(argv[i + 1])) {
            dv::platform::SetFetchWorkers(std::atoi(argv[++i]));
        } else {
            std::fprintf(stderr,
                         "usage: dashvane-dump [--refresh] [--stats] [--no-cache] [--details] "
                         "[--fetch-workers N]\n"
                         "Prints the dashboard's figures as JSON; reads tMRCatalog.ini from the "
                         "temporary directory.\n"
                         "--stats: the file-system calls of each view's load and of the whole "
                         "run, on stderr.\n"
                         "--no-cache: every read goes to the file (the figures are the same).\n"
                         "--details: also the detail form every row's button opens.\n"
                         "--fetch-workers N: fetch the order documents N at a time (default "
                         "8; 0: each when its row is built).\n");
            return 2;
        }
    }

    dv::InitLogPath();
    // The user's stored settings (the G/L views' account lists): the desktop program's store.
    const std::unique_ptr<dv::SettingsStore> settings = dv::qt::MakeUserSettingsStore();
    dv::ScopedSettingsStore use_settings(*settings);
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
    if (stats) PrintStats(controller);
    controller.Unload();
    return loaded ? 0 : 1;
}
