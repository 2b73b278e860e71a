#include "parts/qt/parts_forms.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "parts/views/order_views.h"
#include "shell/qt/dialogs.h"
#include "shell/qt/grid_widget.h"
#include "shell/qt/text.h"
#include "shell/qt/titled_view_form.h"

namespace dv::qt {

PurchaseOrdersForm::PurchaseOrdersForm(PurchaseOrdersView& view, const FormContext& context,
                                       QWidget* parent)
    : TitledViewForm(view, context, parent),
      orders_(view),
      vendor_totals_(new QPushButton(ToQ(kVendorTotalsCaption), this)),
      progress_(new QProgressBar(this)) {
    vendor_totals_->setObjectName("cmdVtot");
    progress_->setObjectName("pb1");
    progress_->setRange(0, 100);
    progress_->setFixedWidth(180);
    footer()->addWidget(progress_);
    footer()->addWidget(vendor_totals_);
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
        if (orders == nullptr) return new TitledViewForm(view, context);
        return new PurchaseOrdersForm(*orders, context);
    }};
}

}  // namespace dv::qt
