#include "service/views/shop_detail.h"

#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

#include "engine/codec.h"
#include "engine/control_file.h"
#include "engine/index_cursor.h"
#include "engine/live_record.h"
#include "engine/record_fields.h"
#include "sales/counterman_record.h"
#include "sales/customer_record.h"
#include "sales/views/detail_grid.h"
#include "service/detail_builders.h"
#include "service/shop_page.h"
#include "service/shop_record.h"
#include "service/views/service_views_support.h"
#include "shell/number_format.h"

namespace dv {
namespace {

constexpr std::string_view kTotalFormat = "######0.00";

// Adds the caption and value labels of two control arrays side by side, pair by pair from
// index 0: CAPTION(i) with its caption, VALUE(i) with its value.
void Pairs(DetailForm& form, const std::string& caption, const std::string& value,
           std::initializer_list<std::pair<const char*, std::string>> rows) {
    int i = 0;
    for (const auto& [text, shown] : rows) {
        const std::string at = "(" + std::to_string(i++) + ")";
        form.AddLabel(caption + at, text);
        form.AddLabel(value + at, shown);
    }
}

// Adds a label, shown or hidden.
void AddShown(DetailForm& form, std::string name, std::string caption, bool visible) {
    const std::string key = name;
    form.AddLabel(std::move(name), std::move(caption));
    form.Label(key).visible = visible;
}
void AddShown(DetailForm& form, std::string name, bool visible) {
    AddShown(form, std::move(name), {}, visible);
}

void AddLineRow(GridModel& grid, const DetailLine& row) {
    const int r = AddDetailRow(grid, row);
    const int32_t request = row.segment.value_or(0) + 1;
    grid.SetCell(r, "Request", std::to_string(request), request);
}

// The person of MANI with that number as "number - name"; empty when MANI has none.
std::string PersonText(cBusinessBasic& bb, int32_t number) {
    std::string key(2, '\0');
    Pack("C", key, number, 1);
    const int32_t record = FindRecord(bb, "MANI", key);
    if (record == 0) return {};
    clsCounterman person;
    int16_t flag = 0;
    person.Unpack(bb.LreadFile("MANL", record, flag));
    return std::to_string(person.COUNTERMAN_Number) + " - " + person.Name;
}

// The request number an item of the list starts with, after its two blanks; 0 for "All
// Requests" or anything else that is no number.
int32_t ItemRequest(std::string_view item) {
    if (item.size() < 3 || item.substr(0, 2) != "  ") return 0;
    int32_t n = 0;
    for (size_t i = 2; i < item.size() && item[i] >= '0' && item[i] <= '9'; ++i)
        n = n * 10 + (item[i] - '0');
    return n;
}

// The caption and value labels of two control arrays, pair by pair, for indexes first..last.
std::vector<std::string> Indexed(const std::string& caption, const std::string& value, int first,
                                 int last) {
    std::vector<std::string> names;
    for (int i = first; i <= last; ++i) {
        const std::string at = "(" + std::to_string(i) + ")";
        names.push_back(caption + at);
        names.push_back(value + at);
    }
    return names;
}

// The form's frames: customer and contact data beside the call dates and their results, the
// personnel, equipment and warranty side by side under them, the totals of a completed job, the
// request list, and the lines taking the height left.
FormLayout ShopDetailLayout() {
    std::vector<std::string> totals;
    for (int i : {0, 1, 2, 3, 6}) {
        totals.push_back("lblTotCap(" + std::to_string(i) + ")");
        totals.push_back("lblRecap(" + std::to_string(i) + ")");
    }
    return {{layout::Group("Frame1", Indexed("lblCCap", "lblCDisp", 0, 8)),
             layout::Group("Frame4", {"lblCallDate(0)", "lblCallDate(3)", "lblCallDate(1)",
                                      "lblCallDate(4)", "lblCallDate(2)", "lblCallDate(5)"})},
            {layout::Group("Frame2", Indexed("lblManCap", "lblMan", 0, 1)),
             layout::Group("Frame3", Indexed("lblEqCap", "lblEquip", 0, 4)),
             layout::Group("Frame6", Indexed("lblWarrCap", "lblWarr", 0, 1))},
            {layout::Group("Frame5", totals, 10)},
            {layout::Label("lblRequest"), layout::Choice(std::string(kRequestChoice))},
            {layout::Grid(std::string(kShopDetailGrid))}};
}

}  // namespace

std::string PhoneText(int32_t area_code, int32_t number) {
    return FormatNumber(Number::Whole(area_code), "###-") +
           FormatNumber(Number::Whole(number), "###-####");
}

std::unique_ptr<DetailForm> BuildShopDetail(int32_t job) {
    cBusinessBasic& bb = RequireEngine("grdShop_BtnClick");
    auto form = std::make_unique<DetailForm>(
        std::string(kShopDetailForm), "Shop Job Detail ...   Shop Job : " + std::to_string(job));
    const int32_t record = GetJob(job);
    int16_t flag = 0;
    const std::string page = ReadLiveRecord(bb, "INVOL", record, "the job table of FILE0");
    clsShop shop;
    shop.Unpack(page);
    shop.RecordNumber = record;
    form->SetCaption(form->caption() +
                     "     Job Status : " + (shop.Status == "C" ? "Completed" : "Open"));

    // Customer.
    clsCustomers customer;
    ReadCustomer(bb, shop.Account, customer);
    form->AddLabel("Frame1", "Customer and Contact Data");
    form->AddLabel("Frame1Spacer");
    Pairs(*form, "lblCCap", "lblCDisp",
          {{"Customer #", std::to_string(customer.Account)},
           {"Name", customer.Name},
           {"", customer.Address_Line_1},
           {"", customer.Address_Line_2},
           {"Phone # 1", PhoneText(customer.Area_Code, customer.Phone_Number)},
           {"Phone # 2", PhoneText(customer.Area_Code_2, customer.Phone_Number_2)},
           {"Fax # ", PhoneText(customer.Area_Code_3, customer.Phone_Number_3)},
           {"Contact #1", customer.Contact_1},
           {"Contact #2", customer.CONTACT_2}});

    // Call dates and their results.
    const std::string results = bb.BlockReadFile(file0::kName, file0::kCallResultBlock, flag);
    form->AddLabel("Frame4", "Call Dates / Results");
    form->AddLabel("Frame4Spacer");
    for (int i = 0; i < 3; ++i) {
        form->AddLabel("lblCallDate(" + std::to_string(i) + ")");
        form->AddLabel("lblCallDate(" + std::to_string(3 + i) + ")");
    }
    for (int i = 0; i < 3; ++i) {
        const int32_t at = shop_page::CallDayAt(i);
        const int32_t raw = fields::BinaryFits('C', at, page.size()) ? Unpack("C", page, at) : 0;
        if (raw != 0 && raw != shop_page::kNoCallDay)
            form->SetLabel("lblCallDate(" + std::to_string(i) + ")", FormatDate(shop.CallDates[i]));
    }
    for (int i = 0; i < 3; ++i) {
        const int32_t result = shop.CallStatus[static_cast<size_t>(i)];
        if (result != 0)
            form->SetLabel("lblCallDate(" + std::to_string(3 + i) + ")",
                           std::string(fields::Mid(results, file0::CallResultAt(result),
                                                   file0::kCallResultSize)));
    }

    // Personnel.
    form->AddLabel("Frame2", "Personel");
    form->AddLabel("Frame2Spacer");
    Pairs(*form, "lblManCap", "lblMan",
          {{"Mechanic", PersonText(bb, shop.Mechanic)},
           {"Counterman", PersonText(bb, shop.Counterman)}});

    // Equipment and warranty.
    form->AddLabel("Frame3", "Equipment");
    form->AddLabel("Frame3Spacer");
    Pairs(*form, "lblEqCap", "lblEquip",
          {{"Name", shop.RepairBrand},
           {"Type", shop.RepairBrandDescription},
           {"Serial #1", shop.SerialNumber1},
           {"Serial #2", shop.SerialNumber2},
           {"Meter", FormatNumber(Number::Tenths(shop.Meter), "###0.0")}});
    form->AddLabel("Frame6", "Warranty");
    form->AddLabel("Frame6Spacer");
    const bool warranty = shop.Warranty == "Y";
    Pairs(*form, "lblWarrCap", "lblWarr",
          {{"Warranty Job ?", warranty ? "Yes" : "No"},
           {" Vendor", warranty ? std::to_string(shop.WarrVend[0]) : ""}});

    // The lines and the request list.
    DetailChoice& requests = form->AddChoice(std::string(kRequestChoice));
    requests.visible = shop.segment >= 1;
    AddShown(*form, "lblRequest", "Request", shop.segment >= 1);
    AddShown(*form, "lblRequestSpacer", shop.segment >= 1);
    requests.items.emplace_back(kAllRequests);
    requests.text = std::string(kAllRequests);
    GridModel& grid = form->AddGrid(std::string(kShopDetailGrid));
    grid.AddColumn({"Request", "Req", "", false, false, CellAlignment::kRight, 0});
    grid.AddColumn({"Line", "Line", "", false, false, CellAlignment::kLeft, 0});
    grid.AddColumn({"Part #", "Part #", "", false, false, CellAlignment::kLeft, 0});
    grid.AddColumn({"Description", "Description", "", false, false, CellAlignment::kLeft, 0});
    grid.AddColumn({"Qty", "Qty", "", false, false, CellAlignment::kRight, 0});
    grid.AddColumn({"Net", "Net", "", false, false, CellAlignment::kRight, 0});
    grid.AddColumn({"Cost", "Cost", "", false, false, CellAlignment::kRight, 0});
    grid.AddColumn({"Warranty", "Warranty", "", false, false, CellAlignment::kCenter, 0});
    clsShopDetail builder;
    builder.ShopRec(record);
    builder.GetDetail();
    auto rows = std::make_shared<const DetailReturn>(builder.DetailReturn());
    int32_t last = -1;
    for (const DetailLine& row : *rows) {
        AddLineRow(grid, row);
        const int32_t segment = row.segment.value_or(0);
        if (segment != last) {
            requests.items.push_back("  " + std::to_string(segment + 1) + " - " + row.text);
            last = segment;
        }
    }
    form->SetChoiceHandler([rows](DetailForm& f, std::string_view choice, int index) {
        DetailChoice* list = f.FindChoice(choice);
        GridModel* g = f.FindGrid(kShopDetailGrid);
        if (list == nullptr || g == nullptr || index < 0 ||
            static_cast<size_t>(index) >= list->items.size())
            return;
        const int32_t selected = ItemRequest(list->items[static_cast<size_t>(index)]);
        g->RemoveAll();
        for (const DetailLine& row : *rows)
            if (selected == 0 || row.segment.value_or(0) == selected - 1) AddLineRow(*g, row);
        g->MoveFirst();
    });

    // Totals of a completed job.
    const bool completed = shop.Status == "C";
    AddShown(*form, "Frame5", "Totals", completed);
    AddShown(*form, "Frame5Spacer", completed);
    const struct {
        int index;
        const char* caption;
        int64_t cents;
    } totals[] = {{0, "Parts", builder.ShopPartTotal()},
                  {1, "Labor", builder.ShopLabTotal()},
                  {2, "Shop Supplies", builder.ShopSupTotal()},
                  {3, "Misc", builder.ShopMiscTotal()},
                  {6, "Freight", builder.ShopFrtTotal()}};
    for (const auto& t : totals) {
        const std::string i = std::to_string(t.index);
        AddShown(*form, "lblTotCap(" + i + ")", t.caption, completed);
        AddShown(*form, "lblRecap(" + i + ")", completed);
        if (completed)
            form->SetLabel("lblRecap(" + i + ")",
                           FormatNumber(Number::Cents(t.cents), kTotalFormat));
    }
    form->SetLayout(ShopDetailLayout());
    return form;
}

}  // namespace dv
