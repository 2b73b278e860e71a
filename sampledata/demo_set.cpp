#include "sampledata/demo_set.h"

#include "sampledata/accounting_data.h"
#include "sampledata/parts_data.h"
#include "sampledata/sales_data.h"
#include "sampledata/service_data.h"
#include "sampledata/units_data.h"

namespace dv::sample {

std::optional<Scale> ParseScale(std::string_view text) {
    if (text == "tiny") return Scale::kTiny;
    if (text == "demo") return Scale::kDemo;
    if (text == "large") return Scale::kLarge;
    return std::nullopt;
}

const char* ScaleName(Scale scale) {
    switch (scale) {
        case Scale::kTiny:
            return "tiny";
        case Scale::kDemo:
            return "demo";
        case Scale::kLarge:
            return "large";
    }
    return "tiny";
}

uint64_t Random::Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

int64_t Random::Between(int64_t low, int64_t high) {
    const uint64_t span = static_cast<uint64_t>(high - low) + 1;
    return low + static_cast<int64_t>(Next() % span);
}

DemoPlan PlanFor(Scale scale) {
    // The counts of each scale, in the order of Scale: product lines, parts, vendors,
    // customers, invoice pages, units and shop jobs.
    struct Counts {
        int32_t product_lines, parts, vendors, customers, invoice_pages, units, shop_jobs;
    };
    static constexpr Counts kCounts[] = {
        {4, 40, 5, 12, 30, 8, 5},                      // kTiny
        {24, 3000, 40, 400, 2500, 150, 60},            // kDemo
        {120, 250000, 600, 20000, 100000, 3000, 900},  // kLarge
    };
    const Counts& c = kCounts[static_cast<size_t>(scale)];
    DemoPlan plan;
    plan.scale = scale;
    plan.product_lines = c.product_lines;
    plan.parts = c.parts;
    plan.vendors = c.vendors;
    plan.customers = c.customers;
    plan.invoice_pages = c.invoice_pages;
    plan.units = c.units;
    plan.shop_jobs = c.shop_jobs;
    return plan;
}

const std::vector<PlanCount>& PlanCounts() {
    static const std::vector<PlanCount> counts = {
        {"--product-lines", &DemoPlan::product_lines, 2, 240, "product lines"},
        {"--parts", &DemoPlan::parts, 1, 1000000, "parts"},
        {"--vendors", &DemoPlan::vendors, 1, 998, "vendors"},
        {"--returns", &DemoPlan::returns, 3, 20000, "return documents"},
        {"--orders", &DemoPlan::orders, 6, 10000, "purchase-order documents"},
        {"--customers", &DemoPlan::customers, 3, 24000, "customers"},
        {"--invoice-pages", &DemoPlan::invoice_pages, 20, 400000,
         "counter-document pages (tickets, saved and posted invoices)"},
        {"--tickets", &DemoPlan::tickets, 4, 20000, "open pick tickets"},
        {"--saved-invoices", &DemoPlan::saved_invoices, 3, kSavedInvoiceSlots, "saved invoices"},
        {"--units", &DemoPlan::units, 1, 50000,
         "units, shared by the unit lines (at least 4 a line)"},
        {"--shop-jobs", &DemoPlan::shop_jobs, 5, 9000, "shop jobs"},
        {"--claims", &DemoPlan::claims, 6, 20000, "warranty claims"},
        {"--ledger-entries", &DemoPlan::ledger_entries, 1, 20000,
         "G/L detail entries of an account (at most)"},
    };
    return counts;
}

const PlanCount* FindPlanCount(std::string_view option) {
    for (const PlanCount& c : PlanCounts())
        if (option == c.option) return &c;
    return nullptr;
}

std::optional<std::string> SetPlanCount(DemoPlan& plan, const PlanCount& count,
                                        std::string_view text) {
    int64_t value = 0;
    bool ok = !text.empty() && text.size() <= 10;
    for (const char c : text) {
        ok = ok && c >= '0' && c <= '9';
        value = value * 10 + (c - '0');
    }
    if (!ok || value < count.least || value > count.most)
        return std::string(count.option) + " takes a whole number from " +
               std::to_string(count.least) + " to " + std::to_string(count.most);
    plan.*count.member = static_cast<int32_t>(value);
    return std::nullopt;
}

void AddDemoFiles(DataSetWriter& set, DemoPlan& plan) {
    // The engine-level files (LINKSFILE, ttymap, the data directory's directory file and
    // container, FILE0 and the catalog settings) come from the writer itself. Each subsystem
    // adds one call here, in this order: parts and product lines, vendors and orders,
    // customers and invoices, units and floor plan, shop and warranty.
    const ScopedAsOf as_of(plan.as_of);
    AddPartsFiles(set, plan);
    AddSalesFiles(set, plan);
    AddAccountingFiles(set, plan);
    AddUnitsFiles(set, plan);
    AddServiceFiles(set, plan);
}

DataSetImage BuildDemoSet(Scale scale) {
    return BuildDemoSet(PlanFor(scale));
}

DataSetImage BuildDemoSet(DemoPlan plan) {
    DataSetWriter set;
    AddDemoFiles(set, plan);
    return set.Build();
}

}  // namespace dv::sample
