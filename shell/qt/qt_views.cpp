#include "shell/qt/qt_views.h"

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
    return new ViewForm(view, context);
}

}  // namespace dv::qt
