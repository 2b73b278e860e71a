#include "shell/qt/titled_view_form.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "shell/qt/grid_widget.h"
#include "shell/qt/icons.h"
#include "shell/qt/text.h"

namespace dv::qt {
namespace {

constexpr std::string_view kTitleLabel = "Label1";
constexpr std::string_view kLoadingLabel = "lblLoading";

}  // namespace

QFont Bold(QFont font, double scale) {
    font.setBold(true);
    if (scale != 1.0 && font.pointSizeF() > 0) font.setPointSizeF(font.pointSizeF() * scale);
    return font;
}

TitledViewForm::TitledViewForm(View& view, const FormContext& context, QWidget* parent)
    : QWidget(parent), view_(view), context_(context) {
    setObjectName(ToQ(view.form_name()));
    labels_.assign(static_cast<size_t>(view_.LabelCount()), nullptr);
    auto* layout = new QVBoxLayout(this);

    auto* heading = new QHBoxLayout;
    auto* image = new QLabel(this);
    image->setObjectName("Image1");
    image->setPixmap(LogoPixmap(40));
    heading->addWidget(image);
    heading->addSpacing(8);
    const int title = view_.LabelIndex(kTitleLabel);
    if (title >= 0) {
        auto* label = new QLabel(this);
        label->setObjectName(ToQ(kTitleLabel));
        label->setFont(Bold(label->font(), 1.5));
        heading->addWidget(label);
        labels_[static_cast<size_t>(title)] = label;
    }
    heading->addStretch();
    layout->addLayout(heading);

    if (!view_.grids().empty()) {
        GridModel& model = *view_.grids().front();
        grid_ = new GridWidget(model, this);
        const std::string name = model.name();
        connect(grid_, &GridWidget::headerClicked, this,
                [this, name](int column) { context_.doors.GridHeaderClick(view_, name, column); });
        connect(grid_, &GridWidget::buttonClicked, this,
                [this, name](int row) { context_.doors.GridButtonClick(view_, name, row); });
        layout->addWidget(grid_, 1);
    }

    footer_ = new QHBoxLayout;
    footer_->setSpacing(24);
    QLabel* loading = nullptr;
    for (int i = 0; i < view_.LabelCount(); ++i) {
        if (i == title) continue;
        auto* label = new QLabel(this);
        label->setObjectName(ToQ(view_.Label(i).name));
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        labels_[static_cast<size_t>(i)] = label;
        if (view_.Label(i).name == kLoadingLabel) {
            loading = label;  // stands beside the progress bar, after the totals
            continue;
        }
        label->setFont(Bold(label->font()));
        footer_->addWidget(label);
    }
    footer_->addStretch();
    if (loading) footer_->addWidget(loading);
    layout->addLayout(footer_);

    for (int i = 0; i < view_.LabelCount(); ++i) ShowLabel(i);
    view_.SetListener(this);
}

TitledViewForm::~TitledViewForm() {
    view_.SetListener(nullptr);
}

QLabel* TitledViewForm::label(std::string_view name) const {
    const int i = view_.LabelIndex(name);
    return i < 0 ? nullptr : labels_[static_cast<size_t>(i)];
}

void TitledViewForm::OnLabelChanged(const View&, int label) {
    ShowLabel(label);
}

void TitledViewForm::ShowLabel(int index) {
    if (index < 0 || index >= static_cast<int>(labels_.size())) return;
    QLabel* widget = labels_[static_cast<size_t>(index)];
    if (widget == nullptr) return;
    const FormLabel& model = view_.Label(index);
    widget->setText(ToQ(model.caption));
    widget->setStyleSheet(model.red ? "color: rgb(255, 0, 0);" : QString());
    widget->setVisible(model.visible);
    // A detail's load runs without the event loop: paint at once.
    if (widget->isVisible()) widget->repaint();
}

QtViewHooks TitledFormHooks() {
    return {[](View& view, const FormContext& context) -> QWidget* {
        return new TitledViewForm(view, context);
    }};
}

}  // namespace dv::qt
