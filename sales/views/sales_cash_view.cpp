#include "sales/views/sales_cash_view.h"

#include <cstdlib>
#include <string>

#include "engine/business_basic.h"
#include "engine/codec.h"
#include "engine/index_cursor.h"
#include "shell/number_format.h"
#include "shell/recap_board.h"
#include "shell/splash.h"

namespace dv {
namespace {

constexpr std::string_view kCellFormat = "#,###,###.00";
constexpr std::string_view kRecapFormat = "$#,###,###.00";
constexpr int32_t kFirstCounterman = 1;

using namespace grid_columns;

// The hidden "ndate" and the blank "GPR" do not sort.
const GridColumn kSalesColumns[] = {
    {"Man", "Man #", "", false, false, kRight, 0, kNumber},
    {"Name", "Name", "", false, false, kLeft, 0, kText},
    {"Invoices", "# Invoices", "", false, false, kRight, 0, kNumber},
    {"Items", "Line Items", "", false, false, kRight, 0, kNumber},
    {"mdse", "Mdse", "", false, false, kRight, 0, kNumber},
    {"ndate", "ndate", "", true, false, kLeft, 0},
    {"Labor", "Labor", "", false, false, kRight, 0, kNumber},
    {"Disc", "Disc", "", false, false, kRight, 0, kNumber},
    {"GPR", "GPR", "", false, false, kRight, 0},
};

const GridColumn kCashColumns[] = {
    {"Man", "Man #", "", false, false, kRight, 0, kNumber},
    {"Name", "Name", "", false, false, kLeft, 0, kText},
    {"Cash", "Cash-Sales", "", false, false, kRight, 0, kNumber},
    {"Refunds", "Refunds", "", false, false, kRight, 0, kNumber},
    {"ROA", "R-O-A", "", false, false, kRight, 0, kNumber},
    {"ndate", "ndate", "", true, false, kLeft, 0},
    {"Deposits", "Deposits", "", false, false, kRight, 0, kNumber},
    {"Net", "Net", "", false, false, kRight, 0, kNumber},
    {"GPR", "GPR", "", false, false, kRight, 0},
};

void SetMoney(GridModel& grid, int row, std::string_view column, int64_t cents) {
    grid.SetCell(row, column, FormatNumber(Number::Cents(cents), kCellFormat), cents);
}

}  // namespace

int64_t NetCash(const clsCounterman& man) {
    return std::llabs(man.Todays_Cash_Recvd) + std::llabs(man.Deposits_In_Today) -
           std::llabs(man.Todays_Refunds) + std::llabs(man.Todays_Payments);
}

SalesCashView::SalesCashView() : View("frmSales", "Sales / Cash") {
    AddLabel("Label1", "Todays Sales");
    AddLabel("Label2", "Cash");
    AddLabel("lblSaleTot");
    AddLabel("lblCashTot");
    sales_ = &AddGrid(std::string(kSalesGrid));
    for (const GridColumn& c : kSalesColumns) sales_->AddColumn(c);
    cash_ = &AddGrid(std::string(kCashGrid));
    for (const GridColumn& c : kCashColumns) cash_->AddColumn(c);
    // The picture beside the first heading; each heading above its grid, each total under it.
    SetLayout({{layout::Picture("Image1"), layout::Title("Label1")},
               {layout::Grid(std::string(kSalesGrid))},
               {layout::Total("lblSaleTot")},
               {layout::Heading("Label2")},
               {layout::Grid(std::string(kCashGrid))},
               {layout::Total("lblCashTot")}});
}

void SalesCashView::Load(ViewContext& context) {
    context.Splash().SetProgress(std::string(kSalesProgress));
    RunFill(context, "GetSales", {kSalesRecapLabel}, [&] { GetSales(context); });
}

void SalesCashView::GetSales(ViewContext& context) {
    clsCounterman man;
    std::string from(2, '\0');
    sales_->RemoveAll();
    cash_->RemoveAll();
    int64_t sales_total = 0, cash_total = 0;

    cBusinessBasic& engine = RequireEngine("GetSales");
    Pack("C", from, kFirstCounterman, 1);
    int16_t flag = 0;
    IndexCursor(engine, "MANI").Walk(KeyRange::From(from), [&](const IndexCursor& at) {
        man.Unpack(engine.LreadFile("MANL", at.record(), flag) +
                   engine.LreadFile("EMANL", at.record(), flag));
        if (Unpack("C", at.key(), 1) == man.COUNTERMAN_Number) {
            const std::string number = std::to_string(man.COUNTERMAN_Number);
            const int s = sales_->AddRow();
            sales_->SetCell(s, "Man", number, man.COUNTERMAN_Number);
            sales_->SetCell(s, "Name", man.Name);
            sales_->SetCell(s, "Invoices", std::to_string(man.Todays_Invoices),
                            man.Todays_Invoices);
            sales_->SetCell(s, "Items", std::to_string(man.Todays_Line_Items),
                            man.Todays_Line_Items);
            SetMoney(*sales_, s, "mdse", man.Todays_Mdse_Sales);
            SetMoney(*sales_, s, "Labor", man.Todays_Labor_Sales);
            SetMoney(*sales_, s, "Disc", man.Todays_Discounts);
            sales_->SetCell(s, "GPR", "");
            sales_total += man.Todays_Mdse_Sales;

            const int64_t net = NetCash(man);
            const int c = cash_->AddRow();
            cash_->SetCell(c, "Man", number, man.COUNTERMAN_Number);
            cash_->SetCell(c, "Name", man.Name);
            SetMoney(*cash_, c, "Cash", man.Todays_Cash_Recvd);
            SetMoney(*cash_, c, "Refunds", man.Todays_Refunds);
            SetMoney(*cash_, c, "ROA", std::llabs(man.Todays_Payments));
            SetMoney(*cash_, c, "Deposits", man.Deposits_In_Today);
            SetMoney(*cash_, c, "Net", net);
            cash_total += net;
        }
    });
    sales_->MoveFirst();
    cash_->MoveFirst();

    context.Recap().SetCaption(kSalesRecapLabel,
                               FormatNumber(Number::Cents(sales_total), kRecapFormat));
    context.Recap().SetCaption(kCashRecapLabel,
                               FormatNumber(Number::Cents(cash_total), kRecapFormat));
    SetLabelCaption("lblSaleTot",
                    "Sales Total  " + FormatNumber(Number::Cents(sales_total), kCellFormat));
    SetLabelCaption("lblCashTot",
                    "Cash Total  " + FormatNumber(Number::Cents(cash_total), kCellFormat));
}

}  // namespace dv
