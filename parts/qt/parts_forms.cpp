#include "parts/qt/parts_forms.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "parts/views/order_views.h"
#include "shell/qt/dialogs.h"
#include "shell/qt/form_placement.h"
#include "shell/qt/grid_widget.h"
#include "shell/qt/text.h"

namespace dv::qt {
namespace {

constexpr int kProgressWidth = 180;

std::vector<QWidget*> MakeOrderControls() {
    auto* progress = new QProgressBar;
    progress->setObjectName(ToQ(kProgressBar));
    progress->setRange(0, 100);
    progress->setFixedWidth(kProgressWidth);
    auto* vendor_totals = new QPushButton(ToQ(kVendorTotalsCaption));
    vendor_totals->setObjectName(ToQ(kVendorTotalsButton));
    return {progress, vendor_totals};
}

}  // namespace

PurchaseOrdersForm::PurchaseOrdersForm(PurchaseOrdersView& view, const FormContext& context,
                                       QWidget* parent)
    : ViewForm(view, context, MakeOrderControls(), parent),
      orders_(view),
      vendor_totals_(findChild<QPushButton*>(ToQ(kVendorTotalsButton))),
      progress_(findChild<QProgressBar*>(ToQ(kProgressBar))) {
    ShowProgress();
    orders_.SetProgressListener([this] { ShowProgress(); });
    connect(vendor_totals_, &QPushButton::clicked, this, [this] {
        this->context().doors.FormEvent(orders_.form_name(), "cmdVtot_Click", [&] {
            const std::unique_ptr<VendorTotalsForm> totals = orders_.VendorTotalsClick();
            VendorTotalsDialog dialog(*totals, this->context().parent);
            this->context().dialogs.RunModal(dialog);
        });
    });
}

PurchaseOrdersForm::~PurchaseOrdersForm() {
    orders_.SetProgressListener({});
}

void PurchaseOrdersForm::ShowProgress() {
    progress_->setValue(orders_.progress_value());
    progress_->setVisible(orders_.progress_visible());
    if (progress_->isVisible()) progress_->repaint();
}

// ---- the vendor totals ----

VendorTotalsDialog::VendorTotalsDialog(VendorTotalsForm& totals, QWidget* parent)
    : QDialog(parent), grid_(new GridWidget(totals.grid, this)), total_(new QLabel(this)) {
    setObjectName("frmVtotal");
    setWindowTitle("Vendor Totals");
    setModal(true);
    total_->setObjectName("Label1");
    total_->setText(ToQ(totals.label1));
    total_->setFont(Bold(total_->font(), 1.2));
    total_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addWidget(total_);
    resize(560, 460);
}

// ---- registration ----

QtViewHooks PurchaseOrdersQtHooks() {
    return {[](View& view, const FormContext& context) -> QWidget* {
        auto* orders = dynamic_cast<PurchaseOrdersView*>(&view);
        if (orders == nullptr) return new ViewForm(view, context);
        return new PurchaseOrdersForm(*orders, context);
    }};
}

}  // namespace dv::qt
