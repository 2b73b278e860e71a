// What the detail handlers of the Floor Plan and Units views share. Every handler that builds
// and shows a detail form (shell/detail_form.h) traps its errors here: the failure is logged,
// reported in a message, and the program and the view go on.
#pragma once

#include <functional>
#include <string_view>

#include "shell/detail_form.h"

namespace dv {

// Runs a handler that builds and shows a detail form. An error it raises is logged as
// "*Error in <form> <routine> routine error # :  <n>  <description>" and shown in a message
// "<what> could not be shown.  Error <n> : <description>"; nothing else happens.
void TrapDetailError(DetailHost& host, std::string_view form, std::string_view routine,
                     std::string_view what, const std::function<void()>& handler);

}  // namespace dv
