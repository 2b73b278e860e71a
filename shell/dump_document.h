// The document the headless run prints: the figures of the loaded program as one JSON object.
//
//   {"status": [panel 1 to 4 texts],
//    "store_name": "...",
//    "recap": [{"index": 0, "text": "...", "error": false}, ... 22 entries],
//    "views": {"frmInv": {"grids": {"grdInvest": {"columns": ["Line", ...],
//                                                 "rows": [["1", ...], ...]}},
//                         "labels": {"lblinvtot(0)": "...", ...}}, ...},
//    "details": {"frmReturn": {"R10001": {"caption": "...", "labels": {...}, "grids": {...}},
//                              "R10002": {"shown": false}}, ...},      (with --details only)
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

// text as a JSON string, quotes included; each byte of 0x80 and above is the 8-bit character
// of that code, written in UTF-8.
std::string JsonString(std::string_view text);
// The same, appended to out.
void AppendJsonString(std::string& out, std::string_view text);

// details: the "details" member's value (DumpDetails), or empty for none.
std::string DumpDocument(const MainController& controller,
                         const std::vector<std::string>& log_lines, std::string_view details = {});

// How deep DumpDetails follows the buttons of detail forms: a view's detail is depth 1, a
// detail opened from it depth 2, and so on.
inline constexpr int kDetailDumpDepth = 3;

// Clicks the button of every row of every grid that has a button column, in every loaded view,
// as the user would (through the controller, so a failing click is logged as in the program),
// with a host that records what the click shows instead of showing it. The result is a JSON
// object keyed by the view's form name, then by the row's key as its button cell shows it (a
// key seen before in the same form gets " #2", " #3"...). Each entry is what the form shows:
//   {"form": "frmPODetail", "caption": "...", "labels": {name: caption, ...},
//    "grids": {name: {"columns": [...], "rows": [...]}, ...}}
// with, when there are any, "hidden": [names of labels not shown], "choices": {name: {"items":
// [...], "text": "..."}}, "errors": [steps that failed while it was filled], "messages": [message
// boxes the click showed] and "details": {row: entry} for the buttons of the detail's own grids
// (to kDetailDumpDepth), keyed by the row's number from 1 in its grid as "grids" lists it (the
// button cell seldom names a row inside a detail). A click that shows no form gives
// {"shown": false} (and its messages).
// A click runs the view's handler for real: its current row moves and its log lines are written.
std::string DumpDetails(MainController& controller, int max_depth = kDetailDumpDepth);

}  // namespace dv
