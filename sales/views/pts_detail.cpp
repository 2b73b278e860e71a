#include "sales/views/pts_detail.h"

#include <cmath>

#include "engine/business_basic.h"
#include "engine/error.h"
#include "engine/key_lookup.h"
#include "engine/live_record.h"
#include "engine/tables.h"
#include "records/page_chain.h"
#include "sales/invoice_record.h"
#include "sales/views/detail_grid.h"
#include "shell/detail_trap.h"
#include "shell/number_format.h"
#include "shell/operation_log.h"

namespace dv {
namespace {

constexpr const char* kLabelCaptions[6] = {
    "Avail CR : ", "Date : ", "CM : ", "SM :  ", "PO :  ", "DEL :  "};

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string Indexed(const char* name, int i) {
    return std::string(name) + "(" + std::to_string(i) + ")";
}

// The form with its design: the two customer blocks, the six captions and values, the lines.
void Design(DetailForm& form) {
    form.AddLabel("Frame1", "Sold To");
    form.AddLabel("lblCust");
    form.AddLabel("Frame3", "Ship To");
    form.AddLabel("lblShipto");
    for (int i = 0; i < 6; ++i) {
        form.AddLabel(Indexed("Label1", i), kLabelCaptions[i]);
        form.AddLabel(Indexed("lblDtl", i));
    }
    GridModel& grid = form.AddGrid(std::string(kPTSGrid));
    for (const char* column : {"Line", "Part #", "Description", "Qty", "Net", "Cost"}) {
        const bool right = std::string_view(column) == "Qty" || std::string_view(column) == "Net" ||
                           std::string_view(column) == "Cost";
        grid.AddColumn({column, column, "", false, false,
                        right ? CellAlignment::kRight : CellAlignment::kLeft, 0});
    }
}

bool ReadCustomer(int32_t account, clsCustomers& customer) {
    return ReadCustomer(RequireEngine("ReadCustomer"), account, customer);
}

// `through` names what named the head; a ticket above 0 is the number its key holds, which the
// head page must hold too.
void FillHeader(DetailForm& form, int32_t head, const std::string& prefix, const char* through,
                int32_t ticket) {
    const std::string record = ReadLiveRecord(RequireEngine("FillHeader"), "INVOL", head, through);
    const int32_t date = FollowTicketChain(record, head);
    clsInvoiceHistory page;
    page.Unpack(record);
    if (ticket > 0 && invol::IsInvoiceStatus(page.Record_Status))
        CheckRecordNumber("INVOL", head, page.Invoice_Number, ticket, through);
    clsCustomers customer;
    if (ReadCustomer(page.Account, customer)) {
        form.SetLabel("lblDtl(0)", AvailableCredit(customer));
        form.SetLabel("lblCust", CustomerBlock(customer));
    }
    const std::string sales_type = customer.Credit_Code == "G" ? "Charge" : "Cash";
    form.SetCaption(prefix + "         Sales type : " + sales_type);
    if (page.ShipTo != 0 && ReadCustomer(page.ShipTo, customer))
        form.SetLabel("lblShipto", CustomerBlock(customer));
    form.SetLabel("lblDtl(1)", DateNumberText(date));
    form.SetLabel("lblDtl(2)", std::to_string(page.COUNTERMAN_Number));
    form.SetLabel("lblDtl(3)", std::to_string(page.Salesman_Number));
    form.SetLabel("lblDtl(4)", page.Purchase_Order_No);
    form.SetLabel("lblDtl(5)", std::to_string(page.Delivery_Code));
}

void FillLines(DetailForm& form, int32_t head, const char* routine) {
    clsInvDetail detail;
    detail.InvoiceRec(head);
    detail.GetDetail();
    GridModel& grid = *form.FindGrid(kPTSGrid);
    const auto& lines = detail.DetailReturn();
    for (const DetailLine& line : lines) AddDetailRow(grid, line);
    if (!lines.empty()) grid.MoveFirst();  // once, when every line is in
    // A chain that failed keeps the lines read before the failure and says so: a failure row
    // under them, the form's error and the operation log. A short grid alone would read as a
    // ticket of fewer lines.
    const BasicError* e = detail.Builder().FirstError();
    if (e != nullptr && head > 0) {
        const std::string text =
            "error # :  " + std::to_string(e->number()) + "  " + EscapeLogText(e->description());
        const int r = grid.AddRow();
        grid.SetCell(r, "Part #", std::string(kPTSFailureText));
        grid.SetCell(r, "Description", text);
        grid.MoveFirst();
        form.AddError(text);
        mLogLine = FillErrorLine(kPTSDetailForm, routine, e->number(), e->description());
        WriteLog(mLogPath, mLogLine);
    }
}

int32_t TicketNumber(const std::string& ticket) {
    const std::string t = Trimmed(ticket);
    const size_t digits = t.find_first_not_of("0123456789", t[0] == '-' ? 1 : 0);
    if (t.empty() || digits != std::string::npos || t.size() > 11)
        RaisePlatform(err::kTypeMismatch, "ShowPickTicket");
    const long long n = std::stoll(t);
    if (n < INT32_MIN || n > INT32_MAX) RaisePlatform(err::kOverflow, "ShowPickTicket");
    return static_cast<int32_t>(n);
}

}  // namespace

std::string TicketGoneMessage(const std::string& ticket) {
    return "Pick-Ticket # " + Trimmed(ticket) + " is no longer open.";
}

std::string AvailableCredit(const clsCustomers& customer) {
    const int64_t cents =
        int64_t{customer.Credit_Limit} * 100 - (customer.MTD_Tot_Bal + customer.Statement_Tot_Due);
    // To the nearest whole unit, halves to the even neighbour.
    int64_t units = cents / 100;
    int64_t rest = cents % 100;
    if (rest < 0) {
        rest += 100;
        --units;
    }
    if (rest > 50 || (rest == 50 && units % 2 != 0)) ++units;
    return FormatNumber(Number::Whole(units), "####0.00");
}

std::string CustomerBlock(const clsCustomers& customer) {
    return std::to_string(customer.Account) + "\n" + Trimmed(customer.Name) + "\n" +
           Trimmed(customer.Address_Line_1) + "\n" + Trimmed(customer.Address_Line_2) + "\n" +
           Trimmed(customer.Address_Line_3);
}

void ShowPickTicket(const std::string& ticket, DetailHost& host) {
    // An error ends the request and goes to the operation log.
    DetailTrap trap(kPTSDetailForm, "ShowPickTicket");
    const bool done = trap.Step([&] {
        DetailForm form{std::string(kPTSDetailForm), std::string(kPTSDetailCaption)};
        Design(form);
        const int32_t number = TicketNumber(ticket);
        const int32_t head = FindByNumber(RequireEngine("ShowPickTicket"), "TICKI", number);
        if (head <= 0) {
            host.Message(TicketGoneMessage(ticket));
            return;
        }
        FillHeader(form, head, "Pick-Ticket # " + ticket, "TICKI", number);
        FillLines(form, head, "ShowPickTicket");
        host.Show(form);
    });
    if (!done) trap.Log();
}

void ShowSavedInvoice(const std::string& record, DetailHost& host) {
    // An error ends the request and goes to the operation log.
    DetailTrap trap(kPTSDetailForm, "ShowSavedInvoice");
    const bool done = trap.Step([&] {
        DetailForm form{std::string(kPTSDetailForm), std::string(kPTSDetailCaption)};
        Design(form);
        const std::string t = Trimmed(record);
        char* end = nullptr;
        const double value = std::strtod(t.c_str(), &end);
        if (t.empty() || end != t.c_str() + t.size() || !std::isfinite(value) ||
            std::fabs(value) > 2147483647.0)
            RaisePlatform(err::kTypeMismatch, "ShowSavedInvoice");
        const int32_t head = static_cast<int32_t>(std::nearbyint(std::fabs(value)));
        if (head > 0) FillHeader(form, head, "Saved Invoice   ", "the saved invoice's row", 0);
        FillLines(form, head, "ShowSavedInvoice");
        host.Show(form);
    });
    if (!done) trap.Log();
}

}  // namespace dv
