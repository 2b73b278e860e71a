// Every view of the program, one declaration each, in no particular order: the declarations'
// ranks give the start-up's, File > Refresh's and the exit's orders (shell/view_declaration.h).
// A view's library is linked into dv_app in app/CMakeLists.txt.
#include "app/views.h"

#include <array>

#include "parts/views/inventory_view.h"
#include "parts/views/order_views.h"
#include "sales/views/ar_view.h"
#include "sales/views/gl_views.h"
#include "sales/views/open_sales_view.h"
#include "sales/views/profit_view.h"
#include "sales/views/sales_cash_view.h"
#include "service/views/shop_view.h"
#include "service/views/warranty_view.h"
#include "shell/main_tables.h"
#include "shell/recap_board.h"
#include "units/views/floor_plan_view.h"
#include "units/views/units_view.h"

namespace dv {
namespace {

// Open Shop Work's load reads the segment flag (option 317) that chooses the Billed Warranties
// form.
std::optional<bool> ShopSegmentFlag(const View& view) {
    const auto* shop = dynamic_cast<const ShopView*>(&view);
    return shop != nullptr ? shop->warranty_segments() : std::nullopt;
}

// ranks: {start-up, refresh, unload, release}
constexpr std::array<ViewDeclaration, 14> kViews = {{
    {.form = form::kInv,
     .caption = "Parts",
     .node = {"I1", "A1", 0},
     .menu = {Menu::kInventory, 0, "Parts"},
     .ranks = {5, 1, 14, 2},
     .recap = {recap::kInventory},
     .make = MakeView<InventoryView>},
    {.form = form::kReturn,
     .caption = "Returns",
     .node = {"A6", "A", 6},
     .menu = {Menu::kView, 6, "Returns"},
     .ranks = {9, 7, 7, 8},
     .recap = {recap::kReturns},
     .make = MakeView<ReturnsView>},
    {.form = form::kPo,
     .caption = "Open Purchase Orders",
     .node = {"L1", "L", 1},
     .menu = {Menu::kView, 9, "Purchase Orders"},
     .ranks = {7, 8, 6, 9},
     .recap = {recap::kPurchaseOrders},
     .make = MakeView<PurchaseOrdersView>},
    {.form = form::kAR,
     .caption = "Accounts Receivable",
     .node = {"A3", "A", 0},
     .menu = {Menu::kView, 0, "Accounts Receivable"},
     .ranks = {1, 2, 12, 3},
     .recap = {recap::kAR},
     .make = MakeView<ARView>},
    {.form = form::kOpenSales,
     .caption = "Open Sales Orders",
     .node = {"A4", "A", 4},
     .menu = {Menu::kView, 4, "Open Sales Orders"},
     .ranks = {6, 6, 8, 7},
     .recap = {recap::kOpenSales},
     .make = MakeView<OpenSalesView>},
    {.form = form::kSales,
     .caption = "Sales / Cash",
     .node = {"S1", "S", 1},
     .menu = {Menu::kView, 12, "Sales / Cash"},
     .ranks = {10, 10, 4, 11},
     .recap = {recap::kSales, recap::kCash},
     .make = MakeView<SalesCashView>},
    {.form = form::kProfit,
     .caption = "Profit",
     .node = {"S2", "S", 0},
     .menu = {Menu::kView, 11, "Profit"},
     .ranks = {8, 11, 3, 12},
     .recap = {recap::kMtdSales, recap::kMtdCost, recap::kMtdGpr, recap::kYtdSales, recap::kYtdCost,
               recap::kYtdGpr, recap::kLyrSales, recap::kLyrCost, recap::kLyrGpr},
     .make = MakeView<ProfitView>},
    {.form = form::kGLA,
     .caption = "G/L Asset Total",
     .node = {"A5", "A", 2},
     .menu = {Menu::kView, 2, "G / L Assets"},
     .ranks = {3, 5, 9, 6},
     .recap = {recap::kGLAssets},
     .make = MakeView<GLAssetView>},
    {.form = form::kGLL,
     .caption = "G/L Liabilites",
     .node = {"L2", "L", 0},
     .menu = {Menu::kView, 8, "G / L Liabilities"},
     .ranks = {4, 9, 5, 10},
     .recap = {recap::kGLLiabilities},
     .make = MakeView<GLLiabilityView>},
    {.form = form::kFp,
     .caption = "Floor Plan",
     .node = {"I2", "A1", 1},
     .menu = {Menu::kInventory, 1, "Floor Plan"},
     .ranks = {2, 12, 2, 13},
     .recap = {recap::kFloorPlan},
     .make = MakeView<FloorPlanView>},
    {.form = form::kUnits,
     .caption = "Units",
     .node = {"I3", "A1", 2},
     .menu = {Menu::kInventory, 2, "Units"},
     .ranks = {12, 13, 1, 14},
     .recap = {recap::kUnits},
     .make = MakeView<UnitsView>},
    {.form = form::kShop,
     .caption = "Open Shop Work",
     .node = {"A2", "A", 5},
     .menu = {Menu::kView, 5, "Open Shop Jobs"},
     .ranks = {11, 3, 11, 4},
     .recap = {recap::kShop},
     .segment_flag = ShopSegmentFlag,
     .make = MakeView<ShopView>},
    {.form = form::kWarranty,
     .caption = "Billed Warranties",
     .node = {kBilledWarrantiesKey, "A", 1},
     .menu = {Menu::kView, 1, "Billed Warranties"},
     .ranks = {13, 4, 10, 5},
     .recap = {recap::kWarranty},
     .billed = BilledForm::kPlain,
     .make = MakeView<PlainWarrantyView>},
    {.form = form::kWarSeg,
     .caption = "Billed Warranties",
     .node = {kBilledWarrantiesKey, "A", 1},
     .menu = {Menu::kView, 1, "Billed Warranties"},
     .ranks = {13, 4, 15, 15},
     .recap = {recap::kWarranty},
     .billed = BilledForm::kSegments,
     .make = MakeView<SegmentWarrantyView>},
}};

}  // namespace

std::span<const ViewDeclaration> ViewDeclarations() {
    return kViews;
}

void RegisterViews(ViewRegistry& registry) {
    for (const ViewDeclaration& view : kViews) registry.Add(view);
}

void DeclareViews(ViewRegistry& registry) {
    for (const ViewDeclaration& view : kViews) registry.Add(view, nullptr);
}

}  // namespace dv
