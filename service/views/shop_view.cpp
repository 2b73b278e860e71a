#include "service/views/shop_view.h"

#include <memory>
#include <optional>
#include <string>

#include "engine/codec.h"
#include "engine/error.h"
#include "sales/customer_record.h"
#include "service/shop_record.h"
#include "service/views/service_views_support.h"
#include "service/views/shop_detail.h"
#include "shell/detail_form.h"
#include "shell/number_format.h"
#include "shell/operation_log.h"
#include "shell/options.h"
#include "shell/recap_board.h"
#include "shell/splash.h"

namespace dv {
namespace {

constexpr std::string_view kSumFormat = "$#,###,###.00";
constexpr std::string_view kRowFormat = "$##,###.00";

const HeaderSort kHeaderSorts[] = {
    {"Job #", kSortNumber},      {"Status", kSortText},
    {"Shop Ref #", kSortNumber}, {"", kSortNumber} /* "Request": no sort */,
    {"Account", kSortNumber},    {"Name", kSortText},
    {"CM", kSortNumber},         {"ndateIn", kSortNumber},
    {"ndateComp", kSortNumber},  {"Sub-Total", kSortNumber},
    {"Warranty", kSortText},     {"Brand", kSortText},
};

}  // namespace

void JobSlotOf(int32_t job, int32_t& block, int32_t& position) {
    if (job < 0 || job > kLastJobNumber)
        throw BasicError(err::kJobNumber, "GetJob",
                         "Job number outside the open shop-job table: " + std::to_string(job));
    block = job < 1000 ? job / 128 + 451 : (job - 999) / 128 + 501;
    position = (job % 128) * 4 + 1;
}

int32_t GetJob(int32_t job) {
    int32_t block = 0, position = 0;
    JobSlotOf(job, block, position);
    int16_t flag = 0;
    const std::string b = service::Engine("GetJob").BlockReadFile("FILE0", block, flag);
    return Unpack("L", b, position);
}

std::string ShopStatusText(std::string_view status, std::string_view block450) {
    if (status.size() == 1 && status[0] >= '1' && status[0] <= '5') {
        const size_t at = 431 + 15 * static_cast<size_t>(status[0] - '1');
        if (at >= block450.size()) return "Open";
        return "Open-" + std::string(block450.substr(at, 15));
    }
    if (status == "O") return "Open";
    if (status == "S") return "Scratch";
    if (status == "C") return "Complete";
    return "No status";
}

std::span<const HeaderSort> ShopHeaderSorts() {
    return kHeaderSorts;
}

ShopView::ShopView() : View("frmShop", "Open Shop Work") {
    AddLabel("Label1", "Open Shop Jobs");
    grid_ = &AddGrid(std::string(kShopGrid));
    auto add = [&](const char* name, const char* caption, bool hidden, bool button,
                   CellAlignment align) {
        grid_->AddColumn({name, caption, "", hidden, button, align, 0});
    };
    add("Job #", "Job #", false, true, CellAlignment::kRight);
    add("Status", "Status - Cat", false, false, CellAlignment::kLeft);
    add("Shop Ref #", "Shop Ref #", false, false, CellAlignment::kRight);
    add("Request", "Request", false, false, CellAlignment::kRight);
    add("Account", "Cust #", false, false, CellAlignment::kRight);
    add("Name", "Name", false, false, CellAlignment::kLeft);
    add("CM", "CM", false, false, CellAlignment::kRight);
    add("Date In", "Date In", false, false, CellAlignment::kRight);
    add("Date Comp", "Date Comp", false, false, CellAlignment::kRight);
    add("Sub-Total", "Sub-Total", false, false, CellAlignment::kRight);
    add("Warranty", "Warranty", false, false, CellAlignment::kCenter);
    add("Brand", "Brand", false, false, CellAlignment::kLeft);
    add("ndateIn", "ndate", true, false, CellAlignment::kRight);
    add("ndateComp", "ndateComp", true, false, CellAlignment::kRight);
    grid_->SetToolTip("Click on Blue headers to sort grid by that column");
}

void ShopView::Load(ViewContext& context) {
    context.Splash().SetProgress(std::string(kShopProgress));
    RunFill(context, "GetShopData", {recap::kShop}, [&] { GetShopData(context); });
}

void ShopView::GetShopData(ViewContext& context) {
    mSegmentWarranty = context.GetOption(kOptionShopSegments);
    cBusinessBasic& bb = service::Engine("GetShopData");
    clsShop shop;
    int16_t flag = 0;
    // The status names and both job tables, blocks 450 to 571, in one read.
    bb.BlockReadRunAhead("FILE0", 450, 571);
    const std::string names = bb.BlockReadFile("FILE0", 450, flag);
    grid_->RemoveAll();
    total_cents_ = 0;
    for (int32_t block = 451; block <= 571; ++block) {
        if (block == 459) block = 501;
        const std::string table = bb.BlockReadFile("FILE0", block, flag);
        for (int32_t slot = 0; slot < 128; ++slot) {
            const int32_t n = Unpack("L", table, slot * 4 + 1);
            if (n < 1) continue;
            const std::string page = bb.LreadFile("INVOL", n, flag);
            shop.Unpack(page);
            if (shop.Status == "B") continue;
            const int r = grid_->AddRow();
            grid_->SetCell(r, "Job #", std::to_string(shop.JobNumber), shop.JobNumber);
            grid_->SetCell(r, "Shop Ref #", std::to_string(shop.ShopReference), shop.ShopReference);
            grid_->SetCell(r, "Account", std::to_string(shop.Account), shop.Account);
            grid_->SetCell(r, "Name", RawCustomerName(bb, shop.Account));
            grid_->SetCell(r, "CM", std::to_string(shop.Counterman), shop.Counterman);
            grid_->SetCell(r, "Date In", service::DateCell(shop.DateCheckedIn));
            const int32_t day_in = page.size() >= 96 ? Unpack("C", page, 95) : 0;
            grid_->SetCell(r, "ndateIn", std::to_string(day_in), day_in);
            grid_->SetCell(r, "Sub-Total", FormatNumber(Number::Cents(shop.Sub_Total), kRowFormat),
                           shop.Sub_Total);
            total_cents_ += shop.Sub_Total;
            grid_->SetCell(r, "Status", ShopStatusText(shop.Status, names));
            grid_->SetCell(r, "Brand", shop.RepairBrand);
            if (shop.Status == "C") {
                const int32_t day_done = page.size() >= 94 ? Unpack("C", page, 93) : 0;
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

void ShopView::HeaderClick(std::string_view grid, int column) {
    if (grid != grid_->name()) return;
    service::ServiceHeaderSort(*grid_, column, kHeaderSorts);
}

void ShopView::ButtonClick(std::string_view grid, int row) {
    if (grid != grid_->name() || row < 0 || row >= grid_->RowCount()) return;
    grid_->SetCurrentRow(row);
    const std::optional<int64_t> job = grid_->CellValue(row, "Job #");
    try {
        std::unique_ptr<DetailForm> form = BuildShopDetail(static_cast<int32_t>(job.value_or(0)));
        Details().Show(*form);
    } catch (const std::exception& e) {
        service::ReportDetailError(*this, "grdShop_BtnClick", e);
    }
}

}  // namespace dv
