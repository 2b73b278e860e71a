// The Accounts Receivable view (frmAR): the receivables summary the dealer system leaves at its
// end of day, DARR.KRLI at the root of the data directory, copied into two grids. Lines are
// split on commas with the empty pieces dropped; piece 0 is a text and piece 1 an amount in
// cents. Line 1 is a header; lines 2 to 30 are rows of grdARCur, line 30 also recap label 0;
// lines 31 on are rows of grdFuture. A missing file hides both grids and an empty one shows them
// empty, neither an error (the recap label is left as it is); a file of lines that ends before
// line 30 keeps its rows and ends the fill with 1071. That, a line from
// 2 on with fewer than two pieces, an amount that is no number, or a file that can't be read
// ends the fill with "Data Error !" on recap label 0 and the log line of frmAr's GetAR; the rows
// added stay.
#pragma once

#include <string>
#include <string_view>

#include "shell/number_format.h"
#include "shell/view.h"

namespace dv {

inline constexpr std::string_view kARCurrentGrid = "grdARCur";
inline constexpr std::string_view kARFutureGrid = "grdFuture";
inline constexpr std::string_view kARProgress = "Loading A/R...";
inline constexpr std::string_view kARFile = "DARR.KRLI";

class ARView : public View {
  public:
    ARView();

  protected:
    void Load(ViewContext& context) override;

  private:
    void GetAR(ViewContext& context);
    GridModel* current_;
    GridModel* future_;
};

// The amount of a summary line's piece 1 (whole cents as text, optionally signed, with
// decimals) as a number of dollars; error 13 "Type mismatch" for anything else.
Number ReceivableAmount(std::string_view piece);

}  // namespace dv
