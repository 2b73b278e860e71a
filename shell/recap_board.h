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
