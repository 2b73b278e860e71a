#include "service/views/shop_view.h"

#include <memory>
#include <optional>
#include <string>

#include "engine/business_basic.h"
#include "engine/codec.h"
#include "engine/error.h"
#include "engine/live_record.h"
#include "sales/customer_record.h"
#include "service/shop_page.h"
#include "service/shop_record.h"
#include "service/views/service_views_support.h"
#include "service/views/shop_detail.h"
#include "shell/detail_form.h"
#include "shell/detail_trap.h"
#include "shell/number_format.h"
#include "shell/operation_log.h"
#include "shell/options.h"
#include "shell/recap_board.h"
#include "shell/splash.h"

namespace dv {
namespace {

constexpr std::string_view kSumFormat = "$#,###,###.00";
constexpr std::string_view kRowFormat = "$##,###.00";

}  // namespace

std::string ShopStatusText(std::string_view status, std::string_view block450) {
    if (status.size() == 1 && status[0] >= '1' && status[0] <= '5') {
        const auto at = static_cast<size_t>(file0::SubStatusAt(status[0] - '0') - 1);
        if (at >= block450.size()) return "Open";
        return "Open-" + std::string(block450.substr(at, file0::kSubStatusSize));
    }
    if (status == "O") return "Open";
    if (status == "S") return "Scratch";
    if (status == "C") return "Complete";
    return "No status";
}

ShopView::ShopView() : View("frmShop", "Open Shop Work") {
    AddLabel("Label1", "Open Shop Jobs");
    grid_ = &AddGrid(std::string(kShopGrid));
    SetLayout(layout::Titled(std::string(kShopGrid)));
    auto add = [&](const char* name, const char* caption, bool hidden, bool button,
                   CellAlignment align, SortKind sort, const char* sort_by = "") {
        grid_->AddColumn({name, caption, "", hidden, button, align, 0, sort, sort_by});
    };
    using namespace grid_columns;
    add("Job #", "Job #", false, true, kRight, kNumber);
    add("Status", "Status - Cat", false, false, kLeft, kText);
    add("Shop Ref #", "Shop Ref #", false, false, kRight, kNumber);
    add("Request", "Request", false, false, kRight, kNone);
    add("Account", "Cust #", false, false, kRight, kNumber);
    add("Name", "Name", false, false, kLeft, kText);
    add("CM", "CM", false, false, kRight, kNumber);
    add("Date In", "Date In", false, false, kRight, SortKind::kDate, "ndateIn");
    add("Date Comp", "Date Comp", false, false, kRight, SortKind::kDate, "ndateComp");
    add("Sub-Total", "Sub-Total", false, false, kRight, kNumber);
    add("Warranty", "Warranty", false, false, CellAlignment::kCenter, kText);
    add("Brand", "Brand", false, false, kLeft, kText);
    add("ndateIn", "ndate", true, false, kRight, kNone);
    add("ndateComp", "ndateComp", true, false, kRight, kNone);
    grid_->SetToolTip("Click on Blue headers to sort grid by that column");
}

void ShopView::Load(ViewContext& context) {
    context.Splash().SetProgress(std::string(kShopProgress));
    RunFill(context, "GetShopData", {recap::kShop}, [&] { GetShopData(context); });
}

void ShopView::GetShopData(ViewContext& context) {
    warranty_segments_ = context.GetOption(file0::kOptionShopSegments);
    cBusinessBasic& bb = RequireEngine("GetShopData");
    clsShop shop;
    int16_t flag = 0;
    // The status names and both job tables in one read.
    bb.BlockReadRunAhead(file0::kName, file0::kSubStatusBlock, file0::kJobTableLastBlock);
    const std::string names = bb.BlockReadFile(file0::kName, file0::kSubStatusBlock, flag);
    grid_->RemoveAll();
    total_cents_ = 0;
    for (int32_t block = file0::kJobTableFirstBlock; block <= file0::kJobTableLastBlock; ++block) {
        if (block == file0::kJobTableLowLastBlock + 1) block = file0::kJobTableHighFirstBlock;
        const std::string table = bb.BlockReadFile(file0::kName, block, flag);
        for (int32_t slot = 0; slot < file0::kJobSlots; ++slot) {
            const int32_t n = Unpack("L", table, file0::JobSlotAt(slot));
            if (n < 1) continue;
            const std::string page = ReadLiveRecord(bb, "INVOL", n, "the job table of FILE0");
            shop.Unpack(page);
            if (shop.Status == "B") continue;
            const int r = grid_->AddRow();
            grid_->SetCell(r, "Job #", std::to_string(shop.JobNumber), shop.JobNumber);
            grid_->SetCell(r, "Shop Ref #", std::to_string(shop.ShopReference), shop.ShopReference);
            grid_->SetCell(r, "Account", std::to_string(shop.Account), shop.Account);
            grid_->SetCell(r, "Name", RawCustomerName(bb, shop.Account));
            grid_->SetCell(r, "CM", std::to_string(shop.Counterman), shop.Counterman);
            grid_->SetCell(r, "Date In", service::DateCell(shop.DateCheckedIn));
            // A page too short for a day number gives 0. A C is two bytes.
            auto day_at = [&page](int32_t at) {
                return page.size() >= static_cast<size_t>(at + 1) ? Unpack("C", page, at) : 0;
            };
            const int32_t day_in = day_at(shop_page::kCheckedInDayAt);
            grid_->SetCell(r, "ndateIn", std::to_string(day_in), day_in);
            grid_->SetCell(r, "Sub-Total", FormatNumber(Number::Cents(shop.Sub_Total), kRowFormat),
                           shop.Sub_Total);
            total_cents_ += shop.Sub_Total;
            grid_->SetCell(r, "Status", ShopStatusText(shop.Status, names));
            grid_->SetCell(r, "Brand", shop.RepairBrand);
            if (shop.Status == "C") {
                const int32_t day_done = day_at(shop_page::kCompletedDayAt);
                grid_->SetCell(r, "Date Comp", service::DateCell(shop.DateCompleted));
                grid_->SetCell(r, "ndateComp", std::to_string(day_done), day_done);
            } else {
                grid_->SetCell(r, "Date Comp", "");
                grid_->SetCell(r, "ndateComp", "0", 0);
            }
            if (shop.Warranty == "Y") grid_->SetCell(r, "Warranty", shop.Warranty);
            if (shop.segment != 0)
                grid_->SetCell(r, "Request", std::to_string(shop.segment + 1), shop.segment + 1);
            grid_->SetPayload(r, std::to_string(n));
        }
    }
    grid_->MoveFirst();
    context.Recap().SetCaption(recap::kShop, FormatNumber(Number::Cents(total_cents_), kSumFormat));
}

void ShopView::ButtonClick(std::string_view grid, int row) {
    if (grid != grid_->name() || !grid_->SelectRow(row)) return;
    const std::optional<int64_t> job = grid_->CellValue(row, "Job #");
    // An error goes into the operation log and, without its "*", into a message box through the
    // view's detail host ("Error in frmShop grdShop_BtnClick routine error # :  81  Illegal ...").
    DetailTrap trap(form_name(), "grdShop_BtnClick");
    const bool shown = trap.Step([&] {
        std::unique_ptr<DetailForm> form = BuildShopDetail(static_cast<int32_t>(job.value_or(0)));
        Details().Show(*form);
    });
    if (!shown) trap.Report(Details());
}

}  // namespace dv
