// The views that exist: each view's declaration (view_declaration.h) and its factory. The main
// window's tree, menus and orders are derived from the declarations (main_tables.h); a view
// declared without a factory is absent: its tree node and menu item do nothing, the start-up
// and File > Refresh skip it, and its recap figures stay empty. The recap board is the shell's
// own and is never registered.
//
// Every view is declared by one entry of app/views.cpp (RegisterViews), its factory with it.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "shell/view.h"
#include "shell/view_declaration.h"

namespace dv {

using ViewFactory = std::function<std::unique_ptr<View>()>;

class ViewRegistry {
  public:
    // Declares (or declares again) a view with the declaration's own factory.
    void Add(const ViewDeclaration& declaration);
    // The same with a factory of the caller's (a test's stand-in; null for none).
    void Add(const ViewDeclaration& declaration, ViewFactory factory);
    // Replaces the factory of a declared view; raises std::invalid_argument for a form that is
    // not declared, as no tree node or order would reach it.
    void SetFactory(std::string_view form_name, ViewFactory factory);

    // True when the form is declared and has a factory.
    bool Has(std::string_view form_name) const;
    // A new instance, or null for a form that is not declared or has no factory.
    std::unique_ptr<View> Create(std::string_view form_name) const;
    // The declaration of a form, null when it is not declared.
    const ViewDeclaration* Find(std::string_view form_name) const;
    // Every declaration, in the order they were made.
    std::vector<ViewDeclaration> Declarations() const;
    // The forms that have a factory, in declaration order.
    std::vector<std::string> Forms() const;

  private:
    struct Entry {
        ViewDeclaration declaration;
        ViewFactory factory;
    };
    Entry* FindEntry(std::string_view form_name);
    const Entry* FindEntry(std::string_view form_name) const;

    std::vector<Entry> entries_;
};

}  // namespace dv
