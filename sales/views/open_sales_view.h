// The Open Sales Orders view (frmOpenSales): the open pick tickets TICKI lists, in ticket-number
// order, in grdTickets, and the saved invoices of FILE0's directory (blocks 301-325) in
// grdSaved; a total under each (lblPTtot(0), lblPTtot(1)) and their sum on recap label 2.
// Each row's document is a page chain in INVOL read from its head page: the header through a
// fresh clsInvoiceHistory per row, the date from page 1's chain field, the item count summed
// over the pages. Every chain walk is bounded (page_chain.h); a damaged chain, a head outside
// INVOL or a date that is no date ends the fill with "Data Error !" on recap label 2 and the
// view's log line, the rows already added kept. A row's button opens the pick-ticket or saved-
// invoice detail (pts_detail.h); a header click sorts its grid.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "engine/dates.h"
#include "shell/grid_sort.h"
#include "shell/view.h"

namespace dv {

inline constexpr std::string_view kTicketsGrid = "grdTickets";
inline constexpr std::string_view kSavedGrid = "grdSaved";
inline constexpr std::string_view kOpenSalesProgress = "Loading Open Sales Orders...";

// The date a "##/##/##" text names; error 13 "Type mismatch" when it names none.
Date DateOfText(std::string_view text);

class OpenSalesView : public View {
  public:
    OpenSalesView();

    GridModel& tickets() const { return *tickets_; }
    GridModel& saved() const { return *saved_; }
    int64_t ticket_total_cents() const { return ticket_total_; }
    int64_t saved_total_cents() const { return saved_total_; }

    // Opens the detail of the clicked row's ticket (grdTickets, by its number) or saved invoice
    // (grdSaved, by its head record).
    void ButtonClick(std::string_view grid, int row) override;

  protected:
    void Load(ViewContext& context) override;

  private:
    void GetPTSData(ViewContext& context);
    // One document's row. `through` names what named the head (TICKI, a FILE0 slot); a ticket
    // number above 0 is the number its key holds, which the head page must hold too.
    void AddDocumentRow(GridModel& grid, const char* type, int32_t head, int64_t& total,
                        const char* through, int32_t ticket);

    GridModel* tickets_;
    GridModel* saved_;
    int64_t ticket_total_ = 0;
    int64_t saved_total_ = 0;
    // The head records of the rows of this fill, and the records of their other pages: a
    // document is shown once, and a saved-invoice slot must name a head page.
    std::unordered_set<int32_t> heads_;
    std::unordered_set<int32_t> pages_;
};

}  // namespace dv
