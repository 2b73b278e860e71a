#include "shell/qt/qt_views.h"

#include "parts/qt/parts_forms.h"
#include "sales/qt/gl_forms.h"
#include "service/qt/service_forms.h"
#include "shell/main_tables.h"
#include "units/qt/units_forms.h"

namespace dv::qt {

void QtViewRegistry::Add(std::string_view form_name, QtViewHooks hooks) {
    for (auto& entry : entries_) {
        if (entry.first == form_name) {
            entry.second = std::move(hooks);
            return;
        }
    }
    entries_.emplace_back(std::string(form_name), std::move(hooks));
}

const QtViewHooks* QtViewRegistry::Find(std::string_view form_name) const {
    for (const auto& entry : entries_) {
        if (entry.first == form_name) return &entry.second;
    }
    return nullptr;
}

QWidget* QtViewRegistry::MakeForm(View& view, const FormContext& context) const {
    const QtViewHooks* hooks = Find(view.form_name());
    if (hooks && hooks->make_form) return hooks->make_form(view, context);
    return new ViewForm(view, context, hooks ? hooks->button_click : ButtonHandler{});
}

void RegisterQtViews(QtViewRegistry& registry) {
    // One line per view with Qt code of its own.
    registry.Add(form::kInv, InventoryQtHooks());
    registry.Add(form::kReturn, ReturnsQtHooks());
    registry.Add(form::kPo, PurchaseOrdersQtHooks());
    registry.Add(form::kGLA, GLQtHooks());
    registry.Add(form::kGLL, GLQtHooks());
    registry.Add(form::kFp, FloorPlanQtHooks());
    registry.Add(form::kUnits, UnitsQtHooks());
    registry.Add(form::kShop, ServiceQtHooks());
    registry.Add(form::kWarranty, ServiceQtHooks());
    registry.Add(form::kWarSeg, ServiceQtHooks());
}

}  // namespace dv::qt
