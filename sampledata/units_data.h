// The demo set's units and floor plan:
//
//   UNITL (512 bytes)   units, UNITI by unit number (8 characters), LUNITI by product line (C)
//                       and unit number (10 bytes)
//   LUNITL (64)         the units' cost ledgers, one chain per unit from its SubLedgerChain
//   FPLNL (96)          floored units, FPLNI by line, packed model and packed serial number
//                       (bytes 3-28 of the record, 26 bytes)
//   FPEXL (32)          the floored units' extents, one chain per unit from its ExtentChain:
//                       part lines of parts PARTI holds, remarks ("REM"), one part line of a
//                       part PARTI lacks and one text record of another code
//   PARTL / EPARTL      the unit models of each unit line, added to the parts files (one model
//                       per line is left out, so a unit floored at cost 0 is valued at 0)
//   FILE0 block 4       the writer's unit captions; the 12 bytes after each caption are filled
//                       with "#", which no form shows
//
// Units belong to the product lines of type "U" (one line below 1000 is made a unit line when
// the parts data has none), plus one unit and one floored unit of the internal line above 999,
// which the views leave out. In stock: the sold day 0, and one unit whose sold day is 1
// (1/1/68 as well, so the Units view counts it in stock while the Floor Plan view, testing the
// raw day, counts its floored twin as sold). Floored units are neither sold nor invoiced,
// sold only, invoiced only, or both. A generator of its own with a fixed seed; dates count
// back from the parts data's as-of day.
#pragma once

#include <cstdint>

#include "sampledata/data_set.h"
#include "sampledata/demo_set.h"
#include "sampledata/sales_data.h"

namespace dv::sample {

// What AddUnitsFiles wrote; the two totals are what the views' recap labels 11 and 12 show.
struct UnitsFilesSummary {
    int32_t unit_lines = 0;        // lines of type U below 1000
    int32_t units = 0;             // UNITL records
    int32_t units_in_stock = 0;    // on unit lines below 1000
    int64_t units_cents = 0;       // the ledger sums of those units in stock
    int32_t ledger_entries = 0;    // LUNITL records
    int32_t floored = 0;           // FPLNL records
    int32_t floored_open = 0;      // neither sold nor invoiced, lines below 1000
    int64_t floor_plan_cents = 0;  // their cost (a cost of 0: the model's part cost)
    int32_t extents = 0;           // FPEXL records
};

// Registers the files above; AddPartsFiles must have run on the writer first.
UnitsFilesSummary AddUnitsFiles(DataSetWriter& set, const DemoPlan& plan);

// The damage kinds of these files by name, for dashvane-sample --damage: a looping extent
// chain ("fpexl-loop") and ledger chain ("lunitl-loop"), a chain pointer past LastRecord
// ("fpexl-past-end", "lunitl-past-end"), and unit records cut to 140 bytes, short of their
// sold day and ledger chain ("unitl-short").
const std::vector<NamedDamage>& UnitsDamageKinds();
namespace units_damage {
// The first ledger entry of the first unit in stock with a ledger reads as deleted (all zeros).
void DeletedLedgerEntry(DataSetImage& image);
}  // namespace units_damage

}  // namespace dv::sample
