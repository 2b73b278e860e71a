#include "shell/view_registry.h"

#include <stdexcept>

namespace dv {

void ViewRegistry::Add(const ViewDeclaration& declaration) {
    ViewFactory factory;
    if (declaration.make != nullptr) factory = declaration.make;
    Add(declaration, std::move(factory));
}

void ViewRegistry::Add(const ViewDeclaration& declaration, ViewFactory factory) {
    if (Entry* e = FindEntry(declaration.form)) {
        *e = Entry{declaration, std::move(factory)};
        return;
    }
    entries_.push_back(Entry{declaration, std::move(factory)});
}

void ViewRegistry::SetFactory(std::string_view form_name, ViewFactory factory) {
    Entry* e = FindEntry(form_name);
    if (e == nullptr)
        throw std::invalid_argument("no view is declared as " + std::string(form_name));
    e->factory = std::move(factory);
}

ViewRegistry::Entry* ViewRegistry::FindEntry(std::string_view form_name) {
    for (Entry& e : entries_) {
        if (e.declaration.form == form_name) return &e;
    }
    return nullptr;
}

const ViewRegistry::Entry* ViewRegistry::FindEntry(std::string_view form_name) const {
    for (const Entry& e : entries_) {
        if (e.declaration.form == form_name) return &e;
    }
    return nullptr;
}

bool ViewRegistry::Has(std::string_view form_name) const {
    const Entry* e = FindEntry(form_name);
    return e != nullptr && e->factory != nullptr;
}

std::unique_ptr<View> ViewRegistry::Create(std::string_view form_name) const {
    const Entry* e = FindEntry(form_name);
    return e != nullptr && e->factory ? e->factory() : nullptr;
}

const ViewDeclaration* ViewRegistry::Find(std::string_view form_name) const {
    const Entry* e = FindEntry(form_name);
    return e != nullptr ? &e->declaration : nullptr;
}

std::vector<ViewDeclaration> ViewRegistry::Declarations() const {
    std::vector<ViewDeclaration> out;
    for (const Entry& e : entries_) out.push_back(e.declaration);
    return out;
}

std::vector<std::string> ViewRegistry::Forms() const {
    std::vector<std::string> out;
    for (const Entry& e : entries_) {
        if (e.factory) out.emplace_back(e.declaration.form);
    }
    return out;
}

}  // namespace dv
