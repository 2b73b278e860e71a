// The desktop side of the parts views beyond the generic view form (shell/qt/view_form.h), where
// frmInv and frmReturn show: frmPo's two controls the core does not model, and the vendor totals
// frmVtotal (the order detail frmPODetail is a DetailForm, shown by the shell's generic detail
// dialog). They show the core's models and pass the user's clicks back; every figure is worked
// out in the core.
//
// frmPo is the generic form with, where its layout description names them, the progress bar pb1
// (shown with "Loading..." while a detail loads and while it is open) and the button
// "&Vendor Totals".
#pragma once

#include <QDialog>
#include <QWidget>
#include <functional>
#include <string_view>
#include <vector>

#include "shell/qt/qt_views.h"
#include "shell/qt/view_form.h"
#include "shell/view.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QBoxLayout;

namespace dv {
struct VendorTotalsForm;
class PurchaseOrdersView;
}  // namespace dv

namespace dv::qt {

class GridWidget;

// The hooks of frmPo.
QtViewHooks PurchaseOrdersQtHooks();

// frmPo: the generic form with the vendor totals button and the progress display.
class PurchaseOrdersForm : public ViewForm {
    Q_OBJECT

  public:
    PurchaseOrdersForm(PurchaseOrdersView& view, const FormContext& context,
                       QWidget* parent = nullptr);
    ~PurchaseOrdersForm() override;

    QPushButton* vendorTotalsButton() const { return vendor_totals_; }
    QProgressBar* progressBar() const { return progress_; }

  private:
    void ShowProgress();

    PurchaseOrdersView& orders_;
    QPushButton* vendor_totals_;
    QProgressBar* progress_;
};

// frmVtotal.
class VendorTotalsDialog : public QDialog {
    Q_OBJECT

  public:
    explicit VendorTotalsDialog(VendorTotalsForm& totals, QWidget* parent = nullptr);

    GridWidget* grid() const { return grid_; }
    QLabel* totalLabel() const { return total_; }

  private:
    GridWidget* grid_;
    QLabel* total_;
};

}  // namespace dv::qt
