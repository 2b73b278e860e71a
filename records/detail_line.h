// DetailLine and DetailReturn: the rows the page-chain builders return, one per document line,
// page 1 first and, within a page, in slot order. Elements 0 to 11 of the dealer's row, typed:
//
//   0 code         the 3-character line code; "REM" a remark
//   1 text         part number with its dashes (18 characters plus one "-" per honoured dash
//                  code), or the remark's 63 characters
//   2 description  21 characters; empty on a remark
//   3 quantity     whole units: stored tenths divided by 10 toward zero; 0 on a remark
//   4 net_each     net price each in cents, signed; 0 on a remark
//   5 cost_each    cost each in cents; 0 on a remark
//   6 segment      the page's request segment where the builder fills it (shop jobs), else empty
//   7-11           always empty
//
// Nothing is trimmed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace dv {

struct DetailLine {
    std::string code;
    std::string text;
    std::string description;
    int32_t quantity = 0;
    int32_t net_each = 0;
    int32_t cost_each = 0;
    std::optional<int32_t> segment;

    bool IsRemark() const { return code == "REM"; }
    friend bool operator==(const DetailLine&, const DetailLine&) = default;
};

using DetailReturn = std::vector<DetailLine>;

}  // namespace dv
