#include "shell/recap_board.h"

#include "engine/dates.h"
#include "engine/error.h"
#include "records/clock_text.h"

namespace dv {

const std::array<RecapPlace, kRecapLabelCount> kRecapLayout = {{
    {0, "Accounts Receivable", RecapBlock::kAssets, 1, ""},
    {6, "Billed Warranties", RecapBlock::kAssets, 2, ""},
    {4, "G/L Asset Total", RecapBlock::kAssets, 3, ""},
    {1, "Inventory - Parts", RecapBlock::kAssets, 4, ""},
    {11, "Floor Plan", RecapBlock::kAssets, 5, ""},
    {12, "Units", RecapBlock::kAssets, 6, ""},
    {2, "Open Sales Orders", RecapBlock::kAssets, 7, ""},
    {3, "Open Shop Work", RecapBlock::kAssets, 8, ""},
    {5, "Pending Returns", RecapBlock::kAssets, 9, ""},
    {7, "Todays Sales", RecapBlock::kAssets, 10, ""},
    {10, "Todays Cash", RecapBlock::kAssets, 11, ""},
    {8, "Open Purchase Orders", RecapBlock::kLiabilities, 1, ""},
    {9, "G/L Liability Total", RecapBlock::kLiabilities, 2, ""},
    {13, "MTD", RecapBlock::kSalesAndProfit, 1, "Sales"},
    {14, "MTD", RecapBlock::kSalesAndProfit, 2, "Cost"},
    {15, "MTD", RecapBlock::kSalesAndProfit, 3, "GPR"},
    {16, "YTD", RecapBlock::kSalesAndProfit, 4, "Sales"},
    {17, "YTD", RecapBlock::kSalesAndProfit, 5, "Cost"},
    {18, "YTD", RecapBlock::kSalesAndProfit, 6, "GPR"},
    {19, "LYR", RecapBlock::kSalesAndProfit, 7, "Sales"},
    {20, "LYR", RecapBlock::kSalesAndProfit, 8, "Cost"},
    {21, "LYR", RecapBlock::kSalesAndProfit, 9, "GPR"},
}};

RecapBoard::RecapBoard() : View("frmRecap", std::string(kRecapCaption)) {
    for (int i = 0; i < kRecapLabelCount; ++i) AddLabel("lblRecap(" + std::to_string(i) + ")");
    AddLabel("lblcompiledate");
}

int RecapBoard::CheckIndex(int index) const {
    if (index < 0 || index >= kRecapLabelCount) RaisePlatform(err::kSubscript, "lblRecap");
    return index;
}

void RecapBoard::SetCaption(int index, std::string caption) {
    SetLabelCaption(CheckIndex(index), std::move(caption));
}

void RecapBoard::MarkError(int index) {
    SetLabelRed(CheckIndex(index), true);
    SetLabelCaption(index, std::string(kDataError));
}

bool RecapBoard::Click(int index) const {
    return index >= 0 && index < kRecapLabelCount && Label(index).caption == kDataError;
}

void RecapBoard::Load(ViewContext&) {
    const Date now = Now();
    SetLabelCaption(kCompileLabel, " Compiled  " + ShortDateText(now) + "  " + ShortTimeText(now));
}

}  // namespace dv
