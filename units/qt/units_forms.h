// The desktop forms of the Floor Plan and Units views: the parts views' form (picture and title
// at the top, the grid with its Line buttons, the labels below) over the core views. Their
// details open in the shell's generic detail dialog through the views' detail host.
#pragma once

#include "shell/qt/qt_views.h"

namespace dv::qt {

// The hooks of RegisterQtViews for frmFp and frmUnits.
QtViewHooks FloorPlanQtHooks();
QtViewHooks UnitsQtHooks();

}  // namespace dv::qt
