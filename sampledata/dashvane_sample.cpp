// dashvane-sample: writes a deterministic demo data set and prints the environment that points
// Dashvane at it.
//
//     dashvane-sample --scale tiny|demo|large [--warranty-segments] OUT
//
// --warranty-segments keeps the warranty claims by request segment and sets the options that
// make Billed Warranties take its segment form.
// OUT/share is the folder DASHVANE_SHARES names (holding DS1/TMARLNK/...), OUT/tmp the folder
// TMPDIR and TEMP name (holding tMRCatalog.ini). Files of an earlier run are overwritten;
// nothing else in OUT is touched.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "sampledata/demo_set.h"

namespace {

int Usage() {
    std::cerr << "usage: dashvane-sample --scale tiny|demo|large [--warranty-segments] OUT\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::optional<dv::sample::Scale> scale;
    std::string out;
    bool warranty_segments = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--scale" && i + 1 < argc) {
            scale = dv::sample::ParseScale(argv[++i]);
            if (!scale) return Usage();
        } else if (arg.rfind("--scale=", 0) == 0) {
            scale = dv::sample::ParseScale(arg.substr(8));
            if (!scale) return Usage();
        } else if (arg == "--warranty-segments") {
            warranty_segments = true;
        } else if (!arg.empty() && arg[0] != '-' && out.empty()) {
            out = arg;
        } else {
            return Usage();
        }
    }
    if (!scale || out.empty()) return Usage();

    try {
        const std::filesystem::path root = std::filesystem::absolute(out).lexically_normal();
        const std::filesystem::path shares = root / "share";
        const std::filesystem::path tmp = root / "tmp";
        dv::sample::DemoPlan plan = dv::sample::PlanFor(*scale);
        plan.warranty_segments = warranty_segments;
        dv::sample::BuildDemoSet(plan).Write(shares, tmp);
        std::cout << "DASHVANE_SHARES=" << shares.string() << "\n"
                  << "TMPDIR=" << tmp.string() << "\n"
                  << "TEMP=" << tmp.string() << "\n";
    } catch (const std::exception& e) {
        std::cerr << "dashvane-sample: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
