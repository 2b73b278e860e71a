#include "shell/qt/view_form.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <string>

#include "shell/qt/form_placement.h"
#include "shell/qt/grid_widget.h"
#include "shell/qt/text.h"

namespace dv::qt {

namespace {

constexpr int kLabelColumns = 4;

}  // namespace

ViewForm::ViewForm(View& view, FormContext context, QWidget* parent)
    : ViewForm(view, context, {}, parent) {}

ViewForm::ViewForm(View& view, FormContext context, std::vector<QWidget*> controls, QWidget* parent)
    : QWidget(parent), view_(view), context_(context), controls_(std::move(controls)) {
    for (QWidget* control : controls_) control->setParent(this);
    setObjectName(ToQ(view.form_name()));
    auto* layout = new QVBoxLayout(this);
    for (const auto& grid : view_.grids()) {
        auto* widget = new GridWidget(*grid, this);
        const std::string name = grid->name();
        connect(widget, &GridWidget::headerClicked, this,
                [this, name](int column) { context_.doors.GridHeaderClick(view_, name, column); });
        connect(widget, &GridWidget::buttonClicked, this,
                [this, name](int row) { context_.doors.GridButtonClick(view_, name, row); });
        grids_.push_back(widget);
    }
    if (!view_.layout().empty()) {
        PlaceAsDescribed(*layout);
    } else {
        for (GridWidget* widget : grids_) layout->addWidget(widget, 1);
    }
    if (view_.layout().empty() && view_.LabelCount() > 0) {
        auto* labels = new QGridLayout;
        labels->setHorizontalSpacing(18);
        for (int i = 0; i < view_.LabelCount(); ++i) {
            auto* label = new QLabel(this);
            label->setObjectName(ToQ(view_.Label(i).name));
            label->setTextInteractionFlags(Qt::TextSelectableByMouse);
            labels->addWidget(label, i / kLabelColumns, i % kLabelColumns);
            labels_.push_back(label);
        }
        layout->addLayout(labels);
    }
    if (!view_.commands().empty()) {
        auto* buttons = new QHBoxLayout;
        buttons->addStretch();
        for (const FormCommand& command : view_.commands()) {
            auto* button = new QPushButton(ToQ(command.caption), this);
            button->setObjectName(ToQ(command.name));
            button->setVisible(command.visible);
            const std::string name = command.name;
            connect(button, &QPushButton::clicked, this,
                    [this, name] { context_.doors.CommandClick(view_, name); });
            buttons->addWidget(button);
        }
        layout->addLayout(buttons);
    }
    if (grids_.empty()) layout->addStretch();
    for (int i = 0; i < view_.LabelCount(); ++i) ShowLabel(i);
    view_.SetListener(this);
}

ViewForm::~ViewForm() {
    view_.SetListener(nullptr);
    if (wait_cursor_) QApplication::restoreOverrideCursor();
}

void ViewForm::PlaceAsDescribed(QBoxLayout& layout) {
    // Only the labels the description names are made; a grid it leaves out stands below.
    const FormLayout& description = view_.layout();
    labels_.assign(static_cast<size_t>(view_.LabelCount()), nullptr);
    for (int i = 0; i < view_.LabelCount(); ++i) {
        const std::string& name = view_.Label(i).name;
        if (!description.Places(name)) continue;
        auto* label = new QLabel(this);
        label->setObjectName(ToQ(name));
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        labels_[static_cast<size_t>(i)] = label;
    }
    FormWidgets widgets;
    widgets.label = [this](std::string_view name) { return label(view_.LabelIndex(name)); };
    widgets.grid = [this](std::string_view name) -> QWidget* { return gridWidget(name); };
    widgets.choice = [](std::string_view) -> QWidget* { return nullptr; };
    widgets.control = [this](std::string_view name) -> QWidget* {
        for (QWidget* control : controls_) {
            if (control->objectName() == ToQ(name)) return control;
        }
        return nullptr;
    };
    placement_.Place(*this, layout, description, widgets);
    for (GridWidget* widget : grids_) {
        if (!description.Places(widget->grid().name())) layout.addWidget(widget, 1);
    }
}

GridWidget* ViewForm::gridWidget(std::string_view name) const {
    for (GridWidget* g : grids_) {
        if (g->grid().name() == name) return g;
    }
    return nullptr;
}

QLabel* ViewForm::label(int index) const {
    if (index < 0 || index >= static_cast<int>(labels_.size())) return nullptr;
    return labels_[static_cast<size_t>(index)];
}

void ViewForm::OnLabelChanged(const View&, int label) {
    ShowLabel(label);
}

void ViewForm::ShowLabel(int index) {
    if (index < 0 || index >= view_.LabelCount()) return;
    const FormLabel& model = view_.Label(index);
    if (placement_.ShowTitle(model)) return;
    QLabel* widget = label(index);
    if (widget == nullptr) return;
    const bool shown = !widget->isHidden();
    widget->setText(ToQ(model.caption));
    widget->setStyleSheet(model.red ? "color: rgb(255, 0, 0);" : QString());
    widget->setVisible(model.visible);
    // A label that comes up while the view works ("Re-Calculating... please wait !") is painted
    // at once, before the work: the event loop does not run until the work is done.
    if (model.visible && !shown && isVisible()) {
        if (layout() != nullptr) layout()->activate();
        widget->repaint();
    }
}

void ViewForm::OnBusyChanged(const View&, bool busy) {
    if (busy == wait_cursor_) return;
    wait_cursor_ = busy;
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

}  // namespace dv::qt
