#include "shell/qt/event_guard.h"

#include <string>

#include "platform/messages.h"
#include "shell/operation_log.h"
#include "shell/qt/dialogs.h"
#include "shell/qt/text.h"
#include "shell/view.h"

namespace dv::qt {

bool Guard(std::string_view what, Dialogs& dialogs, QWidget* parent,
           const std::function<void()>& action) {
    std::string text;
    try {
        action();
        return true;
    } catch (const std::exception& e) {
        text = ShellErrorText("Error in " + std::string(what) + " ", e);
    } catch (...) {
        text = "Error in " + std::string(what) + " error # :51\r\nInternal error";
    }
    mLogLine = "*" + text;
    WriteLog(mLogPath, mLogLine);
    QString shown = ToQ(text);
    shown.replace("\r\n", "\n");
    dialogs.Message(parent, ToQ(platform::kApplicationTitle), shown, DialogIcon::kNone);
    return false;
}

}  // namespace dv::qt
