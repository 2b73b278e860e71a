// The views that exist: a form name and a factory per view. The tree and the menus know all
// fourteen views (main_tables.h); a view that is not registered is absent: its tree node and
// menu item do nothing, the start-up and File > Refresh skip it, and its recap label stays
// empty. The recap board is the shell's own and is never registered.
//
// Each view is registered by one line in app/views.cpp (RegisterViews):
//
//     registry.Add(form::kInv, [] { return std::make_unique<InventoryView>(); });
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "shell/view.h"

namespace dv {

using ViewFactory = std::function<std::unique_ptr<View>()>;

class ViewRegistry {
  public:
    // Registers (or replaces) the factory of a form.
    void Add(std::string_view form_name, ViewFactory factory);
    bool Has(std::string_view form_name) const;
    // A new instance, or null for a form that is not registered.
    std::unique_ptr<View> Create(std::string_view form_name) const;
    // The registered form names, in registration order.
    std::vector<std::string> Forms() const;

  private:
    std::vector<std::pair<std::string, ViewFactory>> entries_;
};

}  // namespace dv
