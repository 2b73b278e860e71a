// The desktop forms of the Open Shop Work view and of Billed Warranties (either form): the parts
// views' form (picture and title at the top, the grid with its button column, the labels below)
// over the core views. Their details open in the shell's generic detail dialog through the
// views' detail host.
#pragma once

#include "shell/qt/qt_views.h"

namespace dv::qt {

// The hooks of RegisterQtViews for frmShop, frmWarranty and frmWarSeg.
QtViewHooks ServiceQtHooks();

}  // namespace dv::qt
