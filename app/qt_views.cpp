#include "app/qt_views.h"

#include "parts/qt/parts_forms.h"
#include "sales/qt/gl_forms.h"
#include "shell/main_tables.h"
#include "shell/qt/titled_view_form.h"

namespace dv::qt {

void RegisterQtViews(QtViewRegistry& registry) {
    // One line per view with Qt code of its own.
    registry.Add(form::kInv, TitledFormHooks());
    registry.Add(form::kReturn, TitledFormHooks());
    registry.Add(form::kPo, PurchaseOrdersQtHooks());
    registry.Add(form::kGLA, GLQtHooks());
    registry.Add(form::kGLL, GLQtHooks());
    registry.Add(form::kFp, TitledFormHooks());
    registry.Add(form::kUnits, TitledFormHooks());
    registry.Add(form::kShop, TitledFormHooks());
    registry.Add(form::kWarranty, TitledFormHooks());
    registry.Add(form::kWarSeg, TitledFormHooks());
}

}  // namespace dv::qt
