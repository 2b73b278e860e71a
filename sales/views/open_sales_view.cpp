#include "sales/views/open_sales_view.h"

#include "engine/business_basic.h"
#include "engine/codec.h"
#include "engine/error.h"
#include "engine/index_cursor.h"
#include "parts/record_fields.h"
#include "sales/customer_record.h"
#include "sales/invoice_record.h"
#include "sales/page_chain.h"
#include "sales/views/pts_detail.h"
#include "shell/number_format.h"
#include "shell/recap_board.h"
#include "shell/splash.h"

namespace dv {
namespace {

constexpr std::string_view kSubTotalFormat = "$##,###.00";
constexpr std::string_view kGridTotalFormat = "$###,###.00";
constexpr std::string_view kRecapFormat = "$#,###,###.00";
constexpr std::string_view kTotalPrefix = "Total      ";

cBusinessBasic& Engine(const char* source) {
    cBusinessBasic* engine = mBusinessBasic.get();
    if (engine == nullptr) RaisePlatform(err::kNoObject, source);
    return *engine;
}

// The Date header sorts by the hidden day number, so dates of two years order as dates.
const HeaderSort kTicketSorts[] = {
    {"Type", kSortText},      {"Ticket No.", kSortNumber}, {"ndate", kSortNumber},
    {"Account", kSortNumber}, {"Name", kSortText},         {"CM", kSortNumber},
    {"Items", kSortNumber},   {"PO Number", kSortText},    {"Sub-Total", kSortNumber},
};
const HeaderSort kSavedSorts[] = {
    {"Type", kSortText},      {"Ticket No.", kSortText}, {"ndate", kSortNumber},
    {"Account", kSortNumber}, {"Name", kSortText},       {"CM", kSortNumber},
    {"Items", kSortNumber},   {"PO Number", kSortText},  {"Sub-Total", kSortNumber},
};

void AddColumns(GridModel& grid, bool saved) {
    grid.AddColumn({"Type", "Type", "", false, false, CellAlignment::kLeft, 0});
    grid.AddColumn({"Ticket No.", "Ticket No.", "", false, true, CellAlignment::kRight, 0});
    grid.AddColumn({"Date", "Date", "", false, false, CellAlignment::kRight, 0});
    grid.AddColumn({"Account", "Cust #", "", false, false, CellAlignment::kRight, 0});
    grid.AddColumn({"Name", "Name", "", false, false, CellAlignment::kLeft, 0});
    grid.AddColumn({"CM", "CM", "", false, false, CellAlignment::kRight, 0});
    grid.AddColumn({"Items", "Items", "", false, false, CellAlignment::kRight, 0});
    grid.AddColumn({"PO Number", "PO Number", "", false, false, CellAlignment::kLeft, 0});
    grid.AddColumn({"Sub-Total", "Sub-Total", "", false, false, CellAlignment::kRight, 0});
    grid.AddColumn({"ndate", "ndate", "", true, false, CellAlignment::kRight, 0});
    if (saved) grid.AddColumn({"Recno", "Recno", "", true, false, CellAlignment::kRight, 0});
    grid.SetToolTip("Click on Blue headers to sort grid by that column");
}

}  // namespace

int32_t FollowTicketChain(const std::string& head_record, int32_t head) {
    EnginePageSource invol("INVOL");
    int32_t link = 0;
    WalkPageChain(
        invol, head,
        [&link](int32_t, const std::string& page) {
            link = Unpack("K", page, invol::kLinkPosition);
        },
        &head_record);
    return link;
}

int32_t CountTicketItems(const std::string& head_record, int32_t head) {
    EnginePageSource invol("INVOL");
    int32_t items = 0;
    WalkPageChain(
        invol, head,
        [&items](int32_t, const std::string& page) {
            items += Unpack("B", page, invol::kSlotsPosition);
        },
        &head_record);
    return items;
}

std::string DateNumberText(int32_t mmddyy) {
    return FormatNumber(Number::Whole(mmddyy), "##/##/##");
}

Date DateOfText(std::string_view text) {
    const std::vector<std::string> parts = Split(text, "/", -1, 0);
    auto number = [](const std::string& s) {
        if (s.empty() || s.size() > 4 || s.find_first_not_of("0123456789") != std::string::npos)
            RaisePlatform(err::kTypeMismatch, "GetPTSData");
        return std::stoi(s);
    };
    if (parts.size() != 3 || text.find("//") != std::string_view::npos)
        RaisePlatform(err::kTypeMismatch, "GetPTSData");
    const int month = number(parts[0]), day = number(parts[1]), yy = number(parts[2]);
    const int year = parts[2].size() <= 2 ? TwoDigitYear(yy) : yy;
    using namespace std::chrono;
    const year_month_day ymd{std::chrono::year{year},
                             std::chrono::month{static_cast<unsigned>(month)},
                             std::chrono::day{static_cast<unsigned>(day)}};
    if (month < 1 || month > 12 || day < 1 || !ymd.ok())
        RaisePlatform(err::kTypeMismatch, "GetPTSData");
    return MakeDate(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
}

std::span<const HeaderSort> TicketHeaderSorts() {
    return kTicketSorts;
}
std::span<const HeaderSort> SavedHeaderSorts() {
    return kSavedSorts;
}

OpenSalesView::OpenSalesView() : View("frmOpenSales", "Open Sales Orders") {
    AddLabel("Label1", "Open Sales Orders");
    AddLabel("Label2(0)", "Pick Tickets");
    tickets_ = &AddGrid(std::string(kTicketsGrid));
    AddColumns(*tickets_, false);
    AddLabel("lblPTtot(0)");
    AddLabel("Label2(1)", "Saved Invoices");
    saved_ = &AddGrid(std::string(kSavedGrid));
    AddColumns(*saved_, true);
    AddLabel("lblPTtot(1)");
}

void OpenSalesView::Load(ViewContext& context) {
    context.Splash().SetProgress(std::string(kOpenSalesProgress));
    RunFill(context, "GetPTSData", {recap::kOpenSales}, [&] { GetPTSData(context); });
}

void OpenSalesView::AddDocumentRow(GridModel& grid, const char* type, int32_t head,
                                   int64_t& total) {
    cBusinessBasic& engine = Engine("GetPTSData");
    int16_t flag = 0;
    const std::string record = engine.LreadFile("INVOL", head, flag);
    const int32_t date = FollowTicketChain(record, head);
    clsInvoiceHistory page;  // a fresh object per row: nothing carries over from the last one
    page.Unpack(record);
    const std::string name = RawCustomerName(engine, page.Account);
    const int32_t items = CountTicketItems(record, head);
    const std::string date_text = DateNumberText(date);
    const int32_t day = DayNumber(DateOfText(date_text));
    // The row is committed whole: a document that fails leaves no half-filled row.
    const int r = grid.AddRow();
    grid.SetCell(r, "Type", type);
    grid.SetCell(r, "Ticket No.", std::to_string(page.Invoice_Number), page.Invoice_Number);
    grid.SetCell(r, "Account", std::to_string(page.Account), page.Account);
    grid.SetCell(r, "Name", name);
    grid.SetCell(r, "CM", std::to_string(page.COUNTERMAN_Number), page.COUNTERMAN_Number);
    grid.SetCell(r, "PO Number", page.Purchase_Order_No);
    grid.SetCell(r, "Items", std::to_string(items), items);
    grid.SetCell(r, "Sub-Total", FormatNumber(Number::Cents(page.Sub_Total), kSubTotalFormat),
                 page.Sub_Total);
    grid.SetCell(r, "Date", date_text);
    grid.SetCell(r, "ndate", std::to_string(day), day);
    if (grid.ColumnPosition("Recno") >= 0) grid.SetCell(r, "Recno", std::to_string(head), head);
    total += page.Sub_Total;
}

void OpenSalesView::GetPTSData(ViewContext& context) {
    tickets_->RemoveAll();
    saved_->RemoveAll();
    ticket_total_ = saved_total_ = 0;
    cBusinessBasic& engine = Engine("GetPTSData");
    int16_t flag = 0;

    IndexCursor(engine, "TICKI").Walk(KeyRange::From({}), [&](const IndexCursor& at) {
        AddDocumentRow(*tickets_, "P-Ticket", at.record(), ticket_total_);
    });
    tickets_->MoveFirst();

    for (int32_t b = kSavedDirectoryFirstBlock; b <= kSavedDirectoryLastBlock; ++b) {
        const std::string block = engine.BlockReadFile("FILE0", b, flag);
        for (int32_t j = 0; j < 4; ++j) {
            const size_t from = static_cast<size_t>(j * 128 + 4);
            if (block.size() < from + 124 || block.find_first_not_of('\0', from) >= from + 124)
                continue;
            for (int32_t k = 0; k < 31; ++k) {
                const int32_t p = j * 128 + 5 + 4 * k;
                if (block.compare(static_cast<size_t>(p - 1), 4, std::string(4, '\0')) == 0)
                    continue;
                AddDocumentRow(*saved_, "Saved Inv", Unpack("L", block, p), saved_total_);
            }
        }
    }
    saved_->MoveFirst();

    const std::string tickets_text = FormatNumber(Number::Cents(ticket_total_), kGridTotalFormat);
    const std::string saved_text = FormatNumber(Number::Cents(saved_total_), kGridTotalFormat);
    SetLabelCaption("lblPTtot(0)", std::string(kTotalPrefix) + tickets_text);
    SetLabelCaption("lblPTtot(1)", std::string(kTotalPrefix) + saved_text);
    context.Recap().SetCaption(
        recap::kOpenSales, FormatNumber(Number::Cents(ticket_total_ + saved_total_), kRecapFormat));
}

void OpenSalesView::HeaderClick(std::string_view grid, int column) {
    if (grid == tickets_->name())
        HeaderClickSort(*tickets_, column, kTicketSorts);
    else if (grid == saved_->name())
        HeaderClickSort(*saved_, column, kSavedSorts);
}

void OpenSalesView::ButtonClick(std::string_view grid, int row) {
    GridModel* g =
        grid == tickets_->name() ? tickets_ : (grid == saved_->name() ? saved_ : nullptr);
    if (g == nullptr || row < 0 || row >= g->RowCount()) return;
    if (g->CurrentRow() != row) g->SetCurrentRow(row);
    const int current = g->CurrentRow();
    if (g == tickets_)
        ShowPickTicket(g->CellText(current, 1), Details());
    else
        ShowSavedInvoice(g->CellText(current, 10), Details());
}

}  // namespace dv
