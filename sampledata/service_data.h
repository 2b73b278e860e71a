// The demo set's shop jobs and warranty claims:
//
//   INVOL (512 bytes)   shop-job pages (status word 80) beside the invoice pages: each job is a
//                       chain of one to three pages from its head page (the highest) down to
//                       page 1, one request of the job per page (segment 0, 1, 2 at 97)
//   FILE0 446           call-result names, 12 characters each, result n at (n - 1) x 12 + 1
//   FILE0 450           the open sub-status names "1" to "5", 15 characters each from 432
//   FILE0 451-458,      the open shop-job table: job j's head page record as an L in slot
//         501-571       j mod 128 of block j \ 128 + 451 (j < 1000) or (j - 999) \ 128 + 501
//   FILE0 401           options 317 and 320 ("Y" in the segment variant)
//   WARRL (512)         warranty claim headers (records 1 to the number of claims), then their
//                       detail pages, laid out like INVOL pages
//   WARRI               one L key per claim: the shop reference, or in the segment variant
//                       shop reference x 100 + request
//
// Jobs are open ("O"), in an open sub-status ("1" to "5"), completed ("C"), scratched ("S") or
// billed ("B", which the Open Shop Work view leaves out). Claims are billed and unreconciled
// (the ones Billed Warranties lists), reconciled, unbilled, or of status 2. The customers are
// the accounts CUSTI holds when the set has one; one job names an account CUSTI lacks.
// Everything comes from a generator of its own with a fixed seed, and dates are counted from a
// fixed day, so other subsystems' data does not move when this data changes.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/control_file.h"
#include "sampledata/data_set.h"
#include "sampledata/demo_set.h"

namespace dv::sample {

inline constexpr int32_t kInvolLength = 512;
inline constexpr int32_t kWarrlLength = 512;
// An account no customer of the demo set has.
inline constexpr int32_t kShopMissingCustomer = 999998;

// The highest job number the open shop-job table has a slot for (block 571).
inline constexpr int32_t kLastJob = file0::kLastJobNumber;

// The block and the 1-based position in it of job j's slot in the open shop-job table.
struct JobSlot {
    int32_t block = 0;
    int32_t position = 0;
};
JobSlot JobTableSlot(int32_t job);

// What AddServiceFiles wrote, for tests and for subsystems that refer to it.
struct ServiceSummary {
    std::vector<int32_t> jobs;         // every job number in the table, in table order
    std::vector<int32_t> listed_jobs;  // those the Open Shop Work view lists (not billed)
    int64_t open_total_cents = 0;      // the sum of the listed jobs' sub-totals
    int32_t claims = 0;                // claim headers, WARRL records 1 to claims
    std::vector<int32_t> listed_keys;  // the WARRI keys of the claims Billed Warranties lists
    int64_t warranty_parts_cents = 0;  // their parts and labor totals as the builder sums them
    int64_t warranty_labor_cents = 0;
};

// Registers the files above (INVOL and FILE0's blocks are shared: pages are added to an INVOL
// another subsystem registered). With segments the WARRI keys take the segment form and options
// 317 and 320 are set.
ServiceSummary AddServiceFiles(DataSetWriter& set, const DemoPlan& plan);

}  // namespace dv::sample

namespace dv::sample::damage {

// The claim header in WARRL record `claim` points at no detail page (Inv_Ptr 0).
void ClaimWithoutPages(DataSetImage& image, int32_t claim = 1);
// The head page of claim `claim` links to itself under page number 2, a chain that never ends.
void LoopClaimPages(DataSetImage& image, int32_t claim = 1);
// The head page of claim `claim` reads as deleted (all zeros).
void DeletedClaimPage(DataSetImage& image, int32_t claim = 1);
// The INVOL page job `job`'s slot in the open shop-job table names reads as deleted.
void DeletedJobPage(DataSetImage& image, int32_t job);
// Job `job`'s slot in the open shop-job table names the record past INVOL's LastRecord.
void JobSlotPastLastRecord(DataSetImage& image, int32_t job);

}  // namespace dv::sample::damage
