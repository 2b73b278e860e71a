// The document the headless run prints: the figures of the loaded program as one JSON object.
//
//   {"status": [panel 1 to 4 texts],
//    "store_name": "...",
//    "recap": [{"index": 0, "text": "...", "error": false}, ... 22 entries],
//    "views": {"frmInv": {"grids": {"grdInvest": {"columns": ["Line", ...],
//                                                 "rows": [["1", ...], ...]}},
//                         "labels": {"lblinvtot(0)": "...", ...}}, ...},
//    "log": ["lines appended to the operation log", ...]}
//
// Views appear in the start-up order, Billed Warranties last; columns are the grid's column
// names in grid order, hidden ones included; rows are the cell texts as the grid holds them;
// labels are the form's labels in creation order. Texts are the dealer system's single-byte
// text; bytes from 0x80 up are written as the characters U+0080 to U+00FF.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace dv {

class MainController;

// text as a JSON string, quotes included.
std::string JsonString(std::string_view text);

std::string DumpDocument(const MainController& controller,
                         const std::vector<std::string>& log_lines);

}  // namespace dv
