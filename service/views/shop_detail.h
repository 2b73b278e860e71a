// The shop job detail frmShopDetail: one open shop job in full, opened from a row's button of
// the Open Shop Work grid. The job's head page (through the open shop-job table), its customer
// (CUSTL and ECUSTL), its mechanic and counterman (MANL), the call dates with the result names
// of FILE0 block 446, the equipment and warranty mark, every line of the job's pages with the
// request it belongs to (clsShopDetail), and for a completed job the totals by kind.
//
// The request list cmbRequest (shown when the head page's segment is 1 or more) holds "All
// Requests" and an item "  n - text" wherever the request changes from one row to the next;
// choosing one shows only that request's rows.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "shell/detail_form.h"

namespace dv {

inline constexpr std::string_view kShopDetailForm = "frmShopDetail";
inline constexpr std::string_view kShopDetailGrid = "grdShopDetail";
inline constexpr std::string_view kRequestChoice = "cmbRequest";
inline constexpr std::string_view kAllRequests = "All Requests";

// The phone text of the detail: Format(area, "###-") & Format(number, "###-####").
std::string PhoneText(int32_t area_code, int32_t number);

// Builds the detail of a job number. Raises GetJob's errors and the engine's (a slot of 0, a
// record outside INVOL); a customer, mechanic or counterman that is not found leaves its
// labels empty, and a builder failure shows the rows built before it.
std::unique_ptr<DetailForm> BuildShopDetail(int32_t job);

}  // namespace dv
