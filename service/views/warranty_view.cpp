#include "service/views/warranty_view.h"

#include <exception>
#include <optional>

#include "engine/codec.h"
#include "engine/index_cursor.h"
#include "engine/packed_text.h"
#include "sales/customer_record.h"
#include "sales/views/detail_grid.h"
#include "service/detail_builders.h"
#include "service/views/service_views_support.h"
#include "service/warranty_record.h"
#include "shell/detail_trap.h"
#include "shell/number_format.h"
#include "shell/recap_board.h"
#include "shell/splash.h"

namespace dv {
namespace {

constexpr std::string_view kSumFormat = "$#,###,###.00";
constexpr std::string_view kRowFormat = "$#####.00";

std::string Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

}  // namespace

bool ClaimIsBilled(int32_t status, int32_t reconciled_day, int32_t billing_value) {
    return status == 1 && reconciled_day == 0 && billing_value != 0 &&
           billing_value != kEmptyBillingValue;
}

void SplitSegmentKey(int32_t key, std::string& shop_ref, std::string& request) {
    const int32_t ref = key / 100;
    const int32_t req = key % 100;
    shop_ref = ref == 0 ? std::string() : std::to_string(ref);
    request = (req >= 0 && req < 10 ? "0" : "") + std::to_string(req);
}

WarrantyView::WarrantyView(bool segments)
    : View(segments ? "frmWarSeg" : "frmWarranty", "Billed Warranties"), segments_(segments) {
    AddLabel("Label1", "Billed Warranty Jobs");
    grid_ = &AddGrid(std::string(kWarrantyGrid));
    SetLayout(layout::Titled(std::string(kWarrantyGrid)));
    auto add = [&](const char* name, bool hidden, bool button, CellAlignment align, SortKind sort,
                   const char* sort_by = "") {
        grid_->AddColumn({name, name, "", hidden, button, align, 0, sort, sort_by});
    };
    using namespace grid_columns;
    add("Shop Ref", false, true, kRight, kNumber);
    if (segments_) add("Req", false, false, kRight, kNumber);
    add("Invoice #", false, false, kRight, kNumber);
    add("Cust #", false, false, kRight, kNumber);
    add("Name", false, false, kLeft, kText);
    add("Brand/Type", false, false, kLeft, kText);
    add("Date Billed", false, false, kRight, SortKind::kDate, "ndate");
    add("Dist", false, false, kRight, kNumber);
    add("Parts", false, false, kRight, kNumber);
    add("Labor", false, false, kRight, kNumber);
    add("ndate", true, false, kRight, SortKind::kNone);
    grid_->SetToolTip("Click on Blue headers to sort grid by that column");
}

void WarrantyView::Load(ViewContext& context) {
    context.Splash().SetProgress(std::string(kWarrantyProgress));
    // Both forms log under the plain form's name.
    RunFill(context, "frmWarranty.form", "load", {recap::kWarranty}, [&] { Fill(context); });
}

void WarrantyView::Fill(ViewContext& context) {
    cBusinessBasic& bb = RequireEngine("Form_Load");
    clsWarranty claim;
    clsWarrDetail builder;
    parts_cents_ = labor_cents_ = 0;
    std::string from(4, '\0');
    Pack("L", from, 1, 1);
    grid_->RemoveAll();
    int16_t flag = 0;
    IndexCursor(bb, "WARRI").Walk(KeyRange::From(from), [&](const IndexCursor& at) {
        const std::string rec = bb.LreadFile("WARRL", at.record(), flag);
        claim.Unpack(rec);
        const int32_t reconciled = Unpack("C", rec, 401);
        const int32_t billed = Unpack("D", rec, 403);
        if (ClaimIsBilled(claim.Status, reconciled, billed)) {
            const int32_t key_value = Unpack("L", at.key(), 1);
            builder.ShopRef(segments_ ? key_value : claim.Shop_Ref);
            builder.DDisplay(0);
            builder.GetDetail();
            const bool failed = builder.DetailError();
            const int r = grid_->AddRow();
            if (segments_) {
                std::string shop_ref, request;
                SplitSegmentKey(key_value, shop_ref, request);
                grid_->SetCell(r, "Shop Ref", shop_ref, key_value / 100);
                grid_->SetCell(r, "Req", request, key_value % 100);
            } else {
                grid_->SetCell(r, "Shop Ref", std::to_string(claim.Shop_Ref), claim.Shop_Ref);
            }
            grid_->SetPayload(r, std::to_string(key_value));
            grid_->SetCell(r, "Invoice #", std::to_string(claim.Billed_Inv_No),
                           claim.Billed_Inv_No);
            grid_->SetCell(r, "Cust #", std::to_string(claim.Cust_No), claim.Cust_No);
            if (failed)
                grid_->SetCell(r, "Name", std::string(kWarrantyFailureName));
            else
                grid_->SetCell(r, "Name",
                               segments_ ? GetCustomerName(claim.Cust_No) : claim.Cust_Name);
            grid_->SetCell(
                r, "Brand/Type",
                failed ? std::string()
                       : Trimmed(claim.Repair_Brand) + " - " + Trimmed(claim.Repair_Equip_Desc));
            const int32_t day = IsEmptyDate(claim.Date_Billed) ? 0 : DayNumber(claim.Date_Billed);
            grid_->SetCell(r, "Date Billed", service::DateCell(claim.Date_Billed), day);
            grid_->SetCell(r, "ndate", std::to_string(day), day);
            grid_->SetCell(r, "Dist", std::to_string(claim.Distributor), claim.Distributor);
            if (failed) {
                grid_->SetCell(r, "Parts", "0", 0);
                grid_->SetCell(r, "Labor", "0", 0);
            } else {
                grid_->SetCell(r, "Parts",
                               FormatNumber(Number::Cents(builder.WarrPartTotal()), kRowFormat),
                               builder.WarrPartTotal());
                grid_->SetCell(r, "Labor",
                               FormatNumber(Number::Cents(builder.WarrLabTotal()), kRowFormat),
                               builder.WarrLabTotal());
            }
            parts_cents_ += builder.WarrPartTotal();
            labor_cents_ += builder.WarrLabTotal();
        }
    });
    grid_->MoveFirst();
    context.Recap().SetCaption(
        recap::kWarranty, FormatNumber(Number::Cents(parts_cents_ + labor_cents_), kSumFormat));
}

void WarrantyView::ButtonClick(std::string_view grid, int row) {
    if (grid != grid_->name() || !grid_->SelectRow(row)) return;
    // An error is logged and shown in a message, as Open Shop Work's is.
    DetailTrap trap(form_name(), "grdWarr_BtnClick");
    const bool shown = trap.Step([&] {
        // The key of the row: the shop reference, or the shop reference and the request.
        int64_t key = grid_->CellValue(row, "Shop Ref").value_or(0);
        if (segments_) key = key * 100 + grid_->CellValue(row, "Req").value_or(0);
        std::unique_ptr<DetailForm> form =
            BuildWarrantyDetail(static_cast<int32_t>(key), segments_);
        Details().Show(*form);
    });
    if (!shown) trap.Report(Details());
}

std::unique_ptr<DetailForm> BuildWarrantyDetail(int32_t key, bool segments) {
    cBusinessBasic& bb = RequireEngine("grdWarr_BtnClick");
    auto form = std::make_unique<DetailForm>(
        std::string(kWarrantyDetailForm),
        "Warranty Detail ...   Shop reference : " + std::to_string(key));
    // The claim KFind gives for the key, as the builder takes it: no test that the key matched.
    const int32_t record = FindClaim(bb, key);
    clsWarranty claim;
    int16_t flag = 0;
    claim.Unpack(bb.LreadFile("WARRL", record, flag));

    form->AddLabel("Frame1", "Customer");
    form->AddLabel("lblCust");
    if (segments)
        form->SetLabel("lblCust", std::to_string(claim.Cust_No) + "\n" +
                                      GetCustomerName(claim.Cust_No) + "\n");
    else
        form->SetLabel("lblCust", std::to_string(claim.Cust_No) + "\n" + claim.Cust_Name + "\n" +
                                      std::to_string(claim.Cust_AC) + "-" +
                                      FormatNumber(Number::Whole(claim.Cust_Phone), "000-0000"));
    form->AddLabel("Label1", "Serial #1");
    form->AddLabel("lblSn1", claim.Serial_1);
    form->AddLabel("Label2", "Serial #2");
    form->AddLabel("lblSn2", claim.Serial_2);
    form->AddLabel("Label3", "Misc Info");
    form->AddLabel("lblMisc", claim.Soldby_Name + "\r\n" + claim.Soldby_Address);

    GridModel& grid = form->AddGrid(std::string(kWarrantyDetailGrid));
    for (const char* c : {"Line", "Part #", "Description", "Qty", "Net", "Cost"}) {
        const bool number = std::string_view(c) == "Qty" || std::string_view(c) == "Net" ||
                            std::string_view(c) == "Cost";
        grid.AddColumn(
            {c, c, "", false, false, number ? CellAlignment::kRight : CellAlignment::kLeft, 0});
    }
    // The customer's frame beside the frame of the misc info, the serial numbers under them, and
    // the lines taking the height left.
    form->SetLayout(
        {{layout::Group("Frame1", {"lblCust"}, 1), layout::Group("Label3", {"lblMisc"}, 1)},
         {layout::Label("Label1"), layout::Label("lblSn1"), layout::Label("Label2"),
          layout::Label("lblSn2")},
         {layout::Grid(std::string(kWarrantyDetailGrid))}});
    clsWarrDetail builder;
    builder.ShopRef(key);
    builder.GetDetail();
    for (const DetailLine& row : builder.DetailReturn())
        AddDetailRow(grid, row, RemarkCells::kTextOnly);
    return form;
}

}  // namespace dv
