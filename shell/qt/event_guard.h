// User events reach the core through Guard: an error that the core lets through (a view's
// header or button handler, a view switch) is written to the operation log and shown in a
// message box, and the program goes on. No exception ever crosses the event loop.
#pragma once

#include <functional>
#include <string_view>

class QWidget;

namespace dv::qt {

class Dialogs;

// Runs action; on an error logs "*Error in <what> error # :" & number & CR LF & description
// and shows the same text with the application title. True when action ran to its end.
bool Guard(std::string_view what, Dialogs& dialogs, QWidget* parent,
           const std::function<void()>& action);

}  // namespace dv::qt
