// The Sales / Cash view (frmSales): the day's counter business per counterman of MANI, from 1 up,
// as the counterman file holds it. One row per counterman in the sales grid (invoices, line
// items, goods sales, labor, discounts) and one in the cash grid (cash sales, refunds, payments
// on account, deposits and the net cash); the goods-sales total on recap label 7 and the net
// cash total on recap label 10.
//
// An index entry whose record holds another counterman number gives no row. Money is whole
// cents summed in 64 bits; the money cells carry their cents as the typed value they sort by.
#pragma once

#include <cstdint>
#include <string_view>

#include "sales/counterman_record.h"
#include "shell/grid_sort.h"
#include "shell/view.h"

namespace dv {

inline constexpr std::string_view kSalesGrid = "grdSales";
inline constexpr std::string_view kCashGrid = "grdCash";
inline constexpr std::string_view kSalesProgress = "Loading Todays Sales...";
inline constexpr int kSalesRecapLabel = 7;
inline constexpr int kCashRecapLabel = 10;

// The net cash of a counterman in cents: |cash received| + |deposits in| - |refunds| +
// |payments on account|.
int64_t NetCash(const clsCounterman& man);

class SalesCashView : public View {
  public:
    SalesCashView();

    GridModel& sales() const { return *sales_; }
    GridModel& cash() const { return *cash_; }

  protected:
    void Load(ViewContext& context) override;

  private:
    // The fill routine; its errors reach the shared handler of Load.
    void GetSales(ViewContext& context);

    GridModel* sales_;
    GridModel* cash_;
};

}  // namespace dv
