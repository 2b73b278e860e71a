// The Qt side of the program's own room: the hooks of every view that brings Qt code of its own
// (shell/qt/qt_views.h), one line per view in app/qt_views.cpp.
#pragma once

#include "shell/qt/qt_views.h"

namespace dv::qt {

// Registers the Qt code of every view that has some.
void RegisterQtViews(QtViewRegistry& registry);

}  // namespace dv::qt
