// The demo data set: a deterministic dealership at one of three sizes. Each subsystem adds its
// files through one function called from BuildDemoSet, reading its counts from the plan.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

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
// later; the engine-level files do not depend on them.
struct DemoPlan {
    Scale scale = Scale::kTiny;
    int32_t product_lines = 0;
    int32_t parts = 0;
    int32_t vendors = 0;
    int32_t customers = 0;
    int32_t invoice_pages = 0;
    int32_t units = 0;
    int32_t shop_jobs = 0;
    // Warranty claims kept by request segment (WARRI keys shop reference x 100 + request), with
    // options 317 and 320 set so that Billed Warranties takes its segment form.
    bool warranty_segments = false;
    // The day every date is counted back from (dashvane-sample: today unless --as-of).
    CalendarDay as_of = kFixedAsOf;
    Random random{0x44A5B1E5ull};
};

DemoPlan PlanFor(Scale scale);

// Registers the demo set's files on a writer made with the demo's options.
void AddDemoFiles(DataSetWriter& set, DemoPlan& plan);
// The demo set of a scale, laid out.
DataSetImage BuildDemoSet(Scale scale);
// The demo set of a plan (a scale's plan with a variant's settings changed).
DataSetImage BuildDemoSet(DemoPlan plan);

}  // namespace dv::sample
