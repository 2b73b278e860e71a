// The program's own room: the one place that knows every subsystem. A view is registered by one
// line in app/views.cpp; the shell below sees only the registry.
#pragma once

#include "shell/view_registry.h"

namespace dv {

// Registers every view the program has.
void RegisterViews(ViewRegistry& registry);

}  // namespace dv
