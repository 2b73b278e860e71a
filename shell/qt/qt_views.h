// What a view brings to the desktop program beyond its core view. Most views need nothing: the
// generic form shows their grids and labels as their layout descriptions place them. A view
// registers here only a form factory, when its form has widgets the core does not model. Every
// event of a form goes through FormContext::doors; its buttons open their detail forms through the
// program's detail host. Each view with Qt code adds one line to RegisterQtViews in
// app/qt_views.cpp:
//
//     registry.Add(form::kPo, PurchaseOrdersQtHooks());
#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/qt/view_form.h"
#include "shell/view.h"

namespace dv::qt {

// Builds the widget that shows a view inside its sub-window.
using FormFactory = std::function<QWidget*(View& view, const FormContext& context)>;

struct QtViewHooks {
    FormFactory make_form;  // empty: the generic ViewForm
};

class QtViewRegistry {
  public:
    void Add(std::string_view form_name, QtViewHooks hooks);
    // The hooks of a form, null when it registered none.
    const QtViewHooks* Find(std::string_view form_name) const;

    // The widget for a view: its factory's, else the generic form.
    QWidget* MakeForm(View& view, const FormContext& context) const;

  private:
    std::vector<std::pair<std::string, QtViewHooks>> entries_;
};

}  // namespace dv::qt
