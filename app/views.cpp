// Every view of the program, one line each, in no particular order: the start-up order is the
// main controller's. A view's library is linked into dv_app in app/CMakeLists.txt.
#include "app/views.h"

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
#include "units/views/floor_plan_view.h"
#include "units/views/units_view.h"

namespace dv {

void RegisterViews(ViewRegistry& registry) {
    registry.Add(form::kInv, [] { return std::make_unique<InventoryView>(); });
    registry.Add(form::kReturn, [] { return std::make_unique<ReturnsView>(); });
    registry.Add(form::kPo, [] { return std::make_unique<PurchaseOrdersView>(); });
    registry.Add(form::kAR, [] { return std::make_unique<ARView>(); });
    registry.Add(form::kOpenSales, [] { return std::make_unique<OpenSalesView>(); });
    registry.Add(form::kSales, [] { return std::make_unique<SalesCashView>(); });
    registry.Add(form::kProfit, [] { return std::make_unique<ProfitView>(); });
    registry.Add(form::kGLA, [] { return std::make_unique<GLAssetView>(); });
    registry.Add(form::kGLL, [] { return std::make_unique<GLLiabilityView>(); });
    registry.Add(form::kFp, [] { return std::make_unique<FloorPlanView>(); });
    registry.Add(form::kUnits, [] { return std::make_unique<UnitsView>(); });
    registry.Add(form::kShop, [] { return std::make_unique<ShopView>(); });
    registry.Add(form::kWarranty, [] { return std::make_unique<PlainWarrantyView>(); });
    registry.Add(form::kWarSeg, [] { return std::make_unique<SegmentWarrantyView>(); });
}

}  // namespace dv
