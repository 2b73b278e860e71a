#include "shell/view_registry.h"

namespace dv {

void ViewRegistry::Add(std::string_view form_name, ViewFactory factory) {
    for (auto& [name, f] : entries_) {
        if (name == form_name) {
            f = std::move(factory);
            return;
        }
    }
    entries_.emplace_back(std::string(form_name), std::move(factory));
}

bool ViewRegistry::Has(std::string_view form_name) const {
    for (const auto& [name, f] : entries_) {
        if (name == form_name) return true;
    }
    return false;
}

std::unique_ptr<View> ViewRegistry::Create(std::string_view form_name) const {
    for (const auto& [name, f] : entries_) {
        if (name == form_name) return f ? f() : nullptr;
    }
    return nullptr;
}

std::vector<std::string> ViewRegistry::Forms() const {
    std::vector<std::string> out;
    for (const auto& [name, f] : entries_) out.push_back(name);
    return out;
}

}  // namespace dv
