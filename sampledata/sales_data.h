// The demo set's customers and counter documents:
//
//   CUSTL (192 bytes) / ECUSTL (128)  customers, record n of each the same customer; CUSTI by
//                                     account number (L, 4 bytes)
//   INVOL (512)                       invoice pages, eight 44-byte line slots a page; documents
//                                     are chains written page 1 first, the head (highest page)
//                                     last. Pick tickets come first (the first ticket is records
//                                     1-3, pages 1-3), then saved invoices, then posted invoices.
//   TICKI                             open pick tickets by ticket number (L, 4 bytes)
//   FILE0 blocks 301-325              the saved-invoice directory: 31 four-byte INVOL head
//                                     records from byte 5 of each 128-byte sub-block
//   DARR.KRLI                         the receivables summary at the data directory's root, CR
//                                     LF lines: a header, 29 aging lines whose last is the total,
//                                     then the future periods
//
// One pick ticket names an account CUSTI does not hold; a few documents ship to another
// customer. Shop-job pages (status 80/81) are added to INVOL by the service data through
// AddInvolDocument. Dates are counted back from the data's as-of day (as_of.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sampledata/data_set.h"
#include "sampledata/demo_set.h"

namespace dv::sample {

inline constexpr int32_t kCustlLength = 192, kEcustlLength = 128;
inline constexpr int32_t kInvolRecordLength = 512;
inline constexpr int32_t kInvolSlotsPerPage = 8;
inline constexpr int32_t kTicketMissingCustomer = 999999;  // a ticket's account CUSTI lacks

struct SalesFilesSummary {
    int32_t customers = 0;
    std::vector<int32_t> accounts;  // CUSTI's accounts, ascending
    int32_t tickets = 0;
    int32_t saved_invoices = 0;
    int32_t invoices = 0;            // posted invoices
    int64_t ticket_total_cents = 0;  // sum of the tickets' sub-totals
    int64_t saved_total_cents = 0;   // sum of the saved invoices' sub-totals
    int64_t receivables_cents = 0;   // DARR.KRLI's total line (line 30)
    int32_t first_ticket_head = 0;   // record 3: the first ticket, three pages
    int32_t first_ticket_number = 0;
};

// A line slot of an INVOL page: code, part number (dashes coded), description, quantity in
// tenths, net price and cost each in cents.
std::string InvolItemSlot(std::string_view code, std::string_view part_with_dashes,
                          std::string_view description, int32_t tenths, int32_t net, int32_t cost);
std::string InvolRemarkSlot(std::string_view text);

// Writes a document's pages into INVOL: `header` (a record of INVOL's length holding the
// header fields) copied to every page, with its page number at 115, the link at 110 (page 1:
// date_mmddyy) and the slot count at 146; eight slots a page (at least one page). Returns the
// head's record number.
int32_t AddInvolDocument(RecordFileWriter& invol, const RecordBuilder& header,
                         const std::vector<std::string>& slots, int32_t date_mmddyy);

// Registers the files above; the counts follow plan.customers and plan.invoice_pages.
SalesFilesSummary AddSalesFiles(DataSetWriter& set, const DemoPlan& plan);

// The receivables summary as the dealer system writes it.
std::string ReceivablesSummary(Random& r, int32_t futures, int64_t* total_cents);

// Damage on demand for the counter documents of a built demo set; each targets the first pick
// ticket (INVOL records 1-3) or the files named.
namespace sales_damage {
void LoopPageChain(DataSetImage& image);             // page 2 links back to the head
void PageByte(DataSetImage& image, int32_t value);   // page 2's page number: 0 or 201
void MissingMiddlePage(DataSetImage& image);         // the head links to page 1, past page 2
void SlotCountPastRecord(DataSetImage& image);       // page 1 counts 255 slots
void TicketHeadPastLastRecord(DataSetImage& image);  // TICKI's first entry past INVOL's end
void SavedHeadPastLastRecord(DataSetImage& image);   // the first directory slot past the end
void SavedSlotNamesTicket(DataSetImage& image);      // the first slot names ticket 1's head
void TicketNamesOther(DataSetImage& image);          // TICKI's first key names ticket 2's head
void ZeroDate(DataSetImage& image);                  // page 1's date field holds 0
void RemoveReceivables(DataSetImage& image);         // no DARR.KRLI
void MalformedReceivables(DataSetImage& image);      // line 5 without an amount
}  // namespace sales_damage

// A damage kind by name (the units data's own list uses it).
struct NamedDamage {
    const char* name;
    void (*apply)(DataSetImage&);
};

}  // namespace dv::sample
