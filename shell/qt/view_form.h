// The one generic form of a view: its controls placed as the view's layout description says
// (View::layout, shell/form_layout.h), or without one its grids one above the other and its
// labels below them; its command buttons (View::commands) at the bottom, all shown from the core
// view's models. A header click, a button click and a command button's click go through the
// controller's doors (shell/event_doors.h), which run them on the view and trap what they raise.
//
// A view whose form has a control the core does not model (frmPo's progress bar and its vendor
// totals button) registers a form factory (qt_views.h) that makes those widgets, names them as
// the description does, and hands them to the form to place.
#pragma once

#include <QWidget>
#include <functional>
#include <string_view>
#include <vector>

#include "shell/event_doors.h"
#include "shell/qt/form_placement.h"
#include "shell/view.h"

class QBoxLayout;
class QLabel;

namespace dv::qt {

class Dialogs;
class GridWidget;

// What a view's Qt code gets to work with.
struct FormContext {
    EventDoors& doors;  // where every event of the form goes
    Dialogs& dialogs;
    QWidget* parent;  // the main window, the parent of modal detail forms
};

class ViewForm : public QWidget, private ViewListener {
    Q_OBJECT

  public:
    ViewForm(View& view, FormContext context, QWidget* parent = nullptr);
    // controls: widgets the description places by their object names (LayoutItem::kControl);
    // the form takes them over.
    ViewForm(View& view, FormContext context, std::vector<QWidget*> controls,
             QWidget* parent = nullptr);
    ~ViewForm() override;

    View& view() const { return view_; }
    const FormContext& context() const { return context_; }
    // The grid widget of a named grid, null when the view has none.
    GridWidget* gridWidget(std::string_view name) const;
    // The first grid's widget, null for a view without grids.
    GridWidget* grid() const { return grids_.empty() ? nullptr : grids_.front(); }
    // The widget of a label by index or by name, null when the form does not show it.
    QLabel* label(int index) const;
    QLabel* label(std::string_view name) const { return label(view_.LabelIndex(name)); }

  private:
    void OnLabelChanged(const View& view, int label) override;
    void OnBusyChanged(const View& view, bool busy) override;
    void ShowLabel(int index);
    // Makes the labels the view's layout description names and places every control.
    void PlaceAsDescribed(QBoxLayout& layout);

    View& view_;
    FormContext context_;
    std::vector<GridWidget*> grids_;
    std::vector<QLabel*> labels_;  // by the view's label index; null for one not shown
    std::vector<QWidget*> controls_;
    FormPlacement placement_;
    bool wait_cursor_ = false;
};

}  // namespace dv::qt
