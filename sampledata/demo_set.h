// The demo data set: a deterministic dealership at one of three sizes. Each subsystem adds its
// files through one function called from BuildDemoSet, reading its counts from the plan.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sampledata/as_of.h"
#include "sampledata/data_set.h"

namespace dv::sample {

enum class Scale { kTiny, kDemo, kLarge };

std::optional<Scale> ParseScale(std::string_view text);
const char* ScaleName(Scale scale);

// A small deterministic generator (splitmix64), the same sequence on every machine.
class Random {
  public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint64_t Next();
    // A number from low to high, both included.
    int64_t Between(int64_t low, int64_t high);

  private:
    uint64_t state_;
};

// What a scale asks of each subsystem. The counts are for the subsystems that add their files
// later; the engine-level files do not depend on them. A count of 0 among the second group
// follows the one named beside it, as each scale has it.
struct DemoPlan {
    Scale scale = Scale::kTiny;
    int32_t product_lines = 0;
    int32_t parts = 0;
    int32_t vendors = 0;
    int32_t customers = 0;
    int32_t invoice_pages = 0;
    int32_t units = 0;  // shared evenly among the unit lines, at least 4 a line
    int32_t shop_jobs = 0;
    int32_t returns = 0;         // 0: a quarter of the vendors, at least 3
    int32_t orders = 0;          // 0: the vendors and a quarter, at least 6
    int32_t tickets = 0;         // 0: one per 60 invoice pages, 4 to 600
    int32_t saved_invoices = 0;  // 0: one per 100 invoice pages, 3 to kSavedInvoiceSlots
    int32_t claims = 0;          // 0: a third of the shop jobs, at least 6
    int32_t ledger_entries = 0;  // the most G/L detail entries of an account; 0: by scale
    // Warranty claims kept by request segment (WARRI keys shop reference x 100 + request), with
    // options 317 and 320 set so that Billed Warranties takes its segment form.
    bool warranty_segments = false;
    // The day every date is counted back from (dashvane-sample: today unless --as-of).
    CalendarDay as_of = kFixedAsOf;
    Random random{0x44A5B1E5ull};
};

DemoPlan PlanFor(Scale scale);

// The saved-invoice directory's slots (FILE0 blocks 301-325, a few left empty between used ones).
inline constexpr int32_t kSavedInvoiceSlots = 2625;

// A count of the plan that dashvane-sample takes on its command line ("--parts N"), with the
// numbers it accepts: at least what the set's fixed cases need (the order of a vendor VNDRI
// lacks, the pick ticket of an unknown account, ...), at most what the file layouts hold and a
// set built in memory can take.
struct PlanCount {
    const char* option;
    int32_t DemoPlan::*member;
    int32_t least;
    int32_t most;
    const char* description;
};
const std::vector<PlanCount>& PlanCounts();
const PlanCount* FindPlanCount(std::string_view option);
// Sets the count from its text, a whole number from least to most; otherwise leaves the plan
// as it is and says what the option takes.
std::optional<std::string> SetPlanCount(DemoPlan& plan, const PlanCount& count,
                                        std::string_view text);

// Registers the demo set's files on a writer made with the demo's options.
void AddDemoFiles(DataSetWriter& set, DemoPlan& plan);
// The demo set of a scale, laid out.
DataSetImage BuildDemoSet(Scale scale);
// The demo set of a plan (a scale's plan with a variant's settings changed).
DataSetImage BuildDemoSet(DemoPlan plan);

}  // namespace dv::sample
