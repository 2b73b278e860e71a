// The demo set's counter people and accounting files:
//
//   MANL (200 bytes) / EMANL (200)   countermen and mechanics, record n of each the same person;
//                                    MANI by person number (C). The join runs on across 200:
//                                    EMANL holds positions 201-400 of the record.
//
// Countermen are numbered from 1 and carry today's, the month's and the year's counter figures
// (invoices, line items, goods and labor sales, discounts, cash received, refunds, payments on
// account, deposits). Person 0 is the house counter, which the Sales / Cash view leaves out.
// Mechanics follow the countermen from number 50 up, with the mechanic flag set and no counter
// figures.
//
//   CHRTL (64) / CHRTI (6-byte key: company C, account L)   chart of accounts of companies 1 and 2
//   GLDTL (64) / GLDTI (10-byte key: company C, account L, entry number L)   G/L detail
//
// Both companies have the same account numbers: assets (class "A"), liabilities ("L") and two
// accounts of neither class. Each account has a run of detail entries, signed (sign byte 1 for a
// credit), with amounts beyond a million dollars in the unit and floor-plan accounts, so the
// millions part and the cents part both matter. Everything comes from a generator of its own with a
// fixed seed, so other subsystems' data does not move when this data changes.
#pragma once

#include <cstdint>
#include <vector>

#include "sampledata/data_set.h"
#include "sampledata/demo_set.h"

namespace dv::sample {

inline constexpr int32_t kManlLength = 200, kEmanlLength = 200;
inline constexpr int32_t kFirstMechanic = 50;
inline constexpr int32_t kChrtlLength = 64, kGldtlLength = 64;

// One chart account and the sum of its detail, in cents.
struct LedgerBalance {
    int32_t company = 0;
    int32_t account = 0;
    char cls = 'A';
    int64_t cents = 0;
};

// What AddAccountingFiles wrote, for tests and for subsystems that refer to it.
struct AccountingSummary {
    std::vector<int32_t> countermen;      // numbers 1 and up, in MANI order (person 0 left out)
    std::vector<int32_t> mechanics;       // numbers from kFirstMechanic
    int64_t todays_mdse_cents = 0;        // the sum of today's goods sales over `countermen`
    int64_t todays_net_cash_cents = 0;    // the sum of |cash| + |deposits| - |refunds| + |payments|
    std::vector<LedgerBalance> balances;  // every chart account, in key order
};

// Registers the files above on the writer, with counts that follow the plan's scale.
AccountingSummary AddAccountingFiles(DataSetWriter& set, const DemoPlan& plan);

}  // namespace dv::sample
