// The detail forms of the Floor Plan and Units views as models: a caption, labels, one grid,
// and what the grid's buttons and headers do. A view builds one, hands it to the desktop layer
// through the hooks to be shown modally, and a button in it builds and shows the next one.
//
// Every handler that opens a form traps its errors (TrapDetailError): the failure is logged,
// reported in a message, and the program and the view go on.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "shell/grid_model.h"
#include "shell/view.h"

namespace dv {

struct UnitsDetailForm {
    UnitsDetailForm(std::string form_name, std::string form_caption, std::string grid_name)
        : form(std::move(form_name)),
          caption(std::move(form_caption)),
          grid(std::move(grid_name)) {}
    UnitsDetailForm(const UnitsDetailForm&) = delete;
    UnitsDetailForm& operator=(const UnitsDetailForm&) = delete;

    std::string form;  // "frmFpdtl"
    std::string caption;
    std::vector<FormLabel> labels;
    GridModel grid;
    // The grid's button and header events; empty: nothing happens.
    std::function<void(int row)> button;
    std::function<void(int column)> header;
};

struct UnitsDetailHooks {
    // Shows the form modally and returns when the user closed it. Empty: not shown.
    std::function<void(UnitsDetailForm&)> show;
    // Shows a message box.
    std::function<void(const std::string&)> message;
};

// Runs a handler that builds and shows a detail form. An error it raises is logged as
// "*Error in <form> <routine> routine error # :  <n>  <description>" and shown in a message
// "<what> could not be shown.  Error <n> : <description>"; nothing else happens.
void TrapDetailError(const UnitsDetailHooks& hooks, std::string_view form, std::string_view routine,
                     std::string_view what, const std::function<void()>& handler);

// Shows a form through the hooks.
inline void ShowDetail(const UnitsDetailHooks& hooks, UnitsDetailForm& form) {
    if (hooks.show) hooks.show(form);
}

}  // namespace dv
