#include "shell/detail_trap.h"

#include "shell/detail_form.h"
#include "shell/operation_log.h"
#include "shell/view.h"

namespace dv {
namespace {

void ShowMessage(DetailHost& host, const std::string& text) {
    try {
        host.Message(text);
    } catch (const std::exception&) {
        // The log line written before tells what failed.
    }
}

}  // namespace

DetailTrap::DetailTrap(std::string_view form, std::string_view routine)
    : form_(form), routine_(routine) {}

void DetailTrap::Keep(const std::exception& e) {
    TrappedError t;
    ErrorParts(e, t.number, t.description);
    errors_.push_back(std::move(t));
}

std::string DetailTrap::Log() const {
    if (errors_.empty()) return {};
    const TrappedError& first = errors_.front();
    mLogLine = FillErrorLine(form_, routine_, first.number, first.description);
    WriteLog(mLogPath, mLogLine);
    return mLogLine;
}

void DetailTrap::Report(DetailHost& host) const {
    const std::string line = Log();
    if (!line.empty()) ShowMessage(host, line.substr(1));  // the entry without its "*"
}

void DetailTrap::ReportNotShown(DetailHost& host, std::string_view what) const {
    if (errors_.empty()) return;
    Log();
    const TrappedError& first = errors_.front();
    ShowMessage(host, std::string(what) + " could not be shown.  Error " +
                          std::to_string(first.number) + " : " + first.description);
}

}  // namespace dv
