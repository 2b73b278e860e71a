// The recap board frmRecap ("System Recap"): one headline figure of every view in the labels
// lblRecap(0) to lblRecap(21). The board computes nothing: each view writes its own label(s)
// at the end of its load, and a view whose fill fails marks its label red with "Data Error !".
// A click on a label that reads "Data Error !" opens the log viewer.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "shell/view.h"

namespace dv {

inline constexpr int kRecapLabelCount = 22;

// The board's labels by the view that writes them: lblRecap(index).
namespace recap {
inline constexpr int kAR = 0;         // Accounts Receivable
inline constexpr int kInventory = 1;  // Inventory Investment (parts)
inline constexpr int kOpenSales = 2;
inline constexpr int kShop = 3;  // Open Shop Work
inline constexpr int kGLAssets = 4;
inline constexpr int kReturns = 5;
inline constexpr int kWarranty = 6;  // Billed Warranties, either form
inline constexpr int kSales = 7;     // today's sales (Sales / Cash)
inline constexpr int kPurchaseOrders = 8;
inline constexpr int kGLLiabilities = 9;
inline constexpr int kCash = 10;  // today's cash (Sales / Cash)
inline constexpr int kFloorPlan = 11;
inline constexpr int kUnits = 12;
// The Profit view's nine figures: sales, cost and gross-profit rate month to date, year to
// date and for the previous year.
inline constexpr int kProfitFirst = 13;
inline constexpr int kMtdSales = 13;
inline constexpr int kMtdCost = 14;
inline constexpr int kMtdGpr = 15;
inline constexpr int kYtdSales = 16;
inline constexpr int kYtdCost = 17;
inline constexpr int kYtdGpr = 18;
inline constexpr int kLyrSales = 19;
inline constexpr int kLyrCost = 20;
inline constexpr int kLyrGpr = 21;
inline constexpr int kProfitLast = 21;
}  // namespace recap

// The board's blocks, for the desktop layout.
enum class RecapBlock { kAssets, kLiabilities, kSalesAndProfit };

// One figure of the board: its label index, the caption beside it and its place.
struct RecapPlace {
    int index;
    std::string_view caption;  // the row caption ("MTD") in the Sales && Profit grid
    RecapBlock block;
    int place;                // 1-based, top to bottom; in the grid row * 3 + column
    std::string_view column;  // "Sales", "Cost" or "GPR" in the grid; empty elsewhere
};

// The 22 figures in the board's layout order.
extern const std::array<RecapPlace, kRecapLabelCount> kRecapLayout;

inline constexpr std::string_view kRecapCaption = "System Recap";
inline constexpr std::string_view kAssetsHeading = "Assets";
inline constexpr std::string_view kLiabilitiesHeading = "Liabilities";
inline constexpr std::string_view kSalesProfitHeading = "Sales && Profit";  // shown with one "&"

class RecapBoard : public View {
  public:
    RecapBoard();

    // lblRecap(i): labels 0 to 21 of the form are the board's figures; label 22 is
    // lblcompiledate.
    const FormLabel& Figure(int index) const { return Label(CheckIndex(index)); }
    // Writes a figure's caption; its colour stays as it is.
    void SetCaption(int index, std::string caption);
    // The views' error mark: red fore colour and "Data Error !".
    void MarkError(int index);
    // " Compiled  " & date & "  " & time of the board's load.
    const std::string& CompileText() const { return Label(kCompileLabel).caption; }

    // A click on a figure: true when it reads exactly "Data Error !", which opens the log viewer.
    bool Click(int index) const;

    static constexpr int kCompileLabel = kRecapLabelCount;

  protected:
    void Load(ViewContext& context) override;

  private:
    int CheckIndex(int index) const;
};

}  // namespace dv
