// The G/L Asset Total (frmGLA) and G/L Liabilities (frmGLL) views: one grid row per account of
// the user's stored list (gl_accounts.h) that the chart of accounts holds, with its balance
// summed from the G/L detail; the sum on the view's total label and on recap label 4 or 9. The
// two are one design; GLSide holds what differs.
//
// A balance that fails to read shows 0 and is logged by the balance walk, and the view's recap
// label then reads "Data Error !" in red, so the failure never passes for a valid total. A fill
// that ends well writes the recap label in its normal colour again.
//
// The "&Select Accounts" button (cmdCashSetup) opens the account picker through the picker host
// the desktop program gives the view; Done stores the new list and the view fills again, Cancel
// leaves everything, and the close box fills again from the list stored before.
#pragma once

#include <memory>
#include <string_view>

#include "sales/views/gl_accounts.h"
#include "shell/view.h"

namespace dv {

inline constexpr std::string_view kSetupCommand = "cmdCashSetup";
inline constexpr std::string_view kReCalcCaption = "Re-Calculating... please wait !";
inline constexpr std::string_view kGLBalanceFormat = "$#,###,###.00";

// Runs the account setup dialog modally over a picker.
class AccountPickerHost {
  public:
    virtual ~AccountPickerHost() = default;
    // Shows the dialog and returns when it has closed (the picker says how).
    virtual void Run(AccountPicker& picker) = 0;
};

class GLView : public View {
  public:
    explicit GLView(GLClass gl_class);

    const GLSide& side() const { return side_; }
    GridModel& grid() const { return *grid_; }

    // Where the setup button's dialog runs (the view keeps it); without a host the button does
    // nothing.
    void SetPickerHost(std::unique_ptr<AccountPickerHost> host) { picker_host_ = std::move(host); }
    void CommandClick(std::string_view button) override;

  protected:
    void Load(ViewContext& context) override;

  private:
    // The fill routine; its errors reach the shared handler.
    void GetGLData(ViewContext& context);

    const GLSide& side_;
    GridModel* grid_;
    ViewContext* context_ = nullptr;
    std::unique_ptr<AccountPickerHost> picker_host_;
};

class GLAssetView : public GLView {
  public:
    GLAssetView() : GLView(GLClass::kAsset) {}
};

class GLLiabilityView : public GLView {
  public:
    GLLiabilityView() : GLView(GLClass::kLiability) {}
};

}  // namespace dv
