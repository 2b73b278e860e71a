// The drill-downs of the Units view. frmUnitDtl ("Unit Detail") lists a product line's units
// in stock with their ledger sum; the Unit column's button shows one unit in frmUnitInfo
// ("Unit : <unit number>"): 25 caption and value rows, four of them under the captions the
// dealer keeps in block 4 of FILE0.
//
// The unit is looked up in UNITI under its number as stored; only an exact hit is shown. A
// number UNITI does not hold gives a short message ("Unit U1042 was not found."), never the
// next unit's fields.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "shell/detail_form.h"
#include "units/unit_records.h"

namespace dv {

inline constexpr std::string_view kUnitDetailForm = "frmUnitDtl";
inline constexpr std::string_view kUnitDetailGrid = "grdUnitDtl";
inline constexpr std::string_view kUnitInfoForm = "frmUnitInfo";
inline constexpr std::string_view kUnitInfoGrid = "grdUnitinfo";

// The captions of User_Defined_Numeric_1, _Numeric_2, _Alpha_1 and _Alpha_2: the 8 characters
// at 433, 453, 473 and 493 of FILE0 block 4, as stored. FILE0 is closed after the read.
// Raises engine errors.
std::array<std::string, 4> GetUnitLabels();

// An amount as plain number text: no grouping, no trailing zeros ("28500", "1234.5", "-12.34").
std::string PlainAmount(int64_t cents);

// The 25 rows of a unit's information, caption and value, in order.
std::vector<std::pair<std::string, std::string>> UnitInfoRows(
    const clsUnits& unit, const std::array<std::string, 4>& captions);

// The units in stock of the line whose grid text is line_text. Raises engine errors, chain
// errors and 13 when line_text is no number. Its button opens the unit's information.
std::unique_ptr<DetailForm> BuildUnitDetail(const std::string& line_text, const std::string& name);
// The information of one unit; null when UNITI holds no exact entry for the number.
std::unique_ptr<DetailForm> BuildUnitInfo(const std::string& unit_number);
// "Unit U1042 was not found."
std::string UnitNotFoundText(const std::string& unit_number);

// The button handlers: build and show, with errors trapped (shell/detail_trap.h).
void ShowUnitDetail(const std::string& line_text, const std::string& name, DetailHost& host);
void ShowUnitInfo(GridModel& detail, int row, DetailHost& host);

}  // namespace dv
