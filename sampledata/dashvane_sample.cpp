// dashvane-sample: writes a deterministic demo data set and prints the environment that points
// Dashvane at it.
//
//     dashvane-sample --scale tiny|demo|large [--warranty-segments] [--as-of YYYY-MM-DD]
//                     [--noise SEED] [--damage NAME]... [--parts N] [--orders N] [...] OUT
//
// --warranty-segments keeps the warranty claims by request segment and sets the options that
// make Billed Warranties take its segment form. --as-of names the day every date of the data
// is counted back from (default: today), so that the views, which compare with today, see
// current data. --damage breaks the set in one of the named ways (--help lists them), in the
// order given, so that each error path can be seen without writing code. --noise fills every byte
// that no reader of the dealer's format decodes with bytes drawn from SEED (noise.h), before any
// damage, so that a reader leaning on such a byte shows on the set. A count option
// (--parts N, --orders N, --customers N, ...; --help lists them with the numbers each takes)
// sets that count of the chosen scale, so that a benchmark can show how a load grows; the
// counts it does not name stay the scale's, and without any the set is the scale's own.
// OUT/share is the folder DASHVANE_SHARES names (holding DS1/TMARLNK/...), OUT/tmp the folder
// TMPDIR and TEMP name (holding tMRCatalog.ini). Files of an earlier run are overwritten;
// nothing else in OUT is touched.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "sampledata/damage.h"
#include "sampledata/demo_set.h"
#include "sampledata/noise.h"

namespace {

constexpr const char* kUsage =
    "usage: dashvane-sample --scale tiny|demo|large [--warranty-segments] [--as-of YYYY-MM-DD]\n"
    "                       [--noise SEED] [--damage NAME]... [--COUNT N]... OUT\n";

int Usage(const std::string& problem = {}) {
    if (!problem.empty()) std::cerr << "dashvane-sample: " << problem << "\n";
    std::cerr << kUsage << "(--help lists the damage names and the counts)\n";
    return 2;
}

int Help() {
    std::cout
        << kUsage << "\n"
        << "  --scale              the size of the dealership\n"
        << "  --warranty-segments  warranty claims kept by request segment\n"
        << "  --as-of YYYY-MM-DD   the day the data is dated back from (default today)\n"
        << "  --noise SEED         fill every byte no reader of the files decodes with bytes\n"
        << "                       drawn from SEED (a whole number), before any damage\n"
        << "  --damage NAME        break the set in this way (repeatable):\n";
    size_t width = 0;
    for (const auto& d : dv::sample::damage::NamedDamages()) width = std::max(width, d.name.size());
    for (const auto& d : dv::sample::damage::NamedDamages()) {
        std::cout << "      " << d.name << std::string(width + 2 - d.name.size(), ' ')
                  << d.description << "\n";
    }
    std::cout << "\nCounts: each sets one count of the scale (the others stay the scale's):\n";
    width = 0;
    for (const auto& c : dv::sample::PlanCounts())
        width = std::max(width, std::string(c.option).size());
    for (const auto& c : dv::sample::PlanCounts()) {
        const std::string option = c.option + std::string(" N");
        std::cout << "  " << option << std::string(width + 4 - option.size(), ' ') << c.description
                  << "; " << c.least << " to " << c.most << "\n";
    }
    std::cout << "\nPrints DASHVANE_SHARES, TMPDIR and TEMP for the set written into OUT.\n";
    return 0;
}

// The value of an option given as "--name value" or "--name=value"; advances i past it.
std::optional<std::string> OptionValue(const std::string& name, int argc, char** argv, int& i) {
    const std::string arg = argv[i];
    if (arg == name) {
        if (i + 1 >= argc) return std::nullopt;
        return std::string(argv[++i]);
    }
    if (arg.rfind(name + "=", 0) == 0) return arg.substr(name.size() + 1);
    return std::nullopt;
}

// A seed: a whole number of 64 bits at most, in decimal digits.
std::optional<uint64_t> ParseSeed(const std::string& text) {
    if (text.empty() || text.size() > 20) return std::nullopt;
    uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        const auto digit = static_cast<uint64_t>(c - '0');
        if (value > (UINT64_MAX - digit) / 10) return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

bool IsOption(const std::string& arg, const std::string& name) {
    return arg == name || arg.rfind(name + "=", 0) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::optional<dv::sample::Scale> scale;
    std::string out;
    bool warranty_segments = false;
    dv::sample::CalendarDay as_of = dv::sample::Today();
    std::optional<uint64_t> noise;
    std::vector<const dv::sample::damage::NamedDamage*> damages;
    // The counts given, applied to the scale's plan once it is known.
    std::vector<std::pair<const dv::sample::PlanCount*, std::string>> counts;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") return Help();
        if (IsOption(arg, "--scale")) {
            const auto value = OptionValue("--scale", argc, argv, i);
            if (value) scale = dv::sample::ParseScale(*value);
            if (!scale) return Usage("--scale takes tiny, demo or large");
        } else if (IsOption(arg, "--as-of")) {
            const auto value = OptionValue("--as-of", argc, argv, i);
            const auto day = value ? dv::sample::ParseCalendarDay(*value) : std::nullopt;
            if (!day) return Usage("--as-of takes a day of 1970 to 2099 as YYYY-MM-DD");
            as_of = *day;
        } else if (IsOption(arg, "--noise")) {
            const auto value = OptionValue("--noise", argc, argv, i);
            noise = value ? ParseSeed(*value) : std::nullopt;
            if (!noise) return Usage("--noise takes a whole number from 0 to 18446744073709551615");
        } else if (IsOption(arg, "--damage")) {
            const auto value = OptionValue("--damage", argc, argv, i);
            const auto* damage = value ? dv::sample::damage::FindNamedDamage(*value) : nullptr;
            if (damage == nullptr) return Usage("no damage named " + value.value_or("(none)"));
            damages.push_back(damage);
        } else if (const auto* count = dv::sample::FindPlanCount(arg.substr(0, arg.find('=')))) {
            const auto value = OptionValue(count->option, argc, argv, i);
            dv::sample::DemoPlan check;
            if (const auto problem = dv::sample::SetPlanCount(check, *count, value.value_or("")))
                return Usage(*problem);
            counts.emplace_back(count, *value);
        } else if (arg == "--warranty-segments") {
            warranty_segments = true;
        } else if (!arg.empty() && arg[0] != '-' && out.empty()) {
            out = arg;
        } else {
            return Usage("unknown argument " + arg);
        }
    }
    if (!scale || out.empty()) return Usage();

    try {
        const std::filesystem::path root = std::filesystem::absolute(out).lexically_normal();
        const std::filesystem::path shares = root / "share";
        const std::filesystem::path tmp = root / "tmp";
        dv::sample::DemoPlan plan = dv::sample::PlanFor(*scale);
        for (const auto& [count, value] : counts) dv::sample::SetPlanCount(plan, *count, value);
        plan.warranty_segments = warranty_segments;
        plan.as_of = as_of;
        dv::sample::DataSetImage image = dv::sample::BuildDemoSet(plan);
        if (noise) dv::sample::noise::AddNoise(image, *noise);
        dv::sample::damage::ApplyNamedDamages(image, damages);
        image.Write(shares, tmp);
        std::cout << "DASHVANE_SHARES=" << shares.string() << "\n"
                  << "TMPDIR=" << tmp.string() << "\n"
                  << "TEMP=" << tmp.string() << "\n";
    } catch (const std::exception& e) {
        std::cerr << "dashvane-sample: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
