// The generic form of a view: its controls placed as the view's layout description says
// (View::layout, shell/form_layout.h), or without one its grids one above the other and its
// labels below them; its command buttons (View::commands) at the bottom, all shown from the core
// view's models. A header click, a button click and a command button's click go back to the view
// (or, for a button, to the detail opener the view registered on the Qt side). An error in
// either is caught, logged and shown: it never ends the program.
//
// A view that needs a layout of its own registers a form factory instead (qt_views.h).
#pragma once

#include <QWidget>
#include <functional>
#include <string_view>
#include <vector>

#include "shell/qt/form_placement.h"
#include "shell/view.h"

class QBoxLayout;
class QLabel;

namespace dv::qt {

class Dialogs;
class GridWidget;

// What a view's Qt code gets to work with.
struct FormContext {
    Dialogs& dialogs;
    QWidget* parent;  // the main window, the parent of modal detail forms
};

// Opens the detail of a button click of a view's grid (a modal detail form).
using ButtonHandler =
    std::function<void(View& view, std::string_view grid, int row, const FormContext& context)>;

class ViewForm : public QWidget, private ViewListener {
    Q_OBJECT

  public:
    ViewForm(View& view, FormContext context, ButtonHandler on_button = {},
             QWidget* parent = nullptr);
    ~ViewForm() override;

    View& view() const { return view_; }
    // The grid widget of a named grid, null when the view has none.
    GridWidget* gridWidget(std::string_view name) const;
    // The widget of a label by index, null when the form does not show it.
    QLabel* label(int index) const;

  private:
    void OnLabelChanged(const View& view, int label) override;
    void OnBusyChanged(const View& view, bool busy) override;
    void ShowLabel(int index);
    // Makes the labels the view's layout description names and places every control.
    void PlaceAsDescribed(QBoxLayout& layout);
    // Runs an event of the view, catching what it raises.
    void Guard(const char* event, const std::function<void()>& action);

    View& view_;
    FormContext context_;
    ButtonHandler on_button_;
    std::vector<GridWidget*> grids_;
    std::vector<QLabel*> labels_;  // by the view's label index; null for one not shown
    FormPlacement placement_;
    bool wait_cursor_ = false;
};

}  // namespace dv::qt
