#include "sales/views/open_sales_view.h"

#include "engine/business_basic.h"
#include "engine/codec.h"
#include "engine/control_file.h"
#include "engine/error.h"
#include "engine/index_cursor.h"
#include "engine/live_record.h"
#include "engine/record_fields.h"
#include "records/page_chain.h"
#include "sales/customer_record.h"
#include "sales/invoice_record.h"
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

// The Date header sorts by the hidden day number, so dates of two years order as dates. A
// saved invoice's number sorts as text, a pick ticket's as a number.
void AddColumns(GridModel& grid, bool saved) {
    using namespace grid_columns;
    grid.AddColumn({"Type", "Type", "", false, false, kLeft, 0, kText});
    grid.AddColumn(
        {"Ticket No.", "Ticket No.", "", false, true, kRight, 0, saved ? kText : kNumber});
    grid.AddColumn({"Date", "Date", "", false, false, kRight, 0, SortKind::kDate, "ndate"});
    grid.AddColumn({"Account", "Cust #", "", false, false, kRight, 0, kNumber});
    grid.AddColumn({"Name", "Name", "", false, false, kLeft, 0, kText});
    grid.AddColumn({"CM", "CM", "", false, false, kRight, 0, kNumber});
    grid.AddColumn({"Items", "Items", "", false, false, kRight, 0, kNumber});
    grid.AddColumn({"PO Number", "PO Number", "", false, false, kLeft, 0, kText});
    grid.AddColumn({"Sub-Total", "Sub-Total", "", false, false, kRight, 0, kNumber});
    grid.AddColumn({"ndate", "ndate", "", true, false, kRight, 0});
    if (saved) grid.AddColumn({"Recno", "Recno", "", true, false, CellAlignment::kRight, 0});
    grid.SetToolTip("Click on Blue headers to sort grid by that column");
}

}  // namespace

