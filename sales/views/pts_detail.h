// The pick-ticket and saved-invoice detail (frmPTSDetail): who the customer is and the credit
// left, where the goods go, the document's date, counterman, salesman, purchase order and
// delivery code, and its lines from the invoice detail builder. Each request builds a fresh
// form and shows it through the detail host.
//
// A pick ticket opens only on an exact TICKI match: a ticket that has left the index since the
// list was filled shows a short message instead of another ticket's data. Any error ends the
// request without ending the program; it is written to the operation log as
// "*Error in frmPTSDetail <routine> routine error # :  <n>  <description>".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "sales/customer_record.h"
#include "shell/detail_form.h"

namespace dv {

inline constexpr std::string_view kPTSDetailForm = "frmPTSDetail";
inline constexpr std::string_view kPTSDetailCaption = "Open Sales Detail";
inline constexpr std::string_view kPTSGrid = "grdPTS";
// The Part # of the row under the lines of a document whose page chain failed; its Description
// holds the error ("error # :  1030  Damaged page chain ...").
inline constexpr std::string_view kPTSFailureText = "Error in pick-ticket detail";

// ticket: the ticket number as the grid shows it.
void ShowPickTicket(const std::string& ticket, DetailHost& host);
// record: the INVOL record number of the invoice's head page, as text.
void ShowSavedInvoice(const std::string& record, DetailHost& host);

// The message shown for a ticket TICKI no longer holds.
std::string TicketGoneMessage(const std::string& ticket);

// Credit_Limit (whole units) less MTD_Tot_Bal and Statement_Tot_Due, to the nearest whole unit
// (halves to even), as "####0.00" shows it.
std::string AvailableCredit(const clsCustomers& customer);
// The account, then the trimmed name and address lines, joined by line feeds.
std::string CustomerBlock(const clsCustomers& customer);

}  // namespace dv
