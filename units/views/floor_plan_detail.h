// The drill-downs of the Floor Plan view. frmFpdtl ("Floor Plan Detail") lists a product
// line's floored units that are neither sold nor invoiced, one row per unit in FPLNI order;
// its Ext column's button lists the unit's extents in frmFpx, when it has any.
//
// The extents are read along the unit's FPEXL chain (bounded: record_chain.h) with one extent
// object, after a switch to the names alphabet " ,-.": that is the alphabet a floor-plan
// record's decoding leaves, so the listing reads the same whatever ran before it. A part line
// shows its part's description from the parts file ("Description Not Found" without an exact
// hit); a remark shows its comment; a text record of any other code reads "Description Not
// Found". A text record leaves Part Number, Quantity, Cost and Net blank.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "shell/detail_form.h"
#include "shell/grid_sort.h"

namespace dv {

inline constexpr std::string_view kFloorPlanDetailForm = "frmFpdtl";
inline constexpr std::string_view kFloorPlanDetailGrid = "grdFpdtl";
inline constexpr std::string_view kExtentsForm = "frmFpx";
inline constexpr std::string_view kExtentsGrid = "grdfpx";

// The detail of the line whose grid text is line_text ("Line  <line> - <name>" in Label1).
// Raises engine errors and 13 when line_text is no number. Its button opens the extents.
std::unique_ptr<DetailForm> BuildFloorPlanDetail(const std::string& line_text,
                                                 const std::string& name);
// "Extents...     Model <model trimmed> - <serial trimmed>".
std::string ExtentsCaption(const std::string& model, const std::string& serial);
// The extents from record first. Raises 1020/1021 on a broken chain and engine errors.
std::unique_ptr<DetailForm> BuildExtents(const std::string& model, const std::string& serial,
                                         int32_t first);

// The button handlers: build and show, with errors trapped (shell/detail_trap.h).
void ShowFloorPlanDetail(const std::string& line_text, const std::string& name, DetailHost& host);
// The extents of row `row` of a detail grid; nothing for a row whose Ext reads "No".
void ShowExtents(GridModel& detail, int row, DetailHost& host);

}  // namespace dv
