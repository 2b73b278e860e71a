#include "app/qt_views.h"

#include "parts/qt/parts_forms.h"
#include "sales/qt/gl_forms.h"
#include "shell/main_tables.h"

namespace dv::qt {

void RegisterQtViews(QtViewRegistry& registry) {
    // One line per view with Qt code of its own.
    registry.Add(form::kPo, PurchaseOrdersQtHooks());
    registry.Add(form::kGLA, GLQtHooks());
    registry.Add(form::kGLL, GLQtHooks());
}

}  // namespace dv::qt