Date DateOfText(std::string_view text) {
    // Three parts between slashes, each of one to four digits.
    int values[3] = {0, 0, 0};
    size_t year_digits = 0;
    size_t from = 0;
    for (int k = 0; k < 3; ++k) {
        const size_t slash = text.find('/', from);
        if ((k < 2) != (slash != std::string_view::npos))
            RaisePlatform(err::kTypeMismatch, "GetPTSData");
        const std::string_view part = text.substr(from, (k < 2 ? slash : text.size()) - from);
        if (part.empty() || part.size() > 4) RaisePlatform(err::kTypeMismatch, "GetPTSData");
        for (const char c : part) {
            if (c < '0' || c > '9') RaisePlatform(err::kTypeMismatch, "GetPTSData");
            values[k] = values[k] * 10 + (c - '0');
        }
        year_digits = part.size();
        from = slash + 1;
    }
    const int month = values[0], day = values[1], yy = values[2];
    const int year = year_digits <= 2 ? TwoDigitYear(yy) : yy;
    using namespace std::chrono;
    const year_month_day ymd{std::chrono::year{year},
                             std::chrono::month{static_cast<unsigned>(month)},
                             std::chrono::day{static_cast<unsigned>(day)}};
    if (month < 1 || month > 12 || day < 1 || !ymd.ok())
        RaisePlatform(err::kTypeMismatch, "GetPTSData");
    return MakeDate(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
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
    // The picture and the view's title at the top; each section's title above its grid, its
    // total under it.
    SetLayout({{layout::Picture("Image1"), layout::Title("Label1")},
               {layout::Heading("Label2(0)")},
               {layout::Grid(std::string(kTicketsGrid))},
               {layout::Total("lblPTtot(0)")},
               {layout::Heading("Label2(1)")},
               {layout::Grid(std::string(kSavedGrid))},
               {layout::Total("lblPTtot(1)")}});
}

void OpenSalesView::Load(ViewContext& context) {
    context.Splash().SetProgress(std::string(kOpenSalesProgress));
    heads_.clear();
    pages_.clear();
    RunFill(context, "GetPTSData", {recap::kOpenSales}, [&] { GetPTSData(context); });
}

void OpenSalesView::AddDocumentRow(GridModel& grid, const char* type, int32_t head, int64_t& total,
                                   const char* through, int32_t ticket) {
    cBusinessBasic& engine = RequireEngine("GetPTSData");
    const std::string record = ReadLiveRecord(engine, "INVOL", head, through);
    const int32_t date = FollowTicketChain(record, head);
    clsInvoiceHistory page;  // a fresh object per row: nothing carries over from the last one
    page.UnpackListed(record);
    // An invoice page holds its number at 106; a page of another kind holds none to compare.
    if (ticket > 0 && invol::IsInvoiceStatus(page.Record_Status))
        CheckRecordNumber("INVOL", head, page.Invoice_Number, ticket, through);
    const std::string name = RawCustomerName(engine, page.Account);
    // A head shown already, or a page of another document's chain, is no document of its own
    // (a saved-invoice slot naming a pick ticket, or a page inside a chain): counted again it
    // would add its figures twice.
    if (heads_.count(head) != 0 || pages_.count(head) != 0) {
        throw BasicError(err::kPageChain, "GetPTSData",
                         "Damaged page chain in file INVOL: record " + std::to_string(head) +
                             (heads_.count(head) != 0 ? " is named as a document twice"
                                                      : " is a page of another document, no head"));
    }
    std::vector<int32_t> pages;
    const int32_t items = CountTicketItems(record, head, &pages);
    for (const int32_t n : pages) {
        if (heads_.count(n) != 0) {
            throw BasicError(err::kPageChain, "GetPTSData",
                             "Damaged page chain in file INVOL: record " + std::to_string(n) +
                                 " is a page of the document at record " + std::to_string(head) +
                                 " and a document of its own");
        }
    }
    heads_.insert(head);
    pages_.insert(pages.begin(), pages.end());
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
    cBusinessBasic& engine = RequireEngine("GetPTSData");
    int16_t flag = 0;

    IndexCursor(engine, "TICKI").Walk(KeyRange::From({}), [&](const IndexCursor& at) {
        AddDocumentRow(*tickets_, "P-Ticket", at.record(), ticket_total_, "TICKI",
                       Unpack("L", at.key(), 1));
    });
    tickets_->MoveFirst();

    engine.BlockReadRunAhead(file0::kName, file0::kSavedFirstBlock, file0::kSavedLastBlock);
    constexpr size_t kSlotBytes = 4 * file0::kSavedSlots;
    for (int32_t b = file0::kSavedFirstBlock; b <= file0::kSavedLastBlock; ++b) {
        const std::string block = engine.BlockReadFile(file0::kName, b, flag);
        for (int32_t j = 0; j < file0::kSavedSubBlocks; ++j) {
            const auto from = static_cast<size_t>(file0::SavedSlotAt(j, 0) - 1);
            if (block.size() < from + kSlotBytes ||
                block.find_first_not_of('\0', from) >= from + kSlotBytes)
                continue;
            for (int32_t k = 0; k < file0::kSavedSlots; ++k) {
                const int32_t p = file0::SavedSlotAt(j, k);
                if (block.compare(static_cast<size_t>(p - 1), 4, std::string(4, '\0')) == 0)
                    continue;
                AddDocumentRow(*saved_, "Saved Inv", Unpack("L", block, p), saved_total_,
                               "a saved-invoice slot of FILE0", 0);
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

void OpenSalesView::ButtonClick(std::string_view grid, int row) {
    GridModel* g =
        grid == tickets_->name() ? tickets_ : (grid == saved_->name() ? saved_ : nullptr);
    if (g == nullptr || !g->SelectRow(row)) return;
    const int current = g->CurrentRow();
    if (g == tickets_)
        ShowPickTicket(g->CellText(current, 1), Details());
    else
        ShowSavedInvoice(g->CellText(current, 10), Details());
}

}  // namespace dv
