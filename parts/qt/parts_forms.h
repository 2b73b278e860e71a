// The desktop forms of the parts views: frmInv, frmReturn and frmPo over their core views, and
// the vendor totals frmVtotal (the order detail frmPODetail is a DetailForm, shown by the
// shell's generic detail dialog). They show the core's models and
// pass the user's clicks back; every figure is worked out in the core.
//
// Each view's form: its picture and title at the top, the grid (group headers, hidden "ndate",
// the document number as a button cell), the total labels below. frmPo adds the button
// "&Vendor Totals" and the progress bar pb1 with "Loading...", shown while a detail loads and
// while it is open.
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

// The hooks of RegisterQtViews for the three views.
QtViewHooks InventoryQtHooks();
QtViewHooks ReturnsQtHooks();
QtViewHooks PurchaseOrdersQtHooks();

// The form of one parts view.
class PartsViewForm : public QWidget, private ViewListener {
    Q_OBJECT

  public:
    PartsViewForm(View& view, const FormContext& context, QWidget* parent = nullptr);
    ~PartsViewForm() override;

    View& view() const { return view_; }
    GridWidget* grid() const { return grid_; }
    // The widget of a label of the view, null when it has none of that name.
    QLabel* label(std::string_view name) const;

  protected:
    // The row below the grid, where the total labels stand.
    QBoxLayout* footer() const { return footer_; }
    const FormContext& context() const { return context_; }
    void Guard(const char* event, const std::function<void()>& action);

  private:
    void OnLabelChanged(const View& view, int label) override;
    void ShowLabel(int index);

    View& view_;
    FormContext context_;
    GridWidget* grid_ = nullptr;
    QBoxLayout* footer_ = nullptr;
    std::vector<QLabel*> labels_;  // by the view's label index; null for none
};

// frmPo: the parts view form with the vendor totals button and the progress display.
class PurchaseOrdersForm : public PartsViewForm {
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
