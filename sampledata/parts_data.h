// The demo set's product lines, parts, vendors, returns and purchase orders:
//
//   LINEL (192 bytes) / ELINEL (64)  product lines, record n of each the same line; LINEI by
//                                    line number (C); COMODI by line and commodity code
//   PARTL (192) / EPARTL (96)        parts; PARTI by line and packed part number (14 bytes)
//   VNDRL (96)                       vendors, VNDRI by vendor number (L); numbers 1 to 999
//   RTTBI, PUTBI                     the returns and purchase orders, one key per document
//                                    file of 38-byte records in the data directory
//
// Product lines run from 1 to a few hundred, plus one internal line above 999 that the views
// leave out. A line's goods cost and its sales are the sums over its parts. Most documents are
// of the types the views select; a few are of other types, one names a vendor VNDRI lacks,
// one a part PARTI lacks, and one PUTBI key names a file that is not there. Everything comes
// from a generator of its own with a fixed seed, so other subsystems' data does not move when
// this data changes, and dates are counted back from a fixed day, not from today.
#pragma once

#include <cstdint>

#include "sampledata/data_set.h"
#include "sampledata/demo_set.h"

namespace dv::sample {

// What AddPartsFiles wrote, for tests and for subsystems that refer to it.
struct PartsFilesSummary {
    int32_t lines = 0;  // LINEL records, the internal line included
    int32_t parts = 0;
    int32_t vendors = 0;
    int32_t returns = 0;          // RTTBI keys with a document file
    int32_t orders = 0;           // PUTBI keys with a document file
    int64_t inventory_cents = 0;  // the sum of the lines' goods cost, lines 1 to 999
};

// Registers the files above on the writer, with the counts of the plan (product lines, parts,
// vendors; returns and orders follow the vendors).
PartsFilesSummary AddPartsFiles(DataSetWriter& set, const DemoPlan& plan);

}  // namespace dv::sample
