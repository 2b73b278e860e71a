// The titled form of a view: the program's picture and the view's title label ("Label1") at
// the top, its first grid (group headers, hidden sort columns, the button cells) in the middle,
// and its other labels in one row below, "lblLoading" standing last. A header click and a button
// click go through the controller's doors (shell/event_doors.h), which trap what they raise. The
// parts, units and service views show in it; a view with more on its form derives from it (frmPo
// adds its vendor totals button and progress bar in the footer).
#pragma once

#include <QWidget>
#include <functional>
#include <string_view>
#include <vector>

#include "shell/qt/qt_views.h"
#include "shell/qt/view_form.h"
#include "shell/view.h"

class QBoxLayout;
class QFont;
class QLabel;

namespace dv::qt {

class GridWidget;

class TitledViewForm : public QWidget, private ViewListener {
    Q_OBJECT

  public:
    TitledViewForm(View& view, const FormContext& context, QWidget* parent = nullptr);
    ~TitledViewForm() override;

    View& view() const { return view_; }
    GridWidget* grid() const { return grid_; }
    // The widget of a label of the view, null when it has none of that name.
    QLabel* label(std::string_view name) const;

  protected:
    // The row below the grid, where the total labels stand.
    QBoxLayout* footer() const { return footer_; }
    const FormContext& context() const { return context_; }

  private:
    void OnLabelChanged(const View& view, int label) override;
    void ShowLabel(int index);

    View& view_;
    FormContext context_;
    GridWidget* grid_ = nullptr;
    QBoxLayout* footer_ = nullptr;
    std::vector<QLabel*> labels_;  // by the view's label index; null for none
};

// The hooks of a view shown in the titled form and nothing else of its own.
QtViewHooks TitledFormHooks();

// A font made bold, its size scaled by scale.
QFont Bold(QFont font, double scale = 1.0);

}  // namespace dv::qt
